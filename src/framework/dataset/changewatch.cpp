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
    if (!armed_ && store_.isOpen() && store_.transactionDepth() == 0)
        arm();
}

void ChangeWatch::stop() {
    timer_->stop();
    disarm();
}

bool ChangeWatch::isActive() const {
    return timer_->isActive();
}

void ChangeWatch::arm() {
    try {
        // Listening first, then the look that everything after is told from: a commit between
        // the two is in both, and none is in neither.
        if (store_.engine().listenForCommits()) {
            notifier_ =
                new QSocketNotifier(store_.engine().noticeSocket(), QSocketNotifier::Read, this);
            connect(notifier_, &QSocketNotifier::activated, this, [this] { check(false); });
        }
        // An engine's first answer tells nothing: it had not looked before.
        told_ = store_.othersCommits(true);
        ++looks_;
        quietTicks_ = 0;
        armed_ = true;
    } catch (const DatabaseError&) {
        disarm(); // tried again at the next tick
    }
}

void ChangeWatch::disarm() {
    delete notifier_;
    notifier_ = nullptr;
    armed_ = false;
}

void ChangeWatch::check(bool tick) {
    // Inside a unit the socket is the unit's: what arrived waits for the next tick.
    const bool busy = !store_.isOpen() || store_.transactionDepth() > 0;
    if (notifier_)
        notifier_->setEnabled(!busy || tick);
    if (busy)
        return;
    if (!armed_) {
        // A connection opened again: watched afresh.
        arm();
        return;
    }
    try {
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
