// The LED widget is checked by what it paints: it is rendered into images at
// known sizes and the pixels at the middle of every segment, point and colon
// square are read back.

#include "LedProbe.h"

#include <LED.h>

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using LEDCtl1::LED;
using ledprobe::AllDigitSegments;
using ledprobe::Back;
using ledprobe::Fore;
using ledprobe::Layout;

namespace {

constexpr QSize Wide(400, 150);

// A widget of the given size whose SegWidth was assigned at that size.
std::unique_ptr<LED> makeLed(QSize size, const QString &caption, qint32 bitNumber, qint32 segWidth = 8,
                             qint32 interval = 2)
{
    auto led = std::make_unique<LED>();
    led->resize(size);
    led->setForeColor(Fore);
    led->setBackColor(Back);
    led->setCaption(caption);
    led->setBitNumber(bitNumber);
    led->setInterval(interval);
    led->setSegWidth(segWidth);
    return led;
}

// ---------------------------------------------------------------- characters

struct CharacterCase {
    const char *name;
    QChar character;
    unsigned segments; // bit n set for segment n (1..8)
};

unsigned bits(std::initializer_list<int> segments)
{
    unsigned mask = 0;
    for (int segment : segments)
        mask |= 1u << segment;
    return mask;
}

class CharacterTable : public ::testing::TestWithParam<CharacterCase> {};

TEST_P(CharacterTable, LightsExactlyItsSegments)
{
    const CharacterCase &row = GetParam();
    const auto led = makeLed(Wide, QString(row.character), 1);
    const QImage image = ledprobe::render(*led);
    const Layout layout(*led, 1, 8);
    EXPECT_EQ(layout.litSegments(image, 0), row.segments);
    if (row.segments == 0) {
        EXPECT_TRUE(ledprobe::isBlank(image)) << "a character outside the table draws nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Led, CharacterTable,
    ::testing::Values(
        CharacterCase{"zero", '0', bits({1, 2, 3, 4, 5, 6})}, CharacterCase{"one", '1', bits({2, 3})},
        CharacterCase{"two", '2', bits({1, 2, 7, 5, 4})}, CharacterCase{"three", '3', bits({1, 2, 7, 3, 4})},
        CharacterCase{"four", '4', bits({2, 3, 7, 6})}, CharacterCase{"five", '5', bits({1, 6, 7, 3, 4})},
        CharacterCase{"six", '6', bits({1, 6, 7, 3, 4, 5})}, CharacterCase{"seven", '7', bits({1, 2, 3})},
        CharacterCase{"eight", '8', bits({1, 2, 3, 4, 5, 6, 7})}, CharacterCase{"nine", '9', bits({1, 2, 3, 4, 6, 7})},
        CharacterCase{"capital_O", 'O', bits({1, 2, 3, 4, 5, 6})}, CharacterCase{"capital_L", 'L', bits({4, 5, 6})},
        CharacterCase{"minus", '-', bits({8})}, CharacterCase{"space", ' ', 0}, CharacterCase{"small_o", 'o', 0},
        CharacterCase{"small_l", 'l', 0}, CharacterCase{"capital_A", 'A', 0}, CharacterCase{"small_b", 'b', 0},
        CharacterCase{"degree", QChar(0xB0), 0}),
    [](const ::testing::TestParamInfo<CharacterCase> &instance) { return std::string(instance.param.name); });

// ------------------------------------------------------ cells, points, colons

TEST(LedCells, PointsSitInTheGapAfterTheirDigits)
{
    const auto led = makeLed(Wide, QStringLiteral("8.8.8.8"), 4);
    const QImage image = ledprobe::render(*led);
    const Layout layout(*led, 4, 8);
    for (int cell = 0; cell < 4; ++cell)
        EXPECT_EQ(layout.litSegments(image, cell), AllDigitSegments) << "cell " << cell;
    EXPECT_FALSE(layout.pointLit(image, 0)) << "no point in the left margin";
    for (int cell = 1; cell < 4; ++cell)
        EXPECT_TRUE(layout.pointLit(image, cell)) << "point before cell " << cell;
    EXPECT_FALSE(layout.pointLit(image, 4)) << "the last digit has no point";
    for (int cell = 0; cell <= 4; ++cell)
        EXPECT_EQ(layout.colonSquaresLit(image, cell), 0) << "gap " << cell;
}

TEST(LedCells, ColonSitsInTheGapBeforeTheThirdDigit)
{
    const auto led = makeLed(Wide, QStringLiteral("88:88"), 4);
    const QImage image = ledprobe::render(*led);
    const Layout layout(*led, 4, 8);
    for (int cell = 0; cell < 4; ++cell)
        EXPECT_EQ(layout.litSegments(image, cell), AllDigitSegments) << "cell " << cell;
    for (int cell = 0; cell <= 4; ++cell) {
        EXPECT_EQ(layout.colonSquaresLit(image, cell), cell == 2 ? 2 : 0) << "gap " << cell;
        EXPECT_FALSE(layout.pointLit(image, cell)) << "gap " << cell;
    }

    // The right margin after the fourth digit is one unit wide and empty.
    const int row = layout.pixelY((layout.yt() + layout.ym()) / 2);
    const int digitEnd = layout.pixelX(layout.x1(3));
    EXPECT_EQ(image.pixel(digitEnd - 2, row), ledprobe::ForeRgb);
    int firstBlank = digitEnd - 2;
    while (firstBlank < image.width() && image.pixel(firstBlank, row) == ledprobe::ForeRgb)
        ++firstBlank;
    EXPECT_NEAR(image.width() - firstBlank, layout.u() * layout.perMmX(), 2.0);
    for (int x = firstBlank; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            ASSERT_EQ(image.pixel(x, y), ledprobe::BackRgb) << x << "," << y;
}

TEST(LedCells, LeadingPointIsDrawnInTheLeftMargin)
{
    const auto led = makeLed(Wide, QStringLiteral(".8"), 2);
    const QImage image = ledprobe::render(*led);
    const Layout layout(*led, 2, 8);
    EXPECT_TRUE(layout.pointLit(image, 0));
    EXPECT_EQ(layout.litSegments(image, 0), AllDigitSegments) << "the point takes no cell";
    EXPECT_EQ(layout.litSegments(image, 1), 0u);
    EXPECT_FALSE(layout.pointLit(image, 1));
}

TEST(LedCells, EmptyCaptionLeavesOnlyTheBackground)
{
    const auto led = makeLed(Wide, QString(), 4);
    EXPECT_TRUE(ledprobe::isBlank(ledprobe::render(*led)));
}

struct ShiftCase {
    const char *name;
    const char *caption;
    unsigned firstCell;
};

class BlankCharacters : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(BlankCharacters, TakeACellAndShiftTheRest)
{
    const ShiftCase &row = GetParam();
    const auto led = makeLed(Wide, QLatin1String(row.caption), 2);
    const QImage image = ledprobe::render(*led);
    const Layout layout(*led, 2, 8);
    EXPECT_EQ(layout.litSegments(image, 0), row.firstCell);
    EXPECT_EQ(layout.litSegments(image, 1), AllDigitSegments);
}

INSTANTIATE_TEST_SUITE_P(Led, BlankCharacters,
                         ::testing::Values(ShiftCase{"small_o", "o8", 0}, ShiftCase{"small_l", "l8", 0},
                                           ShiftCase{"space", " 8", 0},
                                           ShiftCase{"capital_O_is_a_digit", "O8", bits({1, 2, 3, 4, 5, 6})}),
                         [](const ::testing::TestParamInfo<ShiftCase> &instance) {
                             return std::string(instance.param.name);
                         });

TEST(LedCells, NoCellsDrawNothing)
{
    const auto led = makeLed(Wide, QStringLiteral("8888"), 0);
    EXPECT_TRUE(ledprobe::isBlank(ledprobe::render(*led)));
}

// --------------------------------------------------------- stroke thickness

struct StrokeCase {
    const char *name;
    int referenceWidth; // pixels when SegWidth is assigned
    int drawnWidth;     // pixels when drawn
    qint32 segWidth;
    int thickness; // T
    int pointSide; // D
};

class StrokeThickness : public ::testing::TestWithParam<StrokeCase> {};

TEST_P(StrokeThickness, FollowsSegWidthAndTheReferenceWidth)
{
    const StrokeCase &row = GetParam();
    const auto led = makeLed(QSize(row.referenceWidth, 150), QStringLiteral("8.8"), 2, row.segWidth);
    led->resize(row.drawnWidth, 150);
    const QImage image = ledprobe::render(*led);
    const Layout layout(*led, 2, row.thickness);

    // The top segment is T/2 thick: lines at Yt + w for w = 0 .. T/2.
    EXPECT_NEAR(layout.topStrokePixels(image, 0), row.thickness / 2.0 * layout.perMmY(), 1.5);
    // The point is a D by D square; D = 0 leaves the whole gap empty.
    EXPECT_NEAR(layout.pointPixels(image, 1), row.pointSide * layout.perMmX(), 1.0);
    if (row.pointSide == 0) {
        EXPECT_TRUE(layout.gapBlank(image, 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Led, StrokeThickness,
    ::testing::Values(
        // At the reference width T is SegWidth, D is T/2 rounded half to even.
        StrokeCase{"segwidth1_point_vanishes", 400, 400, 1, 1, 0}, StrokeCase{"segwidth3", 400, 400, 3, 3, 2},
        StrokeCase{"segwidth5_half_rounds_down", 400, 400, 5, 5, 2}, StrokeCase{"segwidth7", 400, 400, 7, 7, 4},
        StrokeCase{"segwidth8", 400, 400, 8, 8, 4},
        // At half the reference width T = SegWidth / 2, rounded half to even.
        StrokeCase{"half_width_1_5_to_2", 400, 200, 3, 2, 1}, StrokeCase{"half_width_2_5_to_2", 400, 200, 5, 2, 1},
        StrokeCase{"half_width_3_5_to_4", 400, 200, 7, 4, 2}, StrokeCase{"half_width_4_5_to_4", 400, 200, 9, 4, 2},
        // Twice the reference width doubles T.
        StrokeCase{"double_width", 200, 400, 4, 8, 4}),
    [](const ::testing::TestParamInfo<StrokeCase> &instance) { return std::string(instance.param.name); });

TEST(LedStroke, NewSegWidthTakesTheCurrentWidthAsReference)
{
    const auto led = makeLed(QSize(200, 150), QStringLiteral("8"), 1, 4);
    const float narrow = led->ReferenceWidth();
    EXPECT_NEAR(narrow, 200 / Layout(*led, 1, 4).perMmX(), 1e-3);

    led->resize(400, 150);
    EXPECT_EQ(led->ReferenceWidth(), narrow);
    {
        const Layout layout(*led, 1, 8);
        EXPECT_NEAR(layout.topStrokePixels(ledprobe::render(*led), 0), 4.0 * layout.perMmY(), 1.5) << "T doubled";
    }

    led->setSegWidth(4);
    EXPECT_FLOAT_EQ(led->ReferenceWidth(), 2 * narrow);
    const Layout layout(*led, 1, 4);
    EXPECT_NEAR(layout.topStrokePixels(ledprobe::render(*led), 0), 2.0 * layout.perMmY(), 1.5) << "T is SegWidth again";
}

// Where the geometry is undefined the widget draws no segments and keeps going.
struct UndefinedCase {
    const char *name;
    int referenceWidth;
    qint32 segWidth;
    qint32 bitNumber;
};

class UndefinedGeometry : public ::testing::TestWithParam<UndefinedCase> {};

TEST_P(UndefinedGeometry, DrawsOnlyTheBackground)
{
    const UndefinedCase &row = GetParam();
    const auto led = makeLed(QSize(row.referenceWidth, 150), QStringLiteral("8.8:-8"), row.bitNumber, row.segWidth);
    led->resize(Wide);
    EXPECT_TRUE(ledprobe::isBlank(ledprobe::render(*led)));
}

INSTANTIATE_TEST_SUITE_P(
    Led, UndefinedGeometry,
    ::testing::Values(UndefinedCase{"zero_reference_width", 0, 8, 4},
                      UndefinedCase{"cell_count_overflows", 400, 8, std::numeric_limits<qint32>::max()},
                      UndefinedCase{"thickness_overflows", 200, std::numeric_limits<qint32>::max(), 4},
                      UndefinedCase{"stroke_wider_than_the_widget", 400, 400, 4}),
    [](const ::testing::TestParamInfo<UndefinedCase> &instance) { return std::string(instance.param.name); });

// ------------------------------------------------------------- property bag

TEST(LedProperties, StartWithTheWidgetsOwnValues)
{
    LED led;
    EXPECT_EQ(led.Caption(), QStringLiteral("-8.8888"));
    EXPECT_EQ(led.ForeColor(), 0x00FF00u);
    EXPECT_EQ(led.BackColor(), 0x404040u);
    EXPECT_EQ(led.SegWidth(), 0);
    EXPECT_EQ(led.Interval(), 0);
    EXPECT_EQ(led.BitNumber(), 0);
    EXPECT_EQ(led.BorderStyle(), LED::None);
    EXPECT_NEAR(led.ReferenceWidth(), led.width() / Layout(led, 1, 0).perMmX(), 1e-3);
}

TEST(LedProperties, EmptyBagGivesTheDefaultsAndWritesNothingBack)
{
    LED led;
    led.resize(Wide);
    led.ReadProperties(PropertyBag());
    EXPECT_EQ(led.BackColor(), 0xFFFFFFu);
    EXPECT_EQ(led.ForeColor(), 0u);
    EXPECT_EQ(led.Caption(), QStringLiteral("88888"));
    EXPECT_EQ(led.SegWidth(), 8);
    EXPECT_EQ(led.Interval(), 2);
    EXPECT_EQ(led.BitNumber(), 5);
    EXPECT_NEAR(led.ReferenceWidth(), Wide.width() / Layout(led, 5, 8).perMmX(), 1e-3) << "width at load";

    PropertyBag bag;
    led.WriteProperties(bag);
    EXPECT_TRUE(bag.isEmpty()) << bag.keys().join(QLatin1Char(',')).toStdString();
}

TEST(LedProperties, RoundTripStoresOnlyWhatDiffersFromTheDefaults)
{
    LED source;
    source.resize(Wide);
    source.ReadProperties(PropertyBag());
    source.setForeColor(0x0000FF);
    source.setCaption(QStringLiteral("12.35"));
    source.setSegWidth(6);
    source.setBitNumber(4);
    EXPECT_TRUE(source.setBorderStyle(LED::FixedSingle));
    EXPECT_TRUE(source.setAppearance(0));

    PropertyBag bag;
    source.WriteProperties(bag);
    EXPECT_EQ(bag.keys(), (QStringList{QStringLiteral("Caption"), QStringLiteral("CharCounter"),
                                       QStringLiteral("ForeColor"), QStringLiteral("SegWidth")}));
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("CharCounter")).toInt(), 4);

    LED copy;
    copy.resize(200, 100);
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.ForeColor(), 0x0000FFu);
    EXPECT_EQ(copy.BackColor(), 0xFFFFFFu);
    EXPECT_EQ(copy.Caption(), QStringLiteral("12.35"));
    EXPECT_EQ(copy.SegWidth(), 6);
    EXPECT_EQ(copy.Interval(), 2);
    EXPECT_EQ(copy.BitNumber(), 4);
    EXPECT_EQ(copy.BorderStyle(), LED::None) << "the border is not persisted";
    EXPECT_EQ(copy.Appearance(), 1) << "the appearance is not persisted";
    EXPECT_NEAR(copy.ReferenceWidth(), 200 / Layout(copy, 4, 6).perMmX(), 1e-3);

    PropertyBag again;
    copy.WriteProperties(again);
    EXPECT_EQ(again.keys(), bag.keys());
}

TEST(LedProperties, KeysAreReadWithoutRegardToCase)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("charcounter"), 1);
    bag.WriteProperty(QStringLiteral("CAPTION"), QStringLiteral("7"));
    bag.WriteProperty(QStringLiteral("forecolor"), Fore);
    bag.WriteProperty(QStringLiteral("BACKCOLOR"), Back);
    bag.WriteProperty(QStringLiteral("segwidth"), 8);
    LED led;
    led.resize(Wide);
    led.ReadProperties(bag);
    EXPECT_EQ(led.BitNumber(), 1);
    EXPECT_EQ(led.Caption(), QStringLiteral("7"));

    // What was read is what is drawn.
    const QImage image = ledprobe::render(led);
    EXPECT_EQ(Layout(led, 1, 8).litSegments(image, 0), bits({1, 2, 3}));
}

TEST(LedProperties, UnreadableValuesCountAsMissing)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("SegWidth"), QStringLiteral("wide"));
    bag.WriteProperty(QStringLiteral("CharCounter"), QStringLiteral("4"));
    bag.WriteProperty(QStringLiteral("ForeColor"), QStringLiteral("red"));
    LED led;
    led.ReadProperties(bag);
    EXPECT_EQ(led.SegWidth(), 8);
    EXPECT_EQ(led.BitNumber(), 4) << "a number stored as text still reads";
    EXPECT_EQ(led.ForeColor(), 0u);
}

