#include "StatisticsPanel.h"

#include "ProgramState.h"

#include <QGroupBox>
#include <QLabel>

#include <utility>

void StatisticsPanel::buildStatisticsPanel(QWidget *central, ProportionalLayout &layout)
{
    panelLayout_ = &layout;
    buildGroup(central, Frame3, QStringLiteral("Frame3"), tr("ALL AREA"), 440,
               {&aMAX, &aMAXDate, &aMIN, &aMINDate, &aAVG, &aAVGDate}, QStringLiteral("a"));
    buildGroup(central, Frame2, QStringLiteral("Frame2"), tr("VISUAL AREA"), 560,
               {&vMAX, &vMAXDate, &vMIN, &vMINDate, &vAVG, &vAVGDate}, QStringLiteral("v"));

    aMAX->setToolTip(tr("Largest first-display value of the whole recording"));
    aMAXDate->setToolTip(tr("When the largest value of the whole recording was taken"));
    aMIN->setToolTip(tr("Smallest first-display value of the whole recording"));
    aMINDate->setToolTip(tr("When the smallest value of the whole recording was taken"));
    aAVG->setToolTip(tr("Average of the first display over the whole recording"));
    aAVGDate->setToolTip(tr("When the newest sample was taken"));
    vMAX->setToolTip(tr("Largest first-display value the charts show"));
    vMAXDate->setToolTip(tr("When the largest value the charts show was taken"));
    vMIN->setToolTip(tr("Smallest first-display value the charts show"));
    vMINDate->setToolTip(tr("When the smallest value the charts show was taken"));
    vAVG->setToolTip(tr("Average of the first display over the samples the charts show"));
    vAVGDate->setToolTip(tr("When the last sample the charts show was taken"));
}

void StatisticsPanel::buildGroup(QWidget *central, QGroupBox *&frame, const QString &name, const QString &caption,
                                 qreal top, std::array<QLabel **, 6> labels, const QString &prefix)
{
    frame = new QGroupBox(caption, central);
    frame->setObjectName(name);
    panelLayout_->add(frame, QRectF(10, top, 330, 118));
    const QString titles[3] = {tr("MAX:"), tr("MIN:"), tr("AVG:")};
    const QString names[6] = {prefix + QStringLiteral("MAX"), prefix + QStringLiteral("MAXDate"),
                              prefix + QStringLiteral("MIN"), prefix + QStringLiteral("MINDate"),
                              prefix + QStringLiteral("AVG"), prefix + QStringLiteral("AVGDate")};
    // What a screen reader calls each field, the group's caption first.
    const QString spoken[6] = {tr("%1 maximum").arg(caption), tr("%1 time of the maximum").arg(caption),
                               tr("%1 minimum").arg(caption), tr("%1 time of the minimum").arg(caption),
                               tr("%1 average").arg(caption), tr("%1 time of the last sample").arg(caption)};
    for (int row = 0; row < 3; ++row) {
        auto *title = new QLabel(titles[row], frame);
        panelLayout_->add(title, QRectF(10, 26 + row * 29, 42, 24));
        for (int column = 0; column < 2; ++column) {
            auto *label = new QLabel(frame);
            label->setObjectName(names[row * 2 + column]);
            label->setAccessibleName(spoken[row * 2 + column]);
            if (column == 0)
                title->setBuddy(label);
            label->setFrameShape(QFrame::StyledPanel);
            label->setFrameShadow(QFrame::Sunken);
            label->setAlignment(column == 0 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
            if (column == 0) {
                QFont font = label->font();
                font.setBold(true);
                label->setFont(font);
            }
            *labels[std::size_t(row * 2 + column)] = label;
            panelLayout_->add(label,
                              column == 0 ? QRectF(54, 26 + row * 29, 104, 24) : QRectF(164, 26 + row * 29, 156, 24));
        }
    }
}

void StatisticsPanel::showStatisticsLabels(const StatisticsLabels &labels)
{
    const std::pair<QLabel *, const QString &> fields[] = {
        {aMAX, labels.aMAX}, {aMAXDate, labels.aMAXDate}, {aMIN, labels.aMIN}, {aMINDate, labels.aMINDate},
        {aAVG, labels.aAVG}, {aAVGDate, labels.aAVGDate}, {vMAX, labels.vMAX}, {vMAXDate, labels.vMAXDate},
        {vMIN, labels.vMIN}, {vMINDate, labels.vMINDate}, {vAVG, labels.vAVG}, {vAVGDate, labels.vAVGDate}};
    for (const auto &[label, text] : fields)
        panelLayout_->setFittedText(label, text);
}
