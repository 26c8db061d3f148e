#include "PrintTestSupport.h"

#include "OleDate.h"
#include "PageSurface.h"
#include "Printout.h"
#include "TrendPages.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr PrintSelection AllFirst{PrintWhat::FirstTrend, PrintRange::AllArea};
constexpr PrintSelection VisualFirst{PrintWhat::FirstTrend, PrintRange::VisualArea};
constexpr PrintSelection VisualSecond{PrintWhat::SecondTrend, PrintRange::VisualArea};

PrintCharts chartsWith(float rightx, float topY = 300, float bottomY = -100)
{
    PrintCharts charts;
    for (PrintChart *chart : {&charts.first, &charts.second}) {
        chart->Rightx = rightx;
        chart->TopY = topY;
        chart->BottomY = bottomY;
    }
    return charts;
}

SampleStore storeWithSeconds(const std::vector<float> &seconds)
{
    SampleStore store;
    int i = 0;
    for (float s : seconds) {
        Sample sample = NumberedSample(++i);
        sample.Seconds = s;
        store.AppendSample(sample);
    }
    return store;
}

QString flat(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

// The page drawn on a white image of 1200 by 900 pixels: the plot then spans
// x 150..1150 and y 120..720.
QImage renderPage(const ProgramState &state, ChartNumber chart, const PrintChart &settings)
{
    QImage image(1200, 900, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PageSurface surface(painter, QRectF(0, 0, 1200, 900));
    PrintTrendPage(surface, state, chart, settings, {state.view.ViewFirst, state.view.ViewLast},
                   QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)), state.view.Zoom);
    return image;
}

bool inkNear(const QImage &image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        if (qGray(image.pixel(x, y + dy)) < 128)
            return true;
    return false;
}

int inkIn(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

} // namespace

struct PageEndCase {
    const char *name;
    std::vector<float> seconds; // empty: 250 samples a second apart
    bool timeMode;
    float rightx;
    int first;
    int end;
};

TEST(TrendPaging, PageEndsAndStarts)
{
    const std::vector<float> gap = {0, 1000, 1001, 1002, 5000};
    const PageEndCase ends[] = {
        {"sample mode from 1", {}, false, 100, 1, 101},
        {"sample mode from 101", {}, false, 100, 101, 201},
        {"sample mode runs out", {}, false, 100, 201, 250},
        {"last sample", {}, false, 100, 250, 250},
        {"time mode: the page ends before the first sample beyond Rightx", {}, true, 30, 1, 31},
        {"a fractional width ends at the last sample within it", {}, true, 30.5f, 10, 40},
        {"a gap wider than the chart still advances", gap, true, 100, 1, 2},
        {"after the gap", gap, true, 100, 2, 4},
        {"gap before the last", gap, true, 100, 4, 5},
        {"a chart narrower than one sample advances", {}, false, 0.5f, 7, 8},
        {"a zero-width chart advances", {}, false, 0, 7, 8},
        {"a negative width advances", {}, false, -5, 7, 8},
    };
    for (const PageEndCase &c : ends) {
        const SampleStore store = c.seconds.empty() ? NumberedRecording(250).store : storeWithSeconds(c.seconds);
        EXPECT_EQ(TrendPageEnd(store, c.first, c.rightx, c.timeMode), c.end) << c.name;
    }
    const PageEndCase starts[] = {
        {"back from 201", {}, false, 100, 201, 101},
        {"back from 101", {}, false, 100, 101, 1},
        {"runs out at 1", {}, false, 100, 50, 1},
        {"time mode", {}, true, 30, 100, 70},
        {"a gap behind still goes back", gap, true, 100, 2, 1},
        {"a zero-width chart goes back", {}, false, 0, 7, 6},
    };
    for (const PageEndCase &c : starts) {
        const SampleStore store = c.seconds.empty() ? NumberedRecording(250).store : storeWithSeconds(c.seconds);
        EXPECT_EQ(TrendPageStart(store, c.first, c.rightx, c.timeMode), c.end) << c.name;
    }
    EXPECT_EQ(TrendPageCount(NumberedRecording(250).store, 100, false), 3);
    EXPECT_EQ(TrendPageCount(NumberedRecording(1).store, 100, false), 0);
    EXPECT_EQ(TrendPageCount(NumberedRecording(2).store, 100, false), 1);
    EXPECT_EQ(TrendPageCount(storeWithSeconds(gap), 100, true), 3);
    EXPECT_EQ(TrendPageCount(NumberedRecording(5).store, 0, false), 4);
}

