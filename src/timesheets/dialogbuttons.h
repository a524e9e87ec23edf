#pragma once

#include <QString>

class QBoxLayout;
class QPushButton;
class QWidget;

// The buttons at the foot of the small dialogs: named as their component, laid out in a row.
class DialogButtons {
public:
    static QPushButton* make(QWidget* dialog, const char* name, const QString& text);
    // A row with the buttons on the right (or centred), as the dialogs place them.
    static QBoxLayout* row(QPushButton* first, QPushButton* second, bool centred = false);
};
