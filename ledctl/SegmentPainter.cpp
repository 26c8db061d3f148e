#include "SegmentPainter.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace LEDCtl1 {

namespace {

// Rounds half to even, as the stroke measures require (2.5 gives 2, 3.5 gives 4).
// Empty when the result does not fit 32 bits.
std::optional<qint32> roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

// Segments of each character, in drawing order: 1 top, 2 upper right,
// 3 lower right, 4 bottom, 5 lower left, 6 upper left, 7 middle, 8 minus bar,
// 9 decimal point, 10 colon.
const char *segmentsOf(QChar character)
{
    switch (character.unicode()) {
    case '0':
        return "\1\2\3\4\5\6";
    case '1':
        return "\2\3";
    case '2':
        return "\1\2\7\5\4";
    case '3':
        return "\1\2\7\3\4";
    case '4':
        return "\2\3\7\6";
    case '5':
        return "\1\6\7\3\4";
    case '6':
        return "\1\6\7\3\4\5";
    case '7':
        return "\1\2\3";
    case '8':
        return "\1\2\3\4\5\6\7";
    case '9':
        return "\1\2\3\4\6\7";
    case 'O':
        return "\1\2\3\4\5\6";
    case 'L':
        return "\4\5\6";
    case '-':
        return "\10";
    case '.':
        return "\11";
    case ':':
        return "\12";
    default:
        return "";
    }
}

constexpr float SweepStep = 0.1f;
// Millimetres; far below the 2^21 at which adding SweepStep to w stops counting.
constexpr double LongestSweep = 100000.0;

qint64 toPixel(float millimetres, float pixelsPerMm)
{
    return qRound64(double(millimetres) * double(pixelsPerMm));
}

} // namespace

SegmentPainter::SegmentPainter(QPainter &painter, const SegmentSettings &settings, QSize clientPixels,
                               float pixelsPerMmX, float pixelsPerMmY)
    : painter_(painter), settings_(settings), clientPixels_(clientPixels), pixelsPerMmX_(pixelsPerMmX),
      pixelsPerMmY_(pixelsPerMmY),
      lineWidth_(std::max(1, int(std::ceil(double(SweepStep) * double(std::max(pixelsPerMmX, pixelsPerMmY)))))),
      coverage_(size_t(std::max(0, clientPixels.width())) * size_t(std::max(0, clientPixels.height())), 0)
{
    const qint64 columns = 3 * qint64(settings.bitNumber) + 1;
    const bool columnsFit =
        columns >= std::numeric_limits<qint32>::min() && columns <= std::numeric_limits<qint32>::max();
    if (settings.referenceWidth != 0.0f && columnsFit) {
        thickness_ =
            roundHalfEven(double(settings.segWidth) * double(settings.clientWidth) / double(settings.referenceWidth));
        unit_ = settings.clientWidth / float(qint32(columns));
    }
    // A stroke wider than the whole client area shows nothing legible, and its
    // sweep would run to millions of lines (or forever, once adding 0.1 no
    // longer changes a single-precision w), so it counts as undefined too.
    const double widest = std::min(double(settings.clientWidth) + double(settings.clientHeight), LongestSweep);
    if (thickness_ && std::abs(double(*thickness_)) / 2.0 > widest)
        thickness_.reset();
}

void SegmentPainter::DrawCaption(const QString &caption, const QColor &foreColor)
{
    const int length = caption.size();
    qint32 cell = 0;
    for (int k = 0; k < length; ++k) {
        const QChar character = caption.at(k);
        DrawChar(character, cell);
        if (character != QLatin1Char(':') && character != QLatin1Char('.'))
            ++cell;
    }

    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(foreColor);
    painter_.drawRects(litRectangles());
}

void SegmentPainter::DrawChar(QChar character, qint32 cell)
{
    for (const char *segment = segmentsOf(character); *segment != '\0'; ++segment)
        DrawSegment(*segment, cell);
}

void SegmentPainter::DrawSegment(int segment, qint32 cell)
{
    if (!thickness_)
        return;
    const qint32 t = *thickness_;
    const float u = unit_;
    const float h = settings_.clientHeight;
    const float x0 = u + 3.0f * u * float(cell);
    const float x1 = x0 + 2.0f * u;
    const float yt = h / 10.0f;
    const float ym = yt + 0.4f * h;
    const float yb = yt + 0.8f * h;
    const float g2 = float(settings_.interval) / 2.0f;
    const float outerEnd = float(t) / 2.0f;
    const float middleEnd = float(t) / 4.0f;

    switch (segment) {
    case 1:
        for (float w = 0.0f; w <= outerEnd; w += SweepStep)
            addHorizontal(x0 + g2 + w, x1 - g2 - w, yt + w);
        break;
    case 2:
        for (float w = 0.0f; w <= outerEnd; w += SweepStep)
            addVertical(x1 - w, yt + g2 + w, ym - g2 - w / 2.0f);
        break;
    case 3:
        for (float w = 0.0f; w <= outerEnd; w += SweepStep)
            addVertical(x1 - w, ym + g2 + w / 2.0f, yb - g2 - w);
        break;
    case 4:
        for (float w = 0.0f; w <= outerEnd; w += SweepStep)
            addHorizontal(x0 + g2 + w, x1 - g2 - w, yb - w);
        break;
    case 5:
        for (float w = 0.0f; w <= outerEnd; w += SweepStep)
            addVertical(x0 + w, ym + g2 + w / 2.0f, yb - g2 - w);
        break;
    case 6:
        for (float w = 0.0f; w <= outerEnd; w += SweepStep)
            addVertical(x0 + w, yt + g2 + w, ym - g2 - w / 2.0f);
        break;
    case 7:
        for (float w = 0.0f; w <= middleEnd; w += SweepStep)
            addHorizontal(x0 + g2 + 2.0f * w, x1 - g2 - 2.0f * w, ym + w);
        for (float w = 0.0f; w <= middleEnd; w += SweepStep)
            addHorizontal(x0 + g2 + 2.0f * w, x1 - g2 - 2.0f * w, ym - w);
        break;
    case 8:
        addBox(x0, ym, x1, ym + float(t) / 2.0f);
        break;
    case 9:
    case 10: {
        const std::optional<qint32> side = roundHalfEven(double(t) / 2.0);
        if (!side)
            return;
        const float d = float(*side);
        const float left = 3.0f * u * float(cell) + (u - d) / 2.0f;
        if (segment == 9) {
            addBox(left, 0.9f * h - d, left + d, 0.9f * h);
        } else {
            addBox(left, 0.7f * h - d, left + d, 0.7f * h);
            addBox(left, 0.4f * h - d, left + d, 0.4f * h);
        }
        break;
    }
    default:
        break;
    }
}

