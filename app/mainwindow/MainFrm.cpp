#include "MainFrm.h"

#include "AlarmMonitor.h"
#include "AmperoIcon.h"
#include "HelpFrm.h"
#include "OptionFrm.h"
#include "frmAbout.h"
#include "PrintFrm.h"
#include "PrintPrompts.h"
#include "OptionPrompts.h"
#include "SymbolImage.h"

#include <LED.h>
#include <PropertyBag.h>
#include <Trend.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolTip>

namespace {

// The meter mirror's colours: bright segments on a dark panel.
const QColor PanelColor(0x14, 0x1A, 0x16);
const QColor SegmentColor(0x6C, 0xF0, 0x5A);
constexpr OleColor SegmentOle = 0x5AF06C;
constexpr OleColor PanelOle = 0x161A14;

constexpr int ReadoutMilliseconds = 3000;

// Property bags saved with the window's layout, one per widget.
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

PropertyBag trendBag(int rows, int cols, OleColor frameColor)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TrendBackColor"), 0x404040, 0xFF0000);
    bag.WriteProperty(QStringLiteral("FrameBackColor"), frameColor, 0x00FFFF);
    bag.WriteProperty(QStringLiteral("GridRows"), rows, 8);
    bag.WriteProperty(QStringLiteral("GridCols"), cols, 10);
    bag.WriteProperty(QStringLiteral("LineWidth"), 1, 2);
    bag.WriteProperty(QStringLiteral("BorderStyle"), 0, 1);
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

MainFrm::MainFrm(ProgramState &state, SettingsStore &settings, SessionPrompts &prompts, QWidget *parent)
    : QMainWindow(parent), state_(state), layout_(MainWindowSize::DesignClient),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowIcon(AmperoIcon());
    central_ = new QWidget(this);
    central_->installEventFilter(this);
    setCentralWidget(central_);

    buildMenus();
    buildViewMenu();
    buildReadingFrame(central_);
    buildCharts(central_);
    buildStatistics(central_);
    buildReadouts(central_);
    setToolTips();
    buildCursorTable();
    Frame3->installEventFilter(this);
    setAccessibility();

    chart1_ = std::make_unique<TrendWidgetChart>(*Sweepgraph1);
    chart2_ = std::make_unique<TrendWidgetChart>(*Sweepgraph2);
    buildStatusLabels();
    session_ = std::make_unique<RecordingSession>(state, settings, prompts, static_cast<SessionView &>(*this),
                                                  *chart1_, *chart2_);
    trendView_ = &session_->trendView();
    connect(Start, &QPushButton::clicked, this, &MainFrm::StartClick);
    connect(Stop, &QPushButton::clicked, this, &MainFrm::StopClick);
    buildAlarms();

    connect(Sweepgraph1, &Sweepgraph::Trend::Paint, this, [this] { session_->ChartPainted(true); });
    connect(Sweepgraph2, &Sweepgraph::Trend::Paint, this, [this] { session_->ChartPainted(false); });
    connectChartGestures(Sweepgraph1, 1);
    connectChartGestures(Sweepgraph2, 2);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) { trendView_->ScrollBarChanged(value); });

    // The LED widgets take their stroke reference from the width they have when
    // their bags are read, so lay the controls out at the design size first.
    layout_.apply(MainWindowSize::DesignClient);
    LCD1->ReadProperties(ledBag(QStringLiteral("8.8.8.8"), 4, 3));
    LCD2->ReadProperties(ledBag(QStringLiteral("88:88"), 4, 2));
    LCD3->ReadProperties(ledBag(QStringLiteral("00"), 2, 2));

    chartLabelPointSize_ = Sweepgraph1->LabelFontSize();
    central_->setMinimumSize(ClientSizeAt(MainWindowSize::MinimumScale));
    placeWindow();
    session_->LoadStep();
    LCD1->setBorderStyle(0);
}

