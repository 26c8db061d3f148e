#include "MeterScenario.h"
#include "ToolTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

const char *const Header = "offset,first_text,first_value,first_unit,first_function,second_text,second_value,"
                           "second_unit,second_function,memory,mode,symbols,bar,arrow\n";

QString dataFile(const char *name)
{
    return QStringLiteral(AMPERO_TEST_DATA "/decode/") + QLatin1String(name);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    return file.readAll();
}

// The rows of mixed-capture.bin, worked out by hand from the frame layout
// (the bytes of each frame are listed in tests/data/decode/README.md).
const char *const MixedCaptureRows =
    "2,\"12.35\",12.35,A,AC,\"230.1\",230.1,V,,\"0\",00,PH1,1111000000000000000000000000000000000000,0\n"
    "24,\" 0L \",-9999,A,DC,\"12:73\",1273,min,Time,\"29\",40,HOLD|HV|W3PH|P|BATT,"
    "1000000000000000000000000000000000000001,1\n"
    "48,\"321\",321,kVA,AC,\" 0L \",0,kVA,MIN,\" \",CE,SUM|W,0000000000000000000000000000000000000000,0\n"
    "70,\"  12\",0,kW,,\"230.1\",-230.1,Hz,PF,\"17\",13,PH2|PH3,1111111110000000000000000000000000000000,0\n";

QList<QByteArray> rowsOf(const QByteArray &csv)
{
    QList<QByteArray> rows = csv.split('\n');
    EXPECT_EQ(rows.takeLast(), QByteArray()) << "the output ends with a line break";
    EXPECT_EQ(rows.takeFirst() + '\n', QByteArray(Header));
    return rows;
}

} // namespace

