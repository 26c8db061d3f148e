#include "PageSurface.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage whitePage(int width = 420, int height = 594)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool inked(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Columns of the image row range [top, bottom) that carry ink, as runs [start, end).
std::vector<std::pair<int, int>> inkRuns(const QImage &image, int top, int bottom)
{
    std::vector<std::pair<int, int>> runs;
    int start = -1;
    for (int x = 0; x <= image.width(); ++x) {
        bool ink = false;
        for (int y = top; x < image.width() && y < bottom && !ink; ++y)
            ink = inked(image, x, y);
        if (ink && start < 0)
            start = x;
        if (!ink && start >= 0) {
            runs.emplace_back(start, x);
            start = -1;
        }
    }
    return runs;
}

} // namespace

TEST(PageSurface, ScaleByRectangleMapsOntoTheDrawableArea)
{
    QImage image = whitePage();
    QPainter painter(&image);
    PageSurface surface(painter, QRectF(10, 20, 400, 500));
    surface.SetScale(0, 0, 210, 297);
    EXPECT_DOUBLE_EQ(surface.ScaleWidth(), 210);
    EXPECT_DOUBLE_EQ(surface.ScaleHeight(), 297);
    EXPECT_EQ(surface.toDevice(0, 0), QPointF(10, 20));
    EXPECT_EQ(surface.toDevice(210, 297), QPointF(410, 520));
    EXPECT_EQ(surface.toDevice(105, 148.5), QPointF(210, 270));
}

TEST(PageSurface, NegativeHeightMakesYGrowUpwards)
{
    QImage image = whitePage();
    QPainter painter(&image);
    PageSurface surface(painter, QRectF(0, 0, 400, 600));
    surface.SetScaleWidth(100);
    surface.SetScaleHeight(-200);
    surface.SetScaleLeft(-20);
    surface.SetScaleTop(150);
    EXPECT_DOUBLE_EQ(surface.ScaleLeft(), -20);
    EXPECT_DOUBLE_EQ(surface.ScaleTop(), 150);
    EXPECT_EQ(surface.toDevice(-20, 150), QPointF(0, 0));
    EXPECT_EQ(surface.toDevice(80, -50), QPointF(400, 600));
    EXPECT_EQ(surface.toDevice(30, 50), QPointF(200, 300));
}

TEST(PageSurface, OperationsItCannotCarryOutLeaveItsState)
{
    QImage image = whitePage();
    QPainter painter(&image);
    PageSurface surface(painter, QRectF(0, 0, 400, 600));
    surface.SetScale(0, 0, 210, 297);
    surface.SetScaleWidth(0);
    surface.SetScaleHeight(0);
    surface.SetScale(5, 5, 5, 10);
    EXPECT_DOUBLE_EQ(surface.ScaleWidth(), 210);
    EXPECT_DOUBLE_EQ(surface.ScaleHeight(), 297);
    EXPECT_DOUBLE_EQ(surface.ScaleLeft(), 0);
    surface.SetPenWidth(3);
    surface.SetPenWidth(0);
    surface.SetPenWidth(-4);
    EXPECT_EQ(surface.PenWidth(), 3);
    surface.SetPenStyle(PenStyle::Dot);
    surface.SetPenStyle(7);
    surface.SetPenStyle(-1);
    EXPECT_EQ(surface.PenStyle(), PenStyle::Dot);
    EXPECT_FALSE(surface.NewPage()); // the preview picture has no sheets
}

TEST(PageSurface, LinesTakeTheirColourAndWidthInDots)
{
    QImage image = whitePage();
    {
        QPainter painter(&image);
        PageSurface surface(painter, QRectF(0, 0, 420, 594));
        surface.SetScale(0, 0, 210, 297);
        surface.SetPenWidth(6);
        surface.DrawLine(20, 100, 190, 100, 0x0000FF); // red in 0x00BBGGRR
    }
    EXPECT_EQ(QColor(image.pixel(200, 200)), QColor(255, 0, 0));
    int thickness = 0;
    for (int y = 190; y < 210; ++y)
        thickness += QColor(image.pixel(200, y)) == QColor(255, 0, 0);
    EXPECT_EQ(thickness, 6);
    EXPECT_EQ(QColor(image.pixel(30, 200)), QColor(Qt::white)); // flat ends: nothing left of x = 40
}

struct StyleCase {
    const char *name;
    int style;
    bool gaps;
    bool ink;
};

