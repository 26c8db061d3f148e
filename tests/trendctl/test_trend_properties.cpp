// Property setters and persistence through the property bag.

#include "TrendTestSupport.h"

#include <PropertyBag.h>

#include <gtest/gtest.h>

#include <string>

using namespace TrendTest;

namespace {

struct BagRow {
    const char *key;
    QVariant defaultValue;
    QMetaType::Type type;
};

// Keys, defaults and the type each is written as.
const BagRow BagKeys[] = {
    {"TopY", 100, QMetaType::Int},
    {"BottomY", -100, QMetaType::Int},
    {"LeftX", 0, QMetaType::Int},
    {"RightX", 100, QMetaType::Int},
    {"TrendBackColor", 0xFF0000, QMetaType::Int},
    {"FrameBackColor", 0x00FFFF, QMetaType::Int},
    {"GridRows", 8, QMetaType::Int},
    {"GridCols", 10, QMetaType::Int},
    {"GridStyle", 2, QMetaType::Int},
    {"GridColor", 0, QMetaType::Int},
    {"LineWidth", QVariant::fromValue(qint16(2)), QMetaType::Short},
    {"BorderStyle", QVariant::fromValue(qint16(1)), QMetaType::Short},
};

} // namespace

TEST(TrendProperties, EmptyBagReadsTheDefaultsAndADefaultChartWritesNothing)
{
    Sweepgraph::Trend chart;
    chart.setTopY(5);
    chart.setGridRows(3);
    chart.setLineWidth(7);
    chart.setTrendBackColor(0x404040);
    chart.setBorderStyle(0);
    chart.ReadProperties(PropertyBag());
    EXPECT_EQ(chart.TopY(), 100.0f);
    EXPECT_EQ(chart.BottomY(), -100.0f);
    EXPECT_EQ(chart.LeftX(), 0.0f);
    EXPECT_EQ(chart.Rightx(), 100.0f);
    EXPECT_EQ(chart.TrendBackColor(), OleColor(0xFF0000));
    EXPECT_EQ(chart.FrameBackColor(), OleColor(0x00FFFF));
    EXPECT_EQ(chart.GridRows(), 8);
    EXPECT_EQ(chart.GridCols(), 10);
    EXPECT_EQ(chart.GridStyle(), 2);
    EXPECT_EQ(chart.GridColor(), OleColor(0));
    EXPECT_EQ(chart.LineWidth(), 2);
    EXPECT_EQ(chart.BorderStyle(), 1);
    PropertyBag written;
    chart.WriteProperties(written);
    EXPECT_TRUE(written.isEmpty()) << written.keys().join(',').toStdString();
}

TEST(TrendProperties, EveryValueOffItsDefaultIsWrittenUnderItsKey)
{
    Sweepgraph::Trend chart;
    chart.setTopY(20);
    chart.setBottomY(100);
    chart.setLeftX(-5);
    chart.setRightx(300);
    chart.setTrendBackColor(0x404040);
    chart.setFrameBackColor(0xC0C0C0);
    chart.setGridRows(20);
    chart.setGridCols(15);
    chart.setGridStyle(0);
    chart.setGridColor(0x808080);
    chart.setLineWidth(1);
    chart.setBorderStyle(0);
    PropertyBag bag;
    chart.WriteProperties(bag);
    EXPECT_EQ(bag.size(), 12);
    const QVariant expected[] = {20, 100, -5, 300, 0x404040, 0xC0C0C0, 20, 15, 0, 0x808080, 1, 0};
    int i = 0;
    for (const BagRow &row : BagKeys) {
        const QVariant value = bag.ReadProperty(QLatin1String(row.key));
        EXPECT_EQ(value.typeId(), int(row.type)) << row.key;
        EXPECT_EQ(value.toInt(), expected[i++].toInt()) << row.key;
    }
    EXPECT_TRUE(bag.keys().contains(QStringLiteral("RightX")));

    Sweepgraph::Trend copy;
    copy.ReadProperties(bag);
    PropertyBag again;
    copy.WriteProperties(again);
    for (const BagRow &row : BagKeys)
        EXPECT_EQ(again.ReadProperty(QLatin1String(row.key)), bag.ReadProperty(QLatin1String(row.key))) << row.key;
}

TEST(TrendProperties, MissingBottomYReadsAsMinusHundredAndOneOfHundredIsWritten)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TopY"), 500);
    Sweepgraph::Trend chart;
    chart.setBottomY(7);
    chart.ReadProperties(bag);
    EXPECT_EQ(chart.TopY(), 500.0f);
    EXPECT_EQ(chart.BottomY(), -100.0f);

    chart.setBottomY(100);
    PropertyBag written;
    chart.WriteProperties(written);
    ASSERT_TRUE(written.contains(QStringLiteral("BottomY")));
    EXPECT_EQ(written.ReadProperty(QStringLiteral("BottomY")), QVariant(100));
    EXPECT_FALSE(written.contains(QStringLiteral("LeftX")));
}

