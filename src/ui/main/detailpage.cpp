#include "detailpage.h"

#include "budgetview.h"
#include "compacttabstyle.h"
#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"
#include "framework/widgets/accessiblename.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbgrid.h"
#include "recordtab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

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

// The lines of a time-sheet or cost panel, in step with the tab's caption names; the notes to
// their right. Every level's list names its fields alike.
struct ListLine {
    const char* field;
    const char* caption;
};
const ListLine timeSheetLines[] = {{"ProjectTS_date_from", "From date"},
                                   {"ProjectTS_date_to", "To date"},
                                   {"ProjectTS_hours", "Hours"},
                                   {"ProjectTS_member", "Member"}};
const ListLine costLines[] = {{"ProjectCost_date_from", "From date"},
                              {"ProjectCost_date_to", "To date"},
                              {"ProjectCost_Amount", "Amount"}};
const char* const contactLines[] = {"ProjectContact_name", "ProjectContact_Company",
                                    "ProjectContact_tel", "ProjectContact_ext",
                                    "ProjectContact_email"};

QVBoxLayout* tabLayout(QWidget* tab) {
    auto* box = new QVBoxLayout(tab);
    box->setContentsMargins(6, 6, 6, 6);
    return box;
}

QToolButton* toolButton(QWidget* tab, const char* name, const char* caption) {
    auto* b = new QToolButton(tab);
    b->setObjectName(QLatin1String(name));
    b->setText(text(caption));
    return b;
}

} // namespace

DetailPage::DetailPage(const PageDesign& design, QWidget* parent)
    : QTabWidget(parent), design_(design) {
    setObjectName(QLatin1String(design.name));
    setMinimumSize(457, 473);
    // Six captions side by side within the page's width.
    tabBar()->setStyle(new CompactTabStyle(this));
    for (const PageDesign::TabDesign& tab : design.tabs) {
        switch (tab.kind) {
        case PageDesign::Tab::Record:
            record = new RecordTab(design.fields, design.buttons, this);
            record->setObjectName(QLatin1String(tab.name));
            budget = new BudgetView(record, design);
            QTabWidget::addTab(record, text(tab.caption));
            break;
        case PageDesign::Tab::Team:
            buildTeamTab(tab);
            break;
        case PageDesign::Tab::Contacts:
            buildContactsTab(tab);
            break;
        default:
            buildListTab(tab);
            break;
        }
    }
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        // A text the record tab refused keeps it in front until it is put right or dropped
        // (Escape): the user is told there and then.
        if (vok::DBEdit* refused = index > 0 ? record->refusedEdit() : nullptr) {
            {
                const QSignalBlocker block(this);
                setCurrentIndex(0);
            }
            refused->takeBack();
        }
        vok::Guard::run([this] { tabChanged(); });
    });
}

QWidget* DetailPage::addTab(const PageDesign::TabDesign& tab) {
    auto* w = new QWidget(this);
    w->setObjectName(QLatin1String(tab.name));
    QTabWidget::addTab(w, text(tab.caption));
    return w;
}

void DetailPage::buildTeamTab(const PageDesign::TabDesign& tab) {
    teamTab = addTab(tab);
    QVBoxLayout* box = tabLayout(teamTab);
    team = new vok::DBGrid(teamTab);
    team->setObjectName(QLatin1String(tab.grid));
    vok::AccessibleName::follow(team, tabCaption(teamTab));
    const QString prefix = QLatin1String(tab.field);
    teamEmailField_ = prefix + QStringLiteral("_email");
    team->addColumn(prefix + QStringLiteral("_member"), QStringLiteral("Member"), 200);
    team->addColumn(teamEmailField_, text(tab.emailCaption), 176);
    team->addColumn(prefix + QStringLiteral("_tel"), QStringLiteral("Telephone"), 117);
    team->setToolTip(QStringLiteral(
        "Use arrow keys to navigate from one entry to another.  Ctrl-Del to delete an entry."));
    team->setFitColumnsWhenShown(true);
    box->addWidget(team, 1);
    auto* buttons = new QHBoxLayout;
    teamMailButton = toolButton(teamTab, tab.button, "Member Email");
    buttons->addWidget(teamMailButton);
    buttons->addStretch(1);
    box->addLayout(buttons);
}

