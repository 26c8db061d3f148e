#include "PrintTestSupport.h"

#include "DisplayTexts.h"
#include "ListReport.h"
#include "OleDate.h"
#include "PrintTexts.h"
#include "Printout.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <numeric>

namespace {

std::vector<int> sampleRange(int first, int last)
{
    std::vector<int> samples(std::size_t(last - first + 1));
    std::iota(samples.begin(), samples.end(), first);
    return samples;
}

constexpr PrintSelection AllList{PrintWhat::Report, PrintRange::AllArea};
constexpr PrintSelection VisualList{PrintWhat::Report, PrintRange::VisualArea};

} // namespace

struct PagingCase {
    const char *name;
    int samples;
    std::vector<std::pair<int, int>> pages; // first and last sample listed on each page
};

TEST(ListReport, WholeRecordingPagesHoldFortySamplesEach)
{
    const PagingCase cases[] = {
        {"one sample: one page, one row", 1, {{1, 1}}},
        {"forty samples fill one page", 40, {{1, 40}}},
        {"the 41st sample starts page 2", 41, {{1, 40}, {41, 41}}},
        {"81 samples: three pages", 81, {{1, 40}, {41, 80}, {81, 81}}},
    };
    for (const PagingCase &c : cases) {
        QTemporaryDir dir;
        ProgramState state = NumberedRecording(c.samples);
        const PdfPages pdf = PrintToPdf(state, AllList, PrintCharts(), dir);
        ASSERT_TRUE(pdf.ok) << c.name;
        ASSERT_EQ(pdf.pageCount, int(c.pages.size())) << c.name;
        for (std::size_t p = 0; p < c.pages.size(); ++p)
            EXPECT_EQ(ListedSamples(pdf.text[int(p)]), sampleRange(c.pages[p].first, c.pages[p].second))
                << c.name << ", page " << p + 1;
        EXPECT_EQ(state.view.ViewFirst, 1) << c.name; // the list leaves the window alone
        EXPECT_EQ(state.view.ViewLast, c.samples) << c.name;
    }
}

struct WindowCase {
    const char *name;
    int first, last;
    int listedFirst, listedLast;
};

TEST(ListReport, VisibleWindowListsAtMostFortyOneRows)
{
    const WindowCase cases[] = {
        {"window 10..20", 10, 20, 10, 20},
        {"window of 100 samples", 51, 150, 51, 91},
        {"window of exactly 41", 5, 45, 5, 45},
        {"a single sample", 7, 7, 7, 7},
    };
    for (const WindowCase &c : cases) {
        QTemporaryDir dir;
        ProgramState state = NumberedRecording(200);
        state.view.ViewFirst = c.first;
        state.view.ViewLast = c.last;
        const PdfPages pdf = PrintToPdf(state, VisualList, PrintCharts(), dir);
        ASSERT_TRUE(pdf.ok) << c.name;
        ASSERT_EQ(pdf.pageCount, 1) << c.name;
        EXPECT_EQ(ListedSamples(pdf.text[0]), sampleRange(c.listedFirst, c.listedLast)) << c.name;
    }
}

TEST(ListReport, OverRangePrintsOLAndEveryOtherValueAsANumber)
{
    ProgramState state = NumberedRecording(3);
    state.store.Samples[1].FirstValue = 9999.0f;
    state.store.Samples[2].FirstValue = 9998.9f;
    state.store.Samples[3].FirstValue = -9999.0f;
    QTemporaryDir dir;
    const PdfPages pdf = PrintToPdf(state, AllList, PrintCharts(), dir);
    ASSERT_TRUE(pdf.ok);
    const auto &words = pdf.words[0];
    // The first column starts at the x of its title; a number that is not
    // negative starts one blank further right.
    double columnX = 0, titleY = 0;
    for (const PdfWord &w : words)
        if (w.text == QLatin1String("FirstValue")) {
            columnX = w.xMin;
            titleY = w.yMin;
        }
    QStringList atColumn;
    for (const PdfWord &w : words)
        if (w.yMin > titleY + 1 && std::abs(w.xMin - columnX) < 0.5)
            atColumn << w.text;
    EXPECT_EQ(atColumn, QStringList({QStringLiteral("OL"), QStringLiteral("-9999")}));
    EXPECT_TRUE(pdf.text[0].contains(QLatin1String("9998.9 ")));
}

