#include "dbnavigator.h"

#include "datalink.h"
#include "dbedit.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QToolButton>

namespace vok {

namespace {
struct Look {
    const char* name;
    const char* glyph;
    const char* hint;
};
constexpr std::array<Look, 9> looks{{
    {"First", "|\u25C0", "First record"},
    {"Prior", "\u25C0", "Prior record"},
    {"Next", "\u25B6", "Next record"},
    {"Last", "\u25B6|", "Last record"},
    {"Insert", "+", "Insert record"},
    {"Delete", "\u2212", "Delete record"},
    {"Edit", "\u25B2", "Edit record"},
    {"Post", "\u2713", "Post edit"},
    {"Cancel", "\u2715", "Cancel edit"},
}};
} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent), link_(new DataLink(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(looks[i].name));
        b->setText(QString::fromUtf8(looks[i].glyph));
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumSize(26, 25);
        row->addWidget(b);
        const auto which = static_cast<Button>(i);
        connect(b, &QToolButton::clicked, this, [this, which] { click(which); });
        buttons_[i] = b;
    }
    link_->onChange = [this](DataLink::Changes) { updateButtons(); };
    nameButtons();
    updateButtons();
}

void DBNavigator::nameButtons() {
    // A symbol says nothing to a screen reader: each button is named, and hinted, in words of
    // the interface language.
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const QString words = QCoreApplication::translate("Navigator", looks[i].hint);
        buttons_[i]->setToolTip(words);
        buttons_[i]->setAccessibleName(words);
    }
}

void DBNavigator::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        nameButtons();
    QWidget::changeEvent(event);
}

void DBNavigator::setDataSource(Table* table) {
    link_->setTable(table);
    link_->deliver();
    updateButtons();
}

Table* DBNavigator::table() const {
    return link_->table();
}

void DBNavigator::click(Button b) {
    if (Guard::run([&] { act(b); }))
        Q_EMIT clicked(b);
    updateButtons();
}

void DBNavigator::refuseWaitingText() const {
    // The buttons that store the record (moves store a pending change) would store it without a
    // text its control refused, which the user still sees: that text is reported instead.
    for (DBEdit* edit : window()->findChildren<DBEdit*>()) {
        if (edit->dataLink()->table() != link_->table() || !edit->hasInvalidText())
            continue;
        edit->setFocus(Qt::OtherFocusReason);
        throw DatabaseError(edit->refusalMessage(), DatabaseError::Kind::Convert);
    }
}

void DBNavigator::act(Button b) {
    Table* t = link_->table();
    if (!t)
        return;
    if (t->isEditing() && b != Button::Cancel && b != Button::Delete)
        refuseWaitingText();
    switch (b) {
    case Button::First:
        t->first();
        break;
    case Button::Prior:
        t->prior();
        break;
    case Button::Next:
        t->next();
        break;
    case Button::Last:
        t->last();
        break;
    case Button::Insert:
        t->insert();
        break;
    case Button::Delete:
        if (!confirmDelete_ || Messages::confirm(QStringLiteral("Delete record?")))
            t->deleteRecord();
        break;
    case Button::Edit:
        t->edit();
        break;
    case Button::Post:
        t->post();
        break;
    case Button::Cancel:
        t->cancel();
        break;
    }
}

void DBNavigator::updateButtons() {
    const Table* t = link_->table();
    const bool active = t && t->isActive();
    const bool editing = active && t->isEditing();
    const bool empty = !active || t->isEmpty();
    const bool atStart = empty || (!editing && t->recNo() <= 0);
    const bool atEnd = empty || (!editing && t->recNo() >= t->recordCount() - 1);
    button(Button::First)->setEnabled(active && (editing || !atStart));
    button(Button::Prior)->setEnabled(active && (editing || !atStart));
    button(Button::Next)->setEnabled(active && (editing || !atEnd));
    button(Button::Last)->setEnabled(active && (editing || !atEnd));
    button(Button::Insert)->setEnabled(active);
    button(Button::Delete)->setEnabled(active && (!empty || editing));
    button(Button::Edit)->setEnabled(active && !editing);
    button(Button::Post)->setEnabled(editing);
    button(Button::Cancel)->setEnabled(editing);
}

} // namespace vok
