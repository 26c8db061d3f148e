#include "PrintTestSupport.h"

#include "RecordFile.h"
#include "SettingsStore.h"
#include "ToolProcess.h"
#include "TrendView.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString err;
};

// A recording file of numbered samples with its statistics record, and a
// settings store of its own (XDG_CONFIG_HOME) for the tool to read.
class PrintTool {
public:
    // The program's per-user store, at the place it takes under XDG_CONFIG_HOME.
    PrintTool()
        : settings_(std::make_unique<SettingsStore>(
              QDir(configHome())
                  .filePath(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                                .relativeFilePath(SettingsStore().fileName()))))
    {
    }

    QString recording(int samples, const QString &name = QStringLiteral("rec.KRD"))
    {
        return recording(
            samples, [](Sample &) {}, name);
    }

    // The same, each sample changed by `change` before it is recorded.
    template <typename Change>
    QString recording(int samples, Change change, const QString &name = QStringLiteral("rec.KRD"))
    {
        SampleStore store;
        for (int i = 1; i <= samples; ++i) {
            Sample sample = NumberedSample(i);
            change(sample);
            store.AppendSample(sample);
            UpdateStatisticsRecord(store);
        }
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(WriteRecordFile(path, store).ok);
        return path;
    }

    void set(const Setting::Key &key, const QString &value)
    {
        WriteSetting(*settings_, key, value);
        settings_->sync();
    }

    QString out(const QString &name = QStringLiteral("out.pdf")) const { return dir_.filePath(name); }

