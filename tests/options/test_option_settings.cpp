// The Options dialog's rules without the dialog: the checks made when the user
// leaves a box, the texts shown when it opens, and what OK stores and applies.

#include "AlarmOptions.h"
#include "FakeChart.h"
#include "IniFile.h"
#include "OptionSettings.h"
#include "QtPrinters.h"
#include "UserLocale.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

namespace {

const char *const NotNumeric = "You must input numeric!!!";
const char *const IntervalRange = "600>InterValue>0";
const char *const XRange = "input error!!!!, Please input  '5=<X<300'";

struct CheckRow {
    const char *name;
    NumberBox box;
    const char *text;
    const char *message; // nullptr: the text may stay
};

const CheckRow CheckRows[] = {
    {"interval inside", NumberBox::InterValue, "599.5", nullptr},
    {"interval smallest step", NumberBox::InterValue, "0.01", nullptr},
    {"interval with blanks and exponent", NumberBox::InterValue, " 1.5e2 ", nullptr},
    {"interval zero", NumberBox::InterValue, "0", IntervalRange},
    {"interval 600", NumberBox::InterValue, "600", IntervalRange},
    {"interval rounding onto 600 as a single float", NumberBox::InterValue, "599.99999999", IntervalRange},
    {"interval too small for a single float", NumberBox::InterValue, "1e-60", IntervalRange},
    {"interval negative", NumberBox::InterValue, "-1", IntervalRange},
    {"interval not a number", NumberBox::InterValue, "abc", NotNumeric},
    {"interval empty", NumberBox::InterValue, "", NotNumeric},
    {"interval sign alone", NumberBox::InterValue, "-", NotNumeric},
    {"x lowest", NumberBox::XMax, "5", nullptr},
    {"x just under 300", NumberBox::XMax, "299.9", nullptr},
    {"x 300", NumberBox::XMax, "300", XRange},
    {"x 4.99", NumberBox::XMax, "4.99", XRange},
    {"x not a number", NumberBox::XMax, "ten", XRange},
    {"x empty", NumberBox::XMax, "", XRange},
    {"y number", NumberBox::YBound, "150", nullptr},
    {"y negative with blanks", NumberBox::YBound, " -5 ", nullptr},
    {"y exponent", NumberBox::YBound, "1e3", nullptr},
    {"y beyond any chart", NumberBox::YBound, "1e300", nullptr},
    {"y minus alone", NumberBox::YBound, "-", nullptr},
    {"y plus alone", NumberBox::YBound, "+", nullptr},
    {"y sign with a blank", NumberBox::YBound, " -", NotNumeric},
    {"y two signs", NumberBox::YBound, "--", NotNumeric},
    {"y letters", NumberBox::YBound, "abc", NotNumeric},
    {"y empty", NumberBox::YBound, "", NotNumeric},
};

TEST(OptionChecks, TableOfTexts)
{
    for (const CheckRow &row : CheckRows) {
        SCOPED_TRACE(row.name);
        const auto message = CheckNumberBox(row.box, QString::fromUtf8(row.text));
        if (row.message)
            EXPECT_EQ(message, std::optional<QString>(QString::fromUtf8(row.message)));
        else
            EXPECT_EQ(message, std::nullopt);
    }
}

TEST(OptionChecks, AlarmLimitsAndHysteresis)
{
    const char *const limit = "A limit must be a number, or empty for no limit";
    const char *const hysteresis = "The hysteresis must be a number, 0 or more and below 10000";
    const CheckRow rows[] = {
        {"limit empty: no limit", NumberBox::AlarmLimit, "", nullptr},
        {"limit blanks only", NumberBox::AlarmLimit, "  ", nullptr},
        {"limit negative", NumberBox::AlarmLimit, "-50.5", nullptr},
        {"limit letters", NumberBox::AlarmLimit, "high", limit},
        {"limit sign alone", NumberBox::AlarmLimit, "-", limit},
        {"limit beyond a single float", NumberBox::AlarmLimit, "1e39", limit},
        {"hysteresis empty: none", NumberBox::Hysteresis, "", nullptr},
        {"hysteresis zero", NumberBox::Hysteresis, "0", nullptr},
        {"hysteresis just under 10000", NumberBox::Hysteresis, "9999.5", nullptr},
        {"hysteresis 10000", NumberBox::Hysteresis, "10000", hysteresis},
        {"hysteresis negative", NumberBox::Hysteresis, "-1", hysteresis},
        {"hysteresis letters", NumberBox::Hysteresis, "ten", hysteresis},
    };
    for (const CheckRow &row : rows) {
        const auto message = CheckNumberBox(row.box, QString::fromLatin1(row.text));
        if (row.message)
            EXPECT_EQ(message.value_or(QString()), QString::fromLatin1(row.message)) << row.name;
        else
            EXPECT_FALSE(message) << row.name << ": " << qPrintable(message.value_or(QString()));
    }
}

TEST(OptionChecks, TheLowLimitMustBeBelowTheHighOneOfItsDisplay)
{
    AlarmOptionTexts texts;
    texts.High1 = QStringLiteral("505");
    texts.Low1 = QStringLiteral("-50");
    texts.High2 = QStringLiteral("240");
    EXPECT_FALSE(CheckAlarmLimits(texts));
    texts.Low2 = QStringLiteral("240");
    const auto equal = CheckAlarmLimits(texts);
    ASSERT_TRUE(equal);
    EXPECT_EQ(equal->display, 2);
    EXPECT_EQ(equal->message, QStringLiteral("The low limit must be below the high limit of its display"));
    texts.Low2.clear();
    texts.Low1 = QStringLiteral("600");
    const auto above = CheckAlarmLimits(texts);
    ASSERT_TRUE(above);
    EXPECT_EQ(above->display, 1);
}

TEST(OptionChecks, DecimalCommaOfTheUsersLocale)
{
    const UserLocale german{QLocale(QLocale::German)};
    EXPECT_EQ(CheckNumberBox(NumberBox::InterValue, QStringLiteral("599,5")), std::nullopt);
    EXPECT_EQ(CheckNumberBox(NumberBox::XMax, QStringLiteral("4,99")), QString::fromUtf8(XRange));
    EXPECT_EQ(CheckNumberBox(NumberBox::XMax, QStringLiteral("5,5")), std::nullopt);
    EXPECT_EQ(CheckNumberBox(NumberBox::YBound, QStringLiteral("-12,5")), std::nullopt);
    // A group separator is not a number here: "1.000" would silently be a thousand.
    EXPECT_EQ(CheckNumberBox(NumberBox::YBound, QStringLiteral("1.000,5")), QString::fromUtf8(NotNumeric));
}

TEST(OptionDefaults, DefaultColorsAreThoseOfAFirstRun)
{
    const SwatchColors colors = DefaultSwatchColors();
    EXPECT_EQ(colors.FTBkColor, 0x404040u);
    EXPECT_EQ(colors.STBkColor, 0x404040u);
    EXPECT_EQ(colors.FTForeColor, 0x00FF00u);
    EXPECT_EQ(colors.STForeColor, 0xFFFF00u);
    EXPECT_EQ(colors.FTGridColor, 0u);
    EXPECT_EQ(colors.STGridColor, 0u);
}

class OptionTextsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.store.InterValue = 2.5f;
        state.view.FirstLineColor = 0x0000FF;
        state.view.SecondLineColor = 0x00FFFF;
        chart1.setTopY(150);
        chart1.setBottomY(-50);
        chart1.setRightx(120);
        chart1.setTrendBackColor(0x112233);
        chart1.setGridColor(0x445566);
        chart1.setGridCols(15);
        chart1.setGridRows(20);
        chart1.setLineWidth(3);
        chart2.setTopY(10);
        chart2.setBottomY(0);
        chart2.setTrendBackColor(0x778899);
        chart2.setGridColor(0xAABBCC);
        chart2.setGridCols(0);
        chart2.setGridRows(2);
    }

    ProgramState state;
    FakeChart chart1;
    FakeChart chart2;
};

