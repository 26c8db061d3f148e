#include "PtyFeeder.h"

#include <QFile>

#include <pty.h>
#include <unistd.h>

PtyFeeder::PtyFeeder(const QString &linkPath) : linkPath_(linkPath)
{
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
        master_ = -1;
        return;
    }
    // The program opens the slave by name; nothing here keeps it open.
    ::close(slave);
    slavePath_ = QString::fromLocal8Bit(name);
    QFile::remove(linkPath_);
    if (!QFile::link(slavePath_, linkPath_)) {
        ::close(master_);
        master_ = -1;
    }
}

PtyFeeder::~PtyFeeder()
{
    unplug();
}

bool PtyFeeder::write(const std::vector<std::uint8_t> &bytes)
{
    std::size_t done = 0;
    while (master_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return master_ >= 0;
}

bool PtyFeeder::write(const MeterFrame &frame)
{
    return write(std::vector<std::uint8_t>(frame.begin(), frame.end()));
}

void PtyFeeder::unplug()
{
    if (master_ < 0)
        return;
    ::close(master_);
    master_ = -1;
    // Only our own link: a newer feeder may have taken the path meanwhile.
    if (QFile::symLinkTarget(linkPath_) == slavePath_)
        QFile::remove(linkPath_);
}
