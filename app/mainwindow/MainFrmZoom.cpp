// The main window's zoom, pan and measurement cursors: the View menu, the
// gestures on the charts, the status bar note and the cursor table. What they
// do to the view is the trend view's; this only forwards.

#include "MainFrm.h"

#include "SampleTexts.h"

#include <Trend.h>

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QRubberBand>
#include <QStatusBar>
#include <QTableWidget>

#include <cmath>

namespace {

// Button and shift bits as the charts report them.
constexpr qint16 LeftButton = 1, RightButton = 2, MiddleButton = 4;
constexpr qint16 ShiftKey = 1, CtrlKey = 2, AltKey = 4;

// One notch of the wheel or one key press zooms by this factor.
constexpr double ZoomStep = 1.25;
// Arrow keys move the window by this share of its width.
constexpr float PanStep = 0.1f;
// A drag shorter than this share of the chart width is a click.
constexpr float DragThreshold = 0.005f;

} // namespace

void MainFrm::buildViewMenu()
{
    View = new QMenu(tr("&View"), this);
    View->setObjectName(QStringLiteral("View"));
    menuBar()->insertMenu(Help->menuAction(), View);
    auto add = [this](QAction *&action, const QString &name, const QString &text, QList<QKeySequence> keys, auto slot) {
        action = View->addAction(text, this, slot);
        action->setObjectName(name);
        action->setShortcuts(keys);
    };
    auto centre = [this] { return Sweepgraph1->Rightx() / 2; };
    add(ZoomIn, QStringLiteral("ZoomIn"), tr("Zoom &In"), {Qt::Key_Plus, Qt::Key_Equal},
        [this, centre] { trendView_->ZoomAt(centre(), ZoomStep); });
    add(ZoomOut, QStringLiteral("ZoomOut"), tr("Zoom &Out"), {Qt::Key_Minus},
        [this, centre] { trendView_->ZoomAt(centre(), 1 / ZoomStep); });
    add(PanLeft, QStringLiteral("PanLeft"), tr("Pan &Left"), {Qt::Key_Left},
        [this] { trendView_->Pan(-PanStep * Sweepgraph1->Rightx()); });
    add(PanRight, QStringLiteral("PanRight"), tr("Pan &Right"), {Qt::Key_Right},
        [this] { trendView_->Pan(PanStep * Sweepgraph1->Rightx()); });
    add(GoToStart, QStringLiteral("GoToStart"), tr("Go to &Start"), {Qt::Key_Home},
        [this] { trendView_->ShowStart(); });
    add(GoToEnd, QStringLiteral("GoToEnd"), tr("Go to &End"), {Qt::Key_End}, [this] { trendView_->ShowEnd(); });
    View->addSeparator();
    add(FitAll, QStringLiteral("FitAll"), tr("Fit all"), {Qt::Key_F}, [this] { trendView_->FitAll(); });
    add(BackToLive, QStringLiteral("BackToLive"), tr("Back to live"), {Qt::Key_L},
        [this] { trendView_->BackToLive(); });
    add(ResetVerticalZoom, QStringLiteral("ResetVerticalZoom"), tr("Reset &Vertical Zoom"), {},
        [this] { trendView_->ResetVerticalZoom(); });
    View->addSeparator();
    // From the menu a cursor goes to the sample last clicked on chart 1.
    add(SetCursorA, QStringLiteral("SetCursorA"), tr("Cursor &A at the Marked Sample"), {},
        [this] { trendView_->SetCursorAt(0, state_.view.MarkIndex1); });
    add(SetCursorB, QStringLiteral("SetCursorB"), tr("Cursor &B at the Marked Sample"), {},
        [this] { trendView_->SetCursorAt(1, state_.view.MarkIndex1); });
    add(ClearCursors, QStringLiteral("ClearCursors"), tr("&Clear Cursors"), {}, [this] {
        trendView_->ClearCursors();
        trendView_->RefreshCharts();
    });

    FollowStatus = new QLabel(this);
    FollowStatus->setObjectName(QStringLiteral("FollowStatus"));
    FollowStatus->setText(tr("Not following the newest sample \u2014 View \u25b8 Back to live (L)"));
    FollowStatus->setStyleSheet(QStringLiteral("color: #a04000; font-weight: bold;"));
    FollowStatus->hide();
    statusBar()->addPermanentWidget(FollowStatus);
}

void MainFrm::buildCursorTable()
{
    CursorDock = new QDockWidget(tr("Cursors"), this);
    CursorDock->setObjectName(QStringLiteral("CursorDock"));
    CursorDock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    CursorTable = new QTableWidget(0, 3, CursorDock);
    CursorTable->setObjectName(QStringLiteral("CursorTable"));
    CursorTable->setHorizontalHeaderLabels({QString(), tr("First display"), tr("Second display")});
    CursorTable->verticalHeader()->hide();
    CursorTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CursorTable->horizontalHeader()->setStretchLastSection(true);
    CursorDock->setWidget(CursorTable);
    addDockWidget(Qt::BottomDockWidgetArea, CursorDock);
    CursorDock->hide();
}

void MainFrm::connectChartGestures(Sweepgraph::Trend *chart, int number)
{
    connect(chart, &Sweepgraph::Trend::MouseDown, this,
            [this, chart](qint16 button, qint16 shift, float x, float) { chartMouseDown(chart, button, shift, x); });
    connect(chart, &Sweepgraph::Trend::MouseMove, this,
            [this, chart](qint16, qint16, float x, float) { chartMouseMove(chart, x); });
    connect(chart, &Sweepgraph::Trend::MouseUp, this, [this, number](qint16, qint16 shift, float x, float) {
        if (chartMouseUp(shift, x))
            return;
        if (number == 1)
            showReadout(1, trendView_->ShowReadout1(x));
        else
            showReadout(2, trendView_->ShowReadout2(x));
    });
    connect(chart, &Sweepgraph::Trend::MouseWheel, this, [this, number](qint16 delta, qint16 shift, float x, float y) {
        chartWheel(number == 1, delta, shift, x, y);
    });
}

