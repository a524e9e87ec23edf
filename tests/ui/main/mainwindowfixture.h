#pragma once

#include "framework/dataset/store.h"
#include "framework/ui/messages.h"

#include <QList>
#include <QObject>
#include <QSqlQuery>
#include <QStringList>
#include <array>
#include <memory>

class AppWindows;
class QAction;
class QDialog;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeWidgetItem;
class QWidget;
class ProjectData;
class MainWindow;
class TestEnvironment;
namespace vok {
class DBEdit;
}

// Every window of Vok on a real data folder, driven offscreen, the main window activated: the
// message boxes, the desktop's opener, modal showing and the printer answered by the test.
//
// The folder holds project 12 with major activities 3 (actions 5, 6) and 4 (actions 8 critical,
// 9 completed) and project 14, completed, with major activity 7 (action 10). Each level has a
// team, notes and time-sheet and cost rows; the members are Ann and Bob; project 12 has the
// contacts Carol and Dave, project 14 Erin.
class MainWindowFixture : public QObject {
    Q_OBJECT
protected:
    MainWindowFixture();
    ~MainWindowFixture() override;

    // From init() and cleanup().
    void setUp();
    void tearDown();

    std::unique_ptr<TestEnvironment> env;
    QString folder;
    std::unique_ptr<AppWindows> windows;
    MainWindow* form = nullptr;
    ProjectData* dm = nullptr;
    QList<vok::Messages::Request> shown;
    QList<QMessageBox::StandardButton> answers;
    // Texts handed to the desktop's opener, and whether it opens them.
    QStringList opened;
    bool shellOpens = true;
    // Titles of the reports sent to the printer, which stands in for every printer: nothing a
    // test prints reaches a real one.
    QStringList printed;
    // Windows shown modally (object names), and what showing one does; by default the window
    // is closed as by its title bar.
    QStringList modals;
    std::function<int(QDialog*)> onModal;

    // Another connection to the data folder, as another installation would have.
    std::unique_ptr<vok::Store> other;

    QSqlQuery sql(const QString& query);
    QString value(const QString& query);
    // projects major action teams(p m a) notes(p m a) contacts ts cost
    QString counts();
    // The node with that identity string, found by walking the tree depth first.
    QTreeWidgetItem* node(const QString& id);
    // Every node, the actions of collapsed major activities included.
    int nodeCount();
    QTabWidget* visiblePage();
    // Selects a node as the user does and waits until the window acted on it.
    void select(const QString& id);
    void focus(QWidget* w);
    void typeInto(QLineEdit* edit, const QString& text);
    QAction* action(const QString& name);
    QTabWidget* page(int level);
    QPushButton* okButton(int level);
    QPushButton* cancelButton(int level);
    vok::DBEdit* nameEdit(int level);
    bool menuEnabled();
};