TEST(DecodeCommandTest, ReferenceFrame)
{
    const ToolResult result = RunTool({"decode", dataFile("reference-frame.bin")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(result.crashed);
    EXPECT_EQ(
        result.out.toStdString(),
        std::string(Header) +
            "0,\"12.35\",12.35,A,AC,\"230.1\",230.1,V,,\"0\",00,PH1,1111000000000000000000000000000000000000,0\n");
    EXPECT_EQ(result.err.toStdString(), "frames: 1, skipped bytes: 0\n");
}

TEST(DecodeCommandTest, MixedCaptureWithGarbageAndATrailingPartialFrame)
{
    const ToolResult result = RunTool({"decode", dataFile("mixed-capture.bin")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(), std::string(Header) + MixedCaptureRows);
    // FF 00, then 05 33, then the five bytes of the cut-off frame.
    EXPECT_EQ(result.err.toStdString(), "frames: 4, skipped bytes: 9\n");
}

TEST(DecodeCommandTest, ReadsStandardInput)
{
    const QByteArray capture = readAll(dataFile("mixed-capture.bin"));
    for (const QStringList &arguments : {QStringList{"decode"}, QStringList{"decode", "-"}}) {
        SCOPED_TRACE(qPrintable(arguments.join(' ')));
        const ToolResult result = RunTool(arguments, capture);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out.toStdString(), std::string(Header) + MixedCaptureRows);
        EXPECT_EQ(result.err.toStdString(), "frames: 4, skipped bytes: 9\n");
    }
}

TEST(DecodeCommandTest, EmptyInputGivesTheHeaderOnly)
{
    const ToolResult result = RunTool({"decode", "-"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(), Header);
    EXPECT_EQ(result.err.toStdString(), "frames: 0, skipped bytes: 0\n");
}

TEST(DecodeCommandTest, OnlyAPartialFrameIsAllSkipped)
{
    const ToolResult result = RunTool({"decode"}, QByteArray::fromHex("0505020801"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(), Header);
    EXPECT_EQ(result.err.toStdString(), "frames: 0, skipped bytes: 5\n");
}

// A capture the simulator sent over a pseudo-terminal: every row is the ramp's display.
TEST(DecodeCommandTest, CaptureOfTheSimulatedRamp)
{
    const ToolResult result = RunTool({"decode", dataFile("ramp-capture.bin")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err.toStdString(), "frames: 101, skipped bytes: 0\n");
    const QList<QByteArray> rows = rowsOf(result.out);
    ASSERT_EQ(rows.size(), 101);
    ScenarioSettings settings;
    settings.scenario = Scenario::Ramp;
    ScenarioGenerator ramp(settings);
    for (int n = 0; n < rows.size(); ++n) {
        const FrameContent c = ramp.next().content;
        const QList<QByteArray> fields = rows[n].split(',');
        ASSERT_EQ(fields.size(), 14) << rows[n].constData();
        EXPECT_EQ(fields[0].toInt(), n * 22);
        EXPECT_EQ(fields[1].toStdString(), '"' + c.firstText + '"');
        // Up to half a digit of the range shown.
        EXPECT_NEAR(fields[2].toDouble(), n * 9.999, 0.051);
        EXPECT_EQ(fields[3], "A");
        EXPECT_EQ(fields[4], "AC");
        EXPECT_EQ(fields[5], "\"230.1\"");
        EXPECT_EQ(fields[12].count('1'), int(n * 9.999 / 1000 * 40)) << fields[12].constData();
        EXPECT_TRUE(fields[12].startsWith(QByteArray(fields[12].count('1'), '1')));
    }
}

// Garbage, corrupted bytes and cut-off frames from the noise scenario: every
// frame that went out whole is found where it was sent and decodes to what
// the meter showed, and frames and skipped bytes add up to the capture.
TEST(DecodeCommandTest, NoisyCaptureFromAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScenarioSettings settings;
    settings.scenario = Scenario::Noise;
    settings.seed = 17;
    settings.corruptPercent = 2;
    ScenarioGenerator noise(settings);
    QByteArray capture;
    std::map<std::uint64_t, FrameContent> intact;
    for (int n = 0; n < 1500; ++n) {
        const ScenarioStep step = noise.next();
        if (step.intact)
            intact.emplace(std::uint64_t(capture.size()) + step.frameAt, step.content);
        capture.append(reinterpret_cast<const char *>(step.bytes.data()), qsizetype(step.bytes.size()));
    }
    const QString path = dir.filePath("noise.bin");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(capture), capture.size());
    file.close();

    const ToolResult result = RunTool({"decode", path});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QList<QByteArray> rows = rowsOf(result.out);
    std::size_t found = 0;
    for (const QByteArray &row : rows) {
        const QList<QByteArray> fields = row.split(',');
        ASSERT_EQ(fields.size(), 14) << row.constData();
        const auto it = intact.find(fields[0].toULongLong());
        if (it == intact.end())
            continue;
        ++found;
        const DecodedFrame d = DecodeFrame(EncodeFrame(it->second));
        EXPECT_EQ(fields[1].toStdString(), '"' + d.first.Text + '"');
        EXPECT_EQ(fields[3].toStdString(), d.first.Unit);
        EXPECT_EQ(fields[5].toStdString(), '"' + d.second.Text + '"');
        EXPECT_EQ(fields[9].toStdString(), '"' + d.memoryText + '"');
    }
    EXPECT_GT(found, intact.size() * 8 / 10);
    const std::string expectedCounts = "frames: " + std::to_string(rows.size()) +
                                       ", skipped bytes: " + std::to_string(capture.size() - rows.size() * 22) + "\n";
    EXPECT_EQ(result.err.toStdString(), expectedCounts);
}

// Machine output: a decimal-comma locale changes nothing.
TEST(DecodeCommandTest, OutputDoesNotFollowTheLocale)
{
    QTemporaryDir locales;
    ASSERT_TRUE(locales.isValid());
    QProcess localedef;
    localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", locales.filePath("de_DE.UTF-8")});
    if (!localedef.waitForFinished(120000) || localedef.exitStatus() != QProcess::NormalExit ||
        localedef.exitCode() != 0)
        GTEST_SKIP() << "cannot build a German locale here";
    const QStringList german = {"LOCPATH=" + locales.path(), "LC_ALL=de_DE.UTF-8"};
    const ToolResult result = RunTool({"decode", dataFile("mixed-capture.bin")}, QByteArray(), german);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(), std::string(Header) + MixedCaptureRows);
    EXPECT_EQ(result.err.toStdString(), "frames: 4, skipped bytes: 9\n");
}

TEST(DecodeCommandTest, UnreadableInputNamesTheFileAndTheReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        QString path;
        const char *reason;
    } rows[] = {
        {dir.filePath("no such capture.bin"), "No such file or directory"},
        {dir.path(), "Is a directory"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(qPrintable(row.path));
        const ToolResult result = RunTool({"decode", row.path});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_FALSE(result.crashed);
        EXPECT_TRUE(result.err.contains(row.path.toUtf8())) << result.err.constData();
        EXPECT_TRUE(result.err.contains(row.reason)) << result.err.constData();
        EXPECT_FALSE(result.err.contains("frames:"));
        EXPECT_FALSE(result.out.contains('"'));
    }
}

TEST(DecodeCommandTest, OutputThatCannotBeWrittenIsAnError)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(ToolPath(), {"decode", dataFile("ramp-capture.bin")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QByteArray err = process.readAllStandardError();
    EXPECT_TRUE(err.contains("cannot write the output: No space left on device")) << err.constData();
    EXPECT_FALSE(err.contains("frames:"));
}

TEST(DecodeCommandTest, UsageErrors)
{
    const QStringList rows[] = {
        {"decode", dataFile("reference-frame.bin"), dataFile("mixed-capture.bin")},
        {"decode", "--verbose"},
        {"decode", "-x", dataFile("reference-frame.bin")},
    };
    for (const QStringList &arguments : rows) {
        SCOPED_TRACE(qPrintable(arguments.join(' ')));
        const ToolResult result = RunTool(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains("Usage: amperotool decode")) << result.err.constData();
        EXPECT_TRUE(result.out.isEmpty());
    }
    const ToolResult help = RunTool({"decode", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: amperotool decode [FILE|-]"));
}

TEST(DecodeCommandTest, ListedInTheToolsHelp)
{
    const ToolResult result = RunTool({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains("decode [FILE|-]"));
    EXPECT_TRUE(result.out.contains("simulate [OPTIONS]"));
}
