#include "mainwindow.h"

#include "app/settings.h"
#include "compacttabstyle.h"
#include "contactwindow.h"
#include "data/projectcopy.h"
#include "data/projectcopytables.h"
#include "data/projectdata.h"
#include "data/projecthierarchy.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/heldnotices.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/table.h"
#include "framework/dataset/transaction.h"
#include "framework/io/shownlocation.h"
#include "framework/io/showntext.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "framework/ui/shell.h"
#include "framework/widgets/accessiblename.h"
#include "framework/widgets/datalink.h"
#include "framework/widgets/dbcheckbox.h"
#include "framework/widgets/dbcombobox.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbgrid.h"
#include "framework/widgets/dbmemo.h"
#include "helppage.h"
#include "mailto.h"
#include "memberlistwindow.h"
#include "projecttree.h"
#include "recordtab.h"
#include "summarydocument.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

QString text(const char* s) {
    return QString::fromUtf8(s);
}

// The title of the tab a page stands under, for the controls that fill the page.
std::function<QString()> tabCaption(QWidget* page) {
    return [page] {
        for (QWidget* w = page->parentWidget(); w; w = w->parentWidget()) {
            if (const auto* tabs = qobject_cast<QTabWidget*>(w))
                return tabs->tabText(tabs->indexOf(page));
        }
        return QString();
    };
}

// Gives a control the name that the language tables and other windows know it by.
template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}

const RecordTab::Fields projectFields{
    "Zel_project",       "Project Name", "Zel_description", nullptr,          "Zel_completed",
    "Zel_date_from",     "Zel_date_to",  "Zel_leader",      "Project leader", "Zel_client",
    "Zel_perc_complete", "Zel_hours",    "Zel_actual"};
const RecordTab::Fields majorFields{"Major_item",     "Major Name",          "Major_description",
                                    "Major_critical", "Major_completed",     "Major_from_date",
                                    "Major_to_date",  "Major_leader",        "Major leader",
                                    nullptr,          "Major_perc_complete", "Major_hours",
                                    "Major_actual"};
const RecordTab::Fields actionFields{
    "Action_name",     "Action Name",          "Action_description",
    "Action_critical", "Action_completed",     "Action_from_date",
    "Action_to_date",  "Action_responsible",   "Action Leader",
    nullptr,           "Action_perc_complete", "Action_hours",
    "Action_actual"};

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
    GroupBox1 = new QGroupBox(QStringLiteral("Current Projects"), central);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFixedWidth(321);
    row->addWidget(GroupBox1);
    buildTree();

    auto* pages = new QWidget(central);
    pages->setObjectName(QStringLiteral("Pages"));
    auto* stack = new QGridLayout(pages);
    stack->setContentsMargins(0, 0, 0, 0);
    row->addWidget(pages, 1);
    PrintProject = new QLabel(central);
    PrintProject->setObjectName(QStringLiteral("PrintProject"));
    PrintProject->hide();
    setCentralWidget(central);
    buildPages();
    for (const Level& l : levels_)
        stack->addWidget(l.page, 0, 0); // one over the other; at most one shows

    selectionTimer_ = new QTimer(this);
    selectionTimer_->setSingleShot(true);
    selectionTimer_->setInterval(50);
    connect(selectionTimer_, &QTimer::timeout, this,
            [this] { vok::Guard::run([this] { TreeView1Change(); }); });
    hidePages();
    updateCommands();
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------- building

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto action = [this](QWidget* parent, const char* name, const QString& caption) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        parent->addAction(a);
        return a;
    };
    const auto menu = [bar](const char* name, const QString& caption) {
        auto* m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    AddaProject1 = action(bar, "AddaProject1", QStringLiteral("Add a Project"));
    Memberslist1 = action(bar, "Memberslist1", QStringLiteral("Team Members"));
    Timesheetentry1 = menu("Timesheetentry1", QStringLiteral("Time Sheets"));
    TimeSheetEntry2 =
        action(Timesheetentry1, "TimeSheetEntry2", QStringLiteral("Time Sheet Entry"));
    UpdateTimeSheets1 =
        action(Timesheetentry1, "UpdateTimeSheets1", QStringLiteral("Update Time Sheets"));
    CostSheets1 = menu("CostSheets1", QStringLiteral("Cost Sheets"));
    CostEntry1 = action(CostSheets1, "CostEntry1", QStringLiteral("Cost Entry"));
    UpdateCostEntries1 =
        action(CostSheets1, "UpdateCostEntries1", QStringLiteral("Update Cost Entries"));
    Reports1 = menu("Reports1", QStringLiteral("Reports"));
    PrintPERT1 = action(Reports1, "PrintPERT1", QStringLiteral("Print Time Line report"));
    Format1 = action(Reports1, "Format1", QStringLiteral("Print Project report"));
    Print1 = action(Reports1, "Print1", QStringLiteral("Print Project Layout report"));
    PrintTimesheetreport1 =
        action(Reports1, "PrintTimesheetreport1", QStringLiteral("Print Time sheet report"));
    PrintCostsreport1 = action(Reports1, "PrintCostsreport1", QStringLiteral("Print Costs report"));
    Changelanguage1 = menu("Changelanguage1", QStringLiteral("Change language"));
    English1 = action(Changelanguage1, "English1", QStringLiteral("English"));
    Franais1 = action(Changelanguage1, "Franais1", QString::fromUtf8("Français"));
    Espagnol1 = action(Changelanguage1, "Espagnol1", QStringLiteral("Espagnol"));
    Help1 = menu("Help1", QStringLiteral("Help"));
    Helpfiles1 = action(Help1, "Helpfiles1", QStringLiteral("Help files"));
    Emailusforhelp1 = action(Help1, "Emailusforhelp1", QStringLiteral("Email us for help"));
    Emailustobuysourcecode1 =
        action(Help1, "Emailustobuysourcecode1", QStringLiteral("Buy the source code (US$ 49)"));
    Exit1 = action(bar, "Exit1", QStringLiteral("Exit"));

    const auto popup = [this](const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    ProjectPopup = popup("ProjectPopup");
    AddProject1 = action(ProjectPopup, "AddProject1", QStringLiteral("Add Project"));
    AddMajor1 = action(ProjectPopup, "AddMajor1", QStringLiteral("Add Major"));
    Deleteproject1 = action(ProjectPopup, "Deleteproject1", QStringLiteral("Delete Project"));
    Copyproject1 = action(ProjectPopup, "Copyproject1", QStringLiteral("Copy project"));
    MajorPopup = popup("MajorPopup");
    AddMajor2 = action(MajorPopup, "AddMajor2", QStringLiteral("Add Major"));
    AddAction1 = action(MajorPopup, "AddAction1", QStringLiteral("Add Action"));
    DeleteMajor1 = action(MajorPopup, "DeleteMajor1", QStringLiteral("Delete Major"));
    ActionPopup = popup("ActionPopup");
    AddAction2 = action(ActionPopup, "AddAction2", QStringLiteral("Add Action"));
    DeleteAction1 = action(ActionPopup, "DeleteAction1", QStringLiteral("Delete Action"));
    // One action at the foot of the three tree menus, and F5 anywhere in the window.
    Refresh1 = new QAction(QStringLiteral("Refresh"), this);
    Refresh1->setObjectName(QStringLiteral("Refresh1"));
    Refresh1->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(Refresh1);
    for (QMenu* m : {ProjectPopup, MajorPopup, ActionPopup}) {
        m->addSeparator();
        m->addAction(Refresh1);
    }
    PopupMenu1 = popup("PopupMenu1");
    Addcontact1 = action(PopupMenu1, "Addcontact1", QStringLiteral("Add contact"));
    DeleteContact1 = action(PopupMenu1, "DeleteContact1", QStringLiteral("Delete Contact"));
    EditContact1 = action(PopupMenu1, "EditContact1", QStringLiteral("Edit Contact"));
    attachedPopup_ = ProjectPopup;

    // Every command runs through the guard, which shows an escaping error.
    const auto handle = [this](QAction* a, void (MainWindow::*slot)()) {
        connect(a, &QAction::triggered, this,
                [this, slot] { vok::Guard::run([&] { (this->*slot)(); }); });
    };
    handle(AddaProject1, &MainWindow::AddProject1Click);
    handle(AddProject1, &MainWindow::AddProject1Click);
    handle(AddMajor1, &MainWindow::AddMajor1Click);
    handle(AddMajor2, &MainWindow::AddMajor1Click);
    handle(AddAction1, &MainWindow::AddAction1Click);
    handle(AddAction2, &MainWindow::AddAction1Click);
    handle(Deleteproject1, &MainWindow::Deleteproject1Click);
    handle(DeleteMajor1, &MainWindow::DeleteMajor1Click);
    handle(DeleteAction1, &MainWindow::DeleteAction1Click);
    handle(Exit1, &MainWindow::Exit1Click);
    handle(Refresh1, &MainWindow::Refresh1Click);
    handle(Copyproject1, &MainWindow::Copyproject1Click);
    handle(Memberslist1, &MainWindow::Memberslist1Click);
    handle(Addcontact1, &MainWindow::Addcontact1Click);
    handle(EditContact1, &MainWindow::EditContact1Click);
    handle(DeleteContact1, &MainWindow::DeleteContact1Click);
    handle(Helpfiles1, &MainWindow::Helpfiles1Click);
    handle(Emailusforhelp1, &MainWindow::Emailusforhelp1Click);
    handle(Emailustobuysourcecode1, &MainWindow::Emailustobuysourcecode1Click);
    handle(English1, &MainWindow::English1Click);
    handle(Franais1, &MainWindow::Franais1Click);
    handle(Espagnol1, &MainWindow::Espagnol1Click);
    // The commands that act on the selected project wait until one is selected.
    connect(ProjectPopup, &QMenu::aboutToShow, this, [this] {
        const bool selected = !selectedNode().isEmpty();
        for (QAction* a : {AddMajor1, Deleteproject1, Copyproject1})
            a->setEnabled(selected);
    });
}

void MainWindow::buildTree() {
    auto* box = new QVBoxLayout(GroupBox1);
    box->setContentsMargins(6, 6, 6, 6);
    TreeView1 = new QTreeWidget(GroupBox1);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    vok::AccessibleName::follow(TreeView1, [this] { return GroupBox1->title(); });
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIndentation(19);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setUniformRowHeights(true);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    TreeView1->setFont(font);
    QPalette palette = TreeView1->palette();
    palette.setColor(QPalette::Text, Qt::black);
    TreeView1->setPalette(palette);
    TreeView1->setToolTip(QStringLiteral("Right click on a selected item to add and delete"));
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    // A right click opens the menu of the selected node without selecting another one.
    // It also shows a name cut at the tree's edge whole, as a tooltip.
    TreeView1->viewport()->installEventFilter(this);
    connect(TreeView1, &QWidget::customContextMenuRequested, this, &MainWindow::showPopup);
    tree_ = new ProjectTree(TreeView1);
    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this] { selectionTimer_->start(); });
    // A click that selects the current node (Qt makes the first node current, unselected, when
    // the tree first takes the focus) changes no current item; a click on a node whose page does
    // not show changes nothing at all. Both still show the node's page.
    // An assistive tool selects a node without making it current: it becomes current, so that
    // the keyboard goes on from there.
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
        if (selected.size() == 1 && TreeView1->currentItem() != selected.first())
            TreeView1->setCurrentItem(selected.first());
        selectionTimer_->start();
    });
    // A click on the node already selected brings its page back as it is stored now.
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this] { selectionTimer_->start(); });
    box->addWidget(TreeView1);
}

