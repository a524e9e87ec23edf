// Renders the main window on the demo data, every page and tab, and the member list and contact
// windows, into PNG files, in the language given (0 English, the default; 1 French; 2 Spanish):
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/ui/main/vok_screenshots OUTDIR [LANGUAGE]
// doc/main-window.png is the project page from this run (doc/main-window-es.png with 2), and
// doc/budget-record-tab.png its "budget" picture; the pictures in doc/help come from it.
#include "app/exe/appwindows.h"
#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/ui/modal.h"
#include "framework/widgets/dbedit.h"
#include "support/testenvironment.h"
#include "ui/main/contactwindow.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/memberlistwindow.h"
#include "ui/main/recordtab.h"
#include "ui/main/startupsequence.h"
#include "ui/main/treecontroller.h"

#include <QApplication>
#include <QDir>
#include <QTest>

namespace {

void save(QWidget* w, const QString& dir, const QString& name) {
    QTest::qWait(120);
    w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(out);
    TestEnvironment env;
    const QString data = env.demoFolder();
    env.writeSettings(data, argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("0"));

    AppWindows windows;
    MainWindow& form = *windows.mainWindow;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    form.startup->run();
    save(&form, out, QStringLiteral("tree"));

    struct Pick {
        QString id;
        QTabWidget* page;
        QString name;
    };
    // The first project, its first major activity, and that activity's first action.
    const QString project = form.tree->projectList().value(0);
    const QString major = form.tree->projectList().value(1);
    const QString action = form.tree->projectList().value(2);
    for (const Pick& p : {Pick{project, form.projectPage, QStringLiteral("project")},
                          Pick{major, form.majorPage, QStringLiteral("major")},
                          Pick{action, form.actionPage, QStringLiteral("action")}}) {
        form.tree->selectNode(p.id);
        for (int tab = 0; tab < p.page->count(); ++tab) {
            p.page->setCurrentIndex(tab);
            save(&form, out, QStringLiteral("%1-%2").arg(p.name).arg(tab));
        }
        p.page->setCurrentIndex(0);
    }
    // Adding: Ok and Cancel show, the tree and the menu bar wait.
    form.tree->selectNode(major);
    form.addSiblingActionAction->trigger();
    form.actionPage->record->name->setText(QStringLiteral("New action"));
    save(&form, out, QStringLiteral("adding"));
    form.actionPage->record->cancel->click();

    // An action past its budget: the bar says by how much, the tree marks it.
    form.tree->selectNode(form.tree->projectList().value(3));
    save(&form, out, QStringLiteral("budget"));

    form.tree->selectNode(project);
    save(&form, out, QStringLiteral("main-window"));

    // The member list and a contact, as their commands show them.
    vok::Modal::setHandler([&](QDialog* dialog) {
        dialog->show();
        save(dialog, out,
             dialog == windows.memberList.get() ? QStringLiteral("members-list")
                                                : QStringLiteral("contact-card"));
        dialog->reject();
        return int(QDialog::Rejected);
    });
    form.memberListAction->trigger();
    form.projectPage->setCurrentWidget(form.projectPage->contactsTab);
    save(&form, out, QStringLiteral("contacts"));
    form.editContactAction->trigger();
    return 0;
}
