#include "treesplitter.h"

#include "app/userstate.h"

#include <QTimer>

namespace {

const QString widthKey = QStringLiteral("TreeWidth");

} // namespace

TreeSplitter::TreeSplitter(QWidget* tree, QWidget* pages, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), pause_(new QTimer(this)) {
    setObjectName(QStringLiteral("TreeSplitter"));
    setChildrenCollapsible(false);
    addWidget(tree);
    addWidget(pages);
    // A wider window widens the pages; the tree keeps what the user gave it.
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    tree->setMinimumWidth(Narrowest);
    const int width = std::max(Narrowest, UserState::value(widthKey, FirstWidth));
    setSizes({width, std::max(1, this->width() - width)});
    // A drag moves the line many times a second: the width is stored once it rests.
    pause_->setSingleShot(true);
    pause_->setInterval(400);
    connect(pause_, &QTimer::timeout, this,
            [this] { UserState::setValue(widthKey, sizes().value(0)); });
    connect(this, &QSplitter::splitterMoved, pause_, qOverload<>(&QTimer::start));
}

void TreeSplitter::keepWidth() {
    if (!pause_->isActive())
        return;
    pause_->stop();
    UserState::setValue(widthKey, sizes().value(0));
}