QTabWidget* MainWindow::buildPage(const char* name) {
    auto* page = new QTabWidget(centralWidget() ? centralWidget() : this);
    page->setObjectName(QLatin1String(name));
    page->setMinimumSize(457, 473);
    // Six captions side by side within the page's width.
    page->tabBar()->setStyle(new CompactTabStyle(page));
    return page;
}

QWidget* MainWindow::addTab(QTabWidget* page, const char* name, const QString& caption) {
    auto* tab = new QWidget(page);
    tab->setObjectName(QLatin1String(name));
    page->addTab(tab, caption);
    return tab;
}

void MainWindow::buildPages() {
    ProjectPageControl = buildPage("ProjectPageControl");
    MajorPageControl = buildPage("MajorPageControl");
    ActionPageControl = buildPage("ActionPageControl");

    // Project page.
    ProjectRecord = new RecordTab(projectFields, ProjectPageControl);
    TabSheet1 = ProjectRecord;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    ProjectPageControl->addTab(TabSheet1, QStringLiteral("Project"));
    TabSheet2 = addTab(ProjectPageControl, "TabSheet2", QStringLiteral("Team Members"));
    TabSheet8 = addTab(ProjectPageControl, "TabSheet8", QStringLiteral("Notes"));
    TabSheet10 = addTab(ProjectPageControl, "TabSheet10", QStringLiteral("Contacts"));
    TabSheet9 = addTab(ProjectPageControl, "TabSheet9", QStringLiteral("Time Sheets"));
    TabSheet11 = addTab(ProjectPageControl, "TabSheet11", QStringLiteral("Cost entries"));

    // Major activity page.
    MajorRecord = new RecordTab(majorFields, MajorPageControl);
    TabSheet4 = MajorRecord;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    MajorPageControl->addTab(TabSheet4, QStringLiteral("Major Activity"));
    TabSheet5 = addTab(MajorPageControl, "TabSheet5", QStringLiteral("Team Members"));
    TabSheet12 = addTab(MajorPageControl, "TabSheet12", QStringLiteral("Notes"));
    TabSheet3 = addTab(MajorPageControl, "TabSheet3", QStringLiteral("Time Sheets"));
    TabSheet13 = addTab(MajorPageControl, "TabSheet13", QStringLiteral("Cost entries"));

    // Action page.
    ActionRecord = new RecordTab(actionFields, ActionPageControl);
    TabSheet7 = ActionRecord;
    TabSheet7->setObjectName(QStringLiteral("TabSheet7"));
    ActionPageControl->addTab(TabSheet7, QStringLiteral("Action"));
    TabSheet14 = addTab(ActionPageControl, "TabSheet14", QStringLiteral("Team Members"));
    TabSheet15 = addTab(ActionPageControl, "TabSheet15", QStringLiteral("Notes"));
    TabSheet6 = addTab(ActionPageControl, "TabSheet6", QStringLiteral("Time Sheets"));
    TabSheet16 = addTab(ActionPageControl, "TabSheet16", QStringLiteral("Cost entries"));

    // Record tabs: the controls under their names.
    Label2 = named(ProjectRecord->nameLabel, "Label2");
    Label3 = named(ProjectRecord->descriptionLabel, "Label3");
    Label4 = named(ProjectRecord->fromLabel, "Label4");
    Label5 = named(ProjectRecord->toLabel, "Label5");
    Label6 = named(ProjectRecord->leaderLabel, "Label6");
    Label7 = named(ProjectRecord->clientLabel, "Label7");
    Label9 = named(ProjectRecord->percentLabel, "Label9");
    Label10 = named(ProjectRecord->hoursLabel, "Label10");
    Label11 = named(ProjectRecord->actualLabel, "Label11");
    DBEdit2 = named(ProjectRecord->name, "DBEdit2");
    DBMemo1 = named(ProjectRecord->description, "DBMemo1");
    DBCheckBox1 = named(ProjectRecord->completed, "DBCheckBox1");
    DBEdit3 = named(ProjectRecord->from, "DBEdit3");
    DBEdit4 = named(ProjectRecord->to, "DBEdit4");
    SDLabel3 = named(ProjectRecord->fromFormat, "SDLabel3");
    SDLabel4 = named(ProjectRecord->toFormat, "SDLabel4");
    DBLookupComboBox1 = named(ProjectRecord->leader, "DBLookupComboBox1");
    DBEdit5 = named(ProjectRecord->client, "DBEdit5");
    DBEdit6 = named(ProjectRecord->percent, "DBEdit6");
    DBEdit7 = named(ProjectRecord->hours, "DBEdit7");
    DBEdit1 = named(ProjectRecord->actual, "DBEdit1");
    SpeedButton6 = named(ProjectRecord->wordButton, "SpeedButton6");
    Button5 = named(ProjectRecord->ok, "Button5");
    Button6 = named(ProjectRecord->cancel, "Button6");

    Label12 = named(MajorRecord->nameLabel, "Label12");
    Label13 = named(MajorRecord->descriptionLabel, "Label13");
    Label14 = named(MajorRecord->fromLabel, "Label14");
    Label16 = named(MajorRecord->toLabel, "Label16");
    Label17 = named(MajorRecord->leaderLabel, "Label17");
    Label18 = named(MajorRecord->percentLabel, "Label18");
    Label20 = named(MajorRecord->hoursLabel, "Label20");
    Label21 = named(MajorRecord->actualLabel, "Label21");
    DBEdit8 = named(MajorRecord->name, "DBEdit8");
    DBMemo2 = named(MajorRecord->description, "DBMemo2");
    DBCheckBox2 = named(MajorRecord->critical, "DBCheckBox2");
    DBCheckBox3 = named(MajorRecord->completed, "DBCheckBox3");
    DBEdit9 = named(MajorRecord->from, "DBEdit9");
    DBEdit10 = named(MajorRecord->to, "DBEdit10");
    SDLabel1 = named(MajorRecord->fromFormat, "SDLabel1");
    SDLabel2 = named(MajorRecord->toFormat, "SDLabel2");
    DBLookupComboBox2 = named(MajorRecord->leader, "DBLookupComboBox2");
    DBEdit11 = named(MajorRecord->percent, "DBEdit11");
    DBEdit12 = named(MajorRecord->hours, "DBEdit12");
    DBEdit14 = named(MajorRecord->actual, "DBEdit14");
    SpeedButton8 = named(MajorRecord->wordButton, "SpeedButton8");
    Button3 = named(MajorRecord->ok, "Button3");
    Button4 = named(MajorRecord->cancel, "Button4");

    Label15 = named(ActionRecord->nameLabel, "Label15");
    Label22 = named(ActionRecord->descriptionLabel, "Label22");
    Label23 = named(ActionRecord->fromLabel, "Label23");
    Label26 = named(ActionRecord->toLabel, "Label26");
    Label19 = named(ActionRecord->leaderLabel, "Label19");
    Label27 = named(ActionRecord->percentLabel, "Label27");
    Label30 = named(ActionRecord->hoursLabel, "Label30");
    Label31 = named(ActionRecord->actualLabel, "Label31");
    DBEdit13 = named(ActionRecord->name, "DBEdit13");
    DBMemo3 = named(ActionRecord->description, "DBMemo3");
    DBCheckBox4 = named(ActionRecord->critical, "DBCheckBox4");
    DBCheckBox5 = named(ActionRecord->completed, "DBCheckBox5");
    DBEdit15 = named(ActionRecord->from, "DBEdit15");
    DBEdit16 = named(ActionRecord->to, "DBEdit16");
    SDLabel5 = named(ActionRecord->fromFormat, "SDLabel5");
    SDLabel6 = named(ActionRecord->toFormat, "SDLabel6");
    DBLookupComboBox3 = named(ActionRecord->leader, "DBLookupComboBox3");
    DBEdit17 = named(ActionRecord->percent, "DBEdit17");
    DBEdit18 = named(ActionRecord->hours, "DBEdit18");
    DBEdit19 = named(ActionRecord->actual, "DBEdit19");
    SpeedButton7 = named(ActionRecord->wordButton, "SpeedButton7");
    Button1 = named(ActionRecord->ok, "Button1");
    Button2 = named(ActionRecord->cancel, "Button2");

    // Team, notes, contacts, time sheets and cost entries.
    DBGrid3 =
        buildTeamTab(TabSheet2, "DBGrid3", "ProjectTeam", "Email", SpeedButton1, "SpeedButton1");
    DBGrid2 =
        buildTeamTab(TabSheet5, "DBGrid2", "MajorTeam", "Email", SpeedButton3, "SpeedButton3");
    DBGrid1 =
        buildTeamTab(TabSheet14, "DBGrid1", "ActionTeam", "email", SpeedButton2, "SpeedButton2");
    ProjectNotesGrid = buildNotesTab(TabSheet8, "ProjectNotesGrid", "Projectnotes_note");
    MajorNotesGrid = buildNotesTab(TabSheet12, "MajorNotesGrid", "Majornotes_note");
    ActionNotesGrid = buildNotesTab(TabSheet15, "ActionNotesGrid", "Actionnotes_note");
    buildContactsTab(TabSheet10);
    DBCtrlGrid1 =
        buildTimeSheetTab(TabSheet9, "DBCtrlGrid1", {"Label28", "Label29", "Label32", "Label33"});
    DBCtrlGrid2 =
        buildTimeSheetTab(TabSheet3, "DBCtrlGrid2", {"Label1", "Label8", "Label34", "Label35"});
    DBCtrlGrid3 =
        buildTimeSheetTab(TabSheet6, "DBCtrlGrid3", {"Label41", "Label42", "Label36", "Label39"});
    DBCtrlGrid5 = buildCostTab(TabSheet11, "DBCtrlGrid5", {"Label24", "Label25", "Label40"});
    DBCtrlGrid6 = buildCostTab(TabSheet13, "DBCtrlGrid6", {"Label37", "Label38", "Label43"});
    DBCtrlGrid7 = buildCostTab(TabSheet16, "DBCtrlGrid7", {"Label44", "Label45", "Label46"});

    levels_[ProjectLevel] = {ProjectPageControl, ProjectRecord, TabSheet9, TabSheet11,
                             ProjectPopup};
    levels_[MajorLevel] = {MajorPageControl, MajorRecord, TabSheet3, TabSheet13, MajorPopup};
    levels_[ActionLevel] = {ActionPageControl, ActionRecord, TabSheet6, TabSheet16, ActionPopup};

    // Tab changes open and close the time-sheet and cost views; Ok and Cancel end adding.
    connect(ProjectPageControl, &QTabWidget::currentChanged, this,
            [this] { vok::Guard::run([this] { ProjectPageControlChange(); }); });
    connect(MajorPageControl, &QTabWidget::currentChanged, this,
            [this] { vok::Guard::run([this] { MajorPageControlChange(); }); });
    connect(ActionPageControl, &QTabWidget::currentChanged, this,
            [this] { vok::Guard::run([this] { ActionPageControlChange(); }); });
    const auto click = [this](QPushButton* b, void (MainWindow::*slot)()) {
        connect(b, &QPushButton::clicked, this,
                [this, slot] { vok::Guard::run([&] { (this->*slot)(); }); });
    };
    click(Button5, &MainWindow::Button5Click);
    click(Button6, &MainWindow::Button6Click);
    click(Button3, &MainWindow::Button3Click);
    click(Button4, &MainWindow::Button4Click);
    click(Button1, &MainWindow::Button1Click);
    click(Button2, &MainWindow::Button2Click);
    connect(DBEdit2, &QLineEdit::textChanged, this, &MainWindow::DBEdit2Change);
    connect(DBEdit8, &QLineEdit::textChanged, this, &MainWindow::DBEdit8Change);
    connect(DBEdit13, &QLineEdit::textChanged, this, &MainWindow::DBEdit13Change);
    const auto exits = [this](RecordTab* tab, void (MainWindow::*slot)()) {
        for (vok::DataLink* link : tab->dataLinks())
            connect(link, &vok::DataLink::exited, this, slot);
    };
    exits(ProjectRecord, &MainWindow::DBEdit2Exit);
    exits(MajorRecord, &MainWindow::DBEdit8Exit);
    exits(ActionRecord, &MainWindow::DBEdit13Exit);
    const auto press = [this](QToolButton* b, void (MainWindow::*slot)()) {
        connect(b, &QToolButton::clicked, this,
                [this, slot] { vok::Guard::run([&] { (this->*slot)(); }); });
    };
    press(SpeedButton1, &MainWindow::SpeedButton1Click);
    press(SpeedButton3, &MainWindow::SpeedButton1Click);
    press(SpeedButton2, &MainWindow::SpeedButton1Click);
    press(SpeedButton4, &MainWindow::SpeedButton4Click);
    press(SpeedButton5, &MainWindow::SpeedButton5Click);
    press(SpeedButton6, &MainWindow::SpeedButton6Click);
    press(SpeedButton7, &MainWindow::SpeedButton7Click);
    press(SpeedButton8, &MainWindow::SpeedButton8Click);
}

