#include "recordtab.h"

#include "framework/dataset/field.h"
#include "framework/dataset/table.h"
#include "framework/widgets/datalink.h"
#include "framework/widgets/dbcheckbox.h"
#include "framework/widgets/dbcombobox.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbmemo.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

QString text(const char* s) {
    return QString::fromUtf8(s);
}

template <typename T> T* named(T* object, const char* name) {
    if (name)
        object->setObjectName(QLatin1String(name));
    return object;
}

} // namespace

RecordTab::RecordTab(std::span<const Row> rows, const Buttons& names, QWidget* parent)
    : QWidget(parent), rows_(rows), grid_(new QGridLayout(this)) {
    QGridLayout* grid = grid_;
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    int line = 0;
    QHBoxLayout* marks = nullptr; // the line of check boxes being filled
    // Widgets are created in tab order, top to bottom. Each caption is the buddy of its control,
    // which names the control for assistive tools in whatever language the caption speaks.
    for (const Row& row : rows) {
        if (row.editor == Editor::Check) {
            if (!marks) {
                marks = new QHBoxLayout;
                marks->setSpacing(16);
                marks->addStretch(1);
                grid->addLayout(marks, line++, 1, 1, 3);
            }
            auto* box = named(new vok::DBCheckBox(text(row.caption), this), row.editorName);
            marks->insertWidget(marks->count() - 1, box);
            links_ << box->dataLink();
            keep(row, nullptr, box, nullptr);
            lines_ << line - 1;
            continue;
        }
        marks = nullptr;
        auto* label = named(new QLabel(text(row.caption), this), row.labelName);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(label, line, 0);
        QWidget* editor = nullptr;
        QLabel* hint = nullptr;
        // A line the Tab key reaches stretches over the columns; a date leaves room for its hint.
        const auto place = [&](auto* control, int columns = 3) {
            grid->addWidget(control, line, 1, 1, columns);
            links_ << control->dataLink();
            editor = control;
            return control;
        };
        switch (row.editor) {
        case Editor::Memo:
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            place(new vok::DBMemo(this))->setMinimumHeight(70);
            break;
        case Editor::Date:
            edits_ << place(new vok::DBDateEdit(this), 1);
            edits_.last()->setFixedWidth(100);
            hint = named(new QLabel(this), row.hintName);
            hint->setEnabled(false); // a hint, greyed
            grid->addWidget(hint, line, 2);
            hints_ << hint;
            break;
        case Editor::Lookup:
            place(new vok::DBComboBox(this));
            break;
        case Editor::Number:
        case Editor::Amount: {
            // A number is reached with the mouse only, not with the Tab key; an amount with both.
            auto* number = new vok::DBEdit(this);
            number->setFixedWidth(row.width);
            number->setFocusPolicy(row.editor == Editor::Amount ? Qt::StrongFocus : Qt::ClickFocus);
            number->setReadOnly(row.readOnly);
            grid->addWidget(number, line, 1, Qt::AlignLeft);
            edits_ << number;
            links_ << number->dataLink();
            editor = number;
            break;
        }
        default:
            edits_ << place(new vok::DBEdit(this));
            break;
        }
        named(editor, row.editorName);
        label->setBuddy(editor);
        keep(row, label, editor, hint);
        lines_ << line++;
    }

    grid->setRowStretch(line++, 1);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    wordButton = named(new QToolButton(this), names.word);
    wordButton->setText(QStringLiteral("Word document"));
    wordButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    buttons->addWidget(wordButton);
    buttons->addStretch(1);
    ok = named(new QPushButton(QStringLiteral("Ok"), this), names.ok);
    cancel = named(new QPushButton(QStringLiteral("Cancel"), this), names.cancel);
    ok->hide();
    cancel->hide();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, line, 0, 1, 4);
}

