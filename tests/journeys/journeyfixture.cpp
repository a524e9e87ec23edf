#include "journeyfixture.h"

#include "app/exe/appwindows.h"
#include "app/storageconfiguration.h"
#include "data/projectdata.h"
#include "framework/dataset/store.h"
#include "framework/ui/modal.h"
#include "framework/ui/shell.h"
#include "support/testenvironment.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/treecontroller.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using vok::Messages;

JourneyFixture::JourneyFixture() = default;
JourneyFixture::~JourneyFixture() = default;

void JourneyFixture::setUp() {
    env = std::make_unique<TestEnvironment>();
    StorageConfiguration::writeEntries(); // as at start: shared locking
    env->homeInside();                    // documents go to the test's own home folder
    folder = env->demoFolder();
    env->writeSettings(folder, QStringLiteral("0"));
    reader_ = std::make_unique<vok::Store>();
    reader_->setParams({QStringLiteral("path=") + folder});
    shown.clear();
    answers.clear();
    modals.clear();
    onModal = {};
    Messages::setHandler([this](const Messages::Request& r) {
        shown << r;
        return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
    });
    vok::Shell::setHandler([](const QString&) { return true; });
    filesAsked.clear();
    fileAnswer.clear();
    vok::FileDialogs::setHandler([this](const vok::FileDialogs::Request& r) {
        filesAsked << r;
        return vok::FileDialogs::Answer{fileAnswer, 0};
    });
    vok::Modal::setHandler([this](QDialog* dialog) {
        modals << dialog->objectName();
        // Driven from inside its own modal loop, as a person meets it.
        QTimer::singleShot(0, dialog, [this, dialog] {
            if (QTest::qWaitForWindowActive(dialog) && onModal)
                onModal(dialog);
            if (dialog->isVisible())
                QTest::keyClick(focused() ? focused() : dialog, Qt::Key_Escape);
        });
        return dialog->exec();
    });
    windows = std::make_unique<AppWindows>();
    form = windows->mainWindow.get();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QTRY_VERIFY(form->tree->view()->topLevelItemCount() > 0);
    settle();
    QCOMPARE(shown.size(), 0);
}

void JourneyFixture::tearDown() {
    windows.reset();
    form = nullptr;
    reader_.reset();
    Messages::setHandler({});
    vok::Shell::setHandler({});
    vok::FileDialogs::setHandler({});
    vok::Modal::setHandler({});
    env.reset();
}

// ---------------------------------------------------------------- acting

void JourneyFixture::click(QWidget* widget, QPoint at, Qt::MouseButton button) {
    QVERIFY(widget);
    QVERIFY2(widget->isVisible(), qPrintable(widget->objectName()));
    const QPoint p = at.isNull() ? widget->rect().center() : at;
    if (button == Qt::RightButton) {
        // Through the window, as the display delivers it: a right press also asks the widget
        // under the mouse for its context menu.
        QWidget* window = widget->window();
        QTest::mouseClick(window->windowHandle(), button, {}, widget->mapTo(window, p));
    } else {
        QTest::mouseClick(widget, button, {}, p);
    }
    settle();
}

void JourneyFixture::doubleClick(QWidget* widget, QPoint at) {
    QVERIFY(widget);
    const QPoint p = at.isNull() ? widget->rect().center() : at;
    // As a mouse does it: press, release, then the second press arrives as a double click.
    QTest::mouseClick(widget, Qt::LeftButton, {}, p);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, p);
    settle();
}

QWidget* JourneyFixture::widget(const QString& objectName) const {
    // The window in front first: a dialog and the main window share control names.
    QList<QWidget*> windowsInFront;
    if (QWidget* modal = QApplication::activeModalWidget())
        windowsInFront << modal;
    if (QWidget* active = QApplication::activeWindow())
        windowsInFront << active;
    windowsInFront << form;
    for (QWidget* w : std::as_const(windowsInFront)) {
        if (w->objectName() == objectName)
            return w;
        for (QWidget* child : w->findChildren<QWidget*>(objectName)) {
            if (child->isVisible())
                return child;
        }
    }
    return nullptr;
}

QTreeWidgetItem* JourneyFixture::nodeAt(const QString& path) const {
    QTreeWidgetItem* found = nullptr;
    for (const QString& caption : path.split(QLatin1Char('/'))) {
        const int count = found ? found->childCount() : form->tree->view()->topLevelItemCount();
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem* item = found ? found->child(i) : form->tree->view()->topLevelItem(i);
            if (item->text(0) == caption)
                next = item;
        }
        if (!next)
            return nullptr;
        found = next;
    }
    return found;
}

