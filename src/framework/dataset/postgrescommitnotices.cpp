#include "postgrescommitnotices.h"

#include "databaseerror.h"
#include "engine.h"
#include "postgresstatement.h"

#include <libpq-fe.h>

namespace vok {

PostgresCommitNotices::PostgresCommitNotices(Engine& engine, pg_conn* conn, QString schema)
    : engine_(engine), conn_(conn), schema_(std::move(schema)) {}

QString PostgresCommitNotices::noteChangeFunction(const QString& quotedSchema, bool replace) {
    return QStringLiteral(
               "CREATE %1FUNCTION %2.vok_note_change() RETURNS bigint LANGUAGE plpgsql AS $f$\n"
               "DECLARE v bigint;\n"
               "BEGIN\n"
               "  IF current_setting('vok.unit', true) IS DISTINCT FROM "
               "pg_current_xact_id()::text THEN\n"
               "    UPDATE %2.vok_changes SET n = n + 1 RETURNING n INTO v;\n"
               "    PERFORM set_config('vok.unit', pg_current_xact_id()::text, true);\n"
               "    PERFORM set_config('vok.number', v::text, true);\n"
               "    PERFORM pg_notify('%3', current_schema());\n"
               "    RETURN v;\n"
               "  END IF;\n"
               "  RETURN current_setting('vok.number')::bigint;\n"
               "END $f$")
        .arg(replace ? QStringLiteral("OR REPLACE ") : QString(), quotedSchema,
             QLatin1String(Channel));
}

QString PostgresCommitNotices::run(const QString& sql) {
    engine_.countStatement();
    PGresult* r = PQexec(conn_, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        PostgresStatement::fail(r, conn_);
    QString out;
    if (PQntuples(r) > 0 && PQnfields(r) > 0 && !PQgetisnull(r, 0, 0))
        out = QString::fromUtf8(PQgetvalue(r, 0, 0));
    PQclear(r);
    return out;
}

bool PostgresCommitNotices::listen(const QString& quotedSchema) {
    // Listening and asking whether the function raises notices already: one round trip.
    QString function = quotedSchema + QStringLiteral(".vok_note_change()");
    function.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString raises =
        run(QStringLiteral("LISTEN %1; SELECT position('pg_notify' in prosrc) > 0 FROM pg_proc "
                           "WHERE oid = to_regprocedure('%2')")
                .arg(QLatin1String(Channel), function));
    if (raises == QLatin1String("t"))
        return true;
    if (raises.isEmpty())
        return false; // no such function: not a database Vok made
    try {
        // Every installation's writes call the function in the database: once replaced, the
        // older installations' transactions raise the notice too.
        run(noteChangeFunction(quotedSchema, true));
        return true;
    } catch (const DatabaseError&) {
        // Not the function's owner, or another installation replacing it at the same moment.
        return false;
    }
}

int PostgresCommitNotices::socket() const {
    return PQsocket(conn_);
}

bool PostgresCommitNotices::take() {
    if (PQtransactionStatus(conn_) != PQTRANS_IDLE || PQisBusy(conn_))
        return false;
    // A broken connection is told by the next statement.
    if (!PQconsumeInput(conn_))
        return false;
    const int own = PQbackendPID(conn_);
    const QByteArray schema = schema_.toUtf8();
    bool others = false;
    while (PGnotify* notice = PQnotifies(conn_)) {
        if (notice->be_pid != own && schema == notice->extra)
            others = true;
        PQfreemem(notice);
    }
    return others;
}

} // namespace vok
