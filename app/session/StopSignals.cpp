#include "StopSignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> Caught = {SIGINT, SIGTERM, SIGHUP};

// The end the handler writes to; -1 while no StopSignals is active.
std::atomic<int> requestEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads it");

std::array<struct sigaction, Caught.size()> previous{};
std::array<bool, Caught.size()> replaced{};

extern "C" void onStopSignal(int signalNumber)
{
    const int savedErrno = errno;
    const int end = requestEnd.load();
    const char byte = char(signalNumber);
    // A full socket means a stop is already on its way; the write end does not block.
    if (end >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(end, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    if (requestEnd.load() >= 0)
        return; // another one holds the handlers
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pair_) != 0) {
        pair_[0] = pair_[1] = -1;
        return;
    }
    requestEnd.store(pair_[1]);
    notifier_ = new QSocketNotifier(pair_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::readRequests);

    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    active_ = true;
    for (std::size_t i = 0; i < Caught.size(); ++i) {
        replaced[i] = false;
        if (::sigaction(Caught[i], nullptr, &previous[i]) != 0) {
            active_ = false;
            break;
        }
        if (Caught[i] == SIGHUP && previous[i].sa_handler == SIG_IGN)
            continue;
        if (::sigaction(Caught[i], &action, nullptr) != 0) {
            active_ = false;
            break;
        }
        replaced[i] = true;
    }
    if (!active_)
        restoreHandlers();
}

StopSignals::~StopSignals()
{
    if (pair_[1] < 0)
        return;
    restoreHandlers();
    requestEnd.store(-1);
    delete notifier_;
    ::close(pair_[0]);
    ::close(pair_[1]);
}

void StopSignals::restoreHandlers()
{
    for (std::size_t i = 0; i < Caught.size(); ++i) {
        if (replaced[i])
            ::sigaction(Caught[i], &previous[i], nullptr);
        replaced[i] = false;
    }
}

void StopSignals::readRequests()
{
    char bytes[16];
    ssize_t n;
    while ((n = ::read(pair_[0], bytes, sizeof bytes)) > 0 || (n < 0 && errno == EINTR)) {
        for (ssize_t i = 0; i < n; ++i)
            emit stopRequested(int(static_cast<unsigned char>(bytes[i])));
    }
}