// ----------------------------------------------------------- frame and errors

struct FrameValueCase {
    const char *name;
    qint32 value;
    bool accepted;
};

class FrameSetters : public ::testing::TestWithParam<FrameValueCase> {};

TEST_P(FrameSetters, RejectWhatDoesNotFitAndChangeNothing)
{
    const FrameValueCase &row = GetParam();
    LED led;
    ASSERT_TRUE(led.setAppearance(1));
    ASSERT_TRUE(led.setBorderStyle(LED::FixedSingle));
    EXPECT_EQ(led.setAppearance(row.value), row.accepted);
    EXPECT_EQ(led.Appearance(), row.accepted ? row.value : 1);
    EXPECT_EQ(led.setBorderStyle(row.value), row.accepted);
    EXPECT_EQ(led.BorderStyle(), row.accepted ? row.value : qint32(LED::FixedSingle));
}

INSTANTIATE_TEST_SUITE_P(
    Led, FrameSetters,
    ::testing::Values(FrameValueCase{"zero", 0, true}, FrameValueCase{"one", 1, true},
                      FrameValueCase{"unknown_style", 2, false}, FrameValueCase{"negative_style", -1, false},
                      FrameValueCase{"largest_16_bit", 32767, false}, FrameValueCase{"overflow_up", 32768, false},
                      FrameValueCase{"overflow_down", -32769, false},
                      FrameValueCase{"overflow_32_bit", std::numeric_limits<qint32>::max(), false}),
    [](const ::testing::TestParamInfo<FrameValueCase> &instance) { return std::string(instance.param.name); });

