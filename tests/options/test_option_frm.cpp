// The Options dialog driven as the user drives it, on the offscreen platform:
// clicks, typing, Tab and Enter, with the message boxes and the colour chooser
// answered from a script. What lands in the settings file is read back from
// disk, and the charts are asked for their values.

#include "ColorSwatch.h"
#include "FakeChart.h"
#include "IniFile.h"
#include "OptionFrm.h"
#include "QtPrinters.h"
#include "StartupSettings.h"
#include "TrendWidgetChart.h"
#include "UserLocale.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>

namespace {

const QString NotNumeric = QStringLiteral("You must input numeric!!!");
const QString IntervalRange = QStringLiteral("600>InterValue>0");
const QString XRange = QStringLiteral("input error!!!!, Please input  '5=<X<300'");

class ScriptedPrompts final : public OptionPrompts {
public:
    QStringList messages;
    std::deque<std::optional<OleColor>> colorAnswers;
    QList<OleColor> colorsAskedWith;
    std::function<void()> whileMessageShows;

    void showMessage(QWidget *, const QString &text) override
    {
        messages << text;
        if (whileMessageShows)
            whileMessageShows();
    }

    std::optional<OleColor> chooseColor(QWidget *, OleColor current) override
    {
        colorsAskedWith << current;
        if (colorAnswers.empty()) {
            ADD_FAILURE() << "colour chooser opened without a scripted answer";
            return std::nullopt;
        }
        const auto answer = colorAnswers.front();
        colorAnswers.pop_front();
        return answer;
    }
};

using Settings = QMap<QString, QString>;

// What a first run stores when OK is pressed without changes.
const Settings DefaultSettings = {
    {"FirstTrend/InterValue", "0"},
    {"TimeMode/TimeMode", "True"},
    {"FirstTrend/TopY", "100"},
    {"FirstTrend/BottomY", "-100"},
    {"SecondTrend/TopY", "100"},
    {"SecondTrend/BottomY", "-100"},
    {"FirstTrend/RightX", "100"},
    {"FirstTrend/BkColor", "4210752"},
    {"FirstTrend/LineColor", "65280"},
    {"SecondTrend/BkColor", "4210752"},
    {"SecondTrend/LineColor", "16776960"},
    {"FirstTrend/GridCols", "15"},
    {"FirstTrend/GridRows", "20"},
    {"SecondTrend/GridCols", "10"},
    {"SecondTrend/GridRows", "8"},
    {"FirstTrend/GridColor", "0"},
    {"SecondTrend/GridColor", "0"},
    {"AllTrend/AutoInterval", "True"},
    {"LineWidth/LineWidth", "1"},
    {"Acquisition/DiscardDamagedFrames", "True"},
};

// A user's own choices from an earlier run, and the port the main window keeps.
const Settings CustomSettings = {
    {"ComPort/ComPort", "3"},
    {"FirstTrend/InterValue", "2.5"},
    {"TimeMode/TimeMode", "False"},
    {"FirstTrend/TopY", "50"},
    {"FirstTrend/BottomY", "-10"},
    {"SecondTrend/TopY", "20"},
    {"SecondTrend/BottomY", "0"},
    {"FirstTrend/RightX", "60"},
    {"FirstTrend/BkColor", "16777215"},
    {"FirstTrend/LineColor", "255"},
    {"SecondTrend/BkColor", "8421504"},
    {"SecondTrend/LineColor", "16711680"},
    {"FirstTrend/GridCols", "4"},
    {"FirstTrend/GridRows", "6"},
    {"SecondTrend/GridCols", "12"},
    {"SecondTrend/GridRows", "2"},
    {"FirstTrend/GridColor", "12632256"},
    {"SecondTrend/GridColor", "4227327"},
    {"AllTrend/AutoInterval", "False"},
    {"LineWidth/LineWidth", "3"},
    {"Acquisition/DiscardDamagedFrames", "False"},
};

// The MQTT section as OK stores it when nothing was typed there.
const Settings PublishDefaults = {
    {"Mqtt/Publish", "False"}, {"Mqtt/BrokerUrl", ""}, {"Mqtt/User", ""},  {"Mqtt/PasswordFile", ""},
    {"Mqtt/CaFile", ""},       {"Mqtt/Station", ""},   {"Mqtt/Meter", ""},
};

// The limit alarms as OK stores them when none is set.
const Settings AlarmDefaults = {
    {"Alarms/High1", ""}, {"Alarms/Low1", ""},        {"Alarms/High2", ""},
    {"Alarms/Low2", ""},  {"Alarms/Hysteresis", "0"}, {"Alarms/Sound", "False"},
};

Settings withSectionDefaults(Settings settings)
{
    settings.insert(PublishDefaults);
    settings.insert(AlarmDefaults);
    return settings;
}

// The dialog runs against both charts: one that only keeps its properties and
// the program's own trend widget, which keeps its bounds as whole numbers.
enum class ChartKind { Fake, Widget };

class ChartPair {
public:
    virtual ~ChartPair() = default;
    virtual TrendChart &first() = 0;
    virtual TrendChart &second() = 0;
};

class FakeChartPair final : public ChartPair {
public:
    TrendChart &first() override { return chart1_; }
    TrendChart &second() override { return chart2_; }

private:
    FakeChart chart1_;
    FakeChart chart2_;
};

class WidgetChartPair final : public ChartPair {
public:
    TrendChart &first() override { return chart1_; }
    TrendChart &second() override { return chart2_; }

private:
    Sweepgraph::Trend widget1_;
    Sweepgraph::Trend widget2_;
    TrendWidgetChart chart1_{widget1_};
    TrendWidgetChart chart2_{widget2_};
};

std::unique_ptr<ChartPair> MakeCharts(ChartKind kind)
{
    if (kind == ChartKind::Widget)
        return std::make_unique<WidgetChartPair>();
    return std::make_unique<FakeChartPair>();
}

class OptionFrmTest : public ::testing::TestWithParam<ChartKind> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        settings = std::make_unique<SettingsStore>(iniPath());
        LoadStoredSettings(*settings, state, chart1, chart2);
    }

    void TearDown() override { dialog.reset(); }

    QString iniPath() const { return dir.filePath(QStringLiteral("RQ4417.ini")); }
    Settings stored() const { return ReadIniFile(iniPath()); }

    // What an earlier run left in the store, loaded as start-up loads it.
    void startWith(const Settings &values)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const QStringList path = it.key().split(QLatin1Char('/'));
            settings->SaveSetting(path[0], path[1], it.value());
        }
        settings->sync();
        LoadStoredSettings(*settings, state, chart1, chart2);
    }

    OptionFrm &open()
    {
        dialog = std::make_unique<OptionFrm>(state, *settings, chart1, chart2, prompts);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }

    template <typename T>
    T *control(const char *name) const
    {
        T *widget = dialog->findChild<T *>(QLatin1String(name));
        if (!widget)
            ADD_FAILURE() << "no control " << name;
        return widget;
    }

    QLineEdit *box(const char *name) const { return control<QLineEdit>(name); }

    void click(QWidget *widget)
    {
        QTest::mouseClick(widget, Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    // Radio buttons and check boxes answer on their mark and words only.
    void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        QCoreApplication::processEvents();
    }

    // Clicks into the box, types over its selected text and leaves it with Tab.
    void typeAndLeave(const char *name, const QString &text)
    {
        QLineEdit *edit = box(name);
        // A click into the box that has the focus would place the cursor.
        if (!edit->hasFocus())
            click(edit);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }

    QWidget *focused() const { return QApplication::focusWidget(); }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    ProgramState state;
    std::unique_ptr<ChartPair> charts = MakeCharts(GetParam());
    TrendChart &chart1 = charts->first();
    TrendChart &chart2 = charts->second();
    ScriptedPrompts prompts;
    std::unique_ptr<OptionFrm> dialog;
};

