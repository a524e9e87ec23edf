#include "budgetbar.h"

#include <QPainter>
#include <algorithm>

namespace {

// A colour toned down towards the base, so that text stays readable over it.
QColor over(const QColor& colour, const QColor& base, double share) {
    return QColor::fromRgbF(
        static_cast<float>(colour.redF() * share + base.redF() * (1 - share)),
        static_cast<float>(colour.greenF() * share + base.greenF() * (1 - share)),
        static_cast<float>(colour.blueF() * share + base.blueF() * (1 - share)));
}

} // namespace

BudgetBar::BudgetBar(QWidget* parent) : QLabel(parent) {
    setMinimumWidth(180);
    setIndent(6);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

QColor BudgetBar::warningColour(const QPalette& palette) {
    const QColor bright = palette.color(QPalette::BrightText);
    const int hue = bright.hslHue();
    if (bright.hslSaturation() > 100 && (hue <= 20 || hue >= 340))
        return bright;
    return palette.color(QPalette::Base).lightness() > 128 ? QColor(0xb0, 0x00, 0x00)
                                                           : QColor(0xff, 0x70, 0x70);
}

void BudgetBar::setUse(double share, bool over, const QString& figure) {
    share_ = share;
    over_ = over;
    QPalette p = palette();
    p.setColor(QPalette::WindowText,
               over ? warningColour(QPalette()) : QPalette().color(QPalette::WindowText));
    setPalette(p);
    setText(figure);
    setToolTip(figure);
    update();
}

QSize BudgetBar::sizeHint() const {
    // About as tall as the edits beside it.
    return {QLabel::sizeHint().width() + 12, fontMetrics().height() + 10};
}

void BudgetBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    {
        const QPalette& p = palette();
        const QRect track = rect().adjusted(0, 2, -1, -3);
        painter.setPen(p.color(QPalette::Mid));
        painter.setBrush(p.color(QPalette::Base));
        painter.drawRect(track);
        const QColor base = p.color(QPalette::Base);
        const QColor fill = over_ ? over(warningColour(p), base, 0.25)
                                  : over(p.color(QPalette::Highlight), base, 0.35);
        const int width =
            static_cast<int>((track.width() - 1) * std::clamp(share_, 0.0, 100.0) / 100.0);
        if (over_ || width > 0)
            painter.fillRect(QRect(track.left() + 1, track.top() + 1,
                                   over_ ? track.width() - 1 : width, track.height() - 1),
                             fill);
    }
    // A figure longer than the bar ends in an ellipsis; its tooltip and its text, which assistive
    // tools read, hold it whole.
    const QRect room = contentsRect().adjusted(indent(), 0, -indent(), 0);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(room, static_cast<int>(alignment()),
                     fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
}