TEST(TrendPages, WholeRecordingPagesShareTheirEndSamples)
{
    QTemporaryDir dir;
    ProgramState state = NumberedRecording(250);
    const PdfPages pdf = PrintToPdf(state, AllFirst, chartsWith(100), dir);
    ASSERT_TRUE(pdf.ok);
    ASSERT_EQ(pdf.pageCount, 3);
    // The time labels name the first and last sample of each page (sample i
    // is stamped 10:00:00 + i seconds).
    const std::pair<const char *, const char *> windows[] = {
        {"10:00:01", "10:01:41"}, {"10:01:41", "10:03:21"}, {"10:03:21", "10:04:10"}};
    for (int p = 0; p < 3; ++p) {
        QStringList times;
        for (const PdfWord &w : pdf.words[std::size_t(p)])
            if (QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(w.text).hasMatch())
                times << w.text;
        // The header's print date also has a time; the two labels come last.
        ASSERT_GE(times.size(), 2) << p;
        EXPECT_EQ(times.mid(times.size() - 2),
                  QStringList({QLatin1String(windows[p].first), QLatin1String(windows[p].second)}))
            << "page " << p + 1;
    }
    EXPECT_EQ(state.view.ViewFirst, 201);
    EXPECT_EQ(state.view.ViewLast, 250);
}

TEST(TrendPages, EndlessPagingCasesTerminate)
{
    {
        QTemporaryDir dir;
        ProgramState state;
        state.store = storeWithSeconds({0, 1000, 1001, 1002, 5000});
        state.view.TimeMode = true;
        const PdfPages pdf = PrintToPdf(state, AllFirst, chartsWith(100), dir);
        ASSERT_TRUE(pdf.ok);
        EXPECT_EQ(pdf.pageCount, 3);
    }
    {
        QTemporaryDir dir;
        ProgramState state = NumberedRecording(5);
        const PdfPages pdf = PrintToPdf(state, AllFirst, chartsWith(0), dir);
        ASSERT_TRUE(pdf.ok);
        EXPECT_EQ(pdf.pageCount, 4);
    }
}