TEST_F(OptionTextsTest, ShownWhenTheDialogOpens)
{
    const OptionTexts texts = CurrentOptionTexts(state, chart1, chart2);
    EXPECT_EQ(texts.txtInterValue1, QStringLiteral("2.5"));
    EXPECT_EQ(texts.txtYMax1, QStringLiteral("150"));
    EXPECT_EQ(texts.txtYMin1, QStringLiteral("-50"));
    EXPECT_EQ(texts.txtYMax2, QStringLiteral("10"));
    EXPECT_EQ(texts.txtYMin2, QStringLiteral("0"));
    EXPECT_EQ(texts.txtXMax, QStringLiteral("120"));
    EXPECT_EQ(texts.FirstCol, QStringLiteral("15"));
    EXPECT_EQ(texts.FirstRow, QStringLiteral("20"));
    EXPECT_EQ(texts.SecondCol, QStringLiteral("0"));
    EXPECT_EQ(texts.SecondRow, QStringLiteral("2"));
    EXPECT_EQ(texts.LineWidth, QStringLiteral("3"));
    EXPECT_EQ(texts.colors.FTBkColor, 0x112233u);
    EXPECT_EQ(texts.colors.STBkColor, 0x778899u);
    EXPECT_EQ(texts.colors.FTForeColor, 0x0000FFu);
    EXPECT_EQ(texts.colors.STForeColor, 0x00FFFFu);
    EXPECT_EQ(texts.colors.FTGridColor, 0x445566u);
    EXPECT_EQ(texts.colors.STGridColor, 0xAABBCCu);
}

