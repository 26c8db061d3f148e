#pragma once

// A pseudo-terminal that stands in for the meter's serial port: the test
// writes to the master side, the program opens the slave through a symbolic
// link whose path the settings map to a port number, as for a USB adapter.

#include "MeterFrame.h"

#include <QString>

#include <vector>

class PtyFeeder {
public:
    // Opens a new pseudo-terminal and points linkPath at its slave.
    explicit PtyFeeder(const QString &linkPath);
    ~PtyFeeder();
    PtyFeeder(const PtyFeeder &) = delete;
    PtyFeeder &operator=(const PtyFeeder &) = delete;

    bool isValid() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }
    QString linkPath() const { return linkPath_; }

    bool write(const std::vector<std::uint8_t> &bytes);
    bool write(const MeterFrame &frame);
    // Closes the master side and removes the link, as when an adapter is pulled out.
    void unplug();

private:
    int master_ = -1;
    QString slavePath_;
    QString linkPath_;
};