MainFrm::~MainFrm() = default;

void MainFrm::buildMenus()
{
    File = menuBar()->addMenu(tr("&File"));
    File->setObjectName(QStringLiteral("File"));
    New = File->addAction(tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), this, [this] { session_->New(); });
    Open = File->addAction(tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), this, [this] { session_->Open(); });
    Save = File->addAction(tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this, [this] { session_->Save(); });
    SaveAs = File->addAction(tr("Save &As..."), this, [this] { session_->SaveAs(); });
    ExportCsv = File->addAction(tr("Export CSV..."), this, [this] { session_->ExportCsv(); });
    File->addSeparator()->setObjectName(QStringLiteral("Sp1"));
    PrintSetup = File->addAction(tr("Print Setup..."), this, [this] { ShowPrinterSetup(this, *printer_); });
    PrintSetup->setObjectName(QStringLiteral("PrintSetup"));
    Print = File->addAction(tr("Print..."), this, [this] {
        PrintFrm dialog(
            state_, [this] { return PrintCharts{ReadPrintChart(*chart1_), ReadPrintChart(*chart2_)}; }, *printer_,
            PrintPrompts::system(), this);
        dialog.exec();
        // Whole-recording trend pages leave the view on the last page printed.
        session_->RefreshCharts();
    });
    Print->setObjectName(QStringLiteral("Print"));
    File->addSeparator()->setObjectName(QStringLiteral("Sp2"));
    Exit = File->addAction(tr("E&xit"), this, [this] { close(); });
    New->setObjectName(QStringLiteral("New"));
    Open->setObjectName(QStringLiteral("Open"));
    Save->setObjectName(QStringLiteral("Save"));
    SaveAs->setObjectName(QStringLiteral("SaveAs"));
    ExportCsv->setObjectName(QStringLiteral("ExportCsv"));
    Exit->setObjectName(QStringLiteral("Exit"));

    Setup = menuBar()->addMenu(tr("Set"));
    Setup->setObjectName(QStringLiteral("Setup"));
    SetPort = Setup->addMenu(tr("Set Port"));
    SetPort->setObjectName(QStringLiteral("SetPort"));
    for (int i = 0; i < 4; ++i) {
        const std::int16_t number = std::int16_t(i + 1);
        COM[std::size_t(i)] = SetPort->addAction(QStringLiteral("COM%1").arg(number), this,
                                                 [this, number] { SetPortInUse(number); });
        COM[std::size_t(i)]->setObjectName(QStringLiteral("COM%1").arg(number));
        COM[std::size_t(i)]->setCheckable(true);
    }

    Option = Setup->addAction(tr("Options..."), this, [this] {
        // Stays reachable while recording: a changed interval counts from the next frame.
        DialogOptionPrompts optionPrompts;
        OptionFrm dialog(state_, session_->settings(), *chart1_, *chart2_, optionPrompts, this);
        const bool timeMode = state_.view.TimeMode;
        session_->OptionsClosed(dialog.exec() == QDialog::Accepted, timeMode);
    });
    Option->setObjectName(QStringLiteral("Option"));

    Help = menuBar()->addMenu(tr("Help"));
    Help->setObjectName(tr("Help"));
    contents = Help->addAction(tr("Readme..."), this, [this] {
        if (!helpFrm_)
            helpFrm_ = new HelpFrm(this);
        helpFrm_->exec();
    });
    contents->setObjectName(QStringLiteral("contents"));
    about = Help->addAction(tr("About..."), this, [this] {
        if (!aboutFrm_)
            aboutFrm_ = new frmAbout(this);
        aboutFrm_->exec();
    });
    about->setObjectName(QStringLiteral("about"));

    LinkStatus = new QLabel(this);
    LinkStatus->setObjectName(QStringLiteral("LinkStatus"));
    statusBar()->addWidget(LinkStatus, 1);
    QuestionStatus = new QLabel(this);
    QuestionStatus->setObjectName(QStringLiteral("QuestionStatus"));
    statusBar()->addWidget(QuestionStatus);
    FrameStatus = new QLabel(this);
    FrameStatus->setObjectName(QStringLiteral("FrameStatus"));
    statusBar()->addWidget(FrameStatus);
}

