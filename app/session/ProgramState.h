#pragma once

// Everything the program keeps for the whole run: the recording, the receive
// cycle's state between frames, the visible window of the charts and the texts
// of the statistics labels. The main window owns one instance and hands it by
// reference to the parts that read or write it.

#include "LimitAlarm.h"
#include "SampleStore.h"

#include <OleColor.h>

#include <QString>

#include <cstdint>
#include <optional>

// A window the user zoomed or panned to: the chart's left edge and width as
// positions on the x axis (sample numbers, or tick seconds in time mode).
struct ZoomWindow {
    double left = 0;
    double span = 1;
    bool timeMode = true; // the axis the window was taken on
};

// The visible window shared by both charts, and the chart read-out marks.
struct ViewState {
    std::int32_t ViewFirst = 1;
    std::int32_t ViewLast = 1;
    std::int32_t ViewMaxIndex = 0; // set by each redraw of chart 1
    std::int32_t ViewMinIndex = 0;
    float ViewSum = 0;
    std::int32_t MarkIndex1 = 0; // sample with the red circle on chart 1
    std::int32_t MarkIndex2 = 0; // ... and on chart 2
    bool TimeMode = true;        // x axis in elapsed seconds, else sample numbers
    OleColor FirstLineColor = 0x00FF00;
    OleColor SecondLineColor = 0xFFFF00;
    // Empty while the charts follow the newest sample as they always did.
    std::optional<ZoomWindow> Zoom;
};

// Captions of the ALL AREA (a...) and VISUAL AREA (v...) labels; the printed
// trend pages repeat them.
struct StatisticsLabels {
    QString aMAX, aMAXDate, aMIN, aMINDate, aAVG, aAVGDate;
    QString vMAX, vMAXDate, vMIN, vMINDate, vAVG, vAVGDate;

    void clear() { *this = StatisticsLabels(); }
};

// The limit alarms as Options set them: the limits the charts draw and the
// window checks each new sample against while it records.
struct AlarmSettings {
    LimitSettings limits;
    bool sound = false; // a beep when an alarm is raised
};

struct ProgramState {
    SampleStore store;
    AcquisitionState acquisition;
    ViewState view;
    StatisticsLabels statistics;
    AlarmSettings alarms;
    QString RecordFileName;      // full path of the current file; empty when never saved or loaded
    std::int16_t portNumber = 1; // serial port in use, 1..4
};