TEST_P(OptionFrmTest, ShowsEveryControlWithItsCaption)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Option"));
    EXPECT_EQ(control<QRadioButton>("Auto")->text(), QStringLiteral("Auto"));
    EXPECT_EQ(control<QRadioButton>("Manual")->text(), QStringLiteral("Manual"));
    EXPECT_EQ(control<QCheckBox>("TimeMode")->text(), QStringLiteral("TimeMode"));
    EXPECT_EQ(control<QCheckBox>("DiscardDamaged")->text(), QStringLiteral("Discard damaged frames"));
    EXPECT_EQ(control<QPushButton>("DColor")->text(), QStringLiteral("Default Color"));
    EXPECT_EQ(control<QPushButton>("OK")->text(), QStringLiteral("OK"));
    EXPECT_EQ(control<QPushButton>("Cancel")->text(), QStringLiteral("CANCEL"));
    for (const char *name : {"txtYMax1", "txtYMin1", "txtYMax2", "txtYMin2", "txtXMax", "txtInterValue1"})
        EXPECT_NE(box(name), nullptr);
    for (const char *name : {"FTBkColor", "STBkColor", "FTForeColor", "STForeColor", "FTGridColor", "STGridColor"})
        EXPECT_EQ(control<ColorSwatch>(name)->text(), QStringLiteral("Click here"));

    QStringList captions;
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        captions << label->text();
    for (const char *caption : {"Y-Max:", "Y-Min:", "X:", "Sec", "Cols", "Rows", "First", "Second", "Line Width:",
                                "First Trend BkColor:", "Second Trend BkColor:", "First Trend ForeColor:",
                                "Second Trend ForeColor:", "First Trend Grid Color:", "Second Trend Grid Color:"})
        EXPECT_TRUE(captions.contains(QLatin1String(caption))) << caption;
    EXPECT_EQ(captions.count(QStringLiteral("Y-Max:")), 2);
    QStringList groups;
    for (const QGroupBox *group : dialog->findChildren<QGroupBox *>())
        groups << group->title();
    groups.sort();
    EXPECT_EQ(groups,
              QStringList({"Coordinate", "First Trend", "Grid", "Interval", "Limit alarms", "MQTT", "Second Trend"}));
    for (const char *caption : {"High", "Low", "First display", "Second display", "Hysteresis:"})
        EXPECT_TRUE(captions.contains(QLatin1String(caption))) << caption;
    EXPECT_EQ(control<QCheckBox>("AlarmSound")->text(), QStringLiteral("Beep when an alarm is raised"));
}

