#pragma once

// The READING group: the mirror of the meter's display (symbols, unit labels,
// the three seven-segment displays and the bar graph) with START and STOP
// below it. The main window holds these controls under their design-time names.

#include "MeterFrame.h"
#include "ProportionalLayout.h"

#include <QCoreApplication>

#include <array>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;
class SymbolImage;
struct DecodedFrame;

namespace LEDCtl1 {
class LED;
} // namespace LEDCtl1

class MeterPanel {
    // Its texts are the window's.
    Q_DECLARE_TR_FUNCTIONS(MainFrm)

public:
    QGroupBox *Frame1 = nullptr;

    LEDCtl1::LED *LCD1 = nullptr;
    LEDCtl1::LED *LCD2 = nullptr;
    LEDCtl1::LED *LCD3 = nullptr;
    std::array<QLabel *, 5> L01{};
    QFrame *L02 = nullptr;
    QFrame *L03 = nullptr;
    std::array<SymbolImage *, SymbolCount> P01{};
    std::array<QFrame *, 82> L0{}; // 0..40 bar segments, 41..81 tick marks
    SymbolImage *L41 = nullptr;
    QPushButton *Start = nullptr;
    QPushButton *Stop = nullptr;

protected:
    void buildMeterPanel(QWidget *central, ProportionalLayout &layout);
    // The displays take their stroke reference from the width they have when
    // their bags are read: called once the window is laid out at the design size.
    void readDisplayProperties();

    void showMeterFrame(const DecodedFrame &frame);
    void lightHoldSymbol(bool lit);
    // Every segment lit, as the meter shows it when switched on.
    void resetMeterPanel();
    // A display in alarm shows its value in the alarm colour.
    void showDisplayAlarms(bool firstInAlarm, bool secondInAlarm);
};
