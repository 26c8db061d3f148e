#include "MainFrm.h"

#include "AlarmMonitor.h"
#include "AmperoIcon.h"
#include "HelpFrm.h"
#include "OptionFrm.h"
#include "OptionPrompts.h"
#include "PrintFrm.h"
#include "PrintPrompts.h"
#include "ReadoutFrame.h"
#include "frmAbout.h"

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
#include <QToolTip>

namespace {

// The charts' property bags, saved with the window's layout.
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
    buildMeterPanel(central_, layout_);
    buildCharts(central_);
    buildStatisticsPanel(central_, layout_);
    buildReadouts();
    buildCursorTable();
    Frame3->installEventFilter(this);
    setAccessibility();

    chart1_ = std::make_unique<TrendWidgetChart>(*Sweepgraph1);
    chart2_ = std::make_unique<TrendWidgetChart>(*Sweepgraph2);
    buildStatusLabels();
    session_ = std::make_unique<RecordingSession>(state, settings, prompts, static_cast<SessionView &>(*this), *chart1_,
                                                  *chart2_);
    trendView_ = &session_->trendView();
    connect(Start, &QPushButton::clicked, this, &MainFrm::StartClick);
    connect(Stop, &QPushButton::clicked, this, &MainFrm::StopClick);
    buildAlarms();

    connect(Sweepgraph1, &Sweepgraph::Trend::Paint, this, [this] { session_->ChartPainted(true); });
    connect(Sweepgraph2, &Sweepgraph::Trend::Paint, this, [this] { session_->ChartPainted(false); });
    connectChartGestures(Sweepgraph1, 1);
    connectChartGestures(Sweepgraph2, 2);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) { trendView_->ScrollBarChanged(value); });

    // The displays read their bags at the design size.
    layout_.apply(MainWindowSize::DesignClient);
    readDisplayProperties();

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
            state_, [this] { return SettingsPrintCharts(session_->chartSettings1(), session_->chartSettings2()); },
            *printer_, PrintPrompts::system(), this);
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
        COM[std::size_t(i)] =
            SetPort->addAction(QStringLiteral("COM%1").arg(number), this, [this, number] { SetPortInUse(number); });
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
    Sweepgraph1->setToolTip(tr("First display over time; click to read a sample's value and time"));
    Sweepgraph2->setToolTip(tr("Second display over time; click to read a sample's value and time"));
    HScroll1->setToolTip(tr("Move both charts through the recording"));
}

void MainFrm::buildReadouts()
{
    readout1_ = std::make_unique<ReadoutFrame>(1, central_, this, layout_);
    readout2_ = std::make_unique<ReadoutFrame>(2, central_, this, layout_);
    FrmGetData1 = readout1_->frame;
    FrmGetData2 = readout2_->frame;
    GetData = {readout1_->value, readout1_->time, readout2_->time, readout2_->value};
    Timer2 = readout1_->timer;
    Timer3 = readout2_->timer;
}

void MainFrm::setAccessibility()
{
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
    const QString text = dropped ? tr("Damaged frames dropped: %L1") : tr("Damaged frames kept: %L1");
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
    resetMeterPanel();
}

void MainFrm::ShowHoldSymbol(bool lit)
{
    lightHoldSymbol(lit);
}

void MainFrm::ApplyDecodedFrame(const DecodedFrame &frame)
{
    showMeterFrame(frame);
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
    readout1_->place(Sweepgraph1->geometry());
    readout2_->place(Sweepgraph2->geometry());
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
    const WindowPlacement placement =
        session_->StoredPlacement(screens, primaryArea, chrome, ClientSizeAt(MainWindowSize::MinimumScale) + chrome);
    setGeometry(placement.geometry);
    if (placement.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainFrm::showReadout(int chart, const std::optional<Readout> &readout)
{
    if (!readout)
        return;
    if (chart == 1)
        readout1_->show(*readout, Sweepgraph1->geometry());
    else
        readout2_->show(*readout, Sweepgraph2->geometry());
}

void MainFrm::setScrollBar(std::int32_t maximum, std::int32_t value)
{
    const QSignalBlocker blocker(HScroll1);
    HScroll1->setMaximum(maximum);
    HScroll1->setValue(value);
}

void MainFrm::showStatistics(const StatisticsLabels &labels)
{
    showStatisticsLabels(labels);
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
    showDisplayAlarms(alarms().inAlarm(AlarmDisplay::First), alarms().inAlarm(AlarmDisplay::Second));
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
