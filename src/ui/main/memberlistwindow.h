#pragma once

#include <QDialog>

class QPushButton;
class ProjectData;
namespace vok {
class DBGrid;
}

// "Team Members List": the one list of members whose names the teams, time sheets and personal
// files use, edited in place: moving past the last row adds a member, Ctrl+Del deletes one after
// asking. Shown modally from the main menu; the main window refreshes its member pick lists when
// it closes.
class MemberListWindow : public QDialog {
    Q_OBJECT
public:
    explicit MemberListWindow(ProjectData* dm, QWidget* parent = nullptr);

    vok::DBGrid* grid;
    QPushButton* closeButton;

    // However the window closes, a member being typed is stored (or dropped when untouched).
    void done(int result) override;

private:
    ProjectData* dm_;
};