struct BorderCase {
    const char *name;
    qint32 borderStyle;
    qint32 appearance;
    int border; // pixels on each side
};

class Border : public ::testing::TestWithParam<BorderCase> {};

TEST_P(Border, SurroundsAndShrinksTheClientArea)
{
    const BorderCase &row = GetParam();
    const auto led = makeLed(Wide, QString(), 4);
    ASSERT_TRUE(led->setAppearance(row.appearance));
    ASSERT_TRUE(led->setBorderStyle(row.borderStyle));
    const QImage image = ledprobe::render(*led);
    for (int i = 0; i < row.border; ++i) {
        EXPECT_NE(image.pixel(i, Wide.height() / 2), ledprobe::BackRgb) << "left border column " << i;
        EXPECT_NE(image.pixel(Wide.width() / 2, Wide.height() - 1 - i), ledprobe::BackRgb) << "bottom row " << i;
    }
    EXPECT_EQ(image.pixel(row.border, row.border), ledprobe::BackRgb);
    EXPECT_EQ(image.pixel(Wide.width() - 1 - row.border, Wide.height() - 1 - row.border), ledprobe::BackRgb);
}

INSTANTIATE_TEST_SUITE_P(Led, Border,
                         ::testing::Values(BorderCase{"none", LED::None, 1, 0},
                                           BorderCase{"single_flat", LED::FixedSingle, 0, 1},
                                           BorderCase{"single_3d", LED::FixedSingle, 1, 2}),
                         [](const ::testing::TestParamInfo<BorderCase> &instance) {
                             return std::string(instance.param.name);
                         });

