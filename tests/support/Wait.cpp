#include "Wait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

bool WaitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // Polls a condition outside the event loop (a file, a child process) without spinning.
        QThread::msleep(2);
    }
    return true;
}

void RunEventsFor(int milliseconds)
{
    WaitUntil([] { return false; }, milliseconds);
}
