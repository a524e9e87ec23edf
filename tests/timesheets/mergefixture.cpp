#include "mergefixture.h"

#include "app/storageconfiguration.h"
#include "data/schema.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

MergeFixture::MergeFixture() : env_(std::make_unique<TestEnvironment>()) {
    StorageConfiguration::writeEntries(); // as at start: several machines share the folder
    folder_ = env_->emptyFolder();
    dm_ = std::make_unique<ProjectData>();
    dm_->DataPath = folder_;
    dm_->connectTo(folder_);
    vok::Store& s = *dm_->store;
    s.exec(QStringLiteral("INSERT INTO projects (Zel_project, Zel_hours, Zel_actual) VALUES "
                          "('Bridge', 100, 1000), ('Tunnel', NULL, NULL), ('Twin', 0, 0), "
                          "('Twin', 0, 0)"));
    s.exec(QStringLiteral("INSERT INTO major (Major_project_id, Major_item, Major_hours, "
                          "Major_actual) VALUES (1, 'Design', 10, 100), (1, 'Build', 0, 0), "
                          "(2, 'Design', 0, 0), (3, 'Plan', 0, 0), (4, 'Plan', 0, 0)"));
    s.exec(QStringLiteral(
        "INSERT INTO action (Action_project_id, Action_major_id, Action_name, Action_hours, "
        "Action_actual) VALUES (1, 1, 'Survey', 1, 10), (1, 1, 'Drawings', 0, 0), "
        "(1, 2, 'Survey', 0, 0), (2, 3, 'Survey', 0, 0), (3, 4, 'Kickoff', 0, 0), "
        "(4, 5, 'Kickoff', 0, 0)"));
    s.exec(QStringLiteral("INSERT INTO members (Member_name) VALUES ('Site Crew'), (' Crew'), "
                          "('Ana Morales')"));
    for (vok::Table* t : {dm_->projects, dm_->Major, dm_->Action, dm_->Members})
        t->open();
}

MergeFixture::~MergeFixture() {
    dm_.reset();
    env_.reset();
}

QList<EntryLine> MergeFixture::parse(const QStringList& lines) {
    QList<EntryLine> out;
    for (const QString& text : lines) {
        const QStringList p = text.split(QLatin1Char('|'));
        EntryLine l;
        l.project = p.value(0);
        l.major = p.value(1);
        l.action = p.value(2);
        if (!p.value(3).isEmpty())
            l.quantity = p.value(3).toDouble();
        out << l;
    }
    return out;
}

namespace {

QVariant orNull(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}

void insertLines(vok::Store& s, const QString& table, const QString& prefix,
                 const QString& quantity, const QList<EntryLine>& lines) {
    vok::Transaction tx(s);
    for (const EntryLine& l : lines)
        s.exec(QStringLiteral("INSERT INTO %1 (%2_project, %2_Major, %2_Action, %2_Date_from, "
                              "%2_Date_to, %3, %2_Notes) VALUES (?,?,?,?,?,?,?)")
                   .arg(table, prefix, quantity),
               {orNull(l.project), orNull(l.major), orNull(l.action), l.from, l.to, l.quantity,
                l.notes});
    tx.commit();
}

} // namespace

void MergeFixture::writeMemberLines(const QString& fileName, const QList<EntryLine>& lines) {
    vok::Store& s = *dm_->store;
    if (!s.fileExists(fileName))
        s.createFile(fileName, Schema::memberTimeSheetFile());
    const vok::TableRef ref = s.resolve(fileName);
    insertLines(s, ref.sql(), QStringLiteral("MemberTS"), QStringLiteral("MemberTS_Hours"), lines);
    s.release(ref);
}

void MergeFixture::writeCostLines(const QList<EntryLine>& lines) {
    insertLines(*dm_->store, QStringLiteral("Costentry"), QStringLiteral("Cost"),
                QStringLiteral("Cost_Amount"), lines);
}

int MergeFixture::memberLines(const QString& fileName) {
    vok::Store& s = *dm_->store;
    const vok::TableRef ref = s.resolve(fileName);
    const int n = value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(ref.sql())).toInt();
    s.release(ref);
    return n;
}

QMap<QString, QVariant> MergeFixture::totals(const QString& kind) {
    const bool hours = kind == QLatin1String("hours");
    const struct {
        const char* key;
        const char* table;
        const char* id;
        const char* hours;
        const char* costs;
    } levels[] = {{"P", "projects", "Zel_Project_id", "Zel_hours", "Zel_actual"},
                  {"M", "major", "Major_id", "Major_hours", "Major_actual"},
                  {"A", "action", "Action_id", "Action_hours", "Action_actual"}};
    QMap<QString, QVariant> out;
    for (const auto& l : levels) {
        QSqlQuery q =
            dm_->store->exec(QStringLiteral("SELECT %1, %2 FROM %3")
                                 .arg(QLatin1String(l.id), QLatin1String(hours ? l.hours : l.costs),
                                      QLatin1String(l.table)));
        while (q.next())
            out.insert(QLatin1String(l.key) + q.value(0).toString(), q.value(1));
    }
    return out;
}

QString MergeFixture::changes(const QMap<QString, QVariant>& before,
                              const QMap<QString, QVariant>& after) {
    QStringList out;
    for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
        const QVariant old = before.value(it.key());
        if (old.isNull() == it.value().isNull() && old.toDouble() == it.value().toDouble())
            continue;
        out << it.key() + QLatin1Char('+') +
                   QString::number(it.value().toDouble() - old.toDouble());
    }
    return out.join(QLatin1Char(' '));
}

QStringList MergeFixture::rowNumbers(const QString& table) {
    QSqlQuery q = dm_->store->exec(
        QStringLiteral("SELECT %1_project_id, %1_major_id, %1_action_id FROM %1 ORDER BY %1_id")
            .arg(table));
    QStringList out;
    while (q.next())
        out << QStringLiteral("%1,%2,%3")
                   .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    return out;
}

std::unique_ptr<ProjectData> MergeFixture::otherInstallation() const {
    auto dm = std::make_unique<ProjectData>();
    dm->DataPath = folder_;
    dm->connectTo(folder_);
    for (vok::Table* t : {dm->projects, dm->Major, dm->Action, dm->Members})
        t->open();
    return dm;
}

MergeFixture::OpenWindow MergeFixture::openMainWindow() {
    env_->writeSettings(folder_, QStringLiteral("0"));
    OpenWindow w;
    w.form = std::make_unique<MainWindow>();
    w.dm = std::make_unique<ProjectData>();
    w.form->setDataModule(w.dm.get());
    w.form->show();
    w.form->activateWindow();
    if (!QTest::qWaitForWindowActive(w.form.get()) || !w.dm->store->isOpen())
        qWarning("the main window did not open the data folder");
    return w;
}

MergeFixture::Run MergeFixture::vokctl(const QString& program, const QStringList& args) const {
    QStringList arguments = args;
    for (QString& a : arguments)
        a.replace(QStringLiteral("DIR"), folder_);
    QProcess process;
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString MergeFixture::value(const QString& sql, const QVariantList& binds) {
    QSqlQuery q = dm_->store->exec(sql, binds);
    return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
}
