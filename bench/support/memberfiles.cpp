#include "memberfiles.h"

#include "data/schema.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"
#include "timesheets/memberfile.h"

#include <QDate>
#include <QSqlQuery>

namespace MemberFiles {

namespace {

constexpr int Majors = 10;
constexpr int Actions = 10;

struct LineNames {
    QString project;
    QString major;
    QString action;
};

// Line k of member m: at project level, major activity level or action level, with one line in a
// hundred naming a project that does not exist.
LineNames lineNames(Spread spread, int projects, int m, int k) {
    int p = 0;
    int mj = 0;
    int a = 0;
    if (spread == Spread::Runs) {
        const int run = k / 5;
        p = (run * 37 + m * 131) % projects + 1;
        mj = (run * 3 + m) % Majors + 1;
        a = (k + run) % Actions + 1;
    } else {
        p = (k * 7 + m * 131) % projects + 1;
        mj = (k * 3 + m) % Majors + 1;
        a = (k + m * 7) % Actions + 1;
    }
    const int level = k % 5; // 0 project, 1 major activity, else action
    LineNames n;
    n.project = k % 100 == 99 ? QStringLiteral("No such project %1").arg(k % 7)
                              : QStringLiteral("Project %1").arg(p);
    if (level >= 1)
        n.major = QStringLiteral("Major %1.%2").arg(p).arg(mj);
    if (level >= 2)
        n.action = QStringLiteral("Action %1.%2.%3").arg(p).arg(mj).arg(a);
    return n;
}

} // namespace

QString memberName(int member) {
    return QStringLiteral("Member %1").arg(member + 1);
}

QStringList memberNames(int members) {
    QStringList names;
    for (int m = 0; m < members; ++m)
        names << memberName(m);
    return names;
}

void write(const QString& dir, int members, int linesPerMember, int projects, Spread spread) {
    vok::Store store;
    store.setParams({QStringLiteral("path=") + dir});
    store.open();
    for (int m = 0; m < members; ++m) {
        const QString file = MemberFile::fileName(memberName(m));
        store.createFile(file, Schema::memberTimeSheetFile());
        const vok::TableRef ref = store.resolve(file);
        {
            vok::Transaction tx(store);
            QSqlQuery q = store.prepare(
                QStringLiteral("INSERT INTO %1 (MemberTS_project, MemberTS_Major, MemberTS_Action, "
                               "MemberTS_Date_from, MemberTS_Date_to, MemberTS_Hours, "
                               "MemberTS_Notes) VALUES (?,?,?,?,?,?,?)")
                    .arg(ref.sql()));
            for (int k = 0; k < linesPerMember; ++k) {
                const LineNames n = lineNames(spread, projects, m, k);
                const auto orNull = [](const QString& s) {
                    return s.isEmpty() ? QVariant() : QVariant(s);
                };
                q.addBindValue(n.project);
                q.addBindValue(orNull(n.major));
                q.addBindValue(orNull(n.action));
                const QDate from = QDate(2024, 1, 1).addDays(k % 300);
                q.addBindValue(from.toString(Qt::ISODate));
                q.addBindValue(from.addDays(k % 5).toString(Qt::ISODate));
                q.addBindValue(0.25 * (k % 32 + 1));
                q.addBindValue(k % 3 == 0 ? QVariant(QStringLiteral("Line %1").arg(k))
                                          : QVariant());
                store.execPrepared(q);
            }
            q.finish();
            tx.commit();
        }
        store.release(ref);
    }
    store.close();
}

} // namespace MemberFiles