TEST_F(OptionTextsTest, ShownInTheUsersNumberFormat)
{
    const UserLocale german{QLocale(QLocale::German)};
    chart1.setTopY(1500);
    const OptionTexts texts = CurrentOptionTexts(state, chart1, chart2);
    EXPECT_EQ(texts.txtInterValue1, QStringLiteral("2,5"));
    EXPECT_EQ(texts.txtYMax1, QStringLiteral("1500"));
}

class CommitTest : public OptionTextsTest {
protected:
    void SetUp() override
    {
        OptionTextsTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        settings = std::make_unique<SettingsStore>(iniPath());
    }

    QString iniPath() const { return dir.filePath(QStringLiteral("RQ4417.ini")); }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
};

TEST_F(CommitTest, StoresEverySettingAndAppliesIt)
{
    OptionTexts texts = CurrentOptionTexts(state, chart1, chart2);
    texts.txtInterValue1 = QStringLiteral("12.5");
    texts.txtYMax1 = QStringLiteral("80");
    texts.txtYMin1 = QStringLiteral("-20");
    texts.txtYMax2 = QStringLiteral("5e2");
    texts.txtYMin2 = QStringLiteral("-5");
    texts.txtXMax = QStringLiteral("250");
    texts.FirstCol = QStringLiteral("4");
    texts.FirstRow = QStringLiteral("6");
    texts.SecondCol = QStringLiteral("8");
    texts.SecondRow = QStringLiteral("50");
    texts.LineWidth = QStringLiteral("7");
    texts.colors = DefaultSwatchColors();
    texts.DiscardDamaged = false;
    state.view.TimeMode = false;
    state.store.AutoInterval = false;

    CommitOptions(texts, state, *settings, chart1, chart2);

    const QMap<QString, QString> expected = {
        {"FirstTrend/InterValue", "12.5"},
        {"TimeMode/TimeMode", "False"},
        {"FirstTrend/TopY", "80"},
        {"FirstTrend/BottomY", "-20"},
        {"SecondTrend/TopY", "5e2"},
        {"SecondTrend/BottomY", "-5"},
        {"FirstTrend/RightX", "250"},
        {"FirstTrend/BkColor", "4210752"},
        {"FirstTrend/LineColor", "65280"},
        {"SecondTrend/BkColor", "4210752"},
        {"SecondTrend/LineColor", "16776960"},
        {"FirstTrend/GridCols", "4"},
        {"FirstTrend/GridRows", "6"},
        {"SecondTrend/GridCols", "8"},
        {"SecondTrend/GridRows", "50"},
        {"FirstTrend/GridColor", "0"},
        {"SecondTrend/GridColor", "0"},
        {"AllTrend/AutoInterval", "False"},
        {"LineWidth/LineWidth", "7"},
        {"Acquisition/DiscardDamagedFrames", "False"},
    };
    EXPECT_EQ(ReadIniFile(iniPath()), expected);

    EXPECT_EQ(chart1.TopY(), 80.0f);
    EXPECT_EQ(chart1.BottomY(), -20.0f);
    EXPECT_EQ(chart2.TopY(), 500.0f);
    EXPECT_EQ(chart2.BottomY(), -5.0f);
    EXPECT_EQ(chart1.Rightx(), 250.0f);
    EXPECT_EQ(chart2.Rightx(), 250.0f);
    EXPECT_EQ(chart1.GridCols(), 4);
    EXPECT_EQ(chart1.GridRows(), 6);
    EXPECT_EQ(chart2.GridCols(), 8);
    EXPECT_EQ(chart2.GridRows(), 50);
    EXPECT_EQ(chart1.LineWidth(), 7);
    EXPECT_EQ(chart2.LineWidth(), 7);
    EXPECT_EQ(chart1.TrendBackColor(), 0x404040u);
    EXPECT_EQ(chart2.TrendBackColor(), 0x404040u);
    EXPECT_EQ(chart1.GridColor(), 0u);
    EXPECT_EQ(chart2.GridColor(), 0u);
    EXPECT_EQ(state.view.FirstLineColor, 0x00FF00u);
    EXPECT_EQ(state.view.SecondLineColor, 0xFFFF00u);
    EXPECT_FALSE(state.view.TimeMode);
    EXPECT_EQ(state.store.InterValue, 12.5f);
    EXPECT_EQ(state.store.SampleInterval, 12.5f);
    EXPECT_FALSE(state.acquisition.DiscardDamagedFrames);
    EXPECT_EQ(chart1.refreshes, 1);
    EXPECT_EQ(chart2.refreshes, 1);
}