// Every coordinate goes to the nearest pixel edge. Every sweep line is
// horizontal or vertical, so each becomes a run of whole device pixels one
// line wide, from its start up to but not including its end.
void SegmentPainter::addHorizontal(float x1, float x2, float y)
{
    const qint64 row = toPixel(y, pixelsPerMmY_);
    addPixels(std::min(toPixel(x1, pixelsPerMmX_), toPixel(x2, pixelsPerMmX_)), row,
              std::max(toPixel(x1, pixelsPerMmX_), toPixel(x2, pixelsPerMmX_)), row + lineWidth_);
}

void SegmentPainter::addVertical(float x, float y1, float y2)
{
    const qint64 column = toPixel(x, pixelsPerMmX_);
    addPixels(column, std::min(toPixel(y1, pixelsPerMmY_), toPixel(y2, pixelsPerMmY_)), column + lineWidth_,
              std::max(toPixel(y1, pixelsPerMmY_), toPixel(y2, pixelsPerMmY_)));
}

// A filled rectangle between two corners.
void SegmentPainter::addBox(float x1, float y1, float x2, float y2)
{
    addPixels(std::min(toPixel(x1, pixelsPerMmX_), toPixel(x2, pixelsPerMmX_)),
              std::min(toPixel(y1, pixelsPerMmY_), toPixel(y2, pixelsPerMmY_)),
              std::max(toPixel(x1, pixelsPerMmX_), toPixel(x2, pixelsPerMmX_)),
              std::max(toPixel(y1, pixelsPerMmY_), toPixel(y2, pixelsPerMmY_)));
}

// Marks pixels from (left, top) up to but not including (right, bottom), cut
// to the client area.
void SegmentPainter::addPixels(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    const qint64 width = clientPixels_.width();
    left = std::max<qint64>(left, 0);
    top = std::max<qint64>(top, 0);
    right = std::min<qint64>(right, width);
    bottom = std::min<qint64>(bottom, clientPixels_.height());
    if (right <= left || bottom <= top)
        return;
    quint8 *row = coverage_.data() + top * width + left;
    const qint64 length = right - left;
    for (qint64 y = top; y < bottom; ++y, row += width) {
        // Upright sweep lines are a pixel or two wide: not worth a memset call.
        if (length <= 4) {
            for (qint64 x = 0; x < length; ++x)
                row[x] = 1;
        } else {
            std::memset(row, 1, size_t(length));
        }
    }
}

// Turns the lit pixels into rectangles: one per run of lit pixels in a row,
// and rows whose runs are all the same as the row above's extend its
// rectangles downward, so that an upright stroke becomes a few tall pieces
// rather than many one-pixel columns.
QVector<QRect> SegmentPainter::litRectangles() const
{
    const int width = clientPixels_.width();
    QVector<QRect> rectangles;
    QVector<int> openRectangles; // indices of the rectangles that reach the previous row
    std::vector<std::pair<int, int>> runs;
    std::vector<std::pair<int, int>> previousRuns;
    for (int y = 0; y < clientPixels_.height(); ++y) {
        const quint8 *row = coverage_.data() + qint64(y) * width;
        runs.clear();
        for (int x = 0; x < width;) {
            const auto *lit = static_cast<const quint8 *>(std::memchr(row + x, 1, size_t(width - x)));
            if (lit == nullptr)
                break;
            const int start = int(lit - row);
            const auto *dark = static_cast<const quint8 *>(std::memchr(lit, 0, size_t(width - start)));
            x = dark == nullptr ? width : int(dark - row);
            runs.emplace_back(start, x);
        }
        if (runs == previousRuns) {
            for (int index : std::as_const(openRectangles))
                rectangles[index].setBottom(y);
            continue;
        }
        openRectangles.clear();
        for (const auto &run : runs) {
            openRectangles.append(rectangles.size());
            rectangles.append(QRect(run.first, y, run.second - run.first, 1));
        }
        previousRuns.swap(runs);
    }
    return rectangles;
}

} // namespace LEDCtl1