void MainFrm::buildReadingFrame(QWidget *central)
{
    Frame1 = new QGroupBox(tr("READING"), central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    layout_.add(Frame1, QRectF(10, 4, 330, 382));

    auto *panel = new QFrame(Frame1);
    panel->setObjectName(QStringLiteral("ReadingPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, PanelColor);
    panel->setPalette(palette);
    layout_.add(panel, QRectF(8, 24, 314, 350));

    // Symbols across the top, in the meter's order.
    const SymbolImage::Kind kinds[SymbolCount] = {
        SymbolImage::Kind::Hold,   SymbolImage::Kind::HighVoltage,    SymbolImage::Kind::Phase1,
        SymbolImage::Kind::Phase2, SymbolImage::Kind::Phase3,         SymbolImage::Kind::Sum,
        SymbolImage::Kind::ThreePhaseWatt, SymbolImage::Kind::CircledP, SymbolImage::Kind::Battery,
        SymbolImage::Kind::Watt};
    for (int i = 0; i < SymbolCount; ++i) {
        auto *symbol = new SymbolImage(kinds[i], SegmentColor, panel);
        symbol->setObjectName(QStringLiteral("P01_%1").arg(i));
        P01[std::size_t(i)] = symbol;
        layout_.add(symbol, QRectF(6 + i * 30.4, 8, 26, 22));
    }

    L01[0] = panelLabel(panel, QString(), 11, Qt::AlignLeft | Qt::AlignVCenter);   // AC / DC
    L01[1] = panelLabel(panel, QString(), 9, Qt::AlignLeft | Qt::AlignVCenter);    // PF, FREQ, MAX, Time, MIN
    L01[2] = panelLabel(panel, QString(), 9, Qt::AlignCenter);                     // MR / MEM
    L01[3] = panelLabel(panel, QString(), 15, Qt::AlignLeft | Qt::AlignVCenter);   // first unit
    L01[4] = panelLabel(panel, QString(), 11, Qt::AlignLeft | Qt::AlignVCenter);   // second unit
    for (int i = 0; i < 5; ++i)
        L01[std::size_t(i)]->setObjectName(QStringLiteral("L01_%1").arg(i));
    layout_.add(L01[0], QRectF(6, 40, 44, 22));
    layout_.add(L01[1], QRectF(6, 156, 56, 20));
    layout_.add(L01[2], QRectF(250, 214, 58, 20));
    layout_.add(L01[3], QRectF(256, 112, 56, 30));
    layout_.add(L01[4], QRectF(194, 204, 54, 26));

    L02 = filledBar(panel, SegmentColor);
    L02->setObjectName(QStringLiteral("L02"));
    layout_.add(L02, QRectF(12, 88, 24, 6));
    L03 = filledBar(panel, SegmentColor);
    L03->setObjectName(QStringLiteral("L03"));
    layout_.add(L03, QRectF(12, 190, 20, 5));

    LCD1 = new LEDCtl1::LED(panel);
    LCD1->setObjectName(QStringLiteral("LCD1"));
    layout_.add(LCD1, QRectF(40, 36, 214, 110));
    LCD2 = new LEDCtl1::LED(panel);
    LCD2->setObjectName(QStringLiteral("LCD2"));
    layout_.add(LCD2, QRectF(40, 152, 152, 80));
    LCD3 = new LEDCtl1::LED(panel);
    LCD3->setObjectName(QStringLiteral("LCD3"));
    layout_.add(LCD3, QRectF(252, 158, 56, 52));

    // The bar graph: segment 0 is always lit, 1..40 follow the meter; a tick
    // under every segment, a longer one every fifth.
    const qreal left = 8, step = 7.1, top = 262;
    for (int i = 0; i <= BarSegments; ++i) {
        QFrame *segment = filledBar(panel, SegmentColor);
        segment->setObjectName(QStringLiteral("L0_%1").arg(i));
        L0[std::size_t(i)] = segment;
        layout_.add(segment, QRectF(left + i * step, top, step - 2, 22));
        QFrame *tick = filledBar(panel, SegmentColor);
        tick->setObjectName(QStringLiteral("L0_%1").arg(i + 41));
        L0[std::size_t(i + 41)] = tick;
        const qreal tickHeight = i % 5 == 0 ? 9 : 5;
        layout_.add(tick, QRectF(left + i * step + (step - 2) / 2 - 0.75, top + 26, 1.5, tickHeight));
    }
    L41 = new SymbolImage(SymbolImage::Kind::BarArrow, SegmentColor, panel);
    L41->setObjectName(QStringLiteral("L41"));
    layout_.add(L41, QRectF(left + 41 * step + 2, top + 1, 10, 20));

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
    layout_.add(Start, QRectF(10, 392, 160, 42));
    layout_.add(Stop, QRectF(180, 392, 160, 42));
}

void MainFrm::buildCharts(QWidget *central)
{
    const OleColor frameColor = toOleColor(palette().color(QPalette::Window));
    Sweepgraph1 = new Sweepgraph::Trend(central);
    Sweepgraph1->setObjectName(QStringLiteral("Sweepgraph1"));
    Sweepgraph1->ReadProperties(trendBag(20, 15, frameColor));
    layout_.add(Sweepgraph1, QRectF(350, 8, 640, 344));
    Sweepgraph2 = new Sweepgraph::Trend(central);
    Sweepgraph2->setObjectName(QStringLiteral("Sweepgraph2"));
    Sweepgraph2->ReadProperties(trendBag(8, 10, frameColor));
    layout_.add(Sweepgraph2, QRectF(350, 356, 640, 298));
    HScroll1 = new QScrollBar(Qt::Horizontal, central);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(0, 0);
    HScroll1->setPageStep(10);
    layout_.add(HScroll1, QRectF(350 + 850.0 / 15, 658, 640 - 850.0 / 15, 18));
}

void MainFrm::buildStatistics(QWidget *central)
{
    auto build = [this, central](QGroupBox *&frame, const QString &name, const QString &caption, qreal top,
                                 std::array<QLabel **, 6> labels, const QString &prefix) {
        frame = new QGroupBox(caption, central);
        frame->setObjectName(name);
        layout_.add(frame, QRectF(10, top, 330, 118));
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
            layout_.add(title, QRectF(10, 26 + row * 29, 42, 24));
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
                layout_.add(label, column == 0 ? QRectF(54, 26 + row * 29, 104, 24)
                                               : QRectF(164, 26 + row * 29, 156, 24));
            }
        }
    };
    build(Frame3, QStringLiteral("Frame3"), tr("ALL AREA"), 440,
          {&aMAX, &aMAXDate, &aMIN, &aMINDate, &aAVG, &aAVGDate}, QStringLiteral("a"));
    build(Frame2, QStringLiteral("Frame2"), tr("VISUAL AREA"), 560,
          {&vMAX, &vMAXDate, &vMIN, &vMINDate, &vAVG, &vAVGDate}, QStringLiteral("v"));
}

void MainFrm::buildReadouts(QWidget *central)
{
    auto build = [this, central](QFrame *&frame, const QString &name, QLabel *&value, QLabel *&time) {
        frame = new QFrame(central);
        frame->setObjectName(name);
        frame->setFrameShape(QFrame::Box);
        frame->setAutoFillBackground(true);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
        palette.setColor(QPalette::WindowText, palette.color(QPalette::ToolTipText));
        frame->setPalette(palette);
        value = new QLabel(QStringLiteral("AC 100.0kWh"), frame);
        time = new QLabel(QStringLiteral("2002/06/07 10:37:00"), frame);
        // Its size and text scale with the window; it is placed where it is shown.
        layout_.add(frame, QRectF(0, 0, 180, 46));
        layout_.add(value, QRectF(6, 3, 168, 20));
        layout_.add(time, QRectF(6, 23, 168, 20));
        frame->hide();
    };
    build(FrmGetData1, QStringLiteral("FrmGetData1"), GetData[0], GetData[1]);
    build(FrmGetData2, QStringLiteral("FrmGetData2"), GetData[3], GetData[2]);
    for (int i = 0; i < 4; ++i)
        GetData[std::size_t(i)]->setObjectName(QStringLiteral("GetData_%1").arg(i));

    Timer2 = new QTimer(this);
    Timer3 = new QTimer(this);
    for (QTimer *timer : {Timer2, Timer3}) {
        timer->setInterval(ReadoutMilliseconds);
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer3->setObjectName(QStringLiteral("Timer3"));
    connect(Timer2, &QTimer::timeout, FrmGetData1, &QWidget::hide);
    connect(Timer3, &QTimer::timeout, FrmGetData2, &QWidget::hide);
}

void MainFrm::setToolTips()
{
    LCD1->setToolTip(tr("First display: the meter's upper reading"));
    LCD2->setToolTip(tr("Second display: the meter's lower reading"));
    LCD3->setToolTip(tr("Memory location of the meter (MR: recalled, MEM: stored)"));
    Start->setToolTip(tr("Open the serial port and record the meter's readings"));
    Stop->setToolTip(tr("Stop recording and close the serial port"));
    Sweepgraph1->setToolTip(tr("First display over time; click to read a sample's value and time"));
    Sweepgraph2->setToolTip(tr("Second display over time; click to read a sample's value and time"));
    HScroll1->setToolTip(tr("Move both charts through the recording"));
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
    FrmGetData1->setToolTip(tr("The sample clicked on the upper chart: value and time"));
    FrmGetData2->setToolTip(tr("The sample clicked on the lower chart: value and time"));
}

void MainFrm::setAccessibility()
{
    LCD1->setAccessibleName(tr("First display"));
    LCD2->setAccessibleName(tr("Second display"));
    LCD3->setAccessibleName(tr("Memory location"));
    // The keyboard reaches the buttons, then the charts, then the scroll bar.
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(Start, Stop);
    setTabOrder(Stop, Sweepgraph1);
    setTabOrder(Sweepgraph1, Sweepgraph2);
    setTabOrder(Sweepgraph2, HScroll1);
}

void MainFrm::describeChart(bool firstDisplay, const QString &description)
{
    Sweepgraph::Trend *chart = firstDisplay ? Sweepgraph1 : Sweepgraph2;
    chart->setAccessibleText(firstDisplay ? tr("First display chart") : tr("Second display chart"), description);
}

void MainFrm::showPortDevices(const std::array<QString, PortCount> &devices)
{
    for (int i = 0; i < PortCount; ++i)
        COM[std::size_t(i)]->setToolTip(devices[std::size_t(i)]);
}

void MainFrm::showRecording(bool recording)
{
    Start->setChecked(recording);
    Stop->setChecked(!recording);
    File->setEnabled(!recording);
    SetPort->setEnabled(!recording);
}

void MainFrm::showLinkState(LinkState linkState, std::int16_t portNumber, const QString &device)
{
    QString text;
    QString style;
    switch (linkState) {
    case LinkState::Stopped:
        text = tr("Stopped");
        break;
    case LinkState::Running:
        text = tr("Recording from COM%1 (%2)").arg(portNumber).arg(device);
        break;
    case LinkState::Reconnecting:
        // The recording stays; the port is tried again until it is back or STOP is pressed.
        text = tr("Connection to %1 lost — reconnecting…").arg(device);
        style = QStringLiteral("color: #b00000; font-weight: bold;");
        break;
    }
    LinkStatus->setText(text);
    LinkStatus->setStyleSheet(style);
}

void MainFrm::showDamagedFrames(quint64 count, bool dropped)
{
    const QString text = dropped ? tr("Damaged frames dropped: %L1")
                                                                 : tr("Damaged frames kept: %L1");
    FrameStatus->setText(text.arg(count));
}

void MainFrm::showQuestionUnanswered()
{
    QuestionStatus->setText(tr("%1 change of function not answered in %2 s: taken as No, recording goes on")
                                .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")))
                                .arg(ReceiveCycle::QuestionTimeoutMs / 1000));
}

void MainFrm::resetMeterDisplay()
{
    LCD1->setCaption(QStringLiteral("8.8.8.8"));
    LCD2->setCaption(QStringLiteral("88:88"));
    LCD3->setCaption(QStringLiteral("00"));
    for (QFrame *segment : L0)
        segment->setVisible(true);
    L41->setVisible(true);
}

void MainFrm::ShowHoldSymbol(bool lit)
{
    P01[SymbolHold]->setVisible(lit);
}

void MainFrm::ApplyDecodedFrame(const DecodedFrame &frame)
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

void MainFrm::showPortInUse(std::int16_t portNumber)
{
    for (int i = 0; i < 4; ++i)
        COM[std::size_t(i)]->setChecked(i + 1 == portNumber);
}

void MainFrm::SetPortAvailable(std::int16_t portNumber, bool available)
{
    if (portNumber >= 1 && portNumber <= 4)
        COM[std::size_t(portNumber - 1)]->setEnabled(available);
}

bool MainFrm::CloseSequence()
{
    return session_->CloseSequence({normalGeometry(), isMaximized()});
}

void MainFrm::closeEvent(QCloseEvent *event)
{
    if (session_->CloseRequested({normalGeometry(), isMaximized()}))
        event->accept();
    else
        event->ignore();
}

bool MainFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == central_ && event->type() == QEvent::Resize)
        followClientSize(static_cast<QResizeEvent *>(event)->size());
    // The whole recording's figures, worked out when they are asked for.
    if (watched == Frame3 && event->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), allAreaDetails(), Frame3);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainFrm::followClientSize(QSize clientSize)
{
    layout_.apply(clientSize);
    // The charts' scale and time labels scale with all other text.
    for (Sweepgraph::Trend *chart : {Sweepgraph1, Sweepgraph2})
        chart->setLabelFontSize(chartLabelPointSize_ * layout_.fontScale());
    placeReadout(FrmGetData1, Sweepgraph1, readoutRightHalf_[0]);
    placeReadout(FrmGetData2, Sweepgraph2, readoutRightHalf_[1]);
}