TEST(ListReport, ValuesThatAreNoNumberPrintReadably)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    ProgramState state = NumberedRecording(3);
    state.store.Samples[1].FirstValue = state.store.Samples[1].SecondValue = nan;
    state.store.Samples[2].FirstValue = state.store.Samples[2].SecondValue = inf;
    state.store.Samples[2].Mode = 0x40; // Time: still no minutes and seconds
    state.store.Samples[3].FirstValue = state.store.Samples[3].SecondValue = -inf;
    QTemporaryDir dir;
    const PdfPages pdf = PrintToPdf(state, AllList, PrintCharts(), dir);
    ASSERT_TRUE(pdf.ok);
    QString flat = pdf.text[0];
    flat.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    EXPECT_TRUE(flat.contains(QLatin1String("--- kW AC --- Hz FREQ"))) << qPrintable(flat);
    EXPECT_TRUE(flat.contains(QLatin1String("OL kW AC OL Hz Time"))) << qPrintable(flat);
    EXPECT_TRUE(flat.contains(QLatin1String("-OL kW AC -OL Hz FREQ"))) << qPrintable(flat);
    EXPECT_FALSE(flat.contains(QLatin1String("nan"), Qt::CaseInsensitive)) << qPrintable(flat);
    EXPECT_FALSE(flat.contains(QLatin1String("inf"), Qt::CaseInsensitive)) << qPrintable(flat);
}

TEST(ListReport, RowsCarryEveryColumnUnderItsTitle)
{
    ProgramState state = NumberedRecording(2);
    Sample &s = state.store.Samples[2];
    s.FirstUnit = 0x08; // A
    s.SecondValue = 530;
    s.SecondUnit = 0x40; // min
    s.Mode = 0x40;       // Time: 05:30
    s.Symbols2 = 0x80;   // W3Ф
    state.RecordFileName = QStringLiteral("/data/records/feeder.KRD");
    QTemporaryDir dir;
    const PdfPages pdf = PrintToPdf(state, AllList, PrintCharts(), dir);
    ASSERT_TRUE(pdf.ok);
    const QString text = pdf.text[0];
    EXPECT_TRUE(text.contains(QLatin1String("File Name:/data/records/feeder.KRD")));
    EXPECT_TRUE(text.contains(QLatin1String("Date:")));
    const QString row1 = QStringLiteral("1.5 kW AC 1 Hz FREQ %1 Ф1").arg(TimeText(state.store.Samples[1].Stamp));
    const QString row2 = QStringLiteral("2.5 A AC 05:30 min Time %1 W3Ф").arg(TimeText(s.Stamp));
    QString flat = text;
    flat.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    EXPECT_TRUE(flat.contains(QStringLiteral("FirstValue FirstUnit Function1 SecondValue SecondUnit Function2 "
                                             "Date&Time Note")))
        << qPrintable(flat);
    EXPECT_TRUE(flat.contains(row1)) << qPrintable(flat);
    EXPECT_TRUE(flat.contains(row2)) << qPrintable(flat);

    // Every cell starts at its column's x: at the x of the title above it.
    const auto &words = pdf.words[0];
    const char *titles[] = {"FirstValue", "FirstUnit", "Function1", "SecondValue",
                            "SecondUnit", "Function2", "Date&Time", "Note"};
    std::vector<double> columnX;
    for (const char *title : titles)
        for (const PdfWord &w : words)
            if (w.text == QLatin1String(title))
                columnX.push_back(w.xMin);
    ASSERT_EQ(columnX.size(), 8u);
    for (std::size_t c = 1; c < columnX.size(); ++c)
        EXPECT_GT(columnX[c], columnX[c - 1]);
    // The columns are 20 units apart, Date&Time to Note 40.
    const double unit = (columnX[1] - columnX[0]) / 20;
    EXPECT_NEAR(columnX[7] - columnX[6], 40 * unit, 0.5);
    for (const QString &cell : {QStringLiteral("kW"), QStringLiteral("A"), QStringLiteral("05:30"),
                                QStringLiteral("min"), QStringLiteral("Time"), QStringLiteral("W3Ф")}) {
        bool aligned = false;
        for (const PdfWord &w : words)
            if (w.text == cell)
                for (double x : columnX)
                    aligned = aligned || std::abs(w.xMin - x) < 0.5;
        EXPECT_TRUE(aligned) << qPrintable(cell);
    }
    // Rows are six units apart, the first ten units below the titles.
    double titleY = 0, row1Y = 0, row2Y = 0;
    for (const PdfWord &w : words) {
        if (w.text == QLatin1String("FirstValue"))
            titleY = w.yMin;
        if (w.text == QLatin1String("kW"))
            row1Y = w.yMin;
        if (w.text == QLatin1String("05:30"))
            row2Y = w.yMin;
    }
    const double yUnit = (row2Y - row1Y) / 6;
    EXPECT_NEAR(row1Y - titleY, 10 * yUnit, 0.5);
}

struct NumberCase {
    const char *name;
    float value;
    const char *text;
};

