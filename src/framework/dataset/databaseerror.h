#pragma once

#include <QString>
#include <QStringList>
#include <exception>

namespace vok {

// The one error type of the record-set layer and the storage engine. Handlers let it escape;
// the framework guard shows its text in the standard error box.
class DatabaseError : public std::exception {
public:
    enum class Kind { Database, Engine, Convert };

    explicit DatabaseError(QString message, Kind kind = Kind::Database);

    const QString& message() const noexcept { return message_; }
    Kind kind() const noexcept { return kind_; }
    // The name shown by the last-chance handler ("Exception <kind> in module ...").
    QString kindName() const;
    const char* what() const noexcept override { return utf8_.constData(); }

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
    QByteArray utf8_;
};

} // namespace vok
