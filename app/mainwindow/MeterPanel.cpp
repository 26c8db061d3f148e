#include "MeterPanel.h"

#include "SymbolImage.h"
#include "TrendView.h"

#include <LED.h>
#include <PropertyBag.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// The meter mirror's colours: bright segments on a dark panel.
const QColor PanelColor(0x14, 0x1A, 0x16);
const QColor SegmentColor(0x6C, 0xF0, 0x5A);
constexpr OleColor SegmentOle = 0x5AF06C;
constexpr OleColor PanelOle = 0x161A14;

// Property bags saved with the window's layout, one per display.
PropertyBag ledBag(const QString &caption, int cells, int segWidth)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("BackColor"), PanelOle, 0xFFFFFF);
    bag.WriteProperty(QStringLiteral("ForeColor"), SegmentOle, 0);
    bag.WriteProperty(QStringLiteral("Caption"), caption, QStringLiteral("88888"));
    bag.WriteProperty(QStringLiteral("SegWidth"), segWidth, 8);
    bag.WriteProperty(QStringLiteral("Interval"), 1, 2);
    bag.WriteProperty(QStringLiteral("CharCounter"), cells, 5);
    return bag;
}

QLabel *panelLabel(QWidget *parent, const QString &text, qreal pointSize, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(pointSize);
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, SegmentColor);
    label->setPalette(palette);
    return label;
}

QFrame *filledBar(QWidget *parent, const QColor &color)
{
    auto *bar = new QFrame(parent);
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, color);
    bar->setPalette(palette);
    return bar;
}

} // namespace

