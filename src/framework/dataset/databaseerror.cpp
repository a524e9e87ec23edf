#include "databaseerror.h"

namespace vok {

DatabaseError::DatabaseError(QString message, Kind kind)
    : message_(std::move(message)), kind_(kind), utf8_(message_.toUtf8()) {}

QString DatabaseError::kindName() const {
    switch (kind_) {
    case Kind::Engine:
        return QStringLiteral("EngineError");
    case Kind::Convert:
        return QStringLiteral("ConvertError");
    case Kind::Database:
    case Kind::Clash:
    case Kind::Gone:
        break;
    }
    return QStringLiteral("DatabaseError");
}

DatabaseError DatabaseError::emptyDataset() {
    return DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
}

DatabaseError DatabaseError::notEditing() {
    return DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
}

DatabaseError DatabaseError::datasetOpen() {
    return DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
}

DatabaseError DatabaseError::changedByAnotherUser() {
    return DatabaseError(QStringLiteral("The record was changed or deleted by another user"));
}

DatabaseError DatabaseError::deletedByAnotherUser() {
    return DatabaseError(QStringLiteral("The record was deleted by another user; your changes "
                                        "to it could not be stored"),
                         Kind::Gone);
}

QString DatabaseError::clashText(const QString& field, const QString& theirs,
                                 const QString& typed) {
    return QStringLiteral("%1: another user stored \u201c%2\u201d, you typed \u201c%3\u201d")
        .arg(field, theirs, typed);
}

DatabaseError DatabaseError::changedOnBothSides(const QStringList& clashes) {
    // What was typed is still in the record: the user decides with both values in view.
    DatabaseError error(QStringLiteral("Another user changed this record while you edited it.\n") +
                            clashes.join(QLatin1Char('\n')) +
                            QStringLiteral("\nStore again to keep what you typed, or cancel to "
                                           "keep theirs"),
                        Kind::Clash);
    error.clashes_ = clashes;
    return error;
}

DatabaseError DatabaseError::datasetClosed() {
    return DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

} // namespace vok
