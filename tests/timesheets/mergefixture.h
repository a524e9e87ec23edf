#pragma once

#include "data/projectdata.h"
#include "support/testenvironment.h"
#include "ui/main/mainwindow.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// One entry line, named by project, major activity and action.
struct EntryLine {
    QString project;
    QString major;
    QString action;
    QVariant from = QStringLiteral("2024-02-05");
    QVariant to = QStringLiteral("2024-02-09");
    QVariant quantity;
    QVariant notes;
};

// A data folder whose names repeat where the merges must tell records apart, with the data module
// connected as at start-up:
//   projects  1 "Bridge" (hours 100, costs 1000), 2 "Tunnel" (empty totals), 3 and 4 "Twin"
//   majors    1 Bridge/"Design", 2 Bridge/"Build", 3 Tunnel/"Design", 4 Twin(3)/"Plan",
//             5 Twin(4)/"Plan"
//   actions   1 Design/"Survey", 2 Design/"Drawings", 3 Build/"Survey", 4 Tunnel Design/"Survey",
//             5 Twin(3) Plan/"Kickoff", 6 Twin(4) Plan/"Kickoff"
//   members   "Site Crew", " Crew", "Ana Morales"
class MergeFixture {
public:
    MergeFixture();
    ~MergeFixture();

    TestEnvironment& env() { return *env_; }
    ProjectData& dm() { return *dm_; }
    const QString& folder() const { return folder_; }

    // Lines "project|major|action|quantity" (empty parts are empty names, an empty quantity empty).
    static QList<EntryLine> parse(const QStringList& lines);

    // Writes lines into a member's file, creating it when needed.
    void writeMemberLines(const QString& fileName, const QList<EntryLine>& lines);
    void writeCostLines(const QList<EntryLine>& lines);
    int memberLines(const QString& fileName);

    // Every total of one kind ("hours" or "costs") by record: "P1", "M3", "A5"; empty totals as
    // null.
    QMap<QString, QVariant> totals(const QString& kind);
    // What changed between two snapshots: "P1+10 M1+8" in key order, empty totals counting as 0.
    static QString changes(const QMap<QString, QVariant>& before,
                           const QMap<QString, QVariant>& after);

    // The numbers of the rows of ProjectTS or ProjectCost in their order of entry: "p,m,a".
    QStringList rowNumbers(const QString& table);
    QString value(const QString& sql, const QVariantList& binds = {});

    // Another installation on the fixture's folder: a data module of its own, connected and with
    // the project, major activity, action and member record-sets open.
    std::unique_ptr<ProjectData> otherInstallation() const;

    // The main window on the fixture's folder with a data module of its own, activated as at
    // start-up (settings read, tables opened, tree built).
    struct OpenWindow {
        std::unique_ptr<ProjectData> dm;
        std::unique_ptr<MainWindow> form; // goes first
    };
    OpenWindow openMainWindow();

    // Runs vokctl with the arguments, "DIR" standing for the data folder.
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run vokctl(const QString& program, const QStringList& args) const;

private:
    std::unique_ptr<TestEnvironment> env_;
    QString folder_;
    std::unique_ptr<ProjectData> dm_;
};