TEST_F(CommitTest, AutomaticIntervalMeansEveryFrame)
{
    OptionTexts texts = CurrentOptionTexts(state, chart1, chart2);
    texts.txtInterValue1 = QStringLiteral("30");
    state.store.AutoInterval = true;
    state.store.SampleInterval = 7;
    CommitOptions(texts, state, *settings, chart1, chart2);
    EXPECT_EQ(state.store.InterValue, 30.0f);
    EXPECT_EQ(state.store.SampleInterval, 0.0f);
    EXPECT_EQ(ReadIniFile(iniPath()).value(QStringLiteral("AllTrend/AutoInterval")), QStringLiteral("True"));
}

TEST_F(CommitTest, TextsThatDoNotConvertAreStoredAndLeaveTheirTargets)
{
    OptionTexts texts = CurrentOptionTexts(state, chart1, chart2);
    texts.txtYMax1 = QStringLiteral("-");
    texts.txtYMin1 = QStringLiteral("+");
    texts.txtYMax2 = QStringLiteral("1e300");
    texts.txtInterValue1 = QStringLiteral("soon");
    texts.FirstCol = QString();
    texts.SecondRow = QStringLiteral("many");
    texts.LineWidth = QStringLiteral("thick");
    CommitOptions(texts, state, *settings, chart1, chart2);

    const QMap<QString, QString> stored = ReadIniFile(iniPath());
    EXPECT_EQ(stored.value(QStringLiteral("FirstTrend/TopY")), QStringLiteral("-"));
    EXPECT_EQ(stored.value(QStringLiteral("FirstTrend/BottomY")), QStringLiteral("+"));
    EXPECT_EQ(stored.value(QStringLiteral("SecondTrend/TopY")), QStringLiteral("1e300"));
    EXPECT_EQ(stored.value(QStringLiteral("FirstTrend/InterValue")), QStringLiteral("soon"));
    EXPECT_TRUE(stored.contains(QStringLiteral("FirstTrend/GridCols")));
    EXPECT_EQ(stored.value(QStringLiteral("FirstTrend/GridCols")), QString());
    EXPECT_EQ(stored.value(QStringLiteral("SecondTrend/GridRows")), QStringLiteral("many"));
    EXPECT_EQ(stored.value(QStringLiteral("LineWidth/LineWidth")), QStringLiteral("thick"));

    EXPECT_EQ(chart1.TopY(), 150.0f);
    EXPECT_EQ(chart1.BottomY(), -50.0f);
    EXPECT_EQ(chart2.TopY(), 10.0f);
    EXPECT_EQ(state.store.InterValue, 2.5f);
    EXPECT_EQ(chart1.GridCols(), 15);
    EXPECT_EQ(chart2.GridRows(), 2);
    EXPECT_EQ(chart1.LineWidth(), 3);
    EXPECT_EQ(chart2.LineWidth(), 3);
    // The rest still applies.
    EXPECT_EQ(chart2.Rightx(), 120.0f);
    EXPECT_EQ(chart1.refreshes, 1);
}