void JourneyFixture::clickNode(const QString& path) {
    QTreeWidget* tree = form->tree->view();
    const QStringList parts = path.split(QLatin1Char('/'));
    for (int depth = 1; depth <= parts.size(); ++depth) {
        const QString prefix = parts.mid(0, depth).join(QLatin1Char('/'));
        QTreeWidgetItem* item = nodeAt(prefix);
        QVERIFY2(item, qPrintable(prefix));
        // Scrolled to as the wheel would; neither the selection nor the focus changes.
        tree->scrollToItem(item);
        const QRect rect = tree->visualItemRect(item);
        if (depth < parts.size()) {
            if (!item->isExpanded()) // its arrow, left of the caption
                click(tree->viewport(),
                      QPoint(rect.left() - tree->indentation() / 2, rect.center().y()));
            QVERIFY2(item->isExpanded(), qPrintable(prefix));
        } else {
            click(tree->viewport(), QPoint(rect.left() + 8, rect.center().y()));
        }
    }
    QTRY_VERIFY(visiblePage());
    QTRY_COMPARE(form->tree->idstrings.join(QLatin1Char(',')),
                 form->tree->projectList().value(form->tree->nodeIndex(nodeAt(path))));
}

void JourneyFixture::treeMenu(const QString& itemName) {
    QTreeWidget* tree = form->tree->view();
    QTreeWidgetItem* item = tree->currentItem();
    QVERIFY(item);
    click(tree->viewport(), tree->visualItemRect(item).center(), Qt::RightButton);
    QMenu* menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
    chooseFromMenu(menu, itemName);
}

void JourneyFixture::mainMenu(const QString& menuName, const QString& itemName) {
    QMenuBar* bar = form->menuBar();
    QAction* entry = nullptr;
    for (QAction* a : bar->actions()) {
        if (a->objectName() == menuName || (a->menu() && a->menu()->objectName() == menuName))
            entry = a;
    }
    QVERIFY2(entry, qPrintable(menuName));
    click(bar, bar->actionGeometry(entry).center());
    if (itemName.isEmpty())
        return;
    QMenu* menu = entry->menu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    chooseFromMenu(menu, itemName);
}

void JourneyFixture::chooseFromMenu(QMenu* menu, const QString& itemName) {
    QAction* item = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->objectName() == itemName)
            item = a;
    }
    QVERIFY2(item, qPrintable(itemName));
    QVERIFY2(item->isVisible() && item->isEnabled(), qPrintable(itemName));
    click(menu, menu->actionGeometry(item).center());
}

void JourneyFixture::clickTab(const QString& caption) {
    QTabWidget* page = visiblePage();
    QVERIFY(page);
    QTabBar* bar = page->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        if (bar->tabText(i) == caption) {
            click(bar, bar->tabRect(i).center());
            QTRY_COMPARE(page->currentIndex(), i);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no tab ") + caption));
}

QWidget* JourneyFixture::focused() const {
    return QApplication::focusWidget();
}

void JourneyFixture::type(const QString& text) {
    QWidget* w = focused();
    QVERIFY2(w, "nothing has the focus");
    QTest::keyClicks(w, text);
    settle();
}

void JourneyFixture::key(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* w = focused();
    QVERIFY2(w, "nothing has the focus");
    QTest::keyClick(w, static_cast<Qt::Key>(key), modifiers);
    settle();
}

void JourneyFixture::menuKey() {
    QWidget* w = focused();
    QVERIFY2(w, "nothing has the focus");
    QTest::keyPress(w, Qt::Key_Menu);
    // Where the window system turns the key into a request for the context menu, at the
    // widget's cursor (a view's current item).
    const QPoint at = w->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &request);
    QTest::keyRelease(w, Qt::Key_Menu);
}

void JourneyFixture::retype(const QString& text) {
    key(Qt::Key_A, Qt::ControlModifier);
    type(text);
}

// ---------------------------------------------------------------- reading

QTabWidget* JourneyFixture::visiblePage() const {
    for (QTabWidget* p : {form->projectPage, form->majorPage, form->actionPage})
        if (p->isVisible())
            return p;
    return nullptr;
}

QString JourneyFixture::stored(const QString& query) const {
    QSqlQuery q = reader_->exec(query);
    return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
}

QSqlQuery JourneyFixture::storedRows(const QString& query) const {
    return reader_->exec(query);
}

void JourneyFixture::settle() {
    // Longer than the tree's selection delay.
    QTest::qWait(80);
}
