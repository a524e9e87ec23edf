#pragma once

#include <QString>
#include <exception>
#include <functional>

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
    // Another user changed or removed the record since it was read. The remedy, when there is
    // one, puts what this user typed back into the record for them to store anew.
    static DatabaseError changedByAnotherUser(std::function<void()> remedy = {});

    const std::function<void()>& remedy() const noexcept { return remedy_; }

private:
    QString message_;
    Kind kind_;
    QByteArray utf8_;
    std::function<void()> remedy_;
};

} // namespace vok
