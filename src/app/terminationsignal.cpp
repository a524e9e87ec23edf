#include "terminationsignal.h"

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only write to a descriptor; the event loop reads the other end.
int pipeEnds[2] = {-1, -1};
constexpr std::array handledSignals{SIGTERM, SIGHUP, SIGINT};

extern "C" void writeSignal(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &number, 1);
}

void setHandler(void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : handledSignals)
        ::sigaction(s, &action, nullptr);
}

} // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0)
        throw std::runtime_error("Cannot watch for the signals that end the session");
    notifier_ = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignal::onReadable);
    setHandler(writeSignal);
}

TerminationSignal::~TerminationSignal() {
    setHandler(SIG_DFL);
    notifier_->setEnabled(false);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignal::onReadable() {
    unsigned char number = 0;
    if (::read(pipeEnds[1], &number, 1) == 1)
        Q_EMIT received(number);
}