vok::DBGrid* MainWindow::buildTeamTab(QWidget* tab, const char* gridName, const char* prefix,
                                      const char* emailTitle, QToolButton*& mailButton,
                                      const char* mailName) {
    auto* box = new QVBoxLayout(tab);
    box->setContentsMargins(6, 6, 6, 6);
    auto* grid = new vok::DBGrid(tab);
    grid->setObjectName(QLatin1String(gridName));
    vok::AccessibleName::follow(grid, tabCaption(tab));
    const QString p = QLatin1String(prefix);
    grid->addColumn(p + QStringLiteral("_member"), QStringLiteral("Member"), 200);
    grid->addColumn(p + QStringLiteral("_email"), text(emailTitle), 176);
    grid->addColumn(p + QStringLiteral("_tel"), QStringLiteral("Telephone"), 117);
    grid->setToolTip(QStringLiteral(
        "Use arrow keys to navigate from one entry to another.  Ctrl-Del to delete an entry."));
    grid->setFitColumnsWhenShown(true);
    box->addWidget(grid, 1);
    auto* buttons = new QHBoxLayout;
    mailButton = new QToolButton(tab);
    mailButton->setObjectName(QLatin1String(mailName));
    mailButton->setText(QStringLiteral("Member Email"));
    buttons->addWidget(mailButton);
    buttons->addStretch(1);
    box->addLayout(buttons);
    return grid;
}

