#include "mainwindow.h"

#include "contactwindow.h"
#include "data/changehistory.h"
#include "data/projectdata.h"
#include "detailpage.h"
#include "editmenu.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "framework/ui/shell.h"
#include "framework/widgets/datalink.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbedit.h"
#include "helppage.h"
#include "liveupdate.h"
#include "mailto.h"
#include "memberlistwindow.h"
#include "recordtab.h"
#include "startupsequence.h"
#include "summarydocument.h"
#include "treecontroller.h"
#include "treefind.h"
#include "treesplitter.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <QToolButton>
#include <span>

namespace {

// Where the Help menu's two messages go.
const char* const supportAddress = "support@vok.example";
const char* const salesAddress = "sales@vok.example";

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vok Project Dadiduzoro"));
    resize(796, 565);
    if (const QScreen* s = screen()) // centred on the screen
        move(s->availableGeometry().center() - rect().center());
    buildMenus();

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);
    treeBox = new QGroupBox(QStringLiteral("Current Projects"), central);
    treeBox->setObjectName(QStringLiteral("GroupBox1"));
    tree = new TreeController(treeBox, this);
    // Find's field, above the tree.
    treeFind = new TreeFind(treeBox);
    static_cast<QBoxLayout*>(treeBox->layout())->insertWidget(0, treeFind);

    auto* pageArea = new QWidget(central);
    pageArea->setObjectName(QStringLiteral("Pages"));
    auto* stack = new QGridLayout(pageArea);
    stack->setContentsMargins(0, 0, 0, 0);
    splitter = new TreeSplitter(treeBox, pageArea, central);
    row->addWidget(splitter);
    printProjectLabel = new QLabel(central);
    printProjectLabel->setObjectName(QStringLiteral("PrintProject"));
    printProjectLabel->hide();
    setCentralWidget(central);
    projectPage = new DetailPage(PageDesign::of(PageDesign::Project), pageArea);
    majorPage = new DetailPage(PageDesign::of(PageDesign::Major), pageArea);
    actionPage = new DetailPage(PageDesign::of(PageDesign::Action), pageArea);
    for (DetailPage* page : pages()) {
        stack->addWidget(page, 0, 0); // one over the other; at most one shows
        page->hide();
    }
    tree->setPages(pages());
    tree->setPopups({projectMenu, majorMenu, actionMenu});
    connect(tree, &TreeController::busyChanged, this, &MainWindow::setBusy);
    menuBar()->installEventFilter(this);
    editMenu->setTree(tree, pages());
    connect(tree, &TreeController::busyChanged, editMenu, &EditMenu::setBusy);
    connect(editMenu->findAction, &QAction::triggered, treeFind, &TreeFind::open);
    connect(treeFind, &TreeFind::filterChanged, tree,
            [this](const QString& text) { vok::Guard::run([&] { tree->filter(text); }); });
    connect(treeFind, &TreeFind::closed, tree->view(),
            [this] { tree->view()->setFocus(Qt::ShortcutFocusReason); });
    startup = new StartupSequence(*this);
    liveUpdate = new LiveUpdate(*this);
    connectCommands();
    updateCommands();
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------- building

