#pragma once

#include "weeknames.h"
#include "weeksheet.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;
class ProjectData;
class WeekGrid;
class WeekModel;

// "Week Entry": one member's hours of one week in a grid, typed cell by cell; each day's cell is
// one line of the member's time sheet file. The week of today shows first; "Previous week",
// "Next week" and the date go to another week, storing what was typed first. "Close" stores;
// Escape or the title bar asks first when something typed is not stored yet.
class WeekEntryWindow : public QDialog {
    Q_OBJECT
public:
    explicit WeekEntryWindow(ProjectData* dm, QWidget* parent = nullptr);

    // Reads the week of today from the member's file, which the data module's member file
    // record-set has open; the window is then shown modally by the caller.
    void openFor(const QString& member);

    // Object names, which the captions and the accessibility bus address, after each.
    QLabel* memberName;          // MemberName, the member's name as listed
    QLabel* weekLabel;           // Label1, "Week": names the date and the grid
    QDateEdit* dateEdit;         // DateEdit1, any day of the week shown
    QPushButton* priorButton;    // PriorWeekButton, "Previous week"
    QPushButton* nextButton;     // NextWeekButton, "Next week"
    QLabel* weekNumber;          // WeekNumber, "Week 9, 2024"
    WeekGrid* grid;              // WeekGrid, accessible name "Week"
    QPushButton* copyRowsButton; // CopyRowsButton, "Copy last week's rows"
    QPushButton* closeButton;    // Button1, "Close"

public Q_SLOTS:
    // "Close": stores what was typed, then closes.
    void closeWindow();
    // Escape and the title bar: asks Save, Discard or Cancel when something is not stored.
    void reject() override;

public:
    // The member's file is closed however the window closes.
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    // Stores what was typed; false when a cell's text is refused or the store failed (the
    // error shown, the typing kept).
    bool storeTyped();
    // Goes to the week of that day, storing what was typed first; stays when that fails.
    void goToWeek(const QDate& day);
    void copyRows();
    // The date, week number and the grid as the sheet stands.
    void showSheet();
    void showWeekNumber();

    ProjectData* dm_;
    WeekSheet sheet_;
    WeekNames names_;
    WeekModel* model_;
};
