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

DatabaseError DatabaseError::changedByAnotherUser(std::function<void()> remedy) {
    DatabaseError e(QStringLiteral("The record was changed or deleted by another user"));
    e.remedy_ = std::move(remedy);
    return e;
}

DatabaseError DatabaseError::datasetClosed() {
    return DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

} // namespace vok
