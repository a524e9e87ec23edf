#include "exchangemenu.h"

#include "data/projectdata.h"
#include "data/projecthierarchy.h"
#include "framework/io/plainfilename.h"
#include "framework/ui/filedialogs.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "projectexchange.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QSqlQuery>

namespace {

const QString xmlFilter = QStringLiteral("MS Project XML (*.xml)");
const QString icsFilter = QStringLiteral("iCalendar (*.ics)");

} // namespace

ExchangeMenu::ExchangeMenu(QWidget* window, QMenuBar* mainMenu, QMenu* projectMenu, ProjectData* dm,
                           std::function<int()> selectedProject, std::function<void(int)> imported)
    : window_(window), dm_(dm), selectedProject_(std::move(selectedProject)),
      imported_(std::move(imported)) {
    setObjectName(QStringLiteral("ExchangeMenu"));
    // The actions belong to the window, where the caption table finds them by name.
    importAction = new QAction(QStringLiteral("Import project…"), window);
    importAction->setObjectName(QStringLiteral("ImportProject1"));
    mainMenu->addAction(importAction);
    exportAction = new QAction(QStringLiteral("Export…"), window);
    exportAction->setObjectName(QStringLiteral("ExportProject1"));
    projectMenu->addAction(exportAction);
    // As the menu's other project commands: nothing to export until a project is selected.
    connect(projectMenu, &QMenu::aboutToShow, this,
            [this] { exportAction->setEnabled(selectedProject_ && selectedProject_() != 0); });
    connect(importAction, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { importProject(); }); });
    connect(exportAction, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { exportProject(); }); });
}

void ExchangeMenu::importProject() {
    const vok::FileDialogs::Answer answer =
        vok::FileDialogs::ask(window_, {vok::FileDialogs::Mode::Open,
                                        QStringLiteral("Import project"),
                                        QDir::homePath(),
                                        {xmlFilter, QStringLiteral("All files (*)")}});
    if (answer.path.isEmpty())
        return;
    // What the user typed is stored first: the import's unit of work is its own.
    ProjectHierarchy(*dm_).storePending();
    const ProjectExchange::Outcome done =
        ProjectExchange(*dm_->store)
            .importFile(answer.path, QString(),
                        [this](const QString& taken) { return askProjectName(taken); });
    if (done.project == 0)
        return; // the user gave no other name
    if (imported_)
        imported_(done.project);
    vok::Messages::inform(done.lines.join(QLatin1Char('\n')));
}

QString ExchangeMenu::askProjectName(const QString& taken) {
    // Offered: the first "Name (n)" no project bears, to be kept or typed over.
    QString offered;
    for (int n = 2;; ++n) {
        offered = QStringLiteral("%1 (%2)").arg(taken).arg(n);
        QSqlQuery q = dm_->store->exec(
            QStringLiteral("SELECT 1 FROM projects WHERE Zel_project = ?"), {offered});
        if (!q.next())
            break;
    }
    QInputDialog dialog(window_);
    dialog.setObjectName(QStringLiteral("ProjectNameDialog"));
    dialog.setWindowTitle(QCoreApplication::translate("Exchange", "Import project"));
    dialog.setLabelText(QCoreApplication::translate(
                            "Exchange", "A project named '%1' exists already. Name of the new "
                                        "project:")
                            .arg(taken));
    dialog.setTextValue(offered);
    if (vok::Modal::exec(&dialog) != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void ExchangeMenu::exportProject() {
    const int project = selectedProject_ ? selectedProject_() : 0;
    if (project == 0)
        return;
    ProjectHierarchy(*dm_).storePending();
    // The project's name offered as the file's, by the rule every generated file name follows.
    const QString name = vok::PlainFileName::from(
        dm_->projects->fieldByName(QStringLiteral("Zel_project")).asString(),
        QStringLiteral("project"), 4);
    const vok::FileDialogs::Answer answer = vok::FileDialogs::ask(
        window_, {vok::FileDialogs::Mode::Save,
                  QStringLiteral("Export project"),
                  QDir(QDir::homePath()).filePath(name + QStringLiteral(".xml")),
                  {xmlFilter, icsFilter}});
    if (answer.path.isEmpty())
        return;
    // The name typed says the format; the type chosen only when the name has no extension of
    // either kind.
    QString path = answer.path;
    const QString typed = QFileInfo(path).suffix().toLower();
    auto format = answer.filter == 1 ? ProjectExchange::Format::ICalendar
                                     : ProjectExchange::Format::MsProjectXml;
    if (typed == QLatin1String("ics") || typed == QLatin1String("xml"))
        format = ProjectExchange::formatOf(path);
    else if (typed.isEmpty())
        path += format == ProjectExchange::Format::ICalendar ? QStringLiteral(".ics")
                                                             : QStringLiteral(".xml");
    const ProjectExchange::Outcome done =
        ProjectExchange(*dm_->store).exportFile(project, path, format);
    vok::Messages::inform(done.lines.join(QLatin1Char('\n')));
}