void MainFrm::chartMouseDown(Sweepgraph::Trend *chart, qint16 button, qint16 shift, float x)
{
    drag_ = ChartDrag();
    if (button == MiddleButton || (button == LeftButton && (shift & ShiftKey)))
        drag_.kind = ChartDrag::Kind::Pan;
    else if (button == RightButton)
        drag_.kind = ChartDrag::Kind::Band;
    drag_.startX = drag_.lastX = x;
    if (drag_.kind == ChartDrag::Kind::Band) {
        if (!band_)
            band_ = new QRubberBand(QRubberBand::Rectangle, chart);
        band_->setParent(chart);
        placeRubberBand(chart, x, x);
    }
}

void MainFrm::chartMouseMove(Sweepgraph::Trend *chart, float x)
{
    if (drag_.kind == ChartDrag::Kind::None)
        return;
    if (std::fabs(x - drag_.startX) > DragThreshold * Sweepgraph1->Rightx())
        drag_.moved = true;
    if (drag_.kind == ChartDrag::Kind::Pan) {
        // Dragging the curve to the right shows older samples.
        if (drag_.moved && x != drag_.lastX)
            trendView_->Pan(drag_.lastX - x);
    } else {
        placeRubberBand(chart, drag_.startX, x);
        band_->setVisible(drag_.moved);
    }
    drag_.lastX = x;
}

bool MainFrm::chartMouseUp(qint16 shift, float x)
{
    const ChartDrag drag = drag_;
    drag_ = ChartDrag();
    if (band_)
        band_->hide();
    if (drag.moved) {
        if (drag.kind == ChartDrag::Kind::Band)
            trendView_->ZoomInto(drag.startX, x);
        return true;
    }
    if (shift & AltKey) {
        trendView_->SetCursor(0, x);
        return true;
    }
    if (shift & CtrlKey) {
        trendView_->SetCursor(1, x);
        return true;
    }
    return false;
}

void MainFrm::chartWheel(bool firstDisplay, qint16 delta, qint16 shift, float x, float y)
{
    const double factor = std::pow(ZoomStep, delta / 120.0);
    // Ctrl zooms the y axis of this chart alone; other modified turns are
    // left to the platform.
    if (shift == CtrlKey)
        trendView_->ZoomYAt(firstDisplay, y, factor);
    else if (shift == 0)
        trendView_->ZoomAt(x, factor);
}

void MainFrm::placeRubberBand(Sweepgraph::Trend *chart, float from, float to)
{
    const QRect plot = chart->plotArea();
    const double perUnit = plot.width() / std::max(double(std::fabs(chart->Rightx() - chart->LeftX())), 1e-9);
    const int a = plot.left() + int(std::lround((std::min(from, to) - chart->LeftX()) * perUnit));
    const int b = plot.left() + int(std::lround((std::max(from, to) - chart->LeftX()) * perUnit));
    band_->setGeometry(QRect(QPoint(a, plot.top()), QPoint(std::max(a, b), plot.bottom())));
}

void MainFrm::showFollowing(bool following)
{
    if (FollowStatus)
        FollowStatus->setVisible(!following);
}

void MainFrm::showCursorFigures(const std::optional<CursorFigures> &figures)
{
    if (!CursorTable)
        return;
    if (!figures) {
        const bool anySet = trendView_ && (trendView_->CursorIndex(0) > 0 || trendView_->CursorIndex(1) > 0);
        CursorTable->setRowCount(anySet ? 1 : 0);
        if (anySet) {
            CursorTable->setItem(0, 0, new QTableWidgetItem(QString()));
            CursorTable->setItem(0, 1, new QTableWidgetItem(tr("Alt+click sets A, Ctrl+click sets B")));
        }
        CursorDock->setVisible(anySet);
        return;
    }
    const Sample &a = state_.store.sample(std::min(figures->a, figures->b));
    const auto rows = FiguresRows(*figures, QString::fromStdString(FirstUnitName(a.FirstUnit)),
                                  QString::fromStdString(SecondUnitName(a.SecondUnit)));
    CursorTable->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < 3; ++c)
            CursorTable->setItem(r, c, new QTableWidgetItem(rows[std::size_t(r)][std::size_t(c)]));
    CursorDock->show();
}

QString MainFrm::allAreaDetails()
{
    const std::optional<CursorFigures> figures = trendView_->AllAreaMeasurement();
    if (!figures)
        return QString();
    const Sample &first = state_.store.sample(1);
    QString text = tr("<b>Samples 1 to %1</b><table>").arg(QLocale().toString(state_.store.SampleCount));
    text += tr("<tr><th></th><th>First display</th><th>Second display</th></tr>");
    for (const FiguresRow &row : FiguresRows(*figures, QString::fromStdString(FirstUnitName(first.FirstUnit)),
                                             QString::fromStdString(SecondUnitName(first.SecondUnit)))) {
        // A and B are the first and the newest sample here.
        const QString caption = row[0] == QLatin1String("A")   ? tr("First")
                                : row[0] == QLatin1String("B") ? tr("Newest")
                                                               : row[0];
        text += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                    .arg(caption.toHtmlEscaped(), row[1].toHtmlEscaped(), row[2].toHtmlEscaped());
    }
    return text + QStringLiteral("</table>");
}