void DetailPage::buildListTab(const PageDesign::TabDesign& tab) {
    QWidget* w = addTab(tab);
    QVBoxLayout* box = tabLayout(w);
    auto* grid = new vok::DBCtrlGrid(w);
    grid->setObjectName(QLatin1String(tab.grid));
    vok::CtrlGridDesign design;
    if (tab.kind == PageDesign::Tab::Notes) {
        design.memoField = text(tab.field);
    } else {
        const bool sheets = tab.kind == PageDesign::Tab::TimeSheets;
        const std::span<const ListLine> lines = sheets ? std::span<const ListLine>(timeSheetLines)
                                                       : std::span<const ListLine>(costLines);
        for (size_t i = 0; i < lines.size(); ++i)
            design.lines.append(
                {text(lines[i].field), text(lines[i].caption), false, text(tab.lineNames[i])});
        design.memoField =
            sheets ? QStringLiteral("ProjectTS_Notes") : QStringLiteral("ProjectCost_Notes");
        design.memoPlace = vok::CtrlGridDesign::MemoPlace::Right;
    }
    grid->setDesign(design);
    grid->setAccessibleCaption(tabCaption(w));
    if (tab.kind == PageDesign::Tab::Notes) {
        grid->setPanelGrid(1, 3);
        grid->setEditable(true);
        grid->setToolTip(QStringLiteral(
            "Use the TAB key to go to the next entry.  Use Ctrl-Del to delete an entry."));
    } else {
        grid->setPanelGrid(1, 4);
    }
    box->addWidget(grid);
    using Place = std::pair<QWidget * DetailPage::*, vok::DBCtrlGrid * DetailPage::*>;
    const Place place = tab.kind == PageDesign::Tab::Notes
                            ? Place{&DetailPage::notesTab, &DetailPage::notes}
                        : tab.kind == PageDesign::Tab::TimeSheets
                            ? Place{&DetailPage::timeSheetTab, &DetailPage::timeSheets}
                            : Place{&DetailPage::costTab, &DetailPage::costs};
    this->*place.first = w;
    this->*place.second = grid;
}

void DetailPage::buildContactsTab(const PageDesign::TabDesign& tab) {
    contactsTab = addTab(tab);
    QVBoxLayout* box = tabLayout(contactsTab);
    contacts = new vok::DBCtrlGrid(contactsTab);
    contacts->setObjectName(QLatin1String(tab.grid));
    vok::CtrlGridDesign design;
    for (const char* field : contactLines)
        design.lines.append({text(field), QString(), design.lines.isEmpty(), {}});
    contacts->setDesign(design);
    contacts->setAccessibleCaption(tabCaption(contactsTab));
    contacts->setPanelGrid(2, 4);
    contacts->setPanelSize(QSize(212, 90));
    contacts->setToolTip(QStringLiteral("Use the right click to add, edit and delete a contact"));
    contacts->setContextMenuPolicy(Qt::CustomContextMenu);
    box->addWidget(contacts, 1);
    auto* buttons = new QHBoxLayout;
    contactMailButton = toolButton(contactsTab, "SpeedButton4", "Contact Email");
    contactDocumentButton = toolButton(contactsTab, "SpeedButton5", "Word document");
    contactListButton = toolButton(contactsTab, "SpeedButton9", "Print list");
    for (QToolButton* b : {contactMailButton, contactDocumentButton, contactListButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    box->addLayout(buttons);
}

void DetailPage::bind(ProjectData& dm) {
    records_ = dm.*design_.records;
    timeSheetRecords_ = dm.*design_.timeSheets;
    costRecords_ = dm.*design_.costs;
    record->bind(records_, dm.Members);
    budget->bind(records_);
    teamRecords_ = dm.*design_.team;
    team->setDataSource(teamRecords_);
    notes->setDataSource(dm.*design_.notes);
    if (contacts)
        contacts->setDataSource(dm.Contacts);
    timeSheets->setDataSource(timeSheetRecords_);
    costs->setDataSource(costRecords_);
}

QString DetailPage::recordId() const {
    QStringList parts;
    for (const char* field : design_.keyFields)
        parts << records_->fieldByName(QLatin1String(field)).asString();
    return parts.join(QLatin1Char(','));
}

void DetailPage::tabChanged() {
    if (!timeSheetRecords_)
        return;
    QWidget* front = currentWidget();
    if (front == timeSheetTab)
        timeSheetRecords_->open();
    else
        timeSheetRecords_->close();
    if (front == costTab)
        costRecords_->open();
    else
        costRecords_->close();
}

void DetailPage::showRecord(bool keepTab) {
    if (!keepTab) {
        // Bringing the record tab to the front is no tab change: views left open stay open.
        const QSignalBlocker block(this);
        setCurrentIndex(0);
    }
    show();
}

void DetailPage::setAdding(bool adding) {
    record->ok->setVisible(adding);
    record->cancel->setVisible(adding);
    // The record's team, notes and the rest have no key to hang on until it is stored.
    for (int tab = 1; tab < count(); ++tab)
        setTabEnabled(tab, !adding);
}

bool DetailPage::isAdding() const {
    return record->ok->isVisibleTo(record);
}

QStringList DetailPage::memberPickList() const {
    return team->pickList(0);
}

void DetailPage::setMemberPickList(const QStringList& names) {
    team->setPickList(0, names);
}
