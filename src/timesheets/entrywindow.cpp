#include "entrywindow.h"

#include "data/projectdata.h"
#include "framework/ui/guard.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dblookupcombobox.h"
#include "framework/widgets/dbmemo.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace {

// The kinds of control that take entries; their own inner widgets are not counted separately.
bool isEntryControl(QWidget* w) {
    return qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
           qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) ||
           qobject_cast<QAbstractItemView*>(w);
}

} // namespace

EntryWindow::EntryWindow(ProjectData* dm, vok::Table* entries, const EntryLayout& fields,
                         QWidget* parent)
    : QDialog(parent), entries_(entries) {
    resize(600, 290);
    const auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    Label1 = label("Label1", QStringLiteral("Project"));
    Label2 = label("Label2", QStringLiteral("Major Activity"));
    Label4 = label("Label4", QStringLiteral("Action"));
    Label3 = label("Label3", QStringLiteral("Date from"));
    Label5 = label("Label5", QStringLiteral("Date to"));
    Label6 = label("Label6", fields.quantityCaption);
    Label7 = label("Label7", QStringLiteral("Notes"));

    const auto lookup = [this](const char* name, const QString& field, vok::Table* list,
                               const QString& listField) {
        auto* c = new vok::DBLookupComboBox(this);
        c->setObjectName(QLatin1String(name));
        // As wide as a usual name whatever the list holds when the window first shows.
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(24);
        c->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        c->setDataSource(entries_, field);
        c->setListSource(list, listField);
        return c;
    };
    DBLookupComboBox2 =
        lookup("DBLookupComboBox2", fields.project, dm->projects, QStringLiteral("Zel_project"));
    DBLookupComboBox3 =
        lookup("DBLookupComboBox3", fields.major, dm->Major, QStringLiteral("Major_item"));
    DBLookupComboBox4 =
        lookup("DBLookupComboBox4", fields.action, dm->Action, QStringLiteral("Action_name"));

    DBEdit1 = new vok::DBDateEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataSource(entries_, fields.dateFrom);
    DBEdit2 = new vok::DBDateEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setDataSource(entries_, fields.dateTo);
    DBEdit3 = new vok::DBEdit(this);
    DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
    DBEdit3->setDataSource(entries_, fields.quantity);
    for (QLineEdit* e : {static_cast<QLineEdit*>(DBEdit1), static_cast<QLineEdit*>(DBEdit2),
                         static_cast<QLineEdit*>(DBEdit3)})
        e->setFixedWidth(120);

    DBMemo1 = new vok::DBMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setDataSource(entries_, fields.notes);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    DBNavigator1 = new vok::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(entries_);
    connect(DBNavigator1, &vok::DBNavigator::clicked, this, &EntryWindow::DBNavigator1Click);

    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this,
            [this] { vok::Guard::run([this] { Button1Click(); }); });

    auto* grid = new QGridLayout;
    const QList<QPair<QLabel*, QWidget*>> rows{
        {Label1, DBLookupComboBox2}, {Label2, DBLookupComboBox3}, {Label4, DBLookupComboBox4},
        {Label3, DBEdit1},           {Label5, DBEdit2},           {Label6, DBEdit3}};
    for (int r = 0; r < rows.size(); ++r) {
        grid->addWidget(rows[r].first, r, 0);
        // The lists fill the column; the short edits keep to the left.
        const bool list = qobject_cast<QComboBox*>(rows[r].second) != nullptr;
        grid->addWidget(rows[r].second, r, 1, list ? Qt::Alignment() : Qt::AlignLeft);
        rows[r].first->setBuddy(rows[r].second);
    }
    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 1);
    auto* notes = new QVBoxLayout;
    notes->addWidget(Label7);
    notes->addWidget(DBMemo1, 1);
    Label7->setBuddy(DBMemo1);
    auto* top = new QHBoxLayout;
    top->addLayout(grid, 3);
    top->addLayout(notes, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(DBNavigator1);
    bottom->addStretch(1);
    bottom->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
}

void EntryWindow::setEntryControlsEnabled(bool on) {
    const QList<QWidget*> all = findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!isEntryControl(w))
            continue;
        bool inner = false; // part of another entry control (a list's popup, say)
        for (QWidget* p = w->parentWidget(); p && p != this; p = p->parentWidget())
            inner = inner || isEntryControl(p);
        if (!inner)
            w->setEnabled(on);
    }
}

void EntryWindow::FormActivate() {
    if (entries_->isActive())
        return;
    setEntryControlsEnabled(false);
    entries_->open();
}

void EntryWindow::DBNavigator1Click(vok::DBNavigator::Button button) {
    using B = vok::DBNavigator::Button;
    setEntryControlsEnabled(button == B::Insert || button == B::Edit);
}

bool EntryWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        vok::Guard::run([this] { FormActivate(); });
    return QDialog::event(e);
}
