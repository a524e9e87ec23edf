#include "dialogbuttons.h"

#include <QHBoxLayout>
#include <QPushButton>

QPushButton* DialogButtons::make(QWidget* dialog, const char* name, const QString& text) {
    auto* b = new QPushButton(text, dialog);
    b->setObjectName(QLatin1String(name));
    return b;
}

QBoxLayout* DialogButtons::row(QPushButton* first, QPushButton* second, bool centred) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(first);
    row->addWidget(second);
    if (centred)
        row->addStretch(1);
    return row;
}
