#pragma once

// A read-out over a chart: the value and time of the sample clicked on, shown
// for three seconds in a corner of the chart away from the pointer. The frame,
// its labels and its timer keep their design-time names.

#include "ProportionalLayout.h"

#include <QCoreApplication>

class QFrame;
class QLabel;
class QObject;
class QTimer;
class QWidget;
struct Readout;

class ReadoutFrame {
    // Its texts are the window's.
    Q_DECLARE_TR_FUNCTIONS(MainFrm)

public:
    // chart is 1 for the upper chart, 2 for the lower one; the timer belongs to owner.
    ReadoutFrame(int chart, QWidget *central, QObject *owner, ProportionalLayout &layout);

    // Shows the read-out over the chart's area for three seconds.
    void show(const Readout &readout, const QRect &chartArea);
    // Keeps the frame in its corner when the chart moves or grows.
    void place(const QRect &chartArea);

    QFrame *frame = nullptr;
    QLabel *value = nullptr;
    QLabel *time = nullptr;
    QTimer *timer = nullptr;

private:
    ProportionalLayout &layout_;
    bool rightHalf_ = false; // where the read-out was last placed
};