TEST_P(OptionFrmTest, CombosListTheirItemsAndShowValuesOutsideThem)
{
    open();
    const QStringList gridItems = {"0",  "2",  "4",  "6",  "8",  "10", "12", "14", "16",
                                   "18", "20", "22", "24", "26", "28", "30", "40", "50"};
    for (const char *name : {"FirstCol", "FirstRow", "SecondCol", "SecondRow"}) {
        const QComboBox *combo = control<QComboBox>(name);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, gridItems) << name;
    }
    const QComboBox *lineWidth = control<QComboBox>("LineWidth");
    ASSERT_EQ(lineWidth->count(), 10);
    EXPECT_EQ(lineWidth->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(lineWidth->itemText(9), QStringLiteral("10"));
    // A first run's 15 columns are not in the list and still show.
    EXPECT_EQ(control<QComboBox>("FirstCol")->currentText(), QStringLiteral("15"));
    EXPECT_EQ(control<QComboBox>("FirstRow")->currentText(), QStringLiteral("20"));
    EXPECT_EQ(control<QComboBox>("SecondCol")->currentText(), QStringLiteral("10"));
    EXPECT_EQ(control<QComboBox>("SecondRow")->currentText(), QStringLiteral("8"));
    EXPECT_EQ(lineWidth->currentText(), QStringLiteral("1"));
}

struct RewriteRow {
    const char *name;
    const Settings *start;
    const Settings *expected;
};

TEST_P(OptionFrmTest, OkWithoutChangesRewritesEverySetting)
{
    const Settings empty;
    const RewriteRow rows[] = {
        {"first run", &empty, &DefaultSettings},
        {"a user's own settings", &CustomSettings, &CustomSettings},
    };
    for (const RewriteRow &row : rows) {
        SCOPED_TRACE(row.name);
        dialog.reset();
        QFile::remove(iniPath());
        settings = std::make_unique<SettingsStore>(iniPath());
        startWith(*row.start);
        open();
        click(control<QPushButton>("OK"));
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(stored(), withSectionDefaults(*row.expected));
        EXPECT_TRUE(prompts.messages.isEmpty());
    }
}

TEST_P(OptionFrmTest, MqttSectionIsStoredUnderItsOwnKeysAndShownAgain)
{
    startWith(CustomSettings);
    open();
    QCheckBox *publish = control<QCheckBox>("MqttPublish");
    ASSERT_TRUE(publish);
    EXPECT_EQ(publish->text(), QStringLiteral("Publish to MQTT broker"));
    EXPECT_FALSE(publish->isChecked()) << "off by default";
    EXPECT_EQ(box("MqttStation")->placeholderText(), QSysInfo::machineHostName());
    click(publish);
    EXPECT_TRUE(publish->isChecked());
    const struct {
        const char *box;
        const char *key;
        QString text;
    } typed[] = {
        {"MqttBrokerUrl", "BrokerUrl", QStringLiteral("mqtts://broker.example:8883")},
        {"MqttUser", "User", QStringLiteral("logger")},
        {"MqttPasswordFile", "PasswordFile", dir.filePath(QStringLiteral("password"))},
        {"MqttCaFile", "CaFile", dir.filePath(QStringLiteral("ca.pem"))},
        {"MqttStation", "Station", QStringLiteral("substation 4")},
        {"MqttMeter", "Meter", QStringLiteral("feeder-2")},
    };
    for (const auto &row : typed)
        typeAndLeave(row.box, row.text);
    click(control<QPushButton>("OK"));
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.messages.isEmpty());

    // The settings of before are as they were.
    Settings others = stored();
    others.removeIf([](const auto &item) { return item.key().startsWith(QLatin1String("Mqtt/")); });
    Settings customWithAlarms = CustomSettings;
    customWithAlarms.insert(AlarmDefaults);
    EXPECT_EQ(others, customWithAlarms);
    const SettingsStore reread(iniPath());
    EXPECT_EQ(ReadSetting(reread, Setting::MqttPublish), QStringLiteral("True"));
    for (const auto &row : typed)
        EXPECT_EQ(reread.GetSetting(QStringLiteral("Mqtt"), QLatin1String(row.key), QString()), row.text) << row.key;

    dialog.reset();
    open();
    EXPECT_TRUE(control<QCheckBox>("MqttPublish")->isChecked());
    for (const auto &row : typed)
        EXPECT_EQ(box(row.box)->text(), row.text) << row.box;
    click(control<QCheckBox>("MqttPublish"));
    click(control<QPushButton>("Cancel"));
    EXPECT_EQ(ReadSetting(SettingsStore(iniPath()), Setting::MqttPublish), QStringLiteral("True"))
        << "CANCEL stores nothing";
}