TEST(PrintTexts, NumbersPrintWithALeadingBlankUnlessNegative)
{
    const NumberCase cases[] = {
        {"whole", 100, " 100"},
        {"negative", -2.5f, "-2.5"},
        {"zero", 0, " 0"},
        {"negative zero", -0.0f, " 0"},
        {"seven digits", 9998.9f, " 9998.9"},
        {"single rounding hidden", 0.1f, " 0.1"},
        {"large", 123456789.0f, " 1.234568E+08"},
        {"not a number", std::numeric_limits<float>::quiet_NaN(), " ---"},
        {"over range", std::numeric_limits<float>::infinity(), " OL"},
        {"negative over range", -std::numeric_limits<float>::infinity(), "-OL"},
    };
    for (const NumberCase &c : cases)
        EXPECT_EQ(PrintedSingle(c.value, QLocale::c()), QString::fromLatin1(c.text)) << c.name;
    EXPECT_EQ(PrintedSingle(12.25f, QLocale(QLocale::German)), QStringLiteral(" 12,25"));
}

TEST(PrintTexts, DoublesPrintWithFifteenDigits)
{
    EXPECT_EQ(PrintedDouble(0.3f * 0.75, QLocale::c()), QStringLiteral(" 0.225000008940697"));
    EXPECT_EQ(PrintedDouble(50, QLocale::c()), QStringLiteral(" 50"));
    EXPECT_EQ(PrintedDouble(-12.5, QLocale::c()), QStringLiteral("-12.5"));
    EXPECT_EQ(PrintedDouble(1e15, QLocale::c()), QStringLiteral(" 1E+15"));
    EXPECT_EQ(PrintedDouble(0.00001, QLocale::c()), QStringLiteral(" 1E-05"));
    EXPECT_EQ(PrintedDouble(-0.5, QLocale(QLocale::German)), QStringLiteral("-0,5"));
    EXPECT_EQ(PrintedDouble(std::numeric_limits<double>::quiet_NaN(), QLocale::c()), QStringLiteral(" ---"));
    EXPECT_EQ(PrintedDouble(-std::numeric_limits<double>::infinity(), QLocale::c()), QStringLiteral("-OL"));
}

TEST(PrintTexts, ClockTextIsHoursMinutesSeconds)
{
    EXPECT_EQ(ClockText(LocalToOleDate(QDateTime(QDate(2002, 6, 7), QTime(9, 5, 7)))), QStringLiteral("09:05:07"));
    EXPECT_EQ(ClockText(LocalToOleDate(QDateTime(QDate(2002, 6, 7), QTime(23, 59, 59)))), QStringLiteral("23:59:59"));
    EXPECT_EQ(ClockText(std::numeric_limits<double>::quiet_NaN()), QString());
}

TEST(ListReport, PageWindows)
{
    EXPECT_EQ(ListPageCount(0), 0);
    EXPECT_EQ(ListPageCount(40), 1);
    EXPECT_EQ(ListPageCount(41), 2);
    EXPECT_EQ(ListPageCount(10000), 250);
    EXPECT_EQ(ListPageWindow(2, 81), (SampleRange{41, 80}));
    EXPECT_EQ(ListPageWindow(3, 81), (SampleRange{81, 81}));
}

TEST(Printout, CancelledPrintoutLeavesNoFile)
{
    QTemporaryDir dir;
    ProgramState state = NumberedRecording(200);
    QPrinter printer(QPrinter::HighResolution);
    const QString path = dir.filePath(QStringLiteral("cancelled.pdf"));
    PrintToPdfFile(printer, path);
    std::vector<int> reported;
    const PrintOutcome outcome = PrintOnPrinter(printer, state, AllList, PrintCharts(), [&](int done) {
        reported.push_back(done);
        return done < 2;
    });
    EXPECT_EQ(outcome, PrintOutcome::Cancelled);
    EXPECT_EQ(reported, (std::vector<int>{1, 2}));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Printout, UnwritableFileIsReported)
{
    QTemporaryDir dir;
    ProgramState state = NumberedRecording(5);
    QPrinter printer(QPrinter::HighResolution);
    PrintToPdfFile(printer, dir.filePath(QStringLiteral("no/such/folder/out.pdf")));
    EXPECT_EQ(PrintOnPrinter(printer, state, AllList, PrintCharts()), PrintOutcome::NotStarted);
}

// Its timing: print_benchmark.
TEST(Printout, TenThousandSampleListBenchmark)
{
    QTemporaryDir dir;
    ProgramState state = NumberedRecording(10000);
    QPrinter printer(QPrinter::HighResolution);
    const QString path = dir.filePath(QStringLiteral("bench.pdf"));
    PrintToPdfFile(printer, path);
    ASSERT_EQ(PrintOnPrinter(printer, state, AllList, PrintCharts()), PrintOutcome::Printed);
    EXPECT_EQ(PdfPageCount(path), 250);
    EXPECT_EQ(ListedSamples(PdfPageText(path, 250)), sampleRange(9961, 10000));
}
