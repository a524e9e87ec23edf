#include "mainwindowfixture.h"

#include "app/exe/appwindows.h"
#include "app/storageconfiguration.h"
#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportprinter.h"
#include "framework/ui/filedialogs.h"
#include "framework/ui/modal.h"
#include "framework/ui/shell.h"
#include "framework/widgets/dbedit.h"
#include "support/testenvironment.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QDialog>
#include <QDir>
#include <QtTest>

using vok::Messages;

namespace {

// Project 12 with major activities 3 (actions 5, 6) and 4 (actions 8 critical, 9 completed);
// project 14, completed, with major activity 7. Each level has a team, notes and time-sheet and
// cost rows; project 12 has contacts.
const char* const seedSql[] = {
    "INSERT INTO members (Member_name, Member_email, Member_tel) VALUES "
    "('Ann', 'ann@example.com', '111'), ('Bob', 'bob@example.com', '222')",
    "INSERT INTO projects (Zel_Project_id, Zel_project, Zel_completed, Zel_date_from) VALUES "
    "(12, 'Alpha', 0, '2024-01-01'), (14, 'Beta', 1, '2024-02-01')",
    "INSERT INTO major (Major_project_id, Major_id, Major_item, Major_critical, Major_completed) "
    "VALUES (12, 3, 'Design', 0, 0), (12, 4, 'Build', 1, 0), (14, 7, 'Only', 0, 0)",
    "INSERT INTO action (Action_project_id, Action_major_id, Action_id, Action_name, "
    "Action_critical, Action_completed) VALUES (12, 3, 5, 'Sketch', 0, 0), "
    "(12, 3, 6, 'Review', 0, 0), (12, 4, 8, 'Pour', 1, 0), (12, 4, 9, 'Cure', 1, 1), "
    "(14, 7, 10, 'Pack', 0, 0)",
    "INSERT INTO ProjectTeam (ProjectTeam_project_id, ProjectTeam_member) VALUES (12, 'Ann'), "
    "(14, 'Bob')",
    "INSERT INTO MajorTeam (MajorTeam_project_id, MajorTeam_major_id, MajorTeam_member) VALUES "
    "(12, 3, 'Ann'), (12, 4, 'Bob'), (14, 7, 'Bob')",
    "INSERT INTO actionTeam (ActionTeam_project_id, ActionTeam_major_id, ActionTeam_action_id, "
    "ActionTeam_member) VALUES (12, 3, 5, 'Ann'), (12, 3, 5, 'Bob'), (12, 3, 6, 'Ann'), "
    "(12, 4, 8, 'Bob'), (14, 7, 10, 'Ann')",
    "INSERT INTO Projectnotes (Projectnotes_project_id, Projectnotes_note) VALUES (12, 'p'), "
    "(14, 'q')",
    "INSERT INTO Majornotes (Majornotes_project_id, Majornotes_major_id, Majornotes_note) "
    "VALUES (12, 3, 'm3'), (12, 4, 'm4'), (14, 7, 'm7')",
    "INSERT INTO actionnotes (Actionnotes_project_id, Actionnotes_major_id, "
    "Actionnotes_action_id, Actionnotes_note) VALUES (12, 3, 5, 'a5'), (12, 3, 6, 'a6'), "
    "(12, 4, 9, 'a9'), (14, 7, 10, 'a10')",
    "INSERT INTO ProjectContact (ProjectContact_project_id, ProjectContact_name) VALUES "
    "(12, 'Carol'), (12, 'Dave'), (14, 'Erin')",
    "INSERT INTO ProjectTS (ProjectTS_project_id, ProjectTS_major_id, ProjectTS_action_id, "
    "ProjectTS_member, ProjectTS_hours) VALUES (12, 0, 0, 'Ann', 1), (12, 3, 0, 'Ann', 2), "
    "(12, 3, 5, 'Bob', 3), (14, 7, 10, 'Ann', 4)",
    "INSERT INTO ProjectCost (ProjectCost_project_id, ProjectCost_major_id, "
    "ProjectCost_action_id, ProjectCost_Amount) VALUES (12, 0, 0, 10), (12, 3, 5, 20), "
    "(14, 7, 0, 30)",
};

// Row counts that tell what a command removed, in one line.
const char* const countSql[] = {
    "SELECT COUNT(*) FROM projects",     "SELECT COUNT(*) FROM major",
    "SELECT COUNT(*) FROM action",       "SELECT COUNT(*) FROM ProjectTeam",
    "SELECT COUNT(*) FROM MajorTeam",    "SELECT COUNT(*) FROM actionTeam",
    "SELECT COUNT(*) FROM Projectnotes", "SELECT COUNT(*) FROM Majornotes",
    "SELECT COUNT(*) FROM actionnotes",  "SELECT COUNT(*) FROM ProjectContact",
    "SELECT COUNT(*) FROM ProjectTS",    "SELECT COUNT(*) FROM ProjectCost",
};

} // namespace

MainWindowFixture::MainWindowFixture() = default;
MainWindowFixture::~MainWindowFixture() = default;