vok::DBCtrlGrid* MainWindow::buildNotesTab(QWidget* tab, const char* gridName,
                                           const char* noteField) {
    auto* box = new QVBoxLayout(tab);
    box->setContentsMargins(6, 6, 6, 6);
    auto* grid = new vok::DBCtrlGrid(tab);
    grid->setObjectName(QLatin1String(gridName));
    vok::CtrlGridDesign design;
    design.memoField = text(noteField);
    grid->setDesign(design);
    grid->setAccessibleCaption(tabCaption(tab));
    grid->setPanelGrid(1, 3);
    grid->setEditable(true);
    grid->setToolTip(QStringLiteral(
        "Use the TAB key to go to the next entry.  Use Ctrl-Del to delete an entry."));
    box->addWidget(grid);
    return grid;
}

vok::DBCtrlGrid* MainWindow::buildTimeSheetTab(QWidget* tab, const char* gridName,
                                               std::array<const char*, 4> labelNames) {
    auto* box = new QVBoxLayout(tab);
    box->setContentsMargins(6, 6, 6, 6);
    auto* grid = new vok::DBCtrlGrid(tab);
    grid->setObjectName(QLatin1String(gridName));
    vok::CtrlGridDesign design;
    design.lines = {
        {QStringLiteral("ProjectTS_date_from"), QStringLiteral("From date"), false,
         text(labelNames[0])},
        {QStringLiteral("ProjectTS_date_to"), QStringLiteral("To date"), false,
         text(labelNames[1])},
        {QStringLiteral("ProjectTS_hours"), QStringLiteral("Hours"), false, text(labelNames[2])},
        {QStringLiteral("ProjectTS_member"), QStringLiteral("Member"), false, text(labelNames[3])}};
    design.memoField = QStringLiteral("ProjectTS_Notes");
    design.memoPlace = vok::CtrlGridDesign::MemoPlace::Right;
    grid->setDesign(design);
    grid->setAccessibleCaption(tabCaption(tab));
    grid->setPanelGrid(1, 4);
    box->addWidget(grid);
    return grid;
}

