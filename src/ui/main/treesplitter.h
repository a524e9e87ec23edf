#pragma once

#include <QSplitter>

class QTimer;

// The tree and the pages side by side, the line between them dragged to give names more room.
// The tree's width is the user's own, kept between runs in the user's state file; a width never
// stored is the tree's first width.
class TreeSplitter : public QSplitter {
    Q_OBJECT
public:
    TreeSplitter(QWidget* tree, QWidget* pages, QWidget* parent);
    // Stores a width the user dragged and has not been stored yet (when the window closes).
    void keepWidth();

    static constexpr int FirstWidth = 321;
    static constexpr int Narrowest = 120;

private:
    QTimer* pause_;
};
