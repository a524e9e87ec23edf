#pragma once

#include "pagedesign.h"

#include <QStringList>
#include <QTabWidget>
#include <QToolButton>

class BudgetView;
class ProjectData;
class RecordTab;

namespace vok {
class DBCtrlGrid;
class DBGrid;
class Table;
} // namespace vok

// One detail page of the main window: the tabs of a project, major activity or action, built
// from its row of the page table. The time-sheet and cost lists are read only while their tab is
// in front.
class DetailPage : public QTabWidget {
    Q_OBJECT
public:
    DetailPage(const PageDesign& design, QWidget* parent);

    const PageDesign& design() const { return design_; }
    // Binds every tab to its record-sets.
    void bind(ProjectData& dm);
    vok::Table* records() const { return records_; }
    // The team list and the field of its members' mail addresses.
    vok::Table* teamRecords() const { return teamRecords_; }
    QString teamEmailField() const { return teamEmailField_; }
    // The identity string of the record the page shows ("12,3").
    QString recordId() const;

    // Shows the page, the record tab in front unless `keepTab`.
    void showRecord(bool keepTab);
    // Add mode: Ok and Cancel show, and the other tabs wait until the record is stored.
    void setAdding(bool adding);
    bool isAdding() const;

    // The pick list of the team grid's "Member" column.
    QStringList memberPickList() const;
    void setMemberPickList(const QStringList& names);

    RecordTab* record{};
    // The record tab's budgets against the actuals.
    BudgetView* budget{};
    // "Team Members": the grid and "Member Email".
    QWidget* teamTab{};
    vok::DBGrid* team{};
    QToolButton* teamMailButton{};
    // "Notes", "Time Sheets" and "Cost entries": lists of panels.
    QWidget* notesTab{};
    vok::DBCtrlGrid* notes{};
    QWidget* timeSheetTab{};
    vok::DBCtrlGrid* timeSheets{};
    QWidget* costTab{};
    vok::DBCtrlGrid* costs{};
    // "Contacts", on the project page only: the cards, "Contact Email", "Word document" and
    // "Print list".
    QWidget* contactsTab{};
    vok::DBCtrlGrid* contacts{};
    QToolButton* contactMailButton{};
    QToolButton* contactDocumentButton{};
    QToolButton* contactListButton{};

private:
    QWidget* addTab(const PageDesign::TabDesign& tab);
    void buildTeamTab(const PageDesign::TabDesign& tab);
    // Notes, time sheets or costs: a list of panels.
    void buildListTab(const PageDesign::TabDesign& tab);
    void buildContactsTab(const PageDesign::TabDesign& tab);
    // Opens the time-sheet and cost lists of the tab in front, closes the others.
    void tabChanged();

    const PageDesign& design_;
    vok::Table* records_ = nullptr;
    vok::Table* teamRecords_ = nullptr;
    QString teamEmailField_;
    vok::Table* timeSheetRecords_ = nullptr;
    vok::Table* costRecords_ = nullptr;
};