void RecordTab::keep(const Row& row, QLabel* label, QWidget* editor, QLabel* hint) {
    editors_ << editor;
    labels_ << label;
    // The members each role fills.
    struct Slot {
        QLabel* RecordTab::*label = nullptr;
        vok::DBEdit* RecordTab::*edit = nullptr;
        vok::DBDateEdit* RecordTab::*date = nullptr;
        QLabel* RecordTab::*hint = nullptr;
        vok::DBCheckBox* RecordTab::*check = nullptr;
    };
    static const Slot places[] = {
        {.label = &RecordTab::nameLabel, .edit = &RecordTab::name},
        {.label = &RecordTab::descriptionLabel},
        {.check = &RecordTab::critical},
        {.check = &RecordTab::completed},
        {.label = &RecordTab::fromLabel, .date = &RecordTab::from, .hint = &RecordTab::fromHint},
        {.label = &RecordTab::toLabel, .date = &RecordTab::to, .hint = &RecordTab::toHint},
        {.label = &RecordTab::leaderLabel},
        {.label = &RecordTab::clientLabel, .edit = &RecordTab::client},
        {.label = &RecordTab::percentLabel, .edit = &RecordTab::percent},
        {.label = &RecordTab::hoursLabel, .edit = &RecordTab::hours},
        {.label = &RecordTab::actualLabel, .edit = &RecordTab::actual},
        {.label = &RecordTab::budgetHoursLabel, .edit = &RecordTab::budgetHours},
        {.label = &RecordTab::budgetLabel, .edit = &RecordTab::budget},
    };
    const Slot& slot = places[static_cast<int>(row.role)];
    if (slot.label)
        this->*slot.label = label;
    if (slot.edit)
        this->*slot.edit = static_cast<vok::DBEdit*>(editor);
    if (slot.date)
        this->*slot.date = static_cast<vok::DBDateEdit*>(editor);
    if (slot.hint)
        this->*slot.hint = hint;
    if (slot.check)
        this->*slot.check = static_cast<vok::DBCheckBox*>(editor);
    if (row.role == Role::Description)
        description = static_cast<vok::DBMemo*>(editor);
    if (row.role == Role::Leader)
        leader = static_cast<vok::DBComboBox*>(editor);
}

void RecordTab::bind(vok::Table* table, vok::Table* members) {
    table_ = table;
    for (qsizetype i = 0; i < editors_.size(); ++i) {
        const Row& row = rows_[static_cast<size_t>(i)];
        QWidget* editor = editors_[i];
        const QString field = QLatin1String(row.field);
        switch (row.editor) {
        case Editor::Memo:
            static_cast<vok::DBMemo*>(editor)->setDataSource(table, field);
            break;
        case Editor::Check:
            static_cast<vok::DBCheckBox*>(editor)->setDataSource(table, field);
            break;
        case Editor::Lookup: {
            auto* list = static_cast<vok::DBComboBox*>(editor);
            list->setListSource(members, QStringLiteral("Member_name"));
            list->setDataSource(table, field);
            break;
        }
        default:
            static_cast<vok::DBEdit*>(editor)->setDataSource(table, field);
            break;
        }
    }
    nameFields();
}

void RecordTab::nameFields() {
    if (!table_)
        return;
    for (qsizetype i = 0; i < editors_.size(); ++i) {
        vok::Field* f = table_->findField(QLatin1String(rows_[static_cast<size_t>(i)].field));
        if (!f)
            continue;
        const auto* check = qobject_cast<const QAbstractButton*>(editors_[i]);
        f->setDisplayLabel(labels_[i] ? labels_[i]->text() : check ? check->text() : QString());
    }
}

void RecordTab::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        nameFields();
    QWidget::changeEvent(event);
}

void RecordTab::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Q_EMIT escapePressed();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool RecordTab::hasInvalidText() const {
    return refusedEdit() != nullptr;
}

vok::DBEdit* RecordTab::refusedEdit() const {
    for (vok::DBEdit* e : edits_) {
        if (e->hasInvalidText())
            return e;
    }
    return nullptr;
}

void RecordTab::reload() {
    for (vok::DBEdit* e : std::as_const(edits_))
        e->reload();
}

void RecordTab::placeBeside(Role role, QWidget* widget) {
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const Row& row = rows_[static_cast<size_t>(i)];
        if (row.role != role)
            continue;
        if (row.editor == Editor::Date)
            grid_->addWidget(widget, lines_[i], 3);
        else
            grid_->addWidget(widget, lines_[i], 2, 1, 2);
        return;
    }
}
