#pragma once

#include "framework/dataset/store.h"
#include "framework/dataset/table.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// The shared data module: the connection and every working record-set, linked master to detail,
// with the rules that belong to the data (new-record defaults, the member copy into team rows,
// calculated names, the project filter). Windows read and write only through these record-sets.
class ProjectData : public QObject {
    Q_OBJECT
public:
    explicit ProjectData(QObject* parent = nullptr);
    ~ProjectData() override;

    // Record-sets of their own over the same connection, for whatever walks the tables while the
    // main window shows a node: reports and previews, the time sheet and cost merges, the entry
    // windows and their member choice. Their walks never move the working record-sets, so the
    // pages stay on the node selected in the tree and an edit lands on the record it was typed
    // into. Made with the first call; opened with the working record-sets.
    ProjectData& walks();

    // Re-reads every open working record-set: the tree and the pages show the tables as stored.
    void refreshAll();

    // In the walks' module: moves its projects to the project the working record-sets are on
    // (a report of the shown project).
    void followShownProject();
    // After a walk wrote to the tables (a merge): the working record-sets show what it stored.
    void walkWrote();

    // The data folder as read from the settings at the first activation; the time-sheet windows
    // give it one trailing separator.
    QString DataPath;

    vok::Store* store;

    vok::Table* projects;
    vok::Table* Major;
    vok::Table* Action;
    vok::Table* ProjectNotes;
    vok::Table* MajorNotes;
    vok::Table* ActionNotes;
    vok::Table* ProjectTeam;
    vok::Table* MajorTeam;
    vok::Table* ActionTeam;
    vok::Table* Members;
    vok::Table* Contacts;
    vok::Table* ProjectTS;
    vok::Table* MajorTS;
    vok::Table* ActionTS;
    vok::Table* TimeSheets;
    vok::Table* MemberTS;
    vok::Table* ProjectCost;
    vok::Table* MajorCost;
    vok::Table* ActionCost;
    vok::Table* Costs;
    vok::Table* CostEntry;

    // The caption of the main window's hidden label PrintProject, read by the project filter.
    void setPrintProjectSource(std::function<QString()> source);
    QString printProject() const;

    // Every record-set, in declaration order.
    QList<vok::Table*> tables() const;
    // Points the connection at a data folder ("path=" + folder) and opens it with the first table.
    void connectTo(const QString& dataPath);
    // Opens the record-sets the main window works on, in the order of the first activation:
    // projects, Major, Action, the notes, the teams, Members and Contacts.
    void openWorkingTables();

    // Rules called by the record-set layer.
    void projectsNewRecord(vok::Table& t);
    void MajorNewRecord(vok::Table& t);
    void ActionNewRecord(vok::Table& t);
    void MemberTSNewRecord(vok::Table& t);
    void ProjectTeamProjectTeam_memberChange(vok::Field& f);
    void MajorTeamMajorTeam_memberChange(vok::Field& f);
    void ActionTeamActionTeam_memberChange(vok::Field& f);
    bool projectsFilterRecord(vok::Table& t);
    void ProjectTSCalcFields(vok::Table& t);
    void MajorTSCalcFields(vok::Table& t);
    void ActionTSCalcFields(vok::Table& t);
    void ProjectCostCalcFields(vok::Table& t);

private:
    // The walks' module: the owner's connection and print-project source.
    explicit ProjectData(ProjectData* owner);
    void build();
    // Re-reads the current records of projects, Major and Action where they are not being
    // edited; cheap: no range is read again.
    void refreshCurrentRecords();

    vok::Table* makeTable(const char* name, const QString& file);
    void copyMember(vok::Field& member, const QString& emailField, const QString& telField);
    QString majorName(const QVariant& project, const QVariant& major) const;
    QString actionName(const QVariant& project, const QVariant& major,
                       const QVariant& action) const;

    ProjectData* owner_ = nullptr;
    std::unique_ptr<ProjectData> walks_;
    std::function<QString()> printProjectSource_;
    QString printProjectFallback_;
};
