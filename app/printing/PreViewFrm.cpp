#include "PreViewFrm.h"

#include "DesignUnits.h"
#include "ListReport.h"
#include "MagnifierCursor.h"
#include "PageSurface.h"
#include "Printout.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// The page picture: the page is drawn by its owner, a click is reported back.
class PagePicture : public QWidget {
public:
    PagePicture(QWidget *parent, std::function<void(QPainter &)> paint, std::function<void()> click)
        : QWidget(parent), paint_(std::move(paint)), click_(std::move(click))
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        paint_(painter);
    }
    void mousePressEvent(QMouseEvent *event) override { pressed_ = event->button() == Qt::LeftButton; }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        const bool click =
            pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
        pressed_ = false;
        if (click)
            click_();
    }

private:
    std::function<void(QPainter &)> paint_;
    std::function<void()> click_;
    bool pressed_ = false;
};

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &twips)
{
    auto *widget = new QPushButton(caption, parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twips);
    return widget;
}

struct PictureView {
    double top, left, height, width;
};

// Where the page picture lies in the viewport, in millimetres.
constexpr PictureView HalfPortrait{2, 25, 150, 105};
constexpr PictureView HalfLandscape{25, 5, 105, 150};
constexpr PictureView FullPortrait{2, 5, 297, 210};
constexpr PictureView FullLandscape{5, 5, 210, 297};

} // namespace

PreViewFrm::PreViewFrm(const ProgramState &state, PrintSelection selection, const PrintCharts &charts,
                       const QPrinter &printer, std::function<void()> print, QWidget *parent)
    : QDialog(parent), state_(state), charts_(charts), pages_(state, selection, charts), printer_(printer),
      print_(std::move(print))
{
    setObjectName(QStringLiteral("PreViewFrm"));
    setWindowTitle(tr("Print"));
    setFixedSize(TwipsToPixels(11190), TwipsToPixels(9210));

    P00 = new QWidget(this);
    P00->setObjectName(QStringLiteral("P00"));
    P00->setGeometry(TwipsRect(255, 120, 9045, 8760));
    QPalette grey = P00->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    P00->setPalette(grey);
    P00->setAutoFillBackground(true);

    P01 = new PagePicture(
        P00, [this](QPainter &painter) { P01_Paint(painter); }, [this] { P01_Click(); });
    P01->setObjectName(QStringLiteral("P01"));
    P01->setCursor(MagnifierCursor());

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(TwipsRect(225, 8865, 9120, 270));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setGeometry(TwipsRect(9300, 75, 285, 8805));
    for (QScrollBar *bar : {HScroll1, VScroll1}) {
        bar->setRange(0, 0);
        bar->setSingleStep(1);
        bar->setPageStep(10);
    }

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipsRect(9765, 345, 1470, 8265));
    Print = button(Frame1, "Print", tr("Print"), TwipsRect(15, 1305, 1304, 525));
    Cancel = button(Frame1, "Cancel", tr("Close"), TwipsRect(15, 2910, 1304, 525));
    PageUp = button(Frame1, "PageUp", tr("PageUp"), TwipsRect(15, 4500, 1304, 525));
    PageDown = button(Frame1, "PageDown", tr("PageDown"), TwipsRect(15, 6105, 1304, 525));
    Print->setDefault(true);

    connect(HScroll1, &QScrollBar::valueChanged, this, &PreViewFrm::HScroll1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &PreViewFrm::VScroll1_Change);
    connect(Print, &QPushButton::clicked, this, &PreViewFrm::Print_Click);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(PageUp, &QPushButton::clicked, this, &PreViewFrm::PageUp_Click);
    connect(PageDown, &QPushButton::clicked, this, &PreViewFrm::PageDown_Click);
    Form_Load();
}

bool PreViewFrm::portrait() const
{
    return printer_.pageLayout().orientation() == QPageLayout::Portrait;
}

void PreViewFrm::Form_Load()
{
    showHalfSize();
    lineWidth_ = charts_.first.LineWidth;
    showPageButtons();
}

void PreViewFrm::showPageButtons()
{
    PageUp->setEnabled(pages_.HasPrevious());
    PageDown->setEnabled(pages_.HasNext());
}

void PreViewFrm::placePicture()
{
    P01->setGeometry(MillimetresToPixels(left_), MillimetresToPixels(top_), MillimetresToPixels(width_),
                     MillimetresToPixels(height_));
    P01->update();
}

void PreViewFrm::showHalfSize()
{
    textSize_ = PrinterFontPointSize / 2;
    const PictureView view = portrait() ? HalfPortrait : HalfLandscape;
    top_ = view.top;
    left_ = view.left;
    height_ = view.height;
    width_ = view.width;
    HScroll1->setEnabled(false);
    VScroll1->setEnabled(false);
    placePicture();
}

void PreViewFrm::showFullSize()
{
    textSize_ = PrinterFontPointSize;
    const PictureView view = portrait() ? FullPortrait : FullLandscape;
    top_ = view.top;
    left_ = view.left;
    height_ = view.height;
    width_ = view.width;
    VScroll1->setMaximum(portrait() ? 150 : 65);
    HScroll1->setMaximum(portrait() ? 65 : 150);
    lastHScroll_ = 0;
    lastVScroll_ = 0;
    VScroll1->setValue(0);
    HScroll1->setValue(0);
    HScroll1->setEnabled(true);
    VScroll1->setEnabled(true);
    placePicture();
}

void PreViewFrm::P01_Click()
{
    const bool fullSize = std::lround(width_) == 297 || std::lround(height_) == 297;
    if (fullSize)
        showHalfSize();
    else
        showFullSize();
}

void PreViewFrm::HScroll1_Change(int value)
{
    left_ -= value - lastHScroll_;
    lastHScroll_ = value;
    placePicture();
}

void PreViewFrm::VScroll1_Change(int value)
{
    top_ -= value - lastVScroll_;
    lastVScroll_ = value;
    placePicture();
}

void PreViewFrm::PageDown_Click()
{
    pages_.Next();
    showPageButtons();
    P01->update();
}

void PreViewFrm::PageUp_Click()
{
    pages_.Previous();
    showPageButtons();
    P01->update();
}

void PreViewFrm::Print_Click()
{
    // The whole printout, whatever page is shown; the preview stays on its page.
    print_();
    P01->update();
}

void PreViewFrm::P01_Paint(QPainter &painter)
{
    painter.fillRect(P01->rect(), P01->palette().color(QPalette::Base));
    if (state_.store.SampleCount <= 0)
        return;
    PageSurface surface(painter, QRectF(P01->rect()));
    surface.SetFont(PageFont(textSize_));
    surface.SetPenWidth(lineWidth_);
    DrawPrintPage(surface, state_, pages_.Current(), charts_, PreviewHeaderRuleWidth, QDateTime::currentDateTime());
}