    // Runs the tool as a batch job would: without a display or a platform chosen.
    ToolRun run(const QStringList &arguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
        process.setProcessEnvironment(environment);
        process.start(ToolPath(), QStringList{QStringLiteral("print")} + arguments);
        ToolRun result;
        if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

private:
    QString configHome() const { return dir_.filePath(QStringLiteral("config")); }

    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> settings_;
};

QString flat(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

} // namespace

TEST(PrintTool, ListOfTheWholeRecordingByDefault)
{
    PrintTool tool;
    const QString file = tool.recording(81);
    const ToolRun run =
        tool.run({file, QStringLiteral("--what"), QStringLiteral("list"), QStringLiteral("--out"), tool.out()});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const PdfPages pdf = ReadPdf(tool.out());
    ASSERT_TRUE(pdf.ok);
    ASSERT_EQ(pdf.pageCount, 3);
    EXPECT_EQ(ListedSamples(pdf.text[2]), std::vector<int>{81});
    EXPECT_TRUE(flat(pdf.text[0]).contains(QStringLiteral("File Name:") + file)) << qPrintable(pdf.text[0]);
}

TEST(PrintTool, VisualRangeIsTheWindowOpenShows)
{
    PrintTool tool;
    tool.set(Setting::TimeMode, QStringLiteral("False"));
    tool.set(Setting::FirstRightX, QStringLiteral("100"));
    const QString file = tool.recording(250);
    const ToolRun run = tool.run({file, QStringLiteral("--what"), QStringLiteral("list"), QStringLiteral("--range"),
                                  QStringLiteral("visual"), QStringLiteral("--out"), tool.out()});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const PdfPages pdf = ReadPdf(tool.out());
    ASSERT_TRUE(pdf.ok);
    ASSERT_EQ(pdf.pageCount, 1);
    // Open shows samples 151..250; a list page takes the first 41 of them.
    const std::vector<int> listed = ListedSamples(pdf.text[0]);
    ASSERT_EQ(listed.size(), 41u);
    EXPECT_EQ(listed.front(), 151);
    EXPECT_EQ(listed.back(), 191);
}

TEST(PrintTool, TrendPagesFollowTheStoredChartSettings)
{
    PrintTool tool;
    tool.set(Setting::TimeMode, QStringLiteral("False"));
    tool.set(Setting::FirstRightX, QStringLiteral("100"));
    tool.set(Setting::FirstTopY, QStringLiteral("400"));
    tool.set(Setting::FirstBottomY, QStringLiteral("-20.5")); // the chart keeps whole numbers: -20
    const QString file = tool.recording(250);
    const ToolRun all = tool.run({file, QStringLiteral("--what"), QStringLiteral("first"), QStringLiteral("--out"),
                                  tool.out(QStringLiteral("all.pdf"))});
    ASSERT_EQ(all.exitCode, 0) << qPrintable(all.err);
    EXPECT_EQ(PdfPageCount(tool.out(QStringLiteral("all.pdf"))), 3);

    const ToolRun visual = tool.run({file, QStringLiteral("--what"), QStringLiteral("first"), QStringLiteral("--range"),
                                     QStringLiteral("visual"), QStringLiteral("--out"), tool.out()});
    ASSERT_EQ(visual.exitCode, 0) << qPrintable(visual.err);
    const PdfPages pdf = ReadPdf(tool.out());
    ASSERT_TRUE(pdf.ok);
    ASSERT_EQ(pdf.pageCount, 1);
    const QString text = flat(pdf.text[0]);
    // The file's statistics record, with the mean as Open shows it, and the window 151..250.
    // A zone can begin right where the text before it ends.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("All Area: Max=250.5kW ?Min=1.5kW ?Avg=126.00kW"))))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Visual Area: Max=250.5kW ?Min=151.5kW ?Avg=201.0kW"))))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(QLatin1String("10:02:31"))); // sample 151
    EXPECT_TRUE(text.contains(QLatin1String("10:04:10"))); // sample 250
    QStringList words;
    for (const PdfWord &w : pdf.words[0])
        words << w.text;
    EXPECT_TRUE(words.contains(QStringLiteral("400")));
    EXPECT_TRUE(words.contains(QStringLiteral("-20")));
    EXPECT_TRUE(words.contains(QStringLiteral("190"))); // 400 - 0.5 * 420
}

TEST(PrintTool, StampsPrintAsAClockShowsThem)
{
    PrintTool tool;
    tool.set(Setting::TimeMode, QStringLiteral("False"));
    // Samples 10:00:01.6, 10:00:02.6, 10:00:03.6: the last shows 10:00:03.
    const QString file = tool.recording(3, [](Sample &s) { s.Stamp += 0.6 / 86400; });
    for (const char *what : {"first", "list"}) {
        const ToolRun run = tool.run({file, QStringLiteral("--what"), QLatin1String(what), QStringLiteral("--range"),
                                      QStringLiteral("visual"), QStringLiteral("--out"), tool.out()});
        ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
        const QString text = flat(PdfPageText(tool.out(), 1));
        EXPECT_TRUE(text.contains(QLatin1String("10:00:01"))) << what << ": " << qPrintable(text);
        EXPECT_TRUE(text.contains(QLatin1String("10:00:03"))) << what << ": " << qPrintable(text);
        EXPECT_FALSE(text.contains(QLatin1String("10:00:04"))) << what << ": " << qPrintable(text);
    }
}

TEST(PrintTool, SecondChartHasItsUnitAndNoStatistics)
{
    PrintTool tool;
    const QString file = tool.recording(30);
    const ToolRun run = tool.run({file, QStringLiteral("--what"), QStringLiteral("second"), QStringLiteral("--range"),
                                  QStringLiteral("visual"), QStringLiteral("--out"), tool.out()});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const PdfPages pdf = ReadPdf(tool.out());
    ASSERT_TRUE(pdf.ok);
    const QString text = flat(pdf.text[0]);
    EXPECT_TRUE(text.contains(QLatin1String("Unit: Hz"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QLatin1String("Area")));
}

struct FailureCase {
    const char *name;
    int samples;           // -1: no recording file at all
    QStringList arguments; // FILE and OUT stand for the recording and the output
    int exitCode;
    const char *message;
};

TEST(PrintTool, FailuresSayWhatWentWrong)
{
    const FailureCase cases[] = {
        {"missing file", -1, {"FILE", "--what", "list", "--out", "OUT"}, 1, "rec.KRD"},
        {"empty recording", 0, {"FILE", "--what", "list", "--out", "OUT"}, 1, "No data for print!!"},
        {"one sample, whole-recording trend", 1, {"FILE", "--what", "first", "--out", "OUT"}, 1, "nothing to print"},
        {"unwritable output", 5, {"FILE", "--what", "list", "--out", "missing/folder/out.pdf"}, 1, "cannot write"},
        {"no --what", 5, {"FILE", "--out", "OUT"}, 2, "--what is missing"},
        {"bad --what", 5, {"FILE", "--what", "third", "--out", "OUT"}, 2, "--what takes list, first or second"},
        {"bad --range", 5, {"FILE", "--what", "list", "--range", "some", "--out", "OUT"}, 2, "--range takes all"},
        {"no --out", 5, {"FILE", "--what", "list"}, 2, "--out is missing"},
        {"no file", 5, {"--what", "list", "--out", "OUT"}, 2, "which recording file?"},
    };
    for (const FailureCase &c : cases) {
        PrintTool tool;
        QString file = tool.out(QStringLiteral("rec.KRD"));
        if (c.samples >= 0)
            file = tool.recording(c.samples);
        QStringList arguments;
        for (const QString &argument : c.arguments)
            arguments << (argument == QLatin1String("FILE")                ? file
                          : argument == QLatin1String("OUT")               ? tool.out()
                          : argument.startsWith(QLatin1String("missing/")) ? tool.out(argument)
                                                                           : argument);
        const ToolRun run = tool.run(arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.message))) << c.name << ": " << qPrintable(run.err);
        EXPECT_FALSE(QFile::exists(tool.out())) << c.name;
    }
}
