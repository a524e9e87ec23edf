#include "faultfolder.h"

#include "data/datafolder.h"
#include "data/schema.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"
#include "timesheets/memberfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

namespace {

struct Names {
    QVariant project, major, action;
};

Names lineNames(int k, int projects) {
    const int p = k % projects + 1;
    const int m = k / projects % 2 + 1;
    const int a = k / projects / 2 % 2 + 1;
    Names n;
    n.project = k % 50 == 49 ? QStringLiteral("Nowhere") : QStringLiteral("Project %1").arg(p);
    if (k % 3 >= 1)
        n.major = QStringLiteral("Major %1.%2").arg(p).arg(m);
    if (k % 3 == 2)
        n.action = QStringLiteral("Action %1.%2.%3").arg(p).arg(m).arg(a);
    return n;
}

void insertLines(vok::Store& store, const QString& table, const QString& prefix,
                 const QString& quantity, int count, const QString& tag, int projects) {
    vok::Transaction tx(store);
    QSqlQuery q = store.prepare(QStringLiteral("INSERT INTO %1 (%2_project, %2_Major, %2_Action, "
                                               "%2_Date_from, %2_Date_to, %3, %2_Notes) VALUES "
                                               "(?,?,?,?,?,?,?)")
                                    .arg(table, prefix, quantity));
    for (int k = 0; k < count; ++k) {
        const Names n = lineNames(k, projects);
        q.addBindValue(n.project);
        q.addBindValue(n.major);
        q.addBindValue(n.action);
        q.addBindValue(QStringLiteral("2024-02-05"));
        q.addBindValue(QStringLiteral("2024-02-09"));
        q.addBindValue(0.25 * (k % 8 + 1));
        q.addBindValue(QStringLiteral("%1-%2").arg(tag).arg(k));
        store.execPrepared(q);
    }
    q.finish();
    tx.commit();
}

} // namespace

void FaultFolder::create(const QString& dir, int projects, int members) {
    DataFolder::createSized(dir, projects, 2, 2);
    vok::Store store;
    store.setParams({QStringLiteral("path=") + dir});
    for (int i = 1; i <= members; ++i)
        store.exec(QStringLiteral("INSERT INTO members (Member_name) VALUES (?)"), {memberName(i)});
}

void FaultFolder::writeMemberLines(const QString& dir, const QString& member, int count,
                                   const QString& tag, int projects) {
    vok::Store store;
    store.setParams({QStringLiteral("path=") + dir});
    const QString file = MemberFile::fileName(member);
    if (!store.fileExists(file))
        store.createFile(file, Schema::memberTimeSheetFile());
    const vok::TableRef ref = store.resolve(file);
    insertLines(store, ref.sql(), QStringLiteral("MemberTS"), QStringLiteral("MemberTS_Hours"),
                count, tag, projects);
    store.release(ref);
}

void FaultFolder::writeCostLines(const QString& dir, int count, const QString& tag, int projects) {
    vok::Store store;
    store.setParams({QStringLiteral("path=") + dir});
    insertLines(store, QStringLiteral("Costentry"), QStringLiteral("Cost"),
                QStringLiteral("Cost_Amount"), count, tag, projects);
}

qlonglong FaultFolder::number(vok::Store& store, const QString& sql) {
    QSqlQuery q = store.exec(sql);
    return q.next() ? q.value(0).toLongLong() : -1;
}

qlonglong FaultFolder::memberLines(vok::Store& store, const QString& member) {
    const vok::TableRef ref = store.resolve(MemberFile::fileName(member));
    const qlonglong n = number(store, QStringLiteral("SELECT COUNT(*) FROM %1").arg(ref.sql()));
    store.release(ref);
    return n;
}

QString FaultFolder::booksDiffer(vok::Store& store) {
    const struct {
        const char* table;
        const char* id;
        const char* total;
        const char* rows;
        const char* rowId;
        const char* quantity;
    } books[] = {
        {"projects", "Zel_Project_id", "Zel_hours", "ProjectTS", "ProjectTS_project_id",
         "ProjectTS_hours"},
        {"major", "Major_id", "Major_hours", "ProjectTS", "ProjectTS_major_id", "ProjectTS_hours"},
        {"action", "Action_id", "Action_hours", "ProjectTS", "ProjectTS_action_id",
         "ProjectTS_hours"},
        {"projects", "Zel_Project_id", "Zel_actual", "ProjectCost", "ProjectCost_project_id",
         "ProjectCost_Amount"},
        {"major", "Major_id", "Major_actual", "ProjectCost", "ProjectCost_major_id",
         "ProjectCost_Amount"},
        {"action", "Action_id", "Action_actual", "ProjectCost", "ProjectCost_action_id",
         "ProjectCost_Amount"},
    };
    for (const auto& b : books) {
        QSqlQuery q = store.exec(
            QStringLiteral("SELECT t.%2, COALESCE(t.%3, 0), COALESCE(s.sum, 0) FROM %1 t LEFT JOIN "
                           "(SELECT %5 AS id, SUM(%6) AS sum FROM %4 GROUP BY %5) s ON s.id = "
                           "t.%2 WHERE abs(COALESCE(t.%3, 0) - COALESCE(s.sum, 0)) > 1e-6")
                .arg(QLatin1String(b.table), QLatin1String(b.id), QLatin1String(b.total),
                     QLatin1String(b.rows), QLatin1String(b.rowId), QLatin1String(b.quantity)));
        if (q.next())
            return QStringLiteral("%1 %2 of %3 is %4, its rows sum to %5")
                .arg(QLatin1String(b.total), QLatin1String(b.id), q.value(0).toString(),
                     q.value(1).toString(), q.value(2).toString());
    }
    return {};
}