TEST(PageSurface, PenStylesDrawTheirPatterns)
{
    const StyleCase cases[] = {
        {"solid", PenStyle::Solid, false, true},
        {"dash", PenStyle::Dash, true, true},
        {"dot", PenStyle::Dot, true, true},
        {"dash-dot", PenStyle::DashDot, true, true},
        {"dash-dot-dot", PenStyle::DashDotDot, true, true},
        {"invisible", PenStyle::Invisible, false, false},
        {"inside solid", PenStyle::InsideSolid, false, true},
    };
    for (const StyleCase &c : cases) {
        QImage image = whitePage();
        {
            QPainter painter(&image);
            PageSurface surface(painter, QRectF(0, 0, 420, 594));
            surface.SetPenStyle(c.style);
            surface.DrawLine(10, 100.5, 410, 100.5, Black);
        }
        int dark = 0;
        for (int x = 10; x < 410; ++x)
            dark += inked(image, x, 100);
        if (!c.ink)
            EXPECT_EQ(dark, 0) << c.name;
        else if (c.gaps)
            EXPECT_TRUE(dark > 40 && dark < 360) << c.name << ": " << dark;
        else
            EXPECT_EQ(dark, 400) << c.name;
    }
}

TEST(PageSurface, TextItemsAreAdjacentOrAtTheNextPrintZone)
{
    QImage image = whitePage(1200, 200);
    double zone = 0, lineSpacing = 0, adjacentEnd = 0;
    {
        QPainter painter(&image);
        PageSurface surface(painter, QRectF(0, 0, 1200, 200));
        surface.SetScale(0, 0, 1200, 200);
        surface.SetFont(PageFont(20));
        const QFontMetricsF metrics(surface.Font(), &image);
        zone = PageSurface::PrintZoneCharacters * metrics.averageCharWidth();
        lineSpacing = metrics.lineSpacing();
        adjacentEnd = 10 + metrics.horizontalAdvance(QStringLiteral("IIII"));
        surface.SetTextPosition(10, 10);
        surface.Print(TextLine(QStringLiteral("II")).Adjacent(QStringLiteral("II")).NextZone(QStringLiteral("I")));
        EXPECT_DOUBLE_EQ(surface.CurrentX(), 0);
        EXPECT_NEAR(surface.CurrentY(), 10 + lineSpacing, 1e-9);
        // From past the first zone the next item goes to the second.
        surface.SetTextPosition(zone + 1, 100);
        surface.Print(TextLine(QStringLiteral("I")).NextZone(QStringLiteral("I")));
        // Text that ends less than a blank before a zone skips to the one after.
        surface.SetTextPosition(2 * zone - metrics.horizontalAdvance(QStringLiteral("I")) -
                                    metrics.horizontalAdvance(QLatin1Char(' ')) / 2,
                                150);
        surface.Print(TextLine(QStringLiteral("I")).NextZone(QStringLiteral("I")));
    }
    ASSERT_LT(adjacentEnd, zone);
    const auto first = inkRuns(image, 10, 10 + int(lineSpacing));
    ASSERT_EQ(first.size(), 5u); // four adjacent bars and the one at the zone
    EXPECT_LT(first[3].second, adjacentEnd + 1);
    EXPECT_NEAR(first[4].first, zone, 4);
    const auto second = inkRuns(image, 100, 100 + int(lineSpacing));
    ASSERT_EQ(second.size(), 2u);
    EXPECT_NEAR(second[1].first, 2 * zone, 4);
    const auto third = inkRuns(image, 150, 150 + int(lineSpacing) - 1);
    ASSERT_EQ(third.size(), 2u);
    EXPECT_NEAR(third[1].first, 3 * zone, 4);
}

TEST(PageSurface, TextHangsBelowItsPositionWhateverWayYGrows)
{
    for (const double height : {200.0, -200.0}) {
        QImage image = whitePage(400, 200);
        {
            QPainter painter(&image);
            PageSurface surface(painter, QRectF(0, 0, 400, 200));
            surface.SetScale(0, height > 0 ? 0 : 200, 400, height > 0 ? 200 : 0);
            surface.SetTextPosition(10, height > 0 ? 50 : 150); // device row 50 either way
            surface.Print(TextLine(QStringLiteral("HHHH")));
            // The next line is further down the page.
            if (height > 0)
                EXPECT_GT(surface.CurrentY(), 50);
            else
                EXPECT_LT(surface.CurrentY(), 150);
        }
        const auto above = inkRuns(image, 0, 50);
        const auto below = inkRuns(image, 50, 80);
        EXPECT_TRUE(above.empty()) << height;
        EXPECT_FALSE(below.empty()) << height;
    }
}