TEST_P(OptionFrmTest, LimitAlarmsAreCheckedStoredUnderTheirOwnKeysAndShownAgain)
{
    open();
    const char *const notALimit = "A limit must be a number, or empty for no limit";
    typeAndLeave("High1", QStringLiteral("lots"));
    EXPECT_EQ(prompts.messages, QStringList{QString::fromLatin1(notALimit)});
    EXPECT_EQ(focused(), box("High1"));
    prompts.messages.clear();
    typeAndLeave("High1", QStringLiteral("505"));
    typeAndLeave("Hysteresis", QStringLiteral("-1"));
    EXPECT_EQ(prompts.messages,
              QStringList{QStringLiteral("The hysteresis must be a number, 0 or more and below 10000")});
    prompts.messages.clear();
    typeAndLeave("Hysteresis", QStringLiteral("10"));
    // A low limit above the high one is refused at OK, and nothing is stored.
    typeAndLeave("Low1", QStringLiteral("600"));
    EXPECT_TRUE(prompts.messages.isEmpty());
    click(control<QPushButton>("OK"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(prompts.messages,
              QStringList{QStringLiteral("The low limit must be below the high limit of its display")});
    EXPECT_EQ(focused(), box("Low1"));
    EXPECT_FALSE(QFile::exists(iniPath()) && stored().contains(QStringLiteral("Alarms/High1")));
    prompts.messages.clear();
    box("Low1")->setText(QStringLiteral("-50"));
    control<QCheckBox>("AlarmSound")->setChecked(true);
    click(control<QPushButton>("OK"));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(prompts.messages.isEmpty());
    const Settings ini = stored();
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/High1")), QStringLiteral("505"));
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/Low1")), QStringLiteral("-50"));
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/High2")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/Hysteresis")), QStringLiteral("10"));
    EXPECT_EQ(ini.value(QStringLiteral("Alarms/Sound")), QStringLiteral("True"));
    EXPECT_EQ(state.alarms.limits.first.high, std::optional<float>(505));

    dialog.reset();
    open();
    EXPECT_EQ(box("High1")->text(), QStringLiteral("505"));
    EXPECT_EQ(box("Low1")->text(), QStringLiteral("-50"));
    EXPECT_TRUE(box("High2")->text().isEmpty());
    EXPECT_EQ(box("High2")->placeholderText(), QStringLiteral("none"));
    EXPECT_TRUE(control<QCheckBox>("AlarmSound")->isChecked());
}

TEST_P(OptionFrmTest, OpensWithTheCurrentValues)
{
    startWith(CustomSettings);
    open();
    EXPECT_EQ(box("txtInterValue1")->text(), QStringLiteral("2.5"));
    EXPECT_EQ(box("txtYMax1")->text(), QStringLiteral("50"));
    EXPECT_EQ(box("txtYMin1")->text(), QStringLiteral("-10"));
    EXPECT_EQ(box("txtYMax2")->text(), QStringLiteral("20"));
    EXPECT_EQ(box("txtYMin2")->text(), QStringLiteral("0"));
    EXPECT_EQ(box("txtXMax")->text(), QStringLiteral("60"));
    EXPECT_EQ(control<QComboBox>("SecondCol")->currentText(), QStringLiteral("12"));
    EXPECT_EQ(control<QComboBox>("LineWidth")->currentText(), QStringLiteral("3"));
    EXPECT_EQ(control<ColorSwatch>("FTBkColor")->color(), 0xFFFFFFu);
    EXPECT_EQ(control<ColorSwatch>("FTForeColor")->color(), 0x0000FFu);
    EXPECT_EQ(control<ColorSwatch>("STGridColor")->color(), 4227327u);
    // Loading sets the buttons without acting on them.
    EXPECT_FALSE(control<QCheckBox>("TimeMode")->isChecked());
    EXPECT_FALSE(state.view.TimeMode);
    EXPECT_TRUE(control<QRadioButton>("Manual")->isChecked());
    EXPECT_FALSE(state.store.AutoInterval);
    // Manual puts the focus in the interval box.
    EXPECT_TRUE(box("txtInterValue1")->isEnabled());
    EXPECT_EQ(focused(), box("txtInterValue1"));
    EXPECT_EQ(box("txtInterValue1")->selectedText(), QStringLiteral("2.5"));
}

TEST_P(OptionFrmTest, AutoDisablesTheIntervalBox)
{
    open();
    EXPECT_TRUE(control<QCheckBox>("TimeMode")->isChecked());
    EXPECT_TRUE(state.view.TimeMode);
    EXPECT_TRUE(control<QRadioButton>("Auto")->isChecked());
    EXPECT_FALSE(box("txtInterValue1")->isEnabled());
    EXPECT_EQ(focused(), box("txtYMax1"));
}

struct TimeModeRow {
    const char *name;
    bool start;
    int clicks;
};

