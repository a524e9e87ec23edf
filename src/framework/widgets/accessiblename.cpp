#include "accessiblename.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QWidget>

namespace vok {

void AccessibleName::follow(QWidget* control, std::function<QString()> caption) {
    new AccessibleName(control, std::move(caption));
}

void AccessibleName::follow(QWidget* control, const QLabel* caption) {
    follow(control,
           [label = QPointer<const QLabel>(caption)] { return label ? label->text() : QString(); });
}

AccessibleName::AccessibleName(QWidget* control, std::function<QString()> caption)
    : QObject(control), control_(control), caption_(std::move(caption)) {
    control_->installEventFilter(this);
    refresh();
}

bool AccessibleName::eventFilter(QObject* watched, QEvent* event) {
    // A language switch changes the caption while the control may have the focus.
    if (watched == control_ && (event->type() == QEvent::Show || event->type() == QEvent::FocusIn ||
                                event->type() == QEvent::LanguageChange))
        refresh();
    return false;
}

void AccessibleName::refresh() {
    // A caption's "&" marks its keyboard mnemonic; "&&" stands for an ampersand.
    QString name = caption_();
    name.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    name.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    if (name != control_->accessibleName())
        control_->setAccessibleName(name);
}

} // namespace vok
