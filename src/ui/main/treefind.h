#pragma once

#include <QLineEdit>

class QTimer;

// The filter field above the project tree, hidden until Find opens it. What is typed, once the
// typing pauses, keeps the nodes whose names hold it with their parents (filterChanged); Escape
// empties and closes it, and the whole tree comes back (filterChanged with no text).
class TreeFind : public QLineEdit {
    Q_OBJECT
public:
    explicit TreeFind(QWidget* parent);
    // Shows the field with the focus in it, its text selected to be typed over.
    void open();

Q_SIGNALS:
    void filterChanged(const QString& text);
    // Escape closed the field: the focus goes back to the tree.
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QTimer* pause_;
};
