#pragma once

#include "framework/ui/filedialogs.h"
#include "framework/ui/messages.h"

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPoint>
#include <QSqlQuery>
#include <QStringList>
#include <functional>
#include <memory>

class AppWindows;
class QDialog;
class QMenu;
class QTabWidget;
class QTreeWidgetItem;
class QWidget;
class MainWindow;
class TestEnvironment;
namespace vok {
class Store;
}

// The main window as Vok starts it, shown on the demo data in a temporary folder, driven as a
// person drives it: clicks at points inside widgets and keys sent to whatever has the focus.
// Nothing here sets a value, the focus, a selection or a tab, or calls a slot; what a journey
// stored is read back with plain SQL through a connection of its own.
//
// Message boxes are answered from `answers` (Ok when it runs out) and recorded in `shown`. A
// window shown modally really runs modally; `onModal`, when set, drives it while it is open
// (clicks and keys again), and a window still open afterwards is closed as by Escape.
class JourneyFixture : public QObject {
    Q_OBJECT
protected:
    JourneyFixture();
    ~JourneyFixture() override;

    // From init() and cleanup().
    void setUp();
    void tearDown();

    std::unique_ptr<TestEnvironment> env;
    QString folder;
    std::unique_ptr<AppWindows> windows;
    MainWindow* form = nullptr;
    QList<vok::Messages::Request> shown;
    QList<QMessageBox::StandardButton> answers;
    QStringList modals; // object names of the windows shown modally, in order
    std::function<void(QDialog*)> onModal;
    // File dialogs: what was asked, and the path answered (empty: cancelled).
    QList<vok::FileDialogs::Request> filesAsked;
    QString fileAnswer;

    // ---- Acting.
    // Clicks the tree node at a path of captions ("Website Relaunch/Design/Wireframes"),
    // opening collapsed nodes on the way by clicking their arrows, and waits until the window
    // acted on the selection.
    void clickNode(const QString& path);
    // Opens the tree's right-click menu on the selected node and clicks the item with that
    // object name.
    void treeMenu(const QString& itemName);
    // Opens a menu of the menu bar and clicks one of its items (object names); an item of the
    // bar itself when only one name is given.
    void mainMenu(const QString& menuName, const QString& itemName = {});
    // Clicks an item of an open popup menu.
    void chooseFromMenu(QMenu* menu, const QString& itemName);
    // Clicks the tab with that caption on the page showing.
    void clickTab(const QString& caption);
    // A click (or double click) at a point of a widget, its centre by default.
    void click(QWidget* widget, QPoint at = {}, Qt::MouseButton button = Qt::LeftButton);
    void doubleClick(QWidget* widget, QPoint at = {});
    // The widget with that object name in the main window or an open window.
    QWidget* widget(const QString& objectName) const;
    void click(const QString& objectName) { click(widget(objectName)); }
    // Keys to the focused widget.
    void type(const QString& text);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The Menu key: the context menu the display asks the focused widget for (without waiting:
    // the key follows the keys before it as closely as a hand does).
    void menuKey();
    void tab() { key(Qt::Key_Tab); }
    void backtab() { key(Qt::Key_Backtab, Qt::ShiftModifier); }
    // Selects all of the focused edit's text and types over it.
    void retype(const QString& text);
    QWidget* focused() const;

    // ---- Reading.
    QTreeWidgetItem* nodeAt(const QString& path) const;
    // The page showing (project, major activity or action), null when none shows.
    QTabWidget* visiblePage() const;
    // The first value of a query on the data folder, "<none>" when it has no row.
    QString stored(const QString& query) const;
    // All rows of a query on the data folder.
    QSqlQuery storedRows(const QString& query) const;
    // Waits until pending timers (the tree's selection) have run.
    static void settle();

private:
    std::unique_ptr<vok::Store> reader_;
};
