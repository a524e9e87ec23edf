#pragma once

#include <QLabel>

// How much of a budget is used, at a glance: a bar filled to the share used with the figure over
// it ("177 of 960 h, 18 %"); past the budget it fills whole in the warning colour and says by how
// much ("over by 12 h"). Its text is what assistive tools read.
class BudgetBar : public QLabel {
    Q_OBJECT
public:
    explicit BudgetBar(QWidget* parent);

    // The share used in percent (beyond 100 when over) and the figure written over it.
    void setUse(double share, bool over, const QString& figure);
    bool isOver() const { return over_; }

    // The desktop palette's colour for a warning: its bright text, which Qt's own palettes keep
    // red; where that is no red, a red of its own, dark on a light base and light on a dark one.
    static QColor warningColour(const QPalette& palette);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double share_ = 0;
    bool over_ = false;
};
