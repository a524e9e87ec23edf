#pragma once

#include <QObject>

class QSocketNotifier;

// The session ending (logout, shutdown) or a terminal's Ctrl+C asks the process to stop with a
// signal (SIGTERM, SIGHUP, SIGINT). Those arrive here as a Qt signal on the user-interface thread,
// so Vok can close its windows and store what was typed instead of dying mid-write.
class TerminationSignal : public QObject {
    Q_OBJECT
public:
    // Only one may exist in the process: it owns the signals' handlers while it lives.
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

Q_SIGNALS:
    void received(int signal);

private:
    void onReadable();

    QSocketNotifier* notifier_;
};
