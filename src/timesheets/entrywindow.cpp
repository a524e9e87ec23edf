#include "entrywindow.h"

#include "data/projectdata.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/widgets/datalink.h"
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
    projectLabel = label("Label1", QStringLiteral("Project"));
    majorLabel = label("Label2", QStringLiteral("Major Activity"));
    actionLabel = label("Label4", QStringLiteral("Action"));
    fromLabel = label("Label3", QStringLiteral("Date from"));
    toLabel = label("Label5", QStringLiteral("Date to"));
    quantityLabel = label("Label6", fields.quantityCaption);
    notesLabel = label("Label7", QStringLiteral("Notes"));

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
    projectList =
        lookup("DBLookupComboBox2", fields.project, dm->projects, QStringLiteral("Zel_project"));
    majorList = lookup("DBLookupComboBox3", fields.major, dm->Major, QStringLiteral("Major_item"));
    actionList =
        lookup("DBLookupComboBox4", fields.action, dm->Action, QStringLiteral("Action_name"));

    fromEdit = new vok::DBDateEdit(this);
    fromEdit->setObjectName(QStringLiteral("DBEdit1"));
    fromEdit->setDataSource(entries_, fields.dateFrom);
    toEdit = new vok::DBDateEdit(this);
    toEdit->setObjectName(QStringLiteral("DBEdit2"));
    toEdit->setDataSource(entries_, fields.dateTo);
    quantityEdit = new vok::DBEdit(this);
    quantityEdit->setObjectName(QStringLiteral("DBEdit3"));
    quantityEdit->setDataSource(entries_, fields.quantity);
    for (QLineEdit* e : {static_cast<QLineEdit*>(fromEdit), static_cast<QLineEdit*>(toEdit),
                         static_cast<QLineEdit*>(quantityEdit)})
        e->setFixedWidth(120);

    notesMemo = new vok::DBMemo(this);
    notesMemo->setObjectName(QStringLiteral("DBMemo1"));
    notesMemo->setDataSource(entries_, fields.notes);
    notesMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    navigator = new vok::DBNavigator(this);
    navigator->setObjectName(QStringLiteral("DBNavigator1"));
    navigator->setDataSource(entries_);
    connect(navigator, &vok::DBNavigator::clicked, this, &EntryWindow::navigatorClicked);

    closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("Button1"));
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this,
            [this] { vok::Guard::run([this] { closeWindow(); }); });

    auto* grid = new QGridLayout;
    const QList<QPair<QLabel*, QWidget*>> rows{
        {projectLabel, projectList}, {majorLabel, majorList}, {actionLabel, actionList},
        {fromLabel, fromEdit},       {toLabel, toEdit},       {quantityLabel, quantityEdit}};
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
    notes->addWidget(notesLabel);
    notes->addWidget(notesMemo, 1);
    notesLabel->setBuddy(notesMemo);
    auto* top = new QHBoxLayout;
    top->addLayout(grid, 3);
    top->addLayout(notes, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(navigator);
    bottom->addStretch(1);
    bottom->addWidget(closeButton);
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

void EntryWindow::navigatorClicked(vok::DBNavigator::Button button) {
    using B = vok::DBNavigator::Button;
    setEntryControlsEnabled(button == B::Insert || button == B::Edit);
}

bool EntryWindow::mayCloseWithLine(QWidget* window, vok::Table& lines,
                                   const std::function<bool()>& save) {
    if (!lines.isActive() || !lines.isEditing())
        return true;
    const QList<vok::DBEdit*> edits = window->findChildren<vok::DBEdit*>();
    const bool refused = std::any_of(edits.begin(), edits.end(), [&](const vok::DBEdit* e) {
        return e->dataLink()->table() == &lines && e->hasInvalidText();
    });
    if (!lines.isModified() && !refused)
        return true; // nothing typed: the line goes as it came
    switch (vok::Messages::show({vok::Messages::Icon::Question, window->windowTitle(),
                                 QStringLiteral("The line you are typing is not stored yet. "
                                                "Save it?"),
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel})) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        for (vok::DBEdit* e : edits) {
            if (e->dataLink()->table() == &lines)
                e->reload();
        }
        lines.cancel();
        return true;
    default:
        return false;
    }
}

void EntryWindow::reject() {
    const bool close = mayCloseWithLine(this, *entries_, [this] {
        navigator->click(vok::DBNavigator::Button::Post); // a refusal is said there
        return !entries_->isEditing();
    });
    if (!close)
        return;
    if (!entries_->isActive() || !entries_->isEditing())
        setEntryControlsEnabled(false);
    QDialog::reject();
}

bool EntryWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        vok::Guard::run([this] { FormActivate(); });
    return QDialog::event(e);
}