TEST_P(OptionFrmTest, TimeModeActsAtOnceAndCancelKeepsIt)
{
    const TimeModeRow rows[] = {
        {"twice from on", true, 2},
        {"once from on", true, 1},
        {"once from off", false, 1},
    };
    for (const TimeModeRow &row : rows) {
        SCOPED_TRACE(row.name);
        state.view.TimeMode = row.start;
        const Settings before = stored();
        open();
        QCheckBox *timeMode = control<QCheckBox>("TimeMode");
        for (int i = 0; i < row.clicks; ++i) {
            click(timeMode);
            EXPECT_EQ(state.view.TimeMode, row.start != ((i + 1) % 2 == 1));
        }
        click(control<QPushButton>("Cancel"));
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(state.view.TimeMode, row.clicks % 2 == 0 ? row.start : !row.start);
        EXPECT_EQ(stored(), before);
    }
}

TEST_P(OptionFrmTest, DiscardDamagedFramesWaitsForOk)
{
    startWith(CustomSettings);
    open();
    QCheckBox *discard = control<QCheckBox>("DiscardDamaged");
    EXPECT_FALSE(discard->isChecked()) << "opens with the stored choice";
    click(discard);
    EXPECT_TRUE(discard->isChecked());
    EXPECT_FALSE(state.acquisition.DiscardDamagedFrames) << "nothing acts before OK";
    click(control<QPushButton>("Cancel"));
    EXPECT_FALSE(state.acquisition.DiscardDamagedFrames);
    EXPECT_EQ(stored().value(QStringLiteral("Acquisition/DiscardDamagedFrames")), QStringLiteral("False"));

    open();
    click(control<QCheckBox>("DiscardDamaged"));
    click(control<QPushButton>("OK"));
    EXPECT_TRUE(state.acquisition.DiscardDamagedFrames);
    EXPECT_EQ(stored().value(QStringLiteral("Acquisition/DiscardDamagedFrames")), QStringLiteral("True"));
}

TEST_P(OptionFrmTest, ManualAndAutoActAtOnceAndCancelKeepsThem)
{
    open();
    QLineEdit *interval = box("txtInterValue1");
    click(control<QRadioButton>("Manual"));
    EXPECT_FALSE(state.store.AutoInterval);
    EXPECT_TRUE(interval->isEnabled());
    EXPECT_EQ(focused(), interval);
    EXPECT_EQ(interval->selectedText(), QStringLiteral("0"));
    // Leaving the box for Auto does not complain about an interval that is
    // about to be unused.
    click(control<QRadioButton>("Auto"));
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(state.store.AutoInterval);
    EXPECT_FALSE(interval->isEnabled());
    click(control<QRadioButton>("Manual"));
    click(control<QPushButton>("Cancel"));
    // The choice stays; the interval in force is only recomputed by OK.
    EXPECT_FALSE(state.store.AutoInterval);
    EXPECT_EQ(state.store.SampleInterval, 0.0f);
    EXPECT_TRUE(stored().isEmpty());
}

struct BoxRow {
    const char *text;
    const QString *message; // nullptr: accepted
};

TEST_P(OptionFrmTest, IntervalBoundsAreCheckedOnLeavingTheBox)
{
    const BoxRow rows[] = {
        {"0", &IntervalRange},
        {"600", &IntervalRange},
        {"abc", &NotNumeric},
        {"599.5", nullptr},
    };
    open();
    click(control<QRadioButton>("Manual"));
    QLineEdit *interval = box("txtInterValue1");
    for (const BoxRow &row : rows) {
        SCOPED_TRACE(row.text);
        prompts.messages.clear();
        typeAndLeave("txtInterValue1", QString::fromLatin1(row.text));
        if (row.message) {
            EXPECT_EQ(prompts.messages, QStringList{*row.message});
            EXPECT_EQ(focused(), interval);
            EXPECT_EQ(interval->selectedText(), QString::fromLatin1(row.text));
        } else {
            EXPECT_TRUE(prompts.messages.isEmpty());
            EXPECT_EQ(focused(), control<QComboBox>("FirstCol"));
        }
    }
    click(control<QPushButton>("OK"));
    EXPECT_EQ(stored().value(QStringLiteral("FirstTrend/InterValue")), QStringLiteral("599.5"));
    EXPECT_EQ(stored().value(QStringLiteral("AllTrend/AutoInterval")), QStringLiteral("False"));
    EXPECT_EQ(state.store.InterValue, 599.5f);
    EXPECT_EQ(state.store.SampleInterval, 599.5f);
}

