#include "dbctrlgridpanel.h"

#include "framework/dataset/field.h"
#include "framework/dataset/table.h"
#include "tablerows.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScopeGuard>

namespace vok {

namespace {

// A panel as assistive tools see it: an item of the grid's list, named by what it shows, and
// selected while its record is the current one.
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(DBCtrlGridPanel* panel)
        : QAccessibleWidget(panel, QAccessible::ListItem) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = static_cast<const DBCtrlGridPanel*>(widget())->isCurrent();
        return s;
    }
};

QAccessibleInterface* panelAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(DBCtrlGridPanel::staticMetaObject.className()))
        return new PanelAccessible(static_cast<DBCtrlGridPanel*>(object));
    return nullptr;
}

} // namespace

DBCtrlGridPanel::DBCtrlGridPanel(const CtrlGridDesign& design, QWidget* parent)
    : QFrame(parent), design_(design) {
    static const bool accessible = [] {
        QAccessible::installFactory(panelAccessible);
        return true;
    }();
    Q_UNUSED(accessible)
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(8);
    if (!design_.lines.isEmpty()) {
        auto* form = new QGridLayout;
        form->setHorizontalSpacing(6);
        form->setVerticalSpacing(2);
        int r = 0;
        for (const CtrlGridDesign::Line& line : design_.lines) {
            QLabel* caption = nullptr;
            if (!line.caption.isEmpty()) {
                caption = new QLabel(line.caption, this);
                caption->setObjectName(line.captionName);
                form->addWidget(caption, r, 0);
            }
            auto* value = new QLabel(this);
            value->setTextFormat(Qt::PlainText);
            if (line.bold) {
                QFont f = value->font();
                f.setBold(true);
                value->setFont(f);
            }
            form->addWidget(value, r, caption ? 1 : 0, 1, caption ? 1 : 2);
            captions_ << caption;
            values_ << value;
            ++r;
        }
        form->setColumnStretch(1, 1);
        form->setRowStretch(r, 1);
        outer->addLayout(form, design_.memoField.isEmpty() ? 1 : 0);
    }
    if (!design_.memoField.isEmpty()) {
        memo_ = new QPlainTextEdit(this);
        memo_->setTabChangesFocus(true);
        outer->addWidget(memo_, 1);
        connect(memo_, &QPlainTextEdit::textChanged, this, [this] {
            if (!loading_)
                Q_EMIT memoEdited(memo_->toPlainText());
        });
    }
}

void DBCtrlGridPanel::setCaption(int line, const QString& text) {
    if (QLabel* c = captions_.value(line))
        c->setText(text);
}

void DBCtrlGridPanel::showRow(const Table& table, const TableRows& rows, int row, bool current) {
    row_ = row;
    if (current_ != current) {
        current_ = current;
        QPalette p = palette();
        p.setColor(QPalette::Window, current ? QColor(0xdd, 0xee, 0xf6)
                                             : parentWidget()->palette().color(QPalette::Window));
        setPalette(p);
        setFrameShadow(current ? QFrame::Sunken : QFrame::Raised);
        QAccessible::State selected;
        selected.selected = true;
        QAccessibleStateChangeEvent change(this, selected);
        QAccessible::updateAccessibility(&change);
    }
    QStringList shown;
    for (int i = 0; i < values_.size(); ++i) {
        const Field* f = table.findField(design_.lines[i].field);
        values_[i]->setText(f && row >= 0 ? rows.text(row, f->index()) : QString());
        if (!values_[i]->text().isEmpty())
            shown << values_[i]->text();
    }
    // A card is named by what it shows (a contact's name, company, telephone…).
    if (!values_.isEmpty())
        setAccessibleName(shown.join(QStringLiteral(", ")));
    if (memo_) {
        // Read with the memo: which record it belongs to.
        QStringList description;
        for (int i = 0; i < values_.size(); ++i) {
            const QLabel* c = captions_[i];
            description << (c ? c->text() + QLatin1Char(' ') : QString()) + values_[i]->text();
        }
        memo_->setAccessibleDescription(description.join(QStringLiteral(", ")));
        const Field* f = table.findField(design_.memoField);
        const QString text = f && row >= 0 ? rows.text(row, f->index()) : QString();
        if (text != memo_->toPlainText()) {
            loading_ = true;
            const auto done = qScopeGuard([this] { loading_ = false; });
            memo_->setPlainText(text);
        }
    }
}

} // namespace vok
