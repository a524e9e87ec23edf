#pragma once

#include <QObject>
#include <chrono>

class QSocketNotifier;
class QTimer;

namespace vok {

class Store;

// Tells when another connection has committed a change to the data a store is connected to.
// At every interval it asks the engine whether anyone else committed (on a folder, a look at the
// database file's change counter). Where the engine sends notices of commits (a server) it
// listens instead: it asks when a notice came, at once when the connection is idle, and only now
// and then otherwise, in case notices cannot reach it. Never inside a unit of work, whose lock
// keeps the others out.
class ChangeWatch : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds DefaultInterval{1000};
    // How often the engine is asked while its notices come.
    static constexpr std::chrono::milliseconds AskingInterval{30000};

    explicit ChangeWatch(Store& store, QObject* parent = nullptr);
    ~ChangeWatch() override;

    void start(std::chrono::milliseconds interval = DefaultInterval);
    void stop();
    bool isActive() const;
    // Whether the engine's notices tell of commits.
    bool hearsNotices() const { return notifier_ != nullptr; }
    // How many times it asked the engine: the cost of watching.
    quint64 looks() const { return looks_; }

Q_SIGNALS:
    // Another connection committed since the last signal: found by this watch, or by any read
    // through the store meanwhile.
    void othersCommitted();

private:
    void check(bool tick);
    // Listens where the engine can, and takes what the store knows now as the ground to tell
    // changes from.
    void arm();
    void disarm();

    Store& store_;
    QTimer* timer_;
    QSocketNotifier* notifier_ = nullptr;
    bool armed_ = false;
    int ticksPerAsk_ = 1;
    int quietTicks_ = 0;
    quint64 looks_ = 0;
    quint64 told_ = 0;
};

} // namespace vok