TEST_P(OptionFrmTest, XRangeIsCheckedOnLeavingTheBox)
{
    const BoxRow rows[] = {
        {"300", &XRange},
        {"4.99", &XRange},
        {"5", nullptr},
    };
    open();
    QLineEdit *xMax = box("txtXMax");
    for (const BoxRow &row : rows) {
        SCOPED_TRACE(row.text);
        prompts.messages.clear();
        typeAndLeave("txtXMax", QString::fromLatin1(row.text));
        if (row.message) {
            EXPECT_EQ(prompts.messages, QStringList{*row.message});
            EXPECT_EQ(focused(), xMax);
        } else {
            EXPECT_TRUE(prompts.messages.isEmpty());
            EXPECT_EQ(focused(), control<QRadioButton>("Auto"));
        }
    }
    click(control<QPushButton>("OK"));
    EXPECT_EQ(stored().value(QStringLiteral("FirstTrend/RightX")), QStringLiteral("5"));
    EXPECT_EQ(chart1.Rightx(), 5.0f);
    EXPECT_EQ(chart2.Rightx(), 5.0f);
}

TEST_P(OptionFrmTest, YBoxesTakeAnyNumberOrASignAlone)
{
    const BoxRow rows[] = {
        {"abc", &NotNumeric}, {"--", &NotNumeric}, {"1e3", nullptr}, {"+", nullptr}, {"-", nullptr},
    };
    open();
    for (const BoxRow &row : rows) {
        SCOPED_TRACE(row.text);
        prompts.messages.clear();
        typeAndLeave("txtYMax1", QString::fromLatin1(row.text));
        if (row.message) {
            EXPECT_EQ(prompts.messages, QStringList{*row.message});
            EXPECT_EQ(focused(), box("txtYMax1"));
        } else {
            EXPECT_TRUE(prompts.messages.isEmpty());
            EXPECT_EQ(focused(), box("txtYMin1"));
        }
    }
    click(control<QPushButton>("OK"));
    // Stored as typed; the chart cannot take a sign alone and keeps its range.
    Settings expected = DefaultSettings;
    expected[QStringLiteral("FirstTrend/TopY")] = QStringLiteral("-");
    EXPECT_EQ(stored(), withSectionDefaults(expected));
    EXPECT_EQ(chart1.TopY(), 100.0f);
    EXPECT_EQ(chart1.BottomY(), -100.0f);
}

TEST_P(OptionFrmTest, DefaultColorThenCancelChangesNothing)
{
    startWith(CustomSettings);
    const Settings before = stored();
    open();
    click(control<QPushButton>("DColor"));
    EXPECT_EQ(control<ColorSwatch>("FTBkColor")->color(), 0x404040u);
    EXPECT_EQ(control<ColorSwatch>("STBkColor")->color(), 0x404040u);
    EXPECT_EQ(control<ColorSwatch>("FTForeColor")->color(), 0x00FF00u);
    EXPECT_EQ(control<ColorSwatch>("STForeColor")->color(), 0xFFFF00u);
    EXPECT_EQ(control<ColorSwatch>("FTGridColor")->color(), 0u);
    EXPECT_EQ(control<ColorSwatch>("STGridColor")->color(), 0u);
    EXPECT_EQ(chart1.TrendBackColor(), 0xFFFFFFu);
    click(control<QPushButton>("Cancel"));
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(chart1.TrendBackColor(), 0xFFFFFFu);
    EXPECT_EQ(chart2.TrendBackColor(), 8421504u);
    EXPECT_EQ(state.view.FirstLineColor, 255u);
    EXPECT_EQ(state.view.SecondLineColor, 16711680u);
    EXPECT_EQ(chart1.GridColor(), 12632256u);
    EXPECT_EQ(chart2.GridColor(), 4227327u);

    // Opened again, the dialog shows the colours in force, not the dropped ones.
    open();
    EXPECT_EQ(control<ColorSwatch>("FTBkColor")->color(), 0xFFFFFFu);
    click(control<QPushButton>("DColor"));
    click(control<QPushButton>("OK"));
    Settings expected = CustomSettings;
    for (const char *key : {"FirstTrend/BkColor", "SecondTrend/BkColor", "FirstTrend/LineColor",
                            "SecondTrend/LineColor", "FirstTrend/GridColor", "SecondTrend/GridColor"})
        expected[QLatin1String(key)] = DefaultSettings.value(QLatin1String(key));
    EXPECT_EQ(stored(), withSectionDefaults(expected));
    EXPECT_EQ(chart1.TrendBackColor(), 0x404040u);
    EXPECT_EQ(chart2.TrendBackColor(), 0x404040u);
    EXPECT_EQ(state.view.FirstLineColor, 0x00FF00u);
    EXPECT_EQ(state.view.SecondLineColor, 0xFFFF00u);
    EXPECT_EQ(chart1.GridColor(), 0u);
    EXPECT_EQ(chart2.GridColor(), 0u);
}

