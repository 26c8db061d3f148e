#pragma once

// The ALL AREA and VISUAL AREA groups: maximum, minimum and average of the
// first display with their times, for the whole recording and for what the
// charts show. The labels keep their design-time names.

#include "ProportionalLayout.h"

#include <QCoreApplication>

#include <array>

class QGroupBox;
class QLabel;
class QWidget;
struct StatisticsLabels;

class StatisticsPanel {
    // Its texts are the window's.
    Q_DECLARE_TR_FUNCTIONS(MainFrm)

public:
    QGroupBox *Frame3 = nullptr; // ALL AREA
    QGroupBox *Frame2 = nullptr; // VISUAL AREA
    QLabel *aMAX = nullptr, *aMAXDate = nullptr, *aMIN = nullptr, *aMINDate = nullptr, *aAVG = nullptr,
           *aAVGDate = nullptr;
    QLabel *vMAX = nullptr, *vMAXDate = nullptr, *vMIN = nullptr, *vMINDate = nullptr, *vAVG = nullptr,
           *vAVGDate = nullptr;

protected:
    void buildStatisticsPanel(QWidget *central, ProportionalLayout &layout);
    void showStatisticsLabels(const StatisticsLabels &labels);

private:
    void buildGroup(QWidget *central, QGroupBox *&frame, const QString &name, const QString &caption, qreal top,
                    std::array<QLabel **, 6> labels, const QString &prefix);

    ProportionalLayout *panelLayout_ = nullptr; // the window's, which also fits shown texts
};
