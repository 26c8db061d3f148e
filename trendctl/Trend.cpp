#include "Trend.h"

#include "PlotArea.h"
#include "TrendLayout.h"
#include "TrendTexts.h"
#include "WorldScale.h"

#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QResizeEvent>

#include <QtMath>

#include <cmath>
#include <limits>

namespace Sweepgraph {

namespace {

// A whole number from the bag within [low, high]; nothing when the stored
// value is not a number or out of range, so the member keeps its value.
std::optional<qint64> ReadWhole(const PropertyBag &bag, const char *key, qint64 defaultValue, qint64 low, qint64 high)
{
    bool ok = false;
    const double value = bag.ReadProperty(QLatin1String(key), defaultValue).toDouble(&ok);
    const double rounded = std::nearbyint(value);
    if (!ok || !(rounded >= double(low) && rounded <= double(high)))
        return std::nullopt;
    return qint64(rounded);
}

std::optional<qint32> ReadInt32(const PropertyBag &bag, const char *key, qint32 defaultValue)
{
    const auto value =
        ReadWhole(bag, key, defaultValue, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    return value ? std::optional<qint32>(qint32(*value)) : std::nullopt;
}

std::optional<qint16> ReadInt16(const PropertyBag &bag, const char *key, qint16 defaultValue)
{
    const auto value =
        ReadWhole(bag, key, defaultValue, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
    return value ? std::optional<qint16>(qint16(*value)) : std::nullopt;
}

// Colours are kept in the bag as 32-bit integers; one written unsigned is
// taken as well.
std::optional<OleColor> ReadColour(const PropertyBag &bag, const char *key, OleColor defaultValue)
{
    const auto value = ReadWhole(bag, key, qint32(defaultValue), std::numeric_limits<qint32>::min(),
                                 std::numeric_limits<quint32>::max());
    return value ? std::optional<OleColor>(OleColor(quint32(*value))) : std::nullopt;
}

// The labels are designed for Arial; where the platform's substitute is wider
// the text is set smaller rather than cut off, since a cut number or time
// would be read wrongly. Below this share of its font's size a text would no
// longer be read at all.
constexpr double SmallestLabelShare = 2.0 / 3.0;

// The design point sizes of the labels; the host may scale them together.
constexpr double DesignScalePointSize = 9;
constexpr double DesignTimePointSize = 10.5;

// The widest a text is drawn in the label's font.
int TextWidth(const QLabel *label, const QFont &font)
{
    return qCeil(QFontMetricsF(font, label).horizontalAdvance(label->text()));
}

void FitLabelFont(QLabel *label, const QFont &designFont)
{
    QFont font = designFont;
    const double smallest = designFont.pointSizeF() * SmallestLabelShare;
    while (font.pointSizeF() - 0.25 >= smallest && TextWidth(label, font) > label->contentsRect().width())
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (label->font() != font)
        label->setFont(font);
}

bool SetLabelText(QLabel *label, const QString &text, const QFont &designFont)
{
    if (label->text() == text)
        return false;
    label->setText(text);
    FitLabelFont(label, designFont);
    return true;
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(alignment | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

QFont LabelFont(double pointSize, bool bold)
{
    QFont font;
    // Arial, or a face with its metrics, or a narrow one.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

Trend::Trend(QWidget *parent)
    : QWidget(parent), frameBackColor_(TrendDefaults::FrameBackColor),
      scaleFont_(LabelFont(DesignScalePointSize, false)), timeFont_(LabelFont(DesignTimePointSize, true))
{
    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("P01"));
    frame_->setAutoFillBackground(true);
    ApplyFrameBackColor(frameBackColor_);
    ApplyBorderStyle(borderStyle_);

    plot_ = new PlotArea(frame_, *this);
    plot_->setObjectName(QStringLiteral("P02"));
    plot_->setBackColor(TrendDefaults::TrendBackColor);
    plot_->setPenWidth(TrendDefaults::LineWidth);
    plot_->setFullRepaintSequence([this] { RunRepaintSequence(); });

    for (int i = 0; i < int(scaleLabels_.size()); ++i)
        scaleLabels_[i] = MakeLabel(frame_, QStringLiteral("L01_%1").arg(i), QStringLiteral("+100000"), Qt::AlignRight);
    for (int i = 0; i < int(timeLabels_.size()); ++i)
        timeLabels_[i] =
            MakeLabel(frame_, QStringLiteral("L02_%1").arg(i), QStringLiteral("00:00:00"), Qt::AlignHCenter);

    setFocusProxy(plot_);

    LayOut();
}

Trend::~Trend() = default;

void Trend::setAccessibleText(const QString &name, const QString &description)
{
    for (QWidget *widget : {static_cast<QWidget *>(this), static_cast<QWidget *>(plot_)}) {
        widget->setAccessibleName(name);
        widget->setAccessibleDescription(description);
    }
}

void Trend::Refresh()
{
    if (plot_->runFullRepaint())
        plot_->showImageNow();
}

void Trend::MoveTo(float x, float y)
{
    plot_->moveTo(x, y);
}

void Trend::DrawLine(float x, float y, OleColor LineColor)
{
    plot_->lineTo(x, y, LineColor);
}

void Trend::DrawLines(const QPointF *points, int count, OleColor LineColor)
{
    plot_->linesTo(points, count, LineColor);
}

void Trend::DrawCircle(float x, float y, float r, OleColor color)
{
    plot_->circle(x, y, r, color);
}

// A pen position that is not a number (the host moved to a NaN sample) cannot
// be read back as a place on the chart.
std::optional<float> Trend::GetCurrentX() const
{
    const float x = plot_->penX();
    return std::isfinite(x) ? std::optional<float>(x) : std::nullopt;
}

std::optional<float> Trend::GetCurrentY() const
{
    const float y = plot_->penY();
    return std::isfinite(y) ? std::optional<float>(y) : std::nullopt;
}

void Trend::Cls()
{
    // Clearing leaves the pen where it was.
    DrawGridFromState();
}

void Trend::DisplayTime(double FirstTime, double SecondTime)
{
    const QLocale locale;
    const double times[2] = {FirstTime, SecondTime};
    for (int i = 0; i < 2; ++i) {
        const auto text = GeneralDateTimeText(times[i], locale);
        if (text && SetLabelText(timeLabels_[i], *text, timeFont_))
            WidenTimeLabel(i);
    }
}

double Trend::LabelFontSize() const
{
    return scaleFont_.pointSizeF();
}

void Trend::setLabelFontSize(double pointSize)
{
    if (!(pointSize > 0) || !std::isfinite(pointSize) || pointSize == scaleFont_.pointSizeF())
        return;
    scaleFont_.setPointSizeF(pointSize);
    timeFont_.setPointSizeF(pointSize * DesignTimePointSize / DesignScalePointSize);
    LayOut();
}

float Trend::TopY() const
{
    return float(topY_);
}

void Trend::setTopY(float value)
{
    topY_ = RoundBound(value).value_or(topY_);
    UpdateScaleFromBounds();
}

float Trend::BottomY() const
{
    return float(bottomY_);
}

void Trend::setBottomY(float value)
{
    bottomY_ = RoundBound(value).value_or(bottomY_);
    UpdateScaleFromBounds();
}

float Trend::LeftX() const
{
    return float(leftX_);
}

void Trend::setLeftX(float value)
{
    leftX_ = RoundBound(value).value_or(leftX_);
    UpdateScaleFromBounds();
}

float Trend::Rightx() const
{
    return float(rightX_);
}

void Trend::setRightx(float value)
{
    rightX_ = RoundBound(value).value_or(rightX_);
    UpdateScaleFromBounds();
}

void Trend::ShowYRange(double top, double bottom)
{
    if (!std::isfinite(top) || !std::isfinite(bottom) || top == bottom)
        return;
    shownY_.emplace(top, bottom);
    UpdateScaleFromBounds();
}

void Trend::ShowBoundsY()
{
    shownY_.reset();
    UpdateScaleFromBounds();
}

OleColor Trend::TrendBackColor() const
{
    return plot_->backColor();
}

void Trend::setTrendBackColor(OleColor colour)
{
    plot_->setBackColor(colour);
    DrawGridFromState();
}

OleColor Trend::FrameBackColor() const
{
    return frameBackColor_;
}

void Trend::setFrameBackColor(OleColor colour)
{
    ApplyFrameBackColor(colour);
    UpdateScaleFromBounds();
}

qint32 Trend::GridRows() const
{
    return gridRows_;
}

void Trend::setGridRows(qint32 rows)
{
    gridRows_ = rows;
    DrawGridFromState();
}

qint32 Trend::GridCols() const
{
    return gridCols_;
}

void Trend::setGridCols(qint32 cols)
{
    gridCols_ = cols;
    DrawGridFromState();
}

qint32 Trend::GridStyle() const
{
    return gridStyle_;
}

void Trend::setGridStyle(qint32 style)
{
    gridStyle_ = style;
    DrawGridFromState();
}

OleColor Trend::GridColor() const
{
    return gridColor_;
}

void Trend::setGridColor(OleColor colour)
{
    gridColor_ = colour;
    DrawGridFromState();
}

qint32 Trend::LineWidth() const
{
    return plot_->penWidth();
}

void Trend::setLineWidth(qint32 width)
{
    plot_->setPenWidth(width);
}

qint32 Trend::BorderStyle() const
{
    return borderStyle_;
}

void Trend::setBorderStyle(qint32 style)
{
    // The border changes the frame's inner area, which the parts are laid
    // out in.
    if (ApplyBorderStyle(style))
        LayOut();
    UpdateScaleFromBounds();
}

void Trend::ReadProperties(const PropertyBag &bag)
{
    topY_ = ReadInt32(bag, "TopY", TrendDefaults::TopY).value_or(topY_);
    bottomY_ = ReadInt32(bag, "BottomY", TrendDefaults::BottomY).value_or(bottomY_);
    leftX_ = ReadInt32(bag, "LeftX", TrendDefaults::LeftX).value_or(leftX_);
    rightX_ = ReadInt32(bag, "RightX", TrendDefaults::RightX).value_or(rightX_);
    if (const auto colour = ReadColour(bag, "TrendBackColor", TrendDefaults::TrendBackColor))
        plot_->setBackColor(*colour);
    if (const auto colour = ReadColour(bag, "FrameBackColor", TrendDefaults::FrameBackColor))
        ApplyFrameBackColor(*colour);
    gridRows_ = ReadInt32(bag, "GridRows", TrendDefaults::GridRows).value_or(gridRows_);
    gridCols_ = ReadInt32(bag, "GridCols", TrendDefaults::GridCols).value_or(gridCols_);
    gridStyle_ = ReadInt32(bag, "GridStyle", TrendDefaults::GridStyle).value_or(gridStyle_);
    gridColor_ = ReadColour(bag, "GridColor", TrendDefaults::GridColor).value_or(gridColor_);
    if (const auto width = ReadInt16(bag, "LineWidth", TrendDefaults::LineWidth))
        plot_->setPenWidth(*width);
    if (const auto border = ReadInt16(bag, "BorderStyle", TrendDefaults::BorderStyle);
        border && ApplyBorderStyle(*border))
        LayOut();
    // Nothing is redrawn now; the next paint shows the values read.
    plot_->requestFullRepaint();
}

void Trend::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("TopY"), topY_, TrendDefaults::TopY);
    bag.WriteProperty(QStringLiteral("BottomY"), bottomY_, TrendDefaults::BottomY);
    bag.WriteProperty(QStringLiteral("LeftX"), leftX_, TrendDefaults::LeftX);
    bag.WriteProperty(QStringLiteral("RightX"), rightX_, TrendDefaults::RightX);
    bag.WriteProperty(QStringLiteral("TrendBackColor"), qint32(plot_->backColor()),
                      qint32(TrendDefaults::TrendBackColor));
    bag.WriteProperty(QStringLiteral("FrameBackColor"), qint32(frameBackColor_), qint32(TrendDefaults::FrameBackColor));
    bag.WriteProperty(QStringLiteral("GridRows"), gridRows_, TrendDefaults::GridRows);
    bag.WriteProperty(QStringLiteral("GridCols"), gridCols_, TrendDefaults::GridCols);
    bag.WriteProperty(QStringLiteral("GridStyle"), gridStyle_, TrendDefaults::GridStyle);
    bag.WriteProperty(QStringLiteral("GridColor"), qint32(gridColor_), qint32(TrendDefaults::GridColor));
    bag.WriteProperty(QStringLiteral("LineWidth"), QVariant::fromValue(plot_->penWidth()),
                      QVariant::fromValue(TrendDefaults::LineWidth));
    bag.WriteProperty(QStringLiteral("BorderStyle"), QVariant::fromValue(qint16(borderStyle_)),
                      QVariant::fromValue(TrendDefaults::BorderStyle));
}

QString Trend::scaleLabelText(int index) const
{
    return index >= 0 && index < int(scaleLabels_.size()) ? scaleLabels_[index]->text() : QString();
}

QString Trend::timeLabelText(int index) const
{
    return index >= 0 && index < int(timeLabels_.size()) ? timeLabels_[index]->text() : QString();
}

QRect Trend::plotArea() const
{
    return plot_->geometry().translated(frame_->pos());
}

QSize Trend::sizeHint() const
{
    // 6600 by 4290 twips, the chart's design size.
    return QSize(qRound(6600 * logicalDpiX() / LayoutTwips::TwipsPerInch),
                 qRound(4290 * logicalDpiY() / LayoutTwips::TwipsPerInch));
}

void Trend::resizeEvent(QResizeEvent *)
{
    LayOut();
}

void Trend::UpdateScale(qint32 top, qint32 bottom, qint32 left, qint32 right)
{
    plot_->applyScale(top, bottom, left, right);
    const QLocale locale;
    SetLabelText(scaleLabels_[0], ScaleValueText(top, locale), scaleFont_);
    // The middle labels need the signed 32-bit difference; when it overflows
    // they keep their texts.
    const qint64 difference = qint64(top) - qint64(bottom);
    if (difference >= std::numeric_limits<qint32>::min() && difference <= std::numeric_limits<qint32>::max()) {
        SetLabelText(scaleLabels_[1], ScaleValueText(top - double(difference) * 0.25, locale), scaleFont_);
        SetLabelText(scaleLabels_[2], ScaleValueText(top - double(difference) * 0.5, locale), scaleFont_);
        SetLabelText(scaleLabels_[3], ScaleValueText(top - double(difference) * 0.75, locale), scaleFont_);
    }
    SetLabelText(scaleLabels_[4], ScaleValueText(bottom, locale), scaleFont_);
}

void Trend::DrawGrid(qint32 rows, qint32 cols, OleColor colour, qint32 style)
{
    plot_->drawGrid(rows, cols, colour, style);
}

void Trend::UpdateScaleFromBounds()
{
    if (!shownY_) {
        UpdateScale(topY_, bottomY_, leftX_, rightX_);
        return;
    }
    plot_->applyScale(topY_, bottomY_, leftX_, rightX_);
    const auto [top, bottom] = *shownY_;
    plot_->applyYRange(top, bottom);
    const QLocale locale;
    // A zoomed range has arbitrary ends: its labels carry the digits that the
    // distance between them needs, not the bounds' two decimals.
    const double step = (top - bottom) * 0.25;
    const int decimals = ScaleDecimalsForStep(std::fabs(step));
    for (int i = 0; i < int(scaleLabels_.size()); ++i)
        SetLabelText(scaleLabels_[i], ScaleValueText(top - step * i, locale, decimals), scaleFont_);
}

void Trend::DrawGridFromState()
{
    DrawGrid(gridRows_, gridCols_, gridColor_, gridStyle_);
}

void Trend::RunRepaintSequence()
{
    UpdateScaleFromBounds();
    DrawGridFromState();
    emit Paint();
}

void Trend::LayOut()
{
    const double twipsPerPixelX = LayoutTwips::TwipsPerInch / logicalDpiX();
    const double twipsPerPixelY = LayoutTwips::TwipsPerInch / logicalDpiY();
    const auto pixelsX = [&](double twips) { return qRound(twips / twipsPerPixelX); };
    const auto pixelsY = [&](double twips) { return qRound(twips / twipsPerPixelY); };

    frame_->setGeometry(rect());
    const QRect inner = frame_->contentsRect();
    const TrendLayout layout = LayOutTrend(QSizeF(inner.width() * twipsPerPixelX, inner.height() * twipsPerPixelY),
                                           QSizeF(plot_->width() * twipsPerPixelX, plot_->height() * twipsPerPixelY),
                                           scaleFont_.pointSizeF() / DesignScalePointSize);

    // Edges are rounded to pixels, so the plot's right edge meets the frame's.
    const int plotLeft = pixelsX(layout.plot.left());
    const int plotTop = pixelsY(layout.plot.top());
    plot_->setGeometry(inner.left() + plotLeft, inner.top() + plotTop, pixelsX(layout.plot.right()) - plotLeft,
                       pixelsY(layout.plot.bottom()) - plotTop);

    const auto pixels = [&](const QRectF &twips) {
        return QRect(QPoint(inner.left() + pixelsX(twips.left()), inner.top() + pixelsY(twips.top())),
                     QPoint(inner.left() + pixelsX(twips.right()) - 1, inner.top() + pixelsY(twips.bottom()) - 1));
    };
    for (int i = 0; i < int(scaleLabels_.size()); ++i) {
        scaleLabels_[i]->setGeometry(pixels(layout.scaleLabels[i]));
        FitLabelFont(scaleLabels_[i], scaleFont_);
    }
    for (int i = 0; i < int(timeLabels_.size()); ++i) {
        timeLabelPlaces_[i] = pixels(layout.timeLabels[i]);
        WidenTimeLabel(i);
    }
}

void Trend::WidenTimeLabel(int index)
{
    // A time is never cut: a text that does not fit even in the smallest
    // font widens its label, the left one about its centre, the right one
    // leftwards from the frame's edge.
    QLabel *label = timeLabels_[index];
    const QRect place = timeLabelPlaces_[index];
    label->setGeometry(place);
    FitLabelFont(label, timeFont_);
    const int margins = label->width() - label->contentsRect().width();
    const int needed = TextWidth(label, label->font()) + margins;
    if (needed <= place.width())
        return;
    QRect wide = place;
    if (index == 0)
        wide.setLeft(qMax(frame_->contentsRect().left(), place.center().x() - needed / 2));
    else
        wide.setLeft(place.right() + 1 - needed);
    wide.setWidth(needed);
    label->setGeometry(wide);
}

bool Trend::ApplyBorderStyle(qint32 style)
{
    if (style != 0 && style != 1)
        return false;
    borderStyle_ = style;
    frame_->setFrameStyle(style == 1 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    frame_->setLineWidth(1);
    return true;
}

void Trend::ApplyFrameBackColor(OleColor colour)
{
    frameBackColor_ = colour;
    QPalette palette = frame_->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    palette.setColor(QPalette::WindowText, Qt::black);
    frame_->setPalette(palette);
}

} // namespace Sweepgraph