TEST_F(CommitTest, DecimalCommaIsStoredAsTypedAndRead)
{
    const UserLocale german{QLocale(QLocale::German)};
    OptionTexts texts = CurrentOptionTexts(state, chart1, chart2);
    texts.txtInterValue1 = QStringLiteral("599,5");
    state.store.AutoInterval = false;
    CommitOptions(texts, state, *settings, chart1, chart2);
    EXPECT_EQ(state.store.InterValue, 599.5f);
    EXPECT_EQ(state.store.SampleInterval, 599.5f);
    // Qt quotes a text with a comma; a new store reads it back as the same text.
    EXPECT_EQ(ReadIniFile(iniPath()).value(QStringLiteral("FirstTrend/InterValue")), QStringLiteral("\"599,5\""));
    const SettingsStore reread(iniPath());
    EXPECT_EQ(ReadSetting(reread, Setting::InterValue), QStringLiteral("599,5"));
}

} // namespace

// The limits go under [Alarms] as typed and come back as the limits the window
// checks; an emptied box is no limit any more, a hysteresis out of range is held to it.
TEST_F(CommitTest, AlarmLimitsAreStoredUnderTheirOwnKeysAndLoaded)
{
    AlarmOptionTexts alarms = CurrentAlarmOptions(state.alarms);
    EXPECT_TRUE(alarms.High1.isEmpty());
    EXPECT_EQ(alarms.Hysteresis, QStringLiteral("0"));
    alarms.High1 = QStringLiteral(" 505 ");
    alarms.Low1 = QStringLiteral("-50");
    alarms.Low2 = QStringLiteral("207");
    alarms.Hysteresis = QStringLiteral("10");
    alarms.Sound = true;
    StoreAlarmOptions(alarms, *settings);
    CommitOptions(CurrentOptionTexts(state, chart1, chart2), state, *settings, chart1, chart2);

    const QMap<QString, QString> ini = ReadIniFile(iniPath());
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/High1")), QStringLiteral("505"));
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/Low1")), QStringLiteral("-50"));
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/High2")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/Low2")), QStringLiteral("207"));
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/Hysteresis")), QStringLiteral("10"));
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/Sound")), QStringLiteral("True"));
    // The existing settings keep their keys: only the six new ones are added.
    EXPECT_EQ(ini.size(), 20 + 6) << qPrintable(QStringList(ini.keys()).join(' '));
    EXPECT_EQ(state.alarms.limits.first.high, std::optional<float>(505));
    EXPECT_EQ(state.alarms.limits.first.low, std::optional<float>(-50));
    EXPECT_FALSE(state.alarms.limits.second.high);
    EXPECT_EQ(state.alarms.limits.second.low, std::optional<float>(207));
    EXPECT_EQ(state.alarms.limits.hysteresis, 10.0f);
    EXPECT_TRUE(state.alarms.sound);
    EXPECT_EQ(CurrentAlarmOptions(state.alarms).High1, QStringLiteral("505"));

    // Emptied, and edited by hand to what the dialog would refuse.
    alarms.High1.clear();
    alarms.Hysteresis.clear();
    StoreAlarmOptions(alarms, *settings);
    WriteSetting(*settings, Setting::AlarmLow1, QStringLiteral("abc"));
    CommitOptions(CurrentOptionTexts(state, chart1, chart2), state, *settings, chart1, chart2);
    EXPECT_FALSE(state.alarms.limits.first.high);
    EXPECT_EQ(state.alarms.limits.first.low, std::optional<float>(-50))
        << "a text that does not convert changes nothing";
    EXPECT_EQ(state.alarms.limits.hysteresis, 0.0f);
    WriteSetting(*settings, Setting::AlarmHysteresis, QStringLiteral("-3"));
    CommitOptions(CurrentOptionTexts(state, chart1, chart2), state, *settings, chart1, chart2);
    EXPECT_EQ(state.alarms.limits.hysteresis, 0.0f);
    WriteSetting(*settings, Setting::AlarmHysteresis, QStringLiteral("1e6"));
    CommitOptions(CurrentOptionTexts(state, chart1, chart2), state, *settings, chart1, chart2);
    EXPECT_EQ(state.alarms.limits.hysteresis, 9999.0f);
}
