#pragma once

#include <QString>
#include <QStringList>

struct pg_conn;

namespace vok {

class Engine;

// Notices of other connections' commits on a server. The function that bumps vok_changes once
// per transaction also raises a notice on one channel, sent by the server when that transaction
// commits; a connection listening on the channel finds it on its socket while it is idle, so it
// learns of another's commit without a round trip. The notice names the schema whose data
// changed: connections to other schemas of the same database let it pass.
class PostgresCommitNotices {
public:
    static constexpr const char* Channel = "vok_changes";

    PostgresCommitNotices(Engine& engine, pg_conn* conn, QString schema);

    // The statement that makes, or brings up to date, the function every writer's transaction
    // calls: it bumps the counter once per transaction (whose row then stays locked until the
    // end) and raises the notice.
    static QString noteChangeFunction(const QString& quotedSchema, bool replace);

    // Starts listening; a database made before the function raised notices has it brought up to
    // date. False where notices cannot be had (the function cannot be replaced by this user):
    // then only asking the counter tells.
    bool listen(const QString& quotedSchema);
    // The socket on which the notices arrive.
    int socket() const;
    // Takes what has arrived on the socket, without a round trip: true when it holds another
    // connection's notice for this schema. Only between statements.
    bool take();

private:
    // Runs SQL text (several statements allowed) and returns the first field of the last
    // result's first row, as text; throws the engine's error.
    QString run(const QString& sql);

    Engine& engine_;
    pg_conn* conn_;
    QString schema_;
};

} // namespace vok