void MeterPanel::buildMeterPanel(QWidget *central, ProportionalLayout &layout)
{
    Frame1 = new QGroupBox(tr("READING"), central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    layout.add(Frame1, QRectF(10, 4, 330, 382));

    auto *panel = new QFrame(Frame1);
    panel->setObjectName(QStringLiteral("ReadingPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, PanelColor);
    panel->setPalette(palette);
    layout.add(panel, QRectF(8, 24, 314, 350));

    // Symbols across the top, in the meter's order.
    const SymbolImage::Kind kinds[SymbolCount] = {SymbolImage::Kind::Hold,           SymbolImage::Kind::HighVoltage,
                                                  SymbolImage::Kind::Phase1,         SymbolImage::Kind::Phase2,
                                                  SymbolImage::Kind::Phase3,         SymbolImage::Kind::Sum,
                                                  SymbolImage::Kind::ThreePhaseWatt, SymbolImage::Kind::CircledP,
                                                  SymbolImage::Kind::Battery,        SymbolImage::Kind::Watt};
    for (int i = 0; i < SymbolCount; ++i) {
        auto *symbol = new SymbolImage(kinds[i], SegmentColor, panel);
        symbol->setObjectName(QStringLiteral("P01_%1").arg(i));
        P01[std::size_t(i)] = symbol;
        layout.add(symbol, QRectF(6 + i * 30.4, 8, 26, 22));
    }

    L01[0] = panelLabel(panel, QString(), 11, Qt::AlignLeft | Qt::AlignVCenter); // AC / DC
    L01[1] = panelLabel(panel, QString(), 9, Qt::AlignLeft | Qt::AlignVCenter);  // PF, FREQ, MAX, Time, MIN
    L01[2] = panelLabel(panel, QString(), 9, Qt::AlignCenter);                   // MR / MEM
    L01[3] = panelLabel(panel, QString(), 15, Qt::AlignLeft | Qt::AlignVCenter); // first unit
    L01[4] = panelLabel(panel, QString(), 11, Qt::AlignLeft | Qt::AlignVCenter); // second unit
    for (int i = 0; i < 5; ++i)
        L01[std::size_t(i)]->setObjectName(QStringLiteral("L01_%1").arg(i));
    layout.add(L01[0], QRectF(6, 40, 44, 22));
    layout.add(L01[1], QRectF(6, 156, 56, 20));
    layout.add(L01[2], QRectF(250, 214, 58, 20));
    layout.add(L01[3], QRectF(256, 112, 56, 30));
    layout.add(L01[4], QRectF(194, 204, 54, 26));

    L02 = filledBar(panel, SegmentColor);
    L02->setObjectName(QStringLiteral("L02"));
    layout.add(L02, QRectF(12, 88, 24, 6));
    L03 = filledBar(panel, SegmentColor);
    L03->setObjectName(QStringLiteral("L03"));
    layout.add(L03, QRectF(12, 190, 20, 5));

    LCD1 = new LEDCtl1::LED(panel);
    LCD1->setObjectName(QStringLiteral("LCD1"));
    layout.add(LCD1, QRectF(40, 36, 214, 110));
    LCD2 = new LEDCtl1::LED(panel);
    LCD2->setObjectName(QStringLiteral("LCD2"));
    layout.add(LCD2, QRectF(40, 152, 152, 80));
    LCD3 = new LEDCtl1::LED(panel);
    LCD3->setObjectName(QStringLiteral("LCD3"));
    layout.add(LCD3, QRectF(252, 158, 56, 52));

    // The bar graph: segment 0 is always lit, 1..40 follow the meter; a tick
    // under every segment, a longer one every fifth.
    const qreal left = 8, step = 7.1, top = 262;
    for (int i = 0; i <= BarSegments; ++i) {
        QFrame *segment = filledBar(panel, SegmentColor);
        segment->setObjectName(QStringLiteral("L0_%1").arg(i));
        L0[std::size_t(i)] = segment;
        layout.add(segment, QRectF(left + i * step, top, step - 2, 22));
        QFrame *tick = filledBar(panel, SegmentColor);
        tick->setObjectName(QStringLiteral("L0_%1").arg(i + 41));
        L0[std::size_t(i + 41)] = tick;
        const qreal tickHeight = i % 5 == 0 ? 9 : 5;
        layout.add(tick, QRectF(left + i * step + (step - 2) / 2 - 0.75, top + 26, 1.5, tickHeight));
    }
    L41 = new SymbolImage(SymbolImage::Kind::BarArrow, SegmentColor, panel);
    L41->setObjectName(QStringLiteral("L41"));
    layout.add(L41, QRectF(left + 41 * step + 2, top + 1, 10, 20));

    Start = new QPushButton(tr("START"), central);
    Stop = new QPushButton(tr("STOP"), central);
    // One of the two is always down, as showRunning sets them. Not
    // auto-exclusive: Qt makes such a pair a single stop for the Tab key.
    for (QPushButton *button : {Start, Stop}) {
        button->setCheckable(true);
        QFont font = button->font();
        font.setBold(true);
        font.setPointSizeF(12);
        button->setFont(font);
    }
    Start->setObjectName(QStringLiteral("Start"));
    Stop->setObjectName(QStringLiteral("Stop"));
    Stop->setChecked(true);
    layout.add(Start, QRectF(10, 392, 160, 42));
    layout.add(Stop, QRectF(180, 392, 160, 42));

    LCD1->setToolTip(tr("First display: the meter's upper reading"));
    LCD2->setToolTip(tr("Second display: the meter's lower reading"));
    LCD3->setToolTip(tr("Memory location of the meter (MR: recalled, MEM: stored)"));
    Start->setToolTip(tr("Open the serial port and record the meter's readings"));
    Stop->setToolTip(tr("Stop recording and close the serial port"));
    LCD1->setAccessibleName(tr("First display"));
    LCD2->setAccessibleName(tr("Second display"));
    LCD3->setAccessibleName(tr("Memory location"));
}

void MeterPanel::readDisplayProperties()
{
    LCD1->ReadProperties(ledBag(QStringLiteral("8.8.8.8"), 4, 3));
    LCD2->ReadProperties(ledBag(QStringLiteral("88:88"), 4, 2));
    LCD3->ReadProperties(ledBag(QStringLiteral("00"), 2, 2));
}

void MeterPanel::showMeterFrame(const DecodedFrame &frame)
{
    const DisplayElements &d = frame.display;
    for (int i = 0; i < 5; ++i)
        L01[std::size_t(i)]->setText(QString::fromStdString(d.L01[std::size_t(i)]));
    for (int i = 0; i < SymbolCount; ++i)
        P01[std::size_t(i)]->setVisible(d.P01[std::size_t(i)]);
    L02->setVisible(d.L02);
    L03->setVisible(d.L03);
    LCD1->setCaption(QString::fromStdString(d.LCD1));
    LCD2->setCaption(QString::fromStdString(d.LCD2));
    LCD3->setCaption(QString::fromStdString(d.LCD3));
    L41->setVisible(d.L41);
    for (int s = 1; s <= BarSegments; ++s)
        L0[std::size_t(s)]->setVisible(d.L0[std::size_t(s)]);
}

void MeterPanel::lightHoldSymbol(bool lit)
{
    P01[SymbolHold]->setVisible(lit);
}

void MeterPanel::resetMeterPanel()
{
    LCD1->setCaption(QStringLiteral("8.8.8.8"));
    LCD2->setCaption(QStringLiteral("88:88"));
    LCD3->setCaption(QStringLiteral("00"));
    for (QFrame *segment : L0)
        segment->setVisible(true);
    L41->setVisible(true);
}

void MeterPanel::showDisplayAlarms(bool firstInAlarm, bool secondInAlarm)
{
    LCD1->setForeColor(firstInAlarm ? TrendView::AlarmColor : SegmentOle);
    LCD2->setForeColor(secondInAlarm ? TrendView::AlarmColor : SegmentOle);
}