vok::DBCtrlGrid* MainWindow::buildCostTab(QWidget* tab, const char* gridName,
                                          std::array<const char*, 3> labelNames) {
    auto* box = new QVBoxLayout(tab);
    box->setContentsMargins(6, 6, 6, 6);
    auto* grid = new vok::DBCtrlGrid(tab);
    grid->setObjectName(QLatin1String(gridName));
    vok::CtrlGridDesign design;
    design.lines = {{QStringLiteral("ProjectCost_date_from"), QStringLiteral("From date"), false,
                     text(labelNames[0])},
                    {QStringLiteral("ProjectCost_date_to"), QStringLiteral("To date"), false,
                     text(labelNames[1])},
                    {QStringLiteral("ProjectCost_Amount"), QStringLiteral("Amount"), false,
                     text(labelNames[2])}};
    design.memoField = QStringLiteral("ProjectCost_Notes");
    design.memoPlace = vok::CtrlGridDesign::MemoPlace::Right;
    grid->setDesign(design);
    grid->setAccessibleCaption(tabCaption(tab));
    grid->setPanelGrid(1, 4);
    box->addWidget(grid);
    return grid;
}

void MainWindow::buildContactsTab(QWidget* tab) {
    auto* box = new QVBoxLayout(tab);
    box->setContentsMargins(6, 6, 6, 6);
    DBCtrlGrid4 = new vok::DBCtrlGrid(tab);
    DBCtrlGrid4->setObjectName(QStringLiteral("DBCtrlGrid4"));
    vok::CtrlGridDesign design;
    design.lines = {{QStringLiteral("ProjectContact_name"), QString(), true, {}},
                    {QStringLiteral("ProjectContact_Company"), QString(), false, {}},
                    {QStringLiteral("ProjectContact_tel"), QString(), false, {}},
                    {QStringLiteral("ProjectContact_ext"), QString(), false, {}},
                    {QStringLiteral("ProjectContact_email"), QString(), false, {}}};
    DBCtrlGrid4->setDesign(design);
    DBCtrlGrid4->setAccessibleCaption(tabCaption(tab));
    DBCtrlGrid4->setPanelGrid(2, 4);
    DBCtrlGrid4->setPanelSize(QSize(212, 90));
    DBCtrlGrid4->setToolTip(
        QStringLiteral("Use the right click to add, edit and delete a contact"));
    DBCtrlGrid4->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBCtrlGrid4, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(DBCtrlGrid4->mapToGlobal(pos)); });
    connect(DBCtrlGrid4, &vok::DBCtrlGrid::panelDoubleClicked, this,
            [this] { vok::Guard::run([this] { DBCtrlGrid4DblClick(); }); });
    box->addWidget(DBCtrlGrid4, 1);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](QToolButton*& b, const char* name, const char* caption) {
        b = new QToolButton(tab);
        b->setObjectName(QLatin1String(name));
        b->setText(text(caption));
        buttons->addWidget(b);
    };
    button(SpeedButton4, "SpeedButton4", "Contact Email");
    button(SpeedButton5, "SpeedButton5", "Word document");
    button(SpeedButton9, "SpeedButton9", "Print list");
    buttons->addStretch(1);
    box->addLayout(buttons);
}

void MainWindow::setDataModule(ProjectData* dm) {
    dm_ = dm;
    dm_->setPrintProjectSource([this] { return PrintProject->text(); });
    tree_->setDataModule(dm);
    bindControls();
}

void MainWindow::bindControls() {
    levels_[ProjectLevel].table = dm_->projects;
    levels_[ProjectLevel].timeSheets = dm_->ProjectTS;
    levels_[ProjectLevel].costs = dm_->ProjectCost;
    levels_[MajorLevel].table = dm_->Major;
    levels_[MajorLevel].timeSheets = dm_->MajorTS;
    levels_[MajorLevel].costs = dm_->MajorCost;
    levels_[ActionLevel].table = dm_->Action;
    levels_[ActionLevel].timeSheets = dm_->ActionTS;
    levels_[ActionLevel].costs = dm_->ActionCost;
    for (const Level& l : levels_)
        l.record->bind(l.table, dm_->Members);

    DBGrid3->setDataSource(dm_->ProjectTeam);
    DBGrid2->setDataSource(dm_->MajorTeam);
    DBGrid1->setDataSource(dm_->ActionTeam);
    ProjectNotesGrid->setDataSource(dm_->ProjectNotes);
    MajorNotesGrid->setDataSource(dm_->MajorNotes);
    ActionNotesGrid->setDataSource(dm_->ActionNotes);
    DBCtrlGrid4->setDataSource(dm_->Contacts);
    DBCtrlGrid1->setDataSource(dm_->ProjectTS);
    DBCtrlGrid2->setDataSource(dm_->MajorTS);
    DBCtrlGrid3->setDataSource(dm_->ActionTS);
    DBCtrlGrid5->setDataSource(dm_->ProjectCost);
    DBCtrlGrid6->setDataSource(dm_->MajorCost);
    DBCtrlGrid7->setDataSource(dm_->ActionCost);
}

// ---------------------------------------------------------------- pick lists

QStringList MainWindow::memberPickList(int grid) const {
    switch (grid) {
    case 3:
        return DBGrid3->pickList(0);
    case 2:
        return DBGrid2->pickList(0);
    case 1:
        return DBGrid1->pickList(0);
    default:
        return {};
    }
}

void MainWindow::refillMemberPickLists() {
    for (vok::DBGrid* g : {DBGrid3, DBGrid2, DBGrid1})
        g->setPickList(0, {});
    dm_->Members->first();
    vok::Field& name = dm_->Members->fieldByName(QStringLiteral("Member_name"));
    while (!dm_->Members->eof()) {
        for (vok::DBGrid* g : {DBGrid3, DBGrid2, DBGrid1})
            g->setPickList(0, g->pickList(0) << name.asString());
        dm_->Members->next();
    }
}

// ---------------------------------------------------------------- first activation

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        FormActivate();
    } else if (e->type() == QEvent::Show && !shown_) {
        updateCommands(); // the caption sets are given by now
        // Without a window manager (a virtual display) the window is never activated; the
        // first activation then runs as soon as the window shows.
        shown_ = true;
        QTimer::singleShot(0, this, &MainWindow::FormActivate);
    }
    return QMainWindow::event(e);
}

void MainWindow::FormActivate() {
    vok::Guard::run([this] { firstActivation(); });
}

