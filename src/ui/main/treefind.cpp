#include "treefind.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>

namespace {

// The same words as the Edit menu's item, and so the same caption row.
const char* const placeholder = QT_TRANSLATE_NOOP("Form1", "Find in the tree");

} // namespace

TreeFind::TreeFind(QWidget* parent) : QLineEdit(parent), pause_(new QTimer(this)) {
    setObjectName(QStringLiteral("TreeFind"));
    setPlaceholderText(QCoreApplication::translate("Form1", placeholder));
    setClearButtonEnabled(true);
    hide();
    // Each keystroke of a word would otherwise search the whole folder again.
    pause_->setSingleShot(true);
    pause_->setInterval(200);
    connect(pause_, &QTimer::timeout, this, [this] { Q_EMIT filterChanged(text()); });
    connect(this, &QLineEdit::textEdited, pause_, qOverload<>(&QTimer::start));
}

void TreeFind::open() {
    show();
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
}

void TreeFind::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    pause_->stop();
    const bool filtered = !text().isEmpty();
    clear();
    pause_->stop();
    hide();
    if (filtered)
        Q_EMIT filterChanged(QString());
    Q_EMIT closed();
}

void TreeFind::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        setPlaceholderText(QCoreApplication::translate("Form1", placeholder));
    QLineEdit::changeEvent(event);
}