TEST(TrendProperties, ReadingRedrawsNothingUntilTheNextPaint)
{
    auto chart = MakeChart();
    int paints = 0;
    QObject::connect(chart.get(), &Sweepgraph::Trend::Paint, [&] { ++paints; });
    chart->MoveTo(0, 0);
    chart->DrawLine(100, 0, Red);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("topy"), 10); // keys compare without regard to case
    bag.WriteProperty(QStringLiteral("BOTTOMY"), 0);
    bag.WriteProperty(QStringLiteral("TrendBackColor"), 0x404040);
    bag.WriteProperty(QStringLiteral("GridStyle"), 5);
    bag.WriteProperty(QStringLiteral("BorderStyle"), QVariant::fromValue(qint16(0)));
    chart->ReadProperties(bag);
    EXPECT_EQ(chart->TopY(), 10.0f);
    EXPECT_EQ(chart->TrendBackColor(), OleColor(0x404040));
    EXPECT_EQ(chart->scaleLabelText(0), QStringLiteral("100"));
    EXPECT_EQ(paints, 0);

    const QImage image = PlotPixels(*chart); // the next paint
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(chart->scaleLabelText(0), QStringLiteral("10"));
    EXPECT_EQ(chart->scaleLabelText(1), QStringLiteral("7.5"));
    EXPECT_EQ(CountInImage(image, Rgb(0x404040)), 800 * 400);
}

struct BadValueRow {
    const char *name;
    const char *key;
    QVariant value;
};

class TrendBadBagValues : public ::testing::TestWithParam<BadValueRow> {};

TEST_P(TrendBadBagValues, KeepTheCurrentValue)
{
    const BadValueRow row = GetParam();
    Sweepgraph::Trend chart;
    chart.setTopY(42);
    chart.setLineWidth(3);
    chart.setBorderStyle(0);
    chart.setGridRows(6);
    chart.setGridColor(0x123456);
    PropertyBag bag;
    chart.WriteProperties(bag);
    bag.WriteProperty(QLatin1String(row.key), row.value);
    Sweepgraph::Trend reader;
    reader.setTopY(42);
    reader.setLineWidth(3);
    reader.setBorderStyle(0);
    reader.setGridRows(6);
    reader.setGridColor(0x123456);
    reader.ReadProperties(bag);
    EXPECT_EQ(reader.TopY(), 42.0f);
    EXPECT_EQ(reader.LineWidth(), 3);
    EXPECT_EQ(reader.BorderStyle(), 0);
    EXPECT_EQ(reader.GridRows(), 6);
    EXPECT_EQ(reader.GridColor(), OleColor(0x123456));
}

INSTANTIATE_TEST_SUITE_P(Rows, TrendBadBagValues,
                         ::testing::Values(BadValueRow{"topText", "TopY", QStringLiteral("high")},
                                           BadValueRow{"topTooLarge", "TopY", QVariant(qint64(1) << 40)},
                                           BadValueRow{"lineWidthZero", "LineWidth", QVariant::fromValue(qint16(0))},
                                           BadValueRow{"lineWidthBeyond16Bits", "LineWidth", 70000},
                                           BadValueRow{"borderStyleTwo", "BorderStyle", QVariant::fromValue(qint16(2))},
                                           BadValueRow{"borderStyleBeyond16Bits", "BorderStyle", 65536},
                                           BadValueRow{"gridRowsText", "GridRows", QStringLiteral("many")},
                                           BadValueRow{"gridColorBeyond32Bits", "GridColor",
                                                       QVariant(qint64(1) << 33)}),
                         [](const auto &instance) { return std::string(instance.param.name); });

TEST(TrendProperties, BagValuesOfOtherNumberTypesAreRounded)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TopY"), 99.5);
    bag.WriteProperty(QStringLiteral("GridCols"), QStringLiteral("12"));
    bag.WriteProperty(QStringLiteral("GridColor"), QVariant::fromValue(quint32(0x80000005)));
    Sweepgraph::Trend chart;
    chart.ReadProperties(bag);
    EXPECT_EQ(chart.TopY(), 100.0f);
    EXPECT_EQ(chart.GridCols(), 12);
    EXPECT_EQ(chart.GridColor(), OleColor(0x80000005));
}

struct SetterRow {
    const char *name;
    qint32 value;
    qint32 expected;
};

class TrendLineWidth : public ::testing::TestWithParam<SetterRow> {};

TEST_P(TrendLineWidth, AcceptsOneTo32767)
{
    const SetterRow row = GetParam();
    Sweepgraph::Trend chart;
    chart.setLineWidth(row.value);
    EXPECT_EQ(chart.LineWidth(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, TrendLineWidth,
                         ::testing::Values(SetterRow{"one", 1, 1}, SetterRow{"ten", 10, 10},
                                           SetterRow{"max", 32767, 32767}, SetterRow{"zero", 0, 2},
                                           SetterRow{"negative", -1, 2}, SetterRow{"beyond16Bits", 32768, 2}),
                         [](const auto &instance) { return std::string(instance.param.name); });