void MainWindow::firstActivation() {
    // Once per process: also when the connection could not be opened, since the error box
    // closing activates the window again and would ask for the same error forever.
    if (!dm_ || dm_->store->isOpen() || connectionTried_)
        return;
    const Settings settings = Settings::read();
    dm_->DataPath = settings.data;
    dm_->store->setNetworkControlDir(dm_->DataPath);

    const QString pattern = vok::ShortDate::pattern();
    for (QLabel* l : {SDLabel1, SDLabel2, SDLabel3, SDLabel4, SDLabel5, SDLabel6})
        l->setText(pattern);

    dm_->connectTo(dm_->DataPath);
    connectionTried_ = true;
    dm_->openWorkingTables();

    // From the record Members opened on, appended to each team grid's pick list.
    vok::Table* members = dm_->Members;
    vok::Field& name = members->fieldByName(QStringLiteral("Member_name"));
    while (!members->eof()) {
        for (vok::DBGrid* g : {DBGrid3, DBGrid2, DBGrid1})
            g->setPickList(0, g->pickList(0) << name.asString());
        members->next();
    }

    if (settings.language != QLatin1String("0")) {
        bool ok = false;
        const int index = settings.language.toInt(&ok);
        if (!ok)
            throw vok::DatabaseError(
                QStringLiteral("'%1' is not a valid integer value").arg(settings.language),
                vok::DatabaseError::Kind::Convert);
        if (translateInterface)
            translateInterface(index);
    }
    LoadTree();
}

// ---------------------------------------------------------------- the tree

void MainWindow::LoadTree() {
    const QSignalBlocker block(TreeView1);
    selectionTimer_->stop();
    // Other installations may have changed the tables: read them again. A pending record that
    // cannot be stored fails here, and the tree stays as it was.
    if (dm_ && dm_->projects->isActive())
        dm_->projects->refresh();
    tree_->clear();
    if (!dm_ || !dm_->projects->isActive())
        return;
    // The rebuilt tree selects nothing. The pages' controls hear once, at the end, where the
    // tables were left.
    hidePages();
    const vok::HeldNotices held(dm_->tables());
    // The project nodes, and the children of those in view; nothing moves the record-sets.
    tree_->load();
    // The tables end on the last project, its last major activity and that one's last action,
    // as a walk of the whole tree would leave them.
    for (vok::Table* t : {dm_->projects, dm_->Major, dm_->Action}) {
        if (!t->isEmpty())
            t->last();
    }
}

QStringList MainWindow::ProjectList() const {
    return tree_->allIds();
}

QStringList MainWindow::CriticalList() const {
    return tree_->allStatuses();
}

int MainWindow::nodeIndex(const QTreeWidgetItem* item) const {
    return item ? static_cast<int>(ProjectList().indexOf(ProjectTree::idOf(item))) : -1;
}

QTreeWidgetItem* MainWindow::findNode(const QString& id) const {
    return tree_->find(id);
}

QString MainWindow::selectedNode() const {
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    if (selected.isEmpty())
        return {};
    return ProjectTree::idOf(selected.first());
}

bool MainWindow::selectNode(const QString& id) {
    QTreeWidgetItem* item = findNode(id);
    if (!item)
        return false;
    {
        const QSignalBlocker block(TreeView1);
        TreeView1->setCurrentItem(item);
        TreeView1->scrollToItem(item);
    }
    selectionTimer_->stop();
    TreeView1Change();
    return true;
}

bool MainWindow::positionOnSelectedNode(int parts) {
    const QString id = selectedNode();
    if (id.isEmpty())
        return false;
    idstrings = id.split(QLatin1Char(','));
    const int p = idstrings.value(0).toInt();
    if (!dm_->projects->findKey({p}))
        return false;
    if (parts >= 2 && idstrings.size() >= 2 && !dm_->Major->findKey({p, idstrings[1].toInt()}))
        return false;
    if (parts >= 3 && idstrings.size() >= 3 &&
        !dm_->Action->findKey({p, idstrings[1].toInt(), idstrings[2].toInt()}))
        return false;
    return true;
}

void MainWindow::TreeView1Change() {
    // The tree is disabled while a record is added; a selection change still pending from
    // before must not take the new record's page away.
    if (!dm_ || isAdding())
        return;
    // The node whose page shows, clicked again: its record is read again, the tab stays.
    QString shown;
    for (const Level& l : levels_) {
        if (l.page->isVisible())
            shown = idstrings.join(QLatin1Char(','));
    }
    hidePages();
    if (!positionOnSelectedNode(3)) {
        if (!selectedNode().isEmpty() && dm_->projects->isActive())
            nodeGone();
        return;
    }
    const int level = static_cast<int>(idstrings.size()) - 1;
    if (level < ProjectLevel || level > ActionLevel || !rereadRecord(level))
        return;
    showPage(level, shown == idstrings.join(QLatin1Char(',')));
    attachedPopup_ = levels_[level].popup;
}

bool MainWindow::rereadRecord(int level) {
    // Another installation may have changed the record since it was read.
    if (levels_[level].table->refreshRecord())
        return true;
    nodeGone();
    return false;
}

void MainWindow::nodeGone() {
    const QTreeWidgetItem* item = TreeView1->currentItem();
    const QString name = item ? item->text(0) : QString();
    LoadTree();
    vok::Messages::inform(
        QStringLiteral("\"%1\" is no longer stored: another installation deleted it.").arg(name));
}

void MainWindow::hidePages() {
    for (const Level& l : levels_)
        l.page->hide();
}