TEST_P(OptionFrmTest, SwatchClickAsksForAColourAndCancelKeepsIt)
{
    open();
    ColorSwatch *foreColor = control<ColorSwatch>("FTForeColor");
    ColorSwatch *gridColor = control<ColorSwatch>("STGridColor");
    ColorSwatch *backColor = control<ColorSwatch>("STBkColor");
    prompts.colorAnswers = {OleColor(0x0000FF), std::nullopt, OleColor(0x808080)};
    click(foreColor);
    click(gridColor);
    // From the keyboard: Tab reaches a swatch and Space opens the chooser.
    backColor->setFocus(Qt::TabFocusReason);
    QTest::keyClick(backColor, Qt::Key_Space);
    EXPECT_EQ(prompts.colorsAskedWith, QList<OleColor>({0x00FF00, 0, 0x404040}));
    EXPECT_EQ(foreColor->color(), 0x0000FFu);
    EXPECT_EQ(gridColor->color(), 0u);
    EXPECT_EQ(backColor->color(), 0x808080u);
    // Nothing applies before OK.
    EXPECT_EQ(state.view.FirstLineColor, 0x00FF00u);
    click(control<QPushButton>("OK"));
    EXPECT_EQ(state.view.FirstLineColor, 0x0000FFu);
    EXPECT_EQ(stored().value(QStringLiteral("FirstTrend/LineColor")), QStringLiteral("255"));
    EXPECT_EQ(stored().value(QStringLiteral("SecondTrend/GridColor")), QStringLiteral("0"));
    EXPECT_EQ(stored().value(QStringLiteral("SecondTrend/BkColor")), QStringLiteral("8421504"));
    EXPECT_EQ(chart2.TrendBackColor(), 0x808080u);
}

TEST_P(OptionFrmTest, SwatchShowsItsColourWithReadableWords)
{
    open();
    struct {
        const char *name;
        QRgb background;
        QRgb words;
    } rows[] = {
        {"FTBkColor", qRgb(0x40, 0x40, 0x40), qRgb(255, 255, 255)},
        {"FTForeColor", qRgb(0, 0xFF, 0), qRgb(0, 0, 0)},
        {"STForeColor", qRgb(0, 0xFF, 0xFF), qRgb(0, 0, 0)},
        {"FTGridColor", qRgb(0, 0, 0), qRgb(255, 255, 255)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        ColorSwatch *colorSwatch = control<ColorSwatch>(row.name);
        const QImage image = colorSwatch->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect inside = colorSwatch->contentsRect();
        EXPECT_EQ(image.pixel(inside.left() + 1, inside.top() + 1), row.background);
        // The words stand out in the readable colour: the pixel that differs
        // most from the background is near that colour.
        QRgb strongest = row.background;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                if (std::abs(qGray(image.pixel(x, y)) - qGray(row.background)) >
                    std::abs(qGray(strongest) - qGray(row.background)))
                    strongest = image.pixel(x, y);
            }
        }
        EXPECT_LT(std::abs(qGray(strongest) - qGray(row.words)), 64);
    }
}

TEST_P(OptionFrmTest, GridValuesZeroAndTwoFromTheLists)
{
    open();
    control<QComboBox>("FirstCol")->setCurrentIndex(0);
    control<QComboBox>("FirstRow")->setCurrentIndex(1);
    control<QComboBox>("SecondCol")->setCurrentIndex(1);
    control<QComboBox>("SecondRow")->setCurrentIndex(0);
    control<QComboBox>("LineWidth")->setCurrentIndex(4);
    click(control<QPushButton>("OK"));
    EXPECT_EQ(stored().value(QStringLiteral("FirstTrend/GridCols")), QStringLiteral("0"));
    EXPECT_EQ(stored().value(QStringLiteral("FirstTrend/GridRows")), QStringLiteral("2"));
    EXPECT_EQ(stored().value(QStringLiteral("SecondTrend/GridCols")), QStringLiteral("2"));
    EXPECT_EQ(stored().value(QStringLiteral("SecondTrend/GridRows")), QStringLiteral("0"));
    EXPECT_EQ(stored().value(QStringLiteral("LineWidth/LineWidth")), QStringLiteral("5"));
    EXPECT_EQ(chart1.GridCols(), 0);
    EXPECT_EQ(chart1.GridRows(), 2);
    EXPECT_EQ(chart2.GridCols(), 2);
    EXPECT_EQ(chart2.GridRows(), 0);
    EXPECT_EQ(chart1.LineWidth(), 5);
    EXPECT_EQ(chart2.LineWidth(), 5);
}

TEST_P(OptionFrmTest, TypedComboTextThatDoesNotConvertIsStoredAndLeavesTheChart)
{
    open();
    QComboBox *firstCol = control<QComboBox>("FirstCol");
    click(firstCol->lineEdit());
    firstCol->lineEdit()->selectAll();
    QTest::keyClicks(firstCol->lineEdit(), QStringLiteral("lots"));
    click(control<QPushButton>("OK"));
    EXPECT_EQ(stored().value(QStringLiteral("FirstTrend/GridCols")), QStringLiteral("lots"));
    EXPECT_EQ(chart1.GridCols(), 15);
    EXPECT_EQ(firstCol->count(), 18);
}

