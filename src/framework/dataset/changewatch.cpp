#include "changewatch.h"

#include "databaseerror.h"
#include "store.h"

#include <QSocketNotifier>
#include <QTimer>

namespace vok {

using namespace std::chrono_literals;

ChangeWatch::ChangeWatch(Store& store, QObject* parent)
    : QObject(parent), store_(store), timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, [this] { check(true); });
    connect(&store_, &Store::aboutToClose, this, &ChangeWatch::disarm);
}

ChangeWatch::~ChangeWatch() = default;

void ChangeWatch::start(std::chrono::milliseconds interval) {
    ticksPerAsk_ = static_cast<int>(std::max<qint64>(1, AskingInterval / std::max(interval, 1ms)));
    timer_->start(interval);
    rebase();
}

void ChangeWatch::rebase() {
    // An engine's first answer tells nothing: it has not looked before.
    try {
        const bool look = store_.isOpen() && store_.transactionDepth() == 0;
        told_ = store_.othersCommits(look);
        looks_ += look ? 1 : 0;
        rebased_ = true;
    } catch (const DatabaseError&) {
        rebased_ = false;
    }
}

void ChangeWatch::stop() {
    timer_->stop();
    disarm();
}

bool ChangeWatch::isActive() const {
    return timer_->isActive();
}

void ChangeWatch::arm() {
    armed_ = true;
    if (!store_.engine().listenForCommits())
        return;
    notifier_ = new QSocketNotifier(store_.engine().noticeSocket(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { check(false); });
    quietTicks_ = 0;
}

void ChangeWatch::disarm() {
    delete notifier_;
    notifier_ = nullptr;
    armed_ = false;
    rebased_ = false; // a connection opened again starts afresh
}

void ChangeWatch::check(bool tick) {
    // Inside a unit the socket is the unit's: what arrived waits for the next tick.
    const bool busy = !store_.isOpen() || store_.transactionDepth() > 0;
    if (notifier_)
        notifier_->setEnabled(!busy || tick);
    if (busy)
        return;
    if (!rebased_) {
        rebase();
        return;
    }
    try {
        if (!armed_)
            arm();
        bool look = true;
        if (notifier_) {
            const bool told = store_.engine().takeCommitNotices();
            look = told || (tick && ++quietTicks_ >= ticksPerAsk_);
        }
        if (look) {
            quietTicks_ = 0;
            ++looks_;
        }
        const quint64 seen = store_.othersCommits(look);
        if (seen == told_)
            return;
        told_ = seen;
    } catch (const DatabaseError&) {
        // A connection that broke is told by what the user does next, not by a timer.
        return;
    }
    Q_EMIT othersCommitted();
}

} // namespace vok