void MainWindow::showPage(int level, bool keepTab) {
    QTabWidget* page = levels_[level].page;
    if (!keepTab) {
        // Bringing the record tab to the front is no tab change: views left open stay open.
        const QSignalBlocker block(page);
        page->setCurrentIndex(0);
    }
    page->show();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TreeView1->viewport()) {
        const QEvent::Type t = event->type();
        if (t == QEvent::ToolTip)
            return showCutName(static_cast<QHelpEvent*>(event));
        if ((t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
             t == QEvent::MouseButtonDblClick) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::showCutName(const QHelpEvent* event) {
    const QModelIndex index = TreeView1->indexAt(event->pos());
    if (!index.isValid())
        return false; // the tree's own tooltip
    const QRect rect = TreeView1->visualRect(index);
    const QString name = index.data().toString();
    // The delegate leaves a margin on each side of the text.
    const int margin =
        TreeView1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, TreeView1) + 1;
    const int room = std::min(rect.right(), TreeView1->viewport()->width()) - rect.left();
    if (TreeView1->fontMetrics().horizontalAdvance(name) + 2 * margin <= room)
        return false;
    QToolTip::showText(event->globalPos(), name, TreeView1->viewport(), rect);
    return true;
}

void MainWindow::showPopup(const QPoint& pos) {
    if (TreeView1->isEnabled() && attachedPopup_)
        attachedPopup_->popup(TreeView1->viewport()->mapToGlobal(pos));
}

// ---------------------------------------------------------------- tabs

void MainWindow::pageChanged(int level) {
    const Level& l = levels_[level];
    QWidget* front = l.page->currentWidget();
    if (front == l.timeSheetTab)
        l.timeSheets->open();
    else
        l.timeSheets->close();
    if (front == l.costTab)
        l.costs->open();
    else
        l.costs->close();
}

void MainWindow::ProjectPageControlChange() {
    pageChanged(ProjectLevel);
}
void MainWindow::MajorPageControlChange() {
    pageChanged(MajorLevel);
}
void MainWindow::ActionPageControlChange() {
    pageChanged(ActionLevel);
}

// ---------------------------------------------------------------- adding

bool MainWindow::isAdding() const {
    return std::any_of(levels_.begin(), levels_.end(),
                       [](const Level& l) { return l.record->ok->isVisibleTo(l.record); });
}

void MainWindow::setBusy(bool busy) {
    TreeView1->setEnabled(!busy);
    for (QAction* a : {AddaProject1, Memberslist1, Timesheetentry1->menuAction(),
                       CostSheets1->menuAction(), Reports1->menuAction(),
                       Changelanguage1->menuAction(), Help1->menuAction(), Exit1, Refresh1})
        a->setEnabled(!busy);
}

void MainWindow::startAdding(int level) {
    if (level > ProjectLevel && selectedNode().isEmpty())
        return;
    const Level& l = levels_[level];
    // Refused before the page shows Ok and Cancel for a record that could never be stored.
    if (!dm_ || !l.table->isActive())
        throw vok::DatabaseError(
            QStringLiteral("Vok has no data folder open (%1), so nothing can be added")
                .arg(dm_ ? vok::ShownLocation::of(dm_->store->folder()) : QString()),
            vok::DatabaseError::Kind::Engine);
    selectionTimer_->stop();
    hidePages();
    showPage(level);
    l.record->ok->show();
    l.record->cancel->show();
    // The new major activity goes to the selected node's project, the new action to its major
    // activity: a major or action node adds a sibling.
    if (level > ProjectLevel)
        positionOnSelectedNode(level);
    l.table->insert();
    setBusy(true);
    // The record's team, notes and the rest have no key to hang on until it is stored.
    for (int tab = 1; tab < l.page->count(); ++tab)
        l.page->setTabEnabled(tab, false);
    l.record->name->setFocus(Qt::OtherFocusReason);
}

void MainWindow::AddProject1Click() {
    startAdding(ProjectLevel);
}
void MainWindow::AddMajor1Click() {
    startAdding(MajorLevel);
}
void MainWindow::AddAction1Click() {
    startAdding(ActionLevel);
}

QString MainWindow::recordId(int level) const {
    const auto value = [](vok::Table* t, const char* field) {
        return t->fieldByName(QLatin1String(field)).asString();
    };
    switch (level) {
    case ProjectLevel:
        return value(dm_->projects, "Zel_Project_id");
    case MajorLevel:
        return value(dm_->Major, "Major_project_id") + QLatin1Char(',') +
               value(dm_->Major, "Major_id");
    default:
        return value(dm_->Action, "Action_project_id") + QLatin1Char(',') +
               value(dm_->Action, "Action_major_id") + QLatin1Char(',') +
               value(dm_->Action, "Action_id");
    }
}

void MainWindow::finishAdding(int level, bool store) {
    const Level& l = levels_[level];
    // A text a field refused is reported by its control; Ok waits until it is put right.
    if (store && l.record->hasInvalidText())
        return;
    QString saved;
    if (store) {
        // A record that cannot be stored is reported now and the page stays in add mode, so
        // that it can be put right or dropped with Cancel.
        l.table->post();
        saved = recordId(level);
    } else {
        l.table->cancel();
    }
    l.record->ok->hide();
    l.record->cancel->hide();
    for (int tab = 1; tab < l.page->count(); ++tab)
        l.page->setTabEnabled(tab, true);
    setBusy(false);
    if (store) {
        LoadTree();
        if (!saved.isEmpty())
            selectNode(saved);
    } else {
        // Back to the node that is selected, or to no page.
        TreeView1Change();
    }
}

void MainWindow::Button5Click() {
    finishAdding(ProjectLevel, true);
}
void MainWindow::Button6Click() {
    finishAdding(ProjectLevel, false);
}
void MainWindow::Button3Click() {
    finishAdding(MajorLevel, true);
}
void MainWindow::Button4Click() {
    finishAdding(MajorLevel, false);
}
void MainWindow::Button1Click() {
    finishAdding(ActionLevel, true);
}
void MainWindow::Button2Click() {
    finishAdding(ActionLevel, false);
}

// ---------------------------------------------------------------- editing in place

void MainWindow::postRecord(int level) {
    const Level& l = levels_[level];
    // While adding, only Ok stores; a refused text keeps the record as it is being typed.
    if (!dm_ || l.record->ok->isVisibleTo(l.record) || l.record->hasInvalidText())
        return;
    // A post that is refused is said at once (the record another installation changed
    // meanwhile, a rule of the data); what was typed is never dropped without a word.
    vok::Guard::run([&] {
        if (l.table->isEditing())
            l.table->post();
    });
}

void MainWindow::DBEdit2Exit() {
    postRecord(ProjectLevel);
}
void MainWindow::DBEdit8Exit() {
    postRecord(MajorLevel);
}
void MainWindow::DBEdit13Exit() {
    postRecord(ActionLevel);
}

void MainWindow::renameNode(int level) {
    const Level& l = levels_[level];
    if (!l.record->name->isModified() || l.record->ok->isVisibleTo(l.record))
        return;
    if (QTreeWidgetItem* item = TreeView1->currentItem())
        item->setText(0, vok::ShownText::escaped(l.record->name->text()));
}

void MainWindow::DBEdit2Change() {
    renameNode(ProjectLevel);
}
void MainWindow::DBEdit8Change() {
    renameNode(MajorLevel);
}
void MainWindow::DBEdit13Change() {
    renameNode(ActionLevel);
}

// ---------------------------------------------------------------- deleting

void MainWindow::deleteNode(int level) {
    static const char* const questions[] = {
        "Are you certain that you want to delete this project?",
        "Are you certain that you want to delete this major activity?",
        "Are you certain that you want to delete this Action?"};
    if (!dm_ || selectedNode().isEmpty())
        return;
    if (!vok::Messages::confirm(QLatin1String(questions[level])))
        return;
    hidePages();
    setBusy(true);
    const auto done = qScopeGuard([this] { setBusy(false); });
    // Never the record the cursors happen to be on: the node's own, or nothing.
    if (!positionOnSelectedNode(level + 1)) {
        nodeGone();
        return;
    }
    {
        // All or nothing: a failure leaves every table, and the tree, as they were.
        vok::Transaction work(*dm_->store);
        ProjectHierarchy(*dm_).remove(level);
        work.commit();
    }
    setBusy(false);
    LoadTree();
}

void MainWindow::Deleteproject1Click() {
    deleteNode(ProjectLevel);
}
void MainWindow::DeleteMajor1Click() {
    deleteNode(MajorLevel);
}
void MainWindow::DeleteAction1Click() {
    deleteNode(ActionLevel);
}

// ---------------------------------------------------------------- leaving

bool MainWindow::storePendingEdits() {
    if (!dm_)
        return false;
    // Asks what to do with an edit that cannot be stored; true when the user drops it.
    const auto dropped = [this](vok::Table* t, const QString& why) {
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
    for (const Level& l : levels_) {
        for (const vok::DataLink* link : l.record->dataLinks()) {
            const auto* edit = qobject_cast<const vok::DBEdit*>(link->parent());
            if (!edit || !edit->hasInvalidText())
                continue;
            if (!dropped(l.table,
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

void MainWindow::Exit1Click() {
    close();
}

void MainWindow::Refresh1Click() {
    if (!dm_ || !dm_->projects->isActive() || isAdding())
        return;
    // What was typed is stored first; a refusal is said and nothing is read again.
    for (vok::Table* t : {dm_->Action, dm_->Major, dm_->projects})
        t->checkBrowseMode();
    const QString id = selectedNode();
    QTabWidget* page = nullptr;
    for (const Level& l : levels_) {
        if (l.page->isVisible())
            page = l.page;
    }
    const int tab = page ? page->currentIndex() : 0;
    dm_->refreshAll();
    refillMemberPickLists();
    LoadTree();
    if (id.isEmpty() || !selectNode(id) || !page || !page->isVisible())
        return;
    page->setCurrentIndex(tab); // the tab it showed, its views opened again
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
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------- windows beside the main one

void MainWindow::setMemberList(MemberListWindow* memberList) {
    form3_ = memberList;
    updateCommands();
}

void MainWindow::setContactWindow(ContactWindow* contactWindow) {
    form15_ = contactWindow;
    updateCommands();
}

void MainWindow::setCopyModule(ProjectCopyTables* dm17) {
    dm17_ = dm17;
    updateCommands();
}

void MainWindow::setTranslateInterface(std::function<void(int)> apply) {
    translateInterface = std::move(apply);
    updateCommands();
}

void MainWindow::updateCommands() {
    Memberslist1->setVisible(form3_ != nullptr);
    Addcontact1->setVisible(form15_ != nullptr);
    EditContact1->setVisible(form15_ != nullptr);
    Copyproject1->setVisible(dm17_ != nullptr);
    Changelanguage1->menuAction()->setVisible(static_cast<bool>(translateInterface));
}

// ---------------------------------------------------------------- copying a project

void MainWindow::Copyproject1Click() {
    if (!dm_ || !dm17_ || !positionOnSelectedNode(1))
        return;
    const ProjectCopy::Result copy = ProjectCopy(*dm_, *dm17_).run();
    LoadTree();
    selectNode(QString::number(copy.project));
}

// ---------------------------------------------------------------- members and contacts

void MainWindow::Memberslist1Click() {
    if (!dm_ || !form3_)
        return;
    dm_->Members->first();
    vok::Modal::exec(form3_);
    refillMemberPickLists();
}

void MainWindow::showContact(bool adding) {
    if (!dm_ || !form15_)
        return;
    vok::Table* contacts = dm_->Contacts;
    // A new contact belongs to the current project through the link; editing an empty list
    // starts a new contact too.
    if (adding)
        contacts->insert();
    else
        contacts->edit();
    if (vok::Modal::exec(form15_) != QDialog::Accepted)
        contacts->cancel();
}

void MainWindow::Addcontact1Click() {
    showContact(true);
}

void MainWindow::EditContact1Click() {
    showContact(false);
}

void MainWindow::DBCtrlGrid4DblClick() {
    showContact(false);
}

void MainWindow::DeleteContact1Click() {
    if (!dm_ || !vok::Messages::confirm(QStringLiteral("Delete selected contact?")))
        return;
    dm_->Contacts->deleteRecord();
}

// ---------------------------------------------------------------- mail and help

void MainWindow::openWithShell(const QString& target) {
    if (!vok::Shell::open(target))
        vok::Messages::inform(
            QStringLiteral("No program on this computer could open \"%1\".").arg(target));
}

void MainWindow::SpeedButton1Click() {
    const QString id = selectedNode();
    if (!dm_ || id.isEmpty())
        return;
    idstrings = id.split(QLatin1Char(','));
    // The team views already follow the selected node.
    switch (idstrings.size()) {
    case 1:
        openWithShell(MailTo::team(*dm_->ProjectTeam, QStringLiteral("ProjectTeam_email")));
        break;
    case 2:
        openWithShell(MailTo::team(*dm_->MajorTeam, QStringLiteral("MajorTeam_email")));
        break;
    case 3:
        openWithShell(MailTo::team(*dm_->ActionTeam, QStringLiteral("ActionTeam_email")));
        break;
    default:
        break;
    }
}

void MainWindow::SpeedButton4Click() {
    if (!dm_)
        return;
    openWithShell(MailTo::contact(
        dm_->Contacts->fieldByName(QStringLiteral("ProjectContact_email")).asString()));
}

void MainWindow::Helpfiles1Click() {
    const QString page = HelpPage::path();
    if (page.isEmpty()) {
        vok::Messages::inform(QStringLiteral("The help page is missing; it belongs in %1.")
                                  .arg(HelpPage::installedPath()));
        return;
    }
    openWithShell(page);
}

void MainWindow::Emailusforhelp1Click() {
    openWithShell(QStringLiteral("mailto:") + QLatin1String(supportAddress) +
                  QStringLiteral("?subject=Help required"));
}

void MainWindow::Emailustobuysourcecode1Click() {
    openWithShell(QStringLiteral("mailto:") + QLatin1String(salesAddress) +
                  QStringLiteral("?subject=Source code"));
}

void MainWindow::English1Click() {
    if (translateInterface)
        translateInterface(0);
}

void MainWindow::Franais1Click() {
    if (translateInterface)
        translateInterface(1);
}

void MainWindow::Espagnol1Click() {
    if (translateInterface)
        translateInterface(2);
}

// ---------------------------------------------------------------- summary documents

void MainWindow::openDocument(int kind) {
    if (!dm_)
        return;
    const auto k = static_cast<SummaryDocument::Kind>(kind);
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

void MainWindow::SpeedButton6Click() {
    openDocument(static_cast<int>(SummaryDocument::Kind::Project));
}

void MainWindow::SpeedButton8Click() {
    openDocument(static_cast<int>(SummaryDocument::Kind::Major));
}

void MainWindow::SpeedButton7Click() {
    openDocument(static_cast<int>(SummaryDocument::Kind::Action));
}

void MainWindow::SpeedButton5Click() {
    openDocument(static_cast<int>(SummaryDocument::Kind::Contact));
}