TEST_P(OptionFrmTest, WholeTextIsSelectedOnFocus)
{
    open();
    QTest::keyClick(box("txtYMax1"), Qt::Key_Tab);
    EXPECT_EQ(focused(), box("txtYMin1"));
    EXPECT_EQ(box("txtYMin1")->selectedText(), QStringLiteral("-100"));
    // A click into a box selects all as well, though the press places the cursor.
    click(box("txtXMax"));
    EXPECT_EQ(focused(), box("txtXMax"));
    EXPECT_EQ(box("txtXMax")->selectedText(), QStringLiteral("100"));
}

TEST_P(OptionFrmTest, TwoBadBoxesDoNotBounceTheFocus)
{
    const struct {
        const char *name;
        bool messageTakesTheFocus;
    } rows[] = {{"message box without focus", false}, {"message box taking the focus", true}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        prompts.messages.clear();
        open();
        QWidget messageWindow;
        if (row.messageTakesTheFocus) {
            prompts.whileMessageShows = [&] {
                messageWindow.show();
                messageWindow.activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(&messageWindow));
                messageWindow.hide();
                dialog->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
            };
        }
        box("txtYMin1")->setText(QStringLiteral("xyz"));
        click(box("txtYMax1"));
        QTest::keyClicks(box("txtYMax1"), QStringLiteral("abc"));
        click(box("txtYMin1"));
        // The message and the focus back in the first box (the checks below
        // tell), then a stretch in which the focus must not bounce into a second message.
        static_cast<void>(
            WaitUntil([&] { return !prompts.messages.isEmpty() && focused() == box("txtYMax1"); }, 10000));
        RunEventsFor(50);
        EXPECT_EQ(prompts.messages, QStringList{NotNumeric});
        EXPECT_EQ(focused(), box("txtYMax1"));
        prompts.whileMessageShows = nullptr;
    }
}

TEST_P(OptionFrmTest, EnterInABadBoxChecksItBeforeOk)
{
    open();
    click(box("txtXMax"));
    QTest::keyClicks(box("txtXMax"), QStringLiteral("1000"));
    QTest::keyClick(box("txtXMax"), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.messages, QStringList{XRange});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(focused(), box("txtXMax"));
    EXPECT_FALSE(QFile::exists(iniPath()));

    QTest::keyClicks(box("txtXMax"), QStringLiteral("200"));
    QTest::keyClick(box("txtXMax"), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(stored().value(QStringLiteral("FirstTrend/RightX")), QStringLiteral("200"));
    EXPECT_EQ(chart2.Rightx(), 200.0f);
}

TEST_P(OptionFrmTest, ClickingOkFromABadBoxShowsTheMessageAndStays)
{
    open();
    click(box("txtYMax2"));
    QTest::keyClicks(box("txtYMax2"), QStringLiteral("abc"));
    click(control<QPushButton>("OK"));
    EXPECT_EQ(prompts.messages, QStringList{NotNumeric});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(focused(), box("txtYMax2"));
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_P(OptionFrmTest, ClosingByTheFrameOrEscapeActsAsCancel)
{
    for (const bool byEscape : {false, true}) {
        SCOPED_TRACE(byEscape ? "Escape" : "window frame");
        const bool timeModeBefore = state.view.TimeMode;
        open();
        click(control<QCheckBox>("TimeMode"));
        click(box("txtYMax1"));
        QTest::keyClicks(box("txtYMax1"), QStringLiteral("55"));
        if (byEscape)
            QTest::keyClick(box("txtYMax1"), Qt::Key_Escape);
        else
            dialog->close();
        QCoreApplication::processEvents();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(state.view.TimeMode, !timeModeBefore);
        EXPECT_EQ(chart1.TopY(), 100.0f);
        EXPECT_FALSE(QFile::exists(iniPath()));
    }
}

TEST_P(OptionFrmTest, DecimalCommaOfTheUsersLocale)
{
    const UserLocale german{QLocale(QLocale::German)};
    startWith({{"FirstTrend/InterValue", "2,5"}, {"AllTrend/AutoInterval", "False"}});
    open();
    EXPECT_EQ(box("txtInterValue1")->text(), QStringLiteral("2,5"));
    typeAndLeave("txtInterValue1", QStringLiteral("599,5"));
    EXPECT_TRUE(prompts.messages.isEmpty());
    typeAndLeave("txtXMax", QStringLiteral("4,99"));
    EXPECT_EQ(prompts.messages, QStringList{XRange});
    QTest::keyClicks(box("txtXMax"), QStringLiteral("20,0"));
    click(control<QPushButton>("OK"));
    EXPECT_EQ(stored().value(QStringLiteral("FirstTrend/InterValue")), QStringLiteral("\"599,5\""));
    EXPECT_EQ(state.store.InterValue, 599.5f);
    EXPECT_EQ(state.store.SampleInterval, 599.5f);
    EXPECT_EQ(chart1.Rightx(), 20.0f);
}

INSTANTIATE_TEST_SUITE_P(Charts, OptionFrmTest, ::testing::Values(ChartKind::Fake, ChartKind::Widget),
                         [](const ::testing::TestParamInfo<ChartKind> &instance) {
                             return instance.param == ChartKind::Fake ? "FakeChart" : "TrendWidget";
                         });

} // namespace