// ------------------------------------------------------------------ events

bool processUntil(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

QImage onScreen(const LED &led)
{
    return QGuiApplication::primaryScreen()->grabWindow(led.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(LedEvents, PaintAnswersOnlyTheWindowSystem)
{
    const auto led = makeLed(Wide, QStringLiteral("88"), 2);
    int paints = 0;
    int refreshes = 0;
    QObject::connect(led.get(), &LED::Paint, [&paints] { ++paints; });
    QObject::connect(led.get(), &LED::Refresh, [&refreshes] { ++refreshes; });

    led->show();
    ASSERT_TRUE(processUntil([&paints] { return paints > 0; })) << "showing the widget paints it";
    settle();
    const Layout layout(*led, 2, 8);
    EXPECT_EQ(layout.litSegments(onScreen(*led), 0), AllDigitSegments);

    // A property change repaints the widget without raising Paint.
    int before = paints;
    led->setCaption(QStringLiteral("18"));
    settle();
    EXPECT_EQ(paints, before);
    EXPECT_EQ(layout.litSegments(onScreen(*led), 0), bits({2, 3})) << "the change is on screen";

    led->resize(Wide.width(), Wide.height() + 10);
    settle();
    EXPECT_EQ(paints, before) << "nor does a resize";

    led->repaint();
    EXPECT_EQ(paints, before + 1) << "a paint request raises Paint";

    // The border is the window system's to draw: its repaint raises Paint.
    before = paints;
    ASSERT_TRUE(led->setBorderStyle(LED::FixedSingle));
    EXPECT_TRUE(processUntil([&paints, before] { return paints > before; }));
    EXPECT_NE(onScreen(*led).pixel(0, 20), ledprobe::BackRgb);

    EXPECT_EQ(refreshes, 0);
}

TEST(LedEvents, RenderingIsAPaintRequest)
{
    const auto led = makeLed(Wide, QStringLiteral("8"), 1);
    int paints = 0;
    QObject::connect(led.get(), &LED::Paint, [&paints] { ++paints; });
    ledprobe::render(*led);
    EXPECT_EQ(paints, 1);
}

} // namespace

// ---------------------------------------------------------------- accessibility

// A screen reader cannot see segments: the reading has to come as text.
TEST(LedAccessibility, TheCaptionIsTheValueAndTheNameUntilTheHostNamesIt)
{
    LED led;
    led.setCaption(QStringLiteral("12.35"));
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&led);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::StaticText);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("12.35"));
    EXPECT_EQ(face->text(QAccessible::Value), QStringLiteral("12.35"));

    led.setCaption(QStringLiteral("-OL"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("-OL"));
    EXPECT_EQ(face->text(QAccessible::Value), QStringLiteral("-OL"));

    led.setAccessibleName(QStringLiteral("Current"));
    led.setCaption(QStringLiteral("7.5"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Current"));
    EXPECT_EQ(face->text(QAccessible::Value), QStringLiteral("7.5"));
}