TEST(TrendPages, OneSampleRecordingHasNoWholeRecordingPage)
{
    QTemporaryDir dir;
    ProgramState state = NumberedRecording(1);
    QPrinter printer(QPrinter::HighResolution);
    const QString path = dir.filePath(QStringLiteral("none.pdf"));
    PrintToPdfFile(printer, path);
    EXPECT_EQ(PrintOnPrinter(printer, state, AllFirst, chartsWith(100)), PrintOutcome::NothingToPrint);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(TrendPages, SingleSamplePageDrawsGridAndTexts)
{
    ProgramState state = NumberedRecording(1);
    state.RecordFileName = QStringLiteral("/data/one.KRD");
    PrintCharts charts = chartsWith(100, 100, -100);
    charts.first.GridRows = 4;
    charts.first.GridCols = 5;
    charts.first.GridStyle = PenStyle::Dot;

    QTemporaryDir dir;
    const PdfPages pdf = PrintToPdf(state, VisualFirst, charts, dir);
    ASSERT_TRUE(pdf.ok);
    ASSERT_EQ(pdf.pageCount, 1);
    const QString text = flat(pdf.text[0]);
    for (const char *expected : {"File Name: /data/one.KRD", "Print Date:", "Unit: kW", "10:00:01"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << " in " << qPrintable(text);
    // The five y labels, top to bottom, right of the page's left edge and left of the plot.
    std::vector<std::pair<double, QString>> labels;
    for (const PdfWord &w : pdf.words[0])
        for (const char *label : {"100", "50", "0", "-50", "-100"})
            if (w.text == QLatin1String(label))
                labels.emplace_back(w.yMin, w.text);
    std::sort(labels.begin(), labels.end());
    ASSERT_EQ(labels.size(), 5u);
    EXPECT_EQ(labels[0].second, QStringLiteral("100"));
    EXPECT_EQ(labels[2].second, QStringLiteral("0"));
    EXPECT_EQ(labels[4].second, QStringLiteral("-100"));

    const QImage image = renderPage(state, ChartNumber::First, charts.first);
    // Frame: solid lines at the plot's edges.
    for (int x = 160; x < 1140; x += 7) {
        EXPECT_TRUE(inkNear(image, x, 120)) << x;
        EXPECT_TRUE(inkNear(image, x, 720)) << x;
    }
    // Inner grid lines are dotted: ink with gaps.
    int dots = 0;
    for (int x = 160; x < 1140; ++x)
        dots += inkNear(image, x, 420);
    EXPECT_GT(dots, 100);
    EXPECT_LT(dots, 800);
    // Vertical grid line 1 of 5 at x = 350, dotted too.
    int vertical = 0;
    for (int y = 130; y < 710; ++y)
        vertical += qGray(image.pixel(350, y)) < 128 || qGray(image.pixel(349, y)) < 128;
    EXPECT_GT(vertical, 50);
    EXPECT_LT(vertical, 500);
}

TEST(TrendPages, GridIsBlackAndMissingRowsOrColumnsSkipOnlyTheirLines)
{
    ProgramState state = NumberedRecording(3);
    PrintChart chart = chartsWith(100, 100, -100).first;
    chart.GridRows = 0;
    chart.GridCols = 2;
    chart.GridStyle = PenStyle::Solid;
    const QImage image = renderPage(state, ChartNumber::First, chart);
    EXPECT_FALSE(inkNear(image, 600, 120)); // no horizontal lines at all
    EXPECT_TRUE(inkNear(image, 400, 720) == false);
    int middle = 0;
    for (int y = 130; y < 710; ++y)
        middle += image.pixel(650, y) == qRgb(0, 0, 0) || image.pixel(649, y) == qRgb(0, 0, 0);
    EXPECT_GT(middle, 570); // the middle column, solid and black
}

TEST(TrendPages, CurveIsClampedToThePlot)
{
    ProgramState state = NumberedRecording(101);
    for (int i = 1; i <= 101; ++i)
        state.store.Samples[std::size_t(i)].FirstValue = i <= 50 ? 130.0f : -130.0f;
    PrintChart chart = chartsWith(100, 100, -100).first;
    chart.GridRows = 1;
    chart.GridCols = 1;
    const QImage image = renderPage(state, ChartNumber::First, chart);
    // Unclamped, the curve would run at y = 30 and y = 810 in the margins.
    EXPECT_EQ(inkIn(image, QRect(QPoint(400, 5), QPoint(1100, 115))), 0);
    EXPECT_EQ(inkIn(image, QRect(QPoint(700, 725), QPoint(1050, 899))), 0);
    // The step from the top edge to the bottom edge between samples 50 and 51.
    EXPECT_GT(inkIn(image, QRect(QPoint(630, 300), QPoint(660, 540))), 200);
}

TEST(TrendPages, FirstChartCarriesTheStatisticsLines)
{
    ProgramState state = NumberedRecording(10);
    state.statistics.aMAX = QStringLiteral("10.5kW");
    state.statistics.aMIN = QStringLiteral("1.5kW");
    state.statistics.aAVG = QStringLiteral("6.00kW");
    state.statistics.vMAX = QStringLiteral("9.5kW");
    state.statistics.vMIN = QStringLiteral("2.5kW");
    state.statistics.vAVG = QStringLiteral("6.0kW");
    QTemporaryDir dir;
    const PdfPages first = PrintToPdf(state, VisualFirst, chartsWith(100), dir, QStringLiteral("1.pdf"));
    const PdfPages second = PrintToPdf(state, VisualSecond, chartsWith(100), dir, QStringLiteral("2.pdf"));
    ASSERT_TRUE(first.ok);
    ASSERT_TRUE(second.ok);
    const QString one = flat(first.text[0]);
    EXPECT_TRUE(one.contains(QLatin1String("All Area: Max=10.5kW Min=1.5kW Avg=6.00kW"))) << qPrintable(one);
    EXPECT_TRUE(one.contains(QLatin1String("Visual Area: Max=9.5kW Min=2.5kW Avg=6.0kW"))) << qPrintable(one);
    EXPECT_TRUE(one.contains(QLatin1String("Unit: kW")));
    const QString two = flat(second.text[0]);
    EXPECT_TRUE(two.contains(QLatin1String("Unit: Hz"))) << qPrintable(two);
    EXPECT_FALSE(two.contains(QLatin1String("Area")));
    EXPECT_FALSE(two.contains(QLatin1String("Max=")));
}

TEST(TrendPages, MiddleLabelsShowTheSinglePrecisionLimits)
{
    ProgramState state = NumberedRecording(2);
    QTemporaryDir dir;
    const PdfPages pdf = PrintToPdf(state, VisualFirst, chartsWith(10, 0.3f, 0), dir);
    ASSERT_TRUE(pdf.ok);
    QStringList labels;
    // The numbers below the header: the y labels.
    double headerEnd = 0;
    for (const PdfWord &w : pdf.words[0])
        if (w.text == QLatin1String("Unit:"))
            headerEnd = w.yMax;
    const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    for (const PdfWord &w : pdf.words[0])
        if (w.yMin > headerEnd && number.match(w.text).hasMatch())
            labels << w.text;
    EXPECT_EQ(labels, QStringList({QStringLiteral("0.3"), QStringLiteral("0.225000008940697"),
                                   QStringLiteral("0.150000005960464"), QStringLiteral("0.0750000029802322"),
                                   QStringLiteral("0")}));
}

TEST(TrendPages, StampsPrintAsAClockShowsThem)
{
    // 12:09:42.6 and 12:09:44.6: a clock shows 12:09:42 and 12:09:44, and so
    // do the charts and the labels of the main window.
    ProgramState state = NumberedRecording(2);
    state.store.Samples[1].Stamp = LocalToOleDate(QDateTime(QDate(2026, 12, 7), QTime(12, 9, 42, 600)));
    state.store.Samples[2].Stamp = LocalToOleDate(QDateTime(QDate(2026, 12, 7), QTime(12, 9, 44, 600)));
    QTemporaryDir dir;
    const PdfPages trend = PrintToPdf(state, VisualFirst, chartsWith(100), dir, QStringLiteral("trend.pdf"));
    const PdfPages list = PrintToPdf(state, PrintSelection{PrintWhat::Report, PrintRange::VisualArea}, chartsWith(100),
                                     dir, QStringLiteral("list.pdf"));
    for (const PdfPages *pdf : {&trend, &list}) {
        ASSERT_TRUE(pdf->ok);
        const QString text = flat(pdf->text[0]);
        EXPECT_TRUE(text.contains(QLatin1String("12:09:42"))) << qPrintable(text);
        EXPECT_TRUE(text.contains(QLatin1String("12:09:44"))) << qPrintable(text);
        EXPECT_FALSE(text.contains(QLatin1String("12:09:43"))) << qPrintable(text);
        EXPECT_FALSE(text.contains(QLatin1String("12:09:45"))) << qPrintable(text);
    }
}

TEST(TrendPages, AZoomedWindowPrintsAsTheChartShowsIt)
{
    // Samples 401..601 zoomed to the full width: the step between samples 500
    // and 501 lies at half the plot, x = 150 + 0.4975 * 1000.
    ProgramState state = NumberedRecording(1000);
    state.view.TimeMode = false;
    for (int i = 1; i <= 1000; ++i)
        state.store.Samples[std::size_t(i)].FirstValue = i <= 500 ? 90.0f : -90.0f;
    state.view.ViewFirst = 401;
    state.view.ViewLast = 601;
    state.view.Zoom = ZoomWindow{401, 200, false};
    PrintChart chart = chartsWith(100, 100, -100).first;
    chart.GridRows = 1;
    chart.GridCols = 1;
    const QImage zoomed = renderPage(state, ChartNumber::First, chart);
    EXPECT_GT(inkIn(zoomed, QRect(QPoint(640, 300), QPoint(655, 540))), 200);
    // The curve reaches the right edge of the plot.
    EXPECT_GT(inkIn(zoomed, QRect(QPoint(1100, 650), QPoint(1148, 700))), 20);

    // Unzoomed, the same window is drawn a sample per unit: the step at
    // sample 100 of the page, x = 150 + 99.5 * 10.
    state.view.Zoom.reset();
    const QImage plain = renderPage(state, ChartNumber::First, chart);
    EXPECT_EQ(inkIn(plain, QRect(QPoint(640, 300), QPoint(655, 540))), 0);
    EXPECT_GT(inkIn(plain, QRect(QPoint(1138, 300), QPoint(1152, 540))), 200);
}
