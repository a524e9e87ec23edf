#pragma once

#include <QObject>
#include <chrono>

class MainWindow;
class QTimer;

namespace vok {
class ChangeWatch;
class Store;
} // namespace vok

// Shows what other installations store while the main window runs. A watch on the store tells
// of their commits; the window then reads again what it shows (the page's record and its lists,
// the tree), never over the user's hands: a field being typed into keeps its text, and while a
// dialog or an entry window is open, a record is being added or a menu is open, the window waits
// until that ends. A quiet note in the status bar says when it was updated.
class LiveUpdate : public QObject {
    Q_OBJECT
public:
    explicit LiveUpdate(MainWindow& window);
    ~LiveUpdate() override;

    // Starts watching the store's data; where it is running already, nothing changes.
    void start(vok::Store& store);
    bool isActive() const;
    // The status bar's note after an update, at the given time in hours and minutes as the
    // locale writes them.
    static QString note(const QTime& at);

private:
    void othersCommitted();
    // Reads again when the window is free to; otherwise tries again shortly.
    void tryNow();

    MainWindow& window_;
    vok::ChangeWatch* watch_ = nullptr;
    QTimer* retry_;
    bool pending_ = false;
    // The shown record's fields were read while something was being typed: the rest waits.
    bool recordRead_ = false;
};