namespace {

// The menu bar and the right-click menus, in order: a menu, then its items. An item with no
// menu stands on the menu bar itself.
struct MenuEntry {
    QMenu* MainWindow::*menu;
    QAction* MainWindow::*action;
    const char* name;
    const char* caption;
};
const MenuEntry barEntries[] = {
    {nullptr, &MainWindow::addProjectAction, "AddaProject1", "Add a Project"},
    {nullptr, &MainWindow::memberListAction, "Memberslist1", "Team Members"},
    {&MainWindow::timeSheetMenu, nullptr, "Timesheetentry1", "Time Sheets"},
    {&MainWindow::timeSheetMenu, &MainWindow::timeSheetEntryAction, "TimeSheetEntry2",
     "Time Sheet Entry"},
    {&MainWindow::timeSheetMenu, &MainWindow::weekEntryAction, "WeekEntry1", "Week Entry"},
    {&MainWindow::timeSheetMenu, &MainWindow::updateTimeSheetsAction, "UpdateTimeSheets1",
     "Update Time Sheets"},
    {&MainWindow::costSheetMenu, nullptr, "CostSheets1", "Cost Sheets"},
    {&MainWindow::costSheetMenu, &MainWindow::costEntryAction, "CostEntry1", "Cost Entry"},
    {&MainWindow::costSheetMenu, &MainWindow::updateCostEntriesAction, "UpdateCostEntries1",
     "Update Cost Entries"},
    {&MainWindow::reportMenu, nullptr, "Reports1", "Reports"},
    {&MainWindow::reportMenu, &MainWindow::printTimeLineAction, "PrintPERT1",
     "Print Time Line report"},
    {&MainWindow::reportMenu, &MainWindow::printProjectAction, "Format1", "Print Project report"},
    {&MainWindow::reportMenu, &MainWindow::printLayoutAction, "Print1",
     "Print Project Layout report"},
    {&MainWindow::reportMenu, &MainWindow::printTimeSheetsAction, "PrintTimesheetreport1",
     "Print Time sheet report"},
    {&MainWindow::reportMenu, &MainWindow::printCostsAction, "PrintCostsreport1",
     "Print Costs report"},
    {&MainWindow::reportMenu, &MainWindow::printBudgetAction, "PrintBudget1", "Budget and actuals"},
    {&MainWindow::languageMenu, nullptr, "Changelanguage1", "Change language"},
    {&MainWindow::languageMenu, &MainWindow::englishAction, "English1", "English"},
    {&MainWindow::languageMenu, &MainWindow::frenchAction, "Franais1", "Français"},
    {&MainWindow::languageMenu, &MainWindow::spanishAction, "Espagnol1", "Espagnol"},
    {&MainWindow::helpMenu, nullptr, "Help1", "Help"},
    {&MainWindow::helpMenu, &MainWindow::helpFilesAction, "Helpfiles1", "Help files"},
    {&MainWindow::helpMenu, &MainWindow::mailForHelpAction, "Emailusforhelp1", "Email us for help"},
    {&MainWindow::helpMenu, &MainWindow::buySourceCodeAction, "Emailustobuysourcecode1",
     "Buy the source code (US$ 49)"},
    {nullptr, &MainWindow::exitAction, "Exit1", "Exit"},
};
const MenuEntry popupEntries[] = {
    {&MainWindow::projectMenu, nullptr, "ProjectPopup", nullptr},
    {&MainWindow::projectMenu, &MainWindow::newProjectAction, "AddProject1", "Add Project"},
    {&MainWindow::projectMenu, &MainWindow::addMajorAction, "AddMajor1", "Add Major"},
    {&MainWindow::projectMenu, &MainWindow::deleteProjectAction, "Deleteproject1",
     "Delete Project"},
    {&MainWindow::projectMenu, &MainWindow::copyProjectAction, "Copyproject1", "Copy project"},
    {&MainWindow::majorMenu, nullptr, "MajorPopup", nullptr},
    {&MainWindow::majorMenu, &MainWindow::addSiblingMajorAction, "AddMajor2", "Add Major"},
    {&MainWindow::majorMenu, &MainWindow::addActionAction, "AddAction1", "Add Action"},
    {&MainWindow::majorMenu, &MainWindow::deleteMajorAction, "DeleteMajor1", "Delete Major"},
    {&MainWindow::actionMenu, nullptr, "ActionPopup", nullptr},
    {&MainWindow::actionMenu, &MainWindow::addSiblingActionAction, "AddAction2", "Add Action"},
    {&MainWindow::actionMenu, &MainWindow::deleteActionAction, "DeleteAction1", "Delete Action"},
};
const MenuEntry contactEntries[] = {
    {&MainWindow::contactMenu, nullptr, "PopupMenu1", nullptr},
    {&MainWindow::contactMenu, &MainWindow::addContactAction, "Addcontact1", "Add contact"},
    {&MainWindow::contactMenu, &MainWindow::deleteContactAction, "DeleteContact1",
     "Delete Contact"},
    {&MainWindow::contactMenu, &MainWindow::editContactAction, "EditContact1", "Edit Contact"},
};

} // namespace

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto build = [this, bar](std::span<const MenuEntry> entries) {
        for (const MenuEntry& e : entries) {
            const QString caption = QString::fromUtf8(e.caption);
            if (!e.action) { // a menu: on the bar, or a right-click menu when it has no caption
                QMenu* m = e.caption ? bar->addMenu(caption) : new QMenu(this);
                m->setObjectName(QLatin1String(e.name));
                this->*e.menu = m;
                continue;
            }
            auto* a = new QAction(caption, this);
            a->setObjectName(QLatin1String(e.name));
            if (e.menu)
                (this->*e.menu)->addAction(a);
            else
                bar->addAction(a);
            this->*e.action = a;
        }
    };
    build(barEntries);
    // Undo, Redo and Find, first on the bar as in every desktop program.
    editMenu = new EditMenu(this, addProjectAction);
    build(popupEntries);
    // One action at the foot of the three tree menus, and F5 anywhere in the window.
    refreshAction = new QAction(QStringLiteral("Refresh"), this);
    refreshAction->setObjectName(QStringLiteral("Refresh1"));
    refreshAction->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(refreshAction);
    for (QMenu* m : {projectMenu, majorMenu, actionMenu}) {
        m->addSeparator();
        m->addAction(refreshAction);
    }
    build(contactEntries);
}