void MainWindowFixture::setUp() {
    env = std::make_unique<TestEnvironment>();
    StorageConfiguration::writeEntries(); // as at start: shared locking
    env->homeInside();                    // documents go to the test's own home folder
    folder = env->emptyFolder();
    {
        vok::Store seed;
        seed.setParams({QStringLiteral("path=") + folder});
        for (const char* q : seedSql)
            seed.exec(QLatin1String(q));
    }
    env->writeSettings(folder, QStringLiteral("0"));
    other = std::make_unique<vok::Store>();
    other->setParams({QStringLiteral("path=") + folder});
    shown.clear();
    answers.clear();
    opened.clear();
    shellOpens = true;
    modals.clear();
    onModal = {};
    Messages::setHandler([this](const Messages::Request& r) {
        shown << r;
        return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
    });
    vok::Shell::setHandler([this](const QString& target) {
        opened << target;
        return shellOpens;
    });
    printed.clear();
    vok::ReportPrinter::setHandler(
        [this](QPrinter&, const vok::ReportDocument& document) { printed << document.title; });
    vok::Modal::setHandler([this](QDialog* dialog) {
        modals << dialog->objectName();
        if (onModal)
            return onModal(dialog);
        dialog->reject();
        return int(QDialog::Rejected);
    });
    // A file dialog counts as a window shown modally; it is cancelled.
    vok::FileDialogs::setHandler([this](const vok::FileDialogs::Request& r) {
        modals << QStringLiteral("file dialog: ") + r.title;
        return vok::FileDialogs::Answer{};
    });
    windows = std::make_unique<AppWindows>();
    form = windows->mainWindow.get();
    dm = windows->projectData.get();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QVERIFY(dm->store->isOpen()); // activation opened the tables
    QCOMPARE(shown.size(), 0);
}

void MainWindowFixture::tearDown() {
    other.reset();
    windows.reset();
    form = nullptr;
    dm = nullptr;
    Messages::setHandler({});
    vok::Shell::setHandler({});
    vok::ReportPrinter::setHandler({});
    vok::Modal::setHandler({});
    vok::FileDialogs::setHandler({});
    env.reset();
}

QSqlQuery MainWindowFixture::sql(const QString& query) {
    return other->exec(query);
}

QString MainWindowFixture::value(const QString& query) {
    QSqlQuery q = sql(query);
    return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
}

QString MainWindowFixture::counts() {
    QStringList out;
    for (const char* q : countSql)
        out << value(QLatin1String(q));
    return out.join(QLatin1Char(' '));
}

QTreeWidgetItem* MainWindowFixture::node(const QString& id) {
    const int index = static_cast<int>(form->tree->projectList().indexOf(id));
    nodeCount(); // makes the action nodes
    int i = 0;
    for (QTreeWidgetItemIterator it(form->tree->view()); *it; ++it, ++i) {
        if (i == index) {
            if (form->tree->findNode(id) != *it || form->tree->nodeIndex(*it) != index)
                qWarning("findNode or nodeIndex disagrees with the tree");
            return *it;
        }
    }
    return nullptr;
}

int MainWindowFixture::nodeCount() {
    // The action items of a collapsed major activity are made when it is first opened.
    for (int p = 0; p < form->tree->view()->topLevelItemCount(); ++p) {
        QTreeWidgetItem* project = form->tree->view()->topLevelItem(p);
        for (int m = 0; m < project->childCount(); ++m) {
            const bool open = project->child(m)->isExpanded();
            project->child(m)->setExpanded(true);
            project->child(m)->setExpanded(open);
        }
    }
    int n = 0;
    for (QTreeWidgetItemIterator it(form->tree->view()); *it; ++it)
        ++n;
    return n;
}

QTabWidget* MainWindowFixture::visiblePage() {
    for (QTabWidget* p : {form->projectPage, form->majorPage, form->actionPage})
        if (p->isVisible())
            return p;
    return nullptr;
}

void MainWindowFixture::select(const QString& id) {
    QTreeWidgetItem* item = node(id);
    QVERIFY2(item, qPrintable(id));
    form->tree->view()->setCurrentItem(item);
    QTRY_COMPARE(form->tree->idstrings.join(QLatin1Char(',')), id);
    QTRY_VERIFY(visiblePage());
}

void MainWindowFixture::focus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w->hasFocus());
}

void MainWindowFixture::typeInto(QLineEdit* edit, const QString& text) {
    focus(edit);
    edit->end(false);
    QTest::keyClicks(edit, text);
}

QAction* MainWindowFixture::action(const QString& name) {
    return form->findChild<QAction*>(name);
}

QTabWidget* MainWindowFixture::page(int level) {
    return std::array<QTabWidget*, 3>{form->projectPage, form->majorPage, form->actionPage}[level];
}

QPushButton* MainWindowFixture::okButton(int level) {
    return std::array<QPushButton*, 3>{form->projectPage->record->ok, form->majorPage->record->ok,
                                       form->actionPage->record->ok}[level];
}

QPushButton* MainWindowFixture::cancelButton(int level) {
    return std::array<QPushButton*, 3>{form->projectPage->record->cancel,
                                       form->majorPage->record->cancel,
                                       form->actionPage->record->cancel}[level];
}

vok::DBEdit* MainWindowFixture::nameEdit(int level) {
    return std::array<vok::DBEdit*, 3>{form->projectPage->record->name,
                                       form->majorPage->record->name,
                                       form->actionPage->record->name}[level];
}

bool MainWindowFixture::menuEnabled() {
    bool all = true;
    bool none = true;
    for (QAction* a :
         {form->addProjectAction, form->memberListAction, form->timeSheetMenu->menuAction(),
          form->costSheetMenu->menuAction(), form->reportMenu->menuAction(),
          form->languageMenu->menuAction(), form->helpMenu->menuAction(), form->exitAction}) {
        if (!a->isVisible()) // a command not built yet
            continue;
        all = all && a->isEnabled();
        none = none && !a->isEnabled();
    }
    if (!all && !none)
        qWarning("menu items partly enabled");
    return all;
}
