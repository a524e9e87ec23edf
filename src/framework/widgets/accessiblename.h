#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLabel;
class QWidget;

namespace vok {

// Names a control for assistive tools after a caption shown elsewhere (the title of the tab or
// group box it fills), where no label can be its buddy. The caption is read again whenever the
// control shows or takes the focus, which is when a screen reader announces it, and when the
// interface language changes, so the name follows the caption into another language at once.
class AccessibleName : public QObject {
    Q_OBJECT
public:
    static void follow(QWidget* control, std::function<QString()> caption);
    // A list or table after the label above it: Qt names those by their accessible name only,
    // a buddy label is not enough.
    static void follow(QWidget* control, const QLabel* caption);

private:
    AccessibleName(QWidget* control, std::function<QString()> caption);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void refresh();

    QWidget* control_;
    std::function<QString()> caption_;
};

} // namespace vok