void MainWindow::connectCommands() {
    // Every command runs through the guard, which shows an escaping error.
    const auto handle = [this](QAction* a, std::function<void()> command) {
        connect(a, &QAction::triggered, this,
                [command = std::move(command)] { vok::Guard::run(command); });
    };
    const auto add = [this](int level) { return [this, level] { tree->startAdding(level); }; };
    const auto remove = [this](int level) { return [this, level] { tree->deleteNode(level); }; };
    handle(addProjectAction, add(PageDesign::Project));
    handle(newProjectAction, add(PageDesign::Project));
    handle(addMajorAction, add(PageDesign::Major));
    handle(addSiblingMajorAction, add(PageDesign::Major));
    handle(addActionAction, add(PageDesign::Action));
    handle(addSiblingActionAction, add(PageDesign::Action));
    handle(deleteProjectAction, remove(PageDesign::Project));
    handle(deleteMajorAction, remove(PageDesign::Major));
    handle(deleteActionAction, remove(PageDesign::Action));
    handle(exitAction, [this] { close(); });
    handle(refreshAction, [this] { tree->refresh(); });
    handle(copyProjectAction, [this] {
        if (copies_)
            tree->copyProject(*copies_);
    });
    handle(memberListAction, [this] { showMemberList(); });
    handle(addContactAction, [this] { showContact(true); });
    handle(editContactAction, [this] { showContact(false); });
    handle(deleteContactAction, [this] { deleteContact(); });
    handle(helpFilesAction, [this] { openHelp(); });
    handle(mailForHelpAction, [this] {
        openWithShell(QStringLiteral("mailto:") + QLatin1String(supportAddress) +
                      QStringLiteral("?subject=Help required"));
    });
    handle(buySourceCodeAction, [this] {
        openWithShell(QStringLiteral("mailto:") + QLatin1String(salesAddress) +
                      QStringLiteral("?subject=Source code"));
    });
    handle(englishAction, [this] { translate(0); });
    handle(frenchAction, [this] { translate(1); });
    handle(spanishAction, [this] { translate(2); });
    // The commands that act on the selected project wait until one is selected.
    connect(projectMenu, &QMenu::aboutToShow, this, [this] {
        const bool selected = !tree->selectedNode().isEmpty();
        for (QAction* a : {addMajorAction, deleteProjectAction, copyProjectAction})
            a->setEnabled(selected);
    });

    const auto press = [this](QToolButton* b, std::function<void()> command) {
        connect(b, &QToolButton::clicked, this,
                [command = std::move(command)] { vok::Guard::run(command); });
    };
    for (DetailPage* page : pages()) {
        press(page->teamMailButton, [this] { mailTeam(); });
        const SummaryDocument::Kind kind = page->design().document;
        press(page->record->wordButton, [this, kind] { openDocument(kind); });
    }
    press(projectPage->contactMailButton, [this] { mailContact(); });
    press(projectPage->contactDocumentButton,
          [this] { openDocument(SummaryDocument::Kind::Contact); });
    vok::DBCtrlGrid* cards = projectPage->contacts;
    connect(cards, &QWidget::customContextMenuRequested, this,
            [this, cards](const QPoint& pos) { contactMenu->popup(cards->mapToGlobal(pos)); });
    connect(cards, &vok::DBCtrlGrid::panelDoubleClicked, this,
            [this] { vok::Guard::run([this] { showContact(false); }); });
}

