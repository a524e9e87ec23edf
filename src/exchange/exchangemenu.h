#pragma once

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class ProjectData;

// The window's way in and out for plans: "Import project…" at the end of the main menu and
// "Export…" at the end of a project's right-click menu, both after the commands that were there,
// so none of them moves. The export's file name chooses MS Project XML or iCalendar (".xml",
// ".ics"), the file type only when the name has neither; an import whose name is taken asks for
// another.
class ExchangeMenu : public QObject {
    Q_OBJECT
public:
    // `selectedProject`: positions on the project of the tree's selected node and gives its
    // number, 0 when there is none. `imported`: shows a project just imported.
    ExchangeMenu(QWidget* window, QMenuBar* mainMenu, QMenu* projectMenu, ProjectData* dm,
                 std::function<int()> selectedProject, std::function<void(int)> imported);

    QAction* importAction; // ImportProject1
    QAction* exportAction; // ExportProject1

    void importProject();
    void exportProject();

private:
    // Another name for an imported project whose name is taken; empty when the user gives none.
    QString askProjectName(const QString& taken);

    QWidget* window_;
    ProjectData* dm_;
    std::function<int()> selectedProject_;
    std::function<void(int)> imported_;
};
