#pragma once

#include <QString>
#include <QStringList>
#include <exception>

namespace vok {

// The one error type of the record-set layer and the storage engine. Handlers let it escape;
// the framework guard shows its text in the standard error box.
class DatabaseError : public std::exception {
public:
    // Clash: another user changed the same fields (the typed values are kept in edit). Gone:
    // another user deleted the record.
    enum class Kind { Database, Engine, Convert, Clash, Gone };

    explicit DatabaseError(QString message, Kind kind = Kind::Database);

    const QString& message() const noexcept { return message_; }
    Kind kind() const noexcept { return kind_; }
    // The name shown by the last-chance handler ("Exception <kind> in module ...").
    QString kindName() const;
    const char* what() const noexcept override { return utf8_.constData(); }
    // A clash: one clashText per field both sides changed.
    const QStringList& clashes() const noexcept { return clashes_; }

    // The layer's fixed refusals.
    static DatabaseError emptyDataset();
    static DatabaseError notEditing();
    static DatabaseError datasetOpen();
    static DatabaseError datasetClosed();
    // Another installation changed or removed the record since it was read.
    static DatabaseError changedByAnotherUser();
    static DatabaseError deletedByAnotherUser();
    // Both sides changed the same fields: one clashText per field.
    static DatabaseError changedOnBothSides(const QStringList& clashes);
    static QString clashText(const QString& field, const QString& theirs, const QString& typed);

private:
    QString message_;
    Kind kind_;
    QStringList clashes_;
    QByteArray utf8_;
};

} // namespace vok