void MainFrm::placeWindow()
{
    // The menu and status bars keep their height; the client area between
    // them keeps the design's proportions.
    const QSize chrome(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QScreen *primary = QGuiApplication::primaryScreen();
    const QRect primaryArea = primary ? primary->availableGeometry() : QRect();
    const WindowPlacement placement = session_->StoredPlacement(
        screens, primaryArea, chrome, ClientSizeAt(MainWindowSize::MinimumScale) + chrome);
    setGeometry(placement.geometry);
    if (placement.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainFrm::placeReadout(QFrame *frame, const Sweepgraph::Trend *chart, bool rightHalf)
{
    const QRect area = chart->geometry();
    if (rightHalf)
        frame->move(area.topLeft());
    else
        frame->move(area.left() + area.width() - frame->width(), area.top() + area.height() - frame->height());
}

void MainFrm::showReadout(int chart, const std::optional<Readout> &readout)
{
    if (!readout)
        return;
    QFrame *frame = chart == 1 ? FrmGetData1 : FrmGetData2;
    QTimer *timer = chart == 1 ? Timer2 : Timer3;
    timer->stop();
    readoutRightHalf_[std::size_t(chart - 1)] = readout->rightHalf;
    placeReadout(frame, chart == 1 ? Sweepgraph1 : Sweepgraph2, readout->rightHalf);
    if (chart == 1) {
        showFittedText(GetData[0], readout->valueText);
        showFittedText(GetData[1], readout->timeText);
    } else {
        showFittedText(GetData[3], readout->valueText);
        showFittedText(GetData[2], readout->timeText);
    }
    timer->start();
    frame->show();
    frame->raise();
}

void MainFrm::setScrollBar(std::int32_t maximum, std::int32_t value)
{
    const QSignalBlocker blocker(HScroll1);
    HScroll1->setMaximum(maximum);
    HScroll1->setValue(value);
}

void MainFrm::showStatistics(const StatisticsLabels &labels)
{
    showFittedText(aMAX, labels.aMAX);
    showFittedText(aMAXDate, labels.aMAXDate);
    showFittedText(aMIN, labels.aMIN);
    showFittedText(aMINDate, labels.aMINDate);
    showFittedText(aAVG, labels.aAVG);
    showFittedText(aAVGDate, labels.aAVGDate);
    showFittedText(vMAX, labels.vMAX);
    showFittedText(vMAXDate, labels.vMAXDate);
    showFittedText(vMIN, labels.vMIN);
    showFittedText(vMINDate, labels.vMINDate);
    showFittedText(vAVG, labels.vAVG);
    showFittedText(vAVGDate, labels.vAVGDate);
}

void MainFrm::showFittedText(QLabel *label, const QString &text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    layout_.fitText(label);
}

void MainFrm::buildStatusLabels()
{
    PublishStatus = new QLabel(this);
    PublishStatus->setObjectName(QStringLiteral("PublishStatus"));
    statusBar()->addPermanentWidget(PublishStatus);
    JournalStatus = new QLabel(this);
    JournalStatus->setObjectName(QStringLiteral("JournalStatus"));
    JournalStatus->setStyleSheet(QStringLiteral("color: #b00000;"));
    statusBar()->addPermanentWidget(JournalStatus);
}

void MainFrm::showJournalProblem(const QString &problem)
{
    JournalStatus->setText(problem.isEmpty() ? QString() : tr("Unsaved samples are not protected: %1").arg(problem));
}

void MainFrm::buildAlarms()
{
    AlarmStatus = new QLabel(this);
    AlarmStatus->setObjectName(QStringLiteral("AlarmStatus"));
    AlarmStatus->hide();
    statusBar()->addWidget(AlarmStatus);
    connect(&alarms(), &AlarmMonitor::changed, this, &MainFrm::showAlarms);
    // A beep and nothing modal: the receive cycle goes on.
    connect(&alarms(), &AlarmMonitor::soundRequested, this, [] { QApplication::beep(); });
}

void MainFrm::showAlarms()
{
    LCD1->setForeColor(alarms().inAlarm(AlarmDisplay::First) ? TrendView::AlarmColor : SegmentOle);
    LCD2->setForeColor(alarms().inAlarm(AlarmDisplay::Second) ? TrendView::AlarmColor : SegmentOle);
    const bool inAlarm = alarms().inAlarm(AlarmDisplay::First) || alarms().inAlarm(AlarmDisplay::Second);
    AlarmStatus->setText(alarms().statusText());
    AlarmStatus->setStyleSheet(inAlarm ? QStringLiteral("color: #b00000; font-weight: bold;") : QString());
    AlarmStatus->setVisible(!alarms().statusText().isEmpty());
}

void MainFrm::showPublishState(const QString &text, bool failed)
{
    PublishStatus->setText(text);
    PublishStatus->setStyleSheet(failed ? QStringLiteral("color: #b00000;") : QString());
}