void MainWindow::setDataModule(ProjectData* dm) {
    dm_ = dm;
    dm_->setPrintProjectSource([this] { return printProjectLabel->text(); });
    tree->setDataModule(dm);
    keepHistory();
    for (DetailPage* page : pages())
        page->bind(*dm_);
}

// ---------------------------------------------------------------- first activation

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        startup->run();
    } else if (e->type() == QEvent::Show && !shown_) {
        updateCommands(); // the caption sets are given by now
        // Without a window manager (a virtual display) the window is never activated; the
        // first activation then runs as soon as the window shows.
        shown_ = true;
        QTimer::singleShot(0, startup, &StartupSequence::run);
    }
    return QMainWindow::event(e);
}

// ---------------------------------------------------------------- commands

void MainWindow::setBusy(bool busy) {
    // Every item of the bar, those other windows add included ("Import project…"): each of them
    // could store or replace the record being added.
    for (QAction* a : menuBar()->actions())
        a->setEnabled(!busy);
    refreshAction->setEnabled(!busy);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A menu opened over a text a field refused would run its command over it: the user is
    // told first, on the field's page, and taken back to it.
    // Exit asks about such a text itself, and may drop it.
    if (watched == menuBar() && event->type() == QEvent::MouseButtonPress &&
        menuBar()->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint()) != exitAction) {
        bool held = false;
        vok::Guard::run([&] { held = tree->holdsRefusedText(); });
        if (held)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::setMemberList(MemberListWindow* memberList) {
    memberList_ = memberList;
    updateCommands();
}

void MainWindow::setContactWindow(ContactWindow* contactWindow) {
    contactWindow_ = contactWindow;
    updateCommands();
}

void MainWindow::setCopyModule(ProjectCopyTables* copies) {
    copies_ = copies;
    keepHistory();
    updateCommands();
}

void MainWindow::keepHistory() {
    editMenu->setHistory(nullptr);
    tree->setHistory(nullptr);
    history_.reset();
    if (!dm_)
        return;
    history_ = std::make_unique<ChangeHistory>(*dm_, copies_);
    editMenu->setHistory(history_.get());
    tree->setHistory(history_.get());
}

void MainWindow::setTranslateInterface(std::function<void(int)> apply) {
    translateInterface = std::move(apply);
    updateCommands();
}

void MainWindow::updateCommands() {
    memberListAction->setVisible(memberList_ != nullptr);
    addContactAction->setVisible(contactWindow_ != nullptr);
    editContactAction->setVisible(contactWindow_ != nullptr);
    copyProjectAction->setVisible(copies_ != nullptr);
    languageMenu->menuAction()->setVisible(static_cast<bool>(translateInterface));
}

void MainWindow::translate(int index) {
    if (translateInterface)
        translateInterface(index);
}

// ---------------------------------------------------------------- leaving

bool MainWindow::storePendingEdits() {
    if (!dm_)
        return false;
    // Asks what to do with an edit that cannot be stored; true when the user drops it.
    const auto dropped = [](vok::Table* t, const QString& why) {
        const bool drop =
            vok::Messages::show({vok::Messages::Icon::Warning, vok::Messages::applicationTitle(),
                                 QStringLiteral("What you typed could not be stored:\n%1\n\n"
                                                "Go back to it? No drops it.")
                                     .arg(why),
                                 QMessageBox::Yes | QMessageBox::No}) == QMessageBox::No;
        if (drop)
            t->cancel();
        return drop;
    };
    // A text a field refused is still in its control, never in the record.
    for (const DetailPage* page : pages()) {
        for (const vok::DataLink* link : page->record->dataLinks()) {
            const auto* edit = qobject_cast<const vok::DBEdit*>(link->parent());
            if (!edit || !edit->hasInvalidText())
                continue;
            if (!dropped(page->records(),
                         QStringLiteral("\"%1\": %2").arg(edit->text(), edit->refusalMessage())))
                return false;
        }
    }
    // A record being added (Exit is disabled then, but the title bar is not) is stored when
    // something was typed into it, and dropped otherwise, as leaving the record would. So is a
    // team row, note or contact still being typed, rather than lost with its table.
    for (vok::Table* t : {dm_->Action, dm_->Major, dm_->projects, dm_->ProjectNotes,
                          dm_->MajorNotes, dm_->ActionNotes, dm_->ProjectTeam, dm_->MajorTeam,
                          dm_->ActionTeam, dm_->Members, dm_->Contacts}) {
        try {
            t->checkBrowseMode();
        } catch (const vok::DatabaseError& e) {
            if (!dropped(t, e.message()))
                return false;
        }
    }
    return true;
}

bool MainWindow::closeData() {
    if (!dm_ || !dm_->store->isOpen())
        return true;
    if (!storePendingEdits())
        return false;
    for (vok::Table* t :
         {dm_->projects, dm_->Major, dm_->Action, dm_->ProjectNotes, dm_->MajorNotes,
          dm_->ActionNotes, dm_->ProjectTeam, dm_->MajorTeam, dm_->ActionTeam, dm_->Members,
          dm_->ProjectTS, dm_->MajorTS, dm_->ActionTS, dm_->Contacts})
        t->close();
    dm_->store->close();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closed by Exit or its title bar, also while a record is being added. The user who goes
    // back to an edit that could not be stored finds the window as it was.
    bool closing = true;
    vok::Guard::run([&] { closing = closeData(); });
    if (!closing) {
        event->ignore();
        return;
    }
    splitter->keepWidth();
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------- members and contacts

void MainWindow::showMemberList() {
    if (!dm_ || !memberList_)
        return;
    dm_->Members->first();
    vok::Modal::exec(memberList_);
    tree->refillMemberPickLists();
}

void MainWindow::showContact(bool adding) {
    if (!dm_ || !contactWindow_)
        return;
    vok::Table* contacts = dm_->Contacts;
    // A new contact belongs to the current project through the link; editing an empty list
    // starts a new contact too.
    if (adding)
        contacts->insert();
    else
        contacts->edit();
    if (vok::Modal::exec(contactWindow_) != QDialog::Accepted)
        contacts->cancel();
}

void MainWindow::deleteContact() {
    if (!dm_ || !vok::Messages::confirm(QStringLiteral("Delete selected contact?")))
        return;
    dm_->Contacts->deleteRecord();
}

// ---------------------------------------------------------------- mail, help and documents

void MainWindow::openWithShell(const QString& target) {
    if (!vok::Shell::open(target))
        vok::Messages::inform(
            QStringLiteral("No program on this computer could open \"%1\".").arg(target));
}

void MainWindow::mailTeam() {
    const QString id = tree->selectedNode();
    if (!dm_ || id.isEmpty())
        return;
    tree->idstrings = id.split(QLatin1Char(','));
    const auto level = tree->idstrings.size() - 1;
    if (level < PageDesign::Project || level > PageDesign::Action)
        return;
    // The team views already follow the selected node.
    const DetailPage* page = pages()[static_cast<size_t>(level)];
    openWithShell(MailTo::team(*page->teamRecords(), page->teamEmailField()));
}

void MainWindow::mailContact() {
    if (!dm_)
        return;
    openWithShell(MailTo::contact(
        dm_->Contacts->fieldByName(QStringLiteral("ProjectContact_email")).asString()));
}

void MainWindow::openHelp() {
    const QString page = HelpPage::path();
    if (page.isEmpty()) {
        vok::Messages::inform(QStringLiteral("The help page is missing; it belongs in %1.")
                                  .arg(HelpPage::installedPath()));
        return;
    }
    openWithShell(page);
}

void MainWindow::openDocument(SummaryDocument::Kind kind) {
    if (!dm_)
        return;
    const SummaryDocument::Kind k = kind;
    const auto document = SummaryDocument::build(SummaryDocument::lines(k, *dm_));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString file =
        SummaryDocument::writeNew(*document, folder, SummaryDocument::title(k, *dm_));
    if (!vok::Shell::open(file))
        vok::Messages::show({vok::Messages::Icon::Error, vok::Messages::applicationTitle(),
                             QStringLiteral("Word may not be installed\n\nThe document is saved as "
                                            "%1")
                                 .arg(QDir::toNativeSeparators(file)),
                             QMessageBox::Ok});
}
