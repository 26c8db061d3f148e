// The main window as assistive technology and the keyboard meet it: names and
// values of the displays, the charts' descriptions, the statistics labels'
// buddies and the tab chain.

#include "MainFrm.h"
#include "OffscreenWindow.h"
#include "OleDate.h"
#include "SettingsStore.h"

#include <LED.h>
#include <Trend.h>

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

class WindowAccessibilityTest : public OffscreenWindowTest {
protected:
    void SetUp() override
    {
        OffscreenWindowTest::SetUp();
        QLocale::setDefault(QLocale::c());
        openWindow();
    }

    void appendSamples(int count)
    {
        for (int i = 1; i <= count; ++i) {
            Sample s;
            s.FirstValue = float(i) * 1.5f;
            s.FirstUnit = 0x08;
            s.SecondValue = 230;
            s.Seconds = float(i);
            s.Stamp = LocalToOleDate(QDateTime(QDate(2002, 6, 7), QTime(10, 37, 0)).addSecs(i));
            state.store.AppendSample(s);
            window->trendView().FollowLatestSample();
        }
    }

    static QAccessibleInterface *face(QWidget *widget)
    {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
        EXPECT_NE(face, nullptr) << widget->objectName().toStdString();
        return face;
    }

    static QString description(Sweepgraph::Trend *chart)
    {
        QAccessibleInterface *plot = face(chart->focusProxy());
        return plot ? plot->text(QAccessible::Description) : QString();
    }
};

} // namespace

TEST_F(WindowAccessibilityTest, DisplaysReportTheirNameAndTheReadingOfTheLastFrame)
{
    DecodedFrame frame;
    frame.display.LCD1 = "12.35";
    frame.display.LCD2 = "230.1";
    frame.display.LCD3 = "7";
    window->ApplyDecodedFrame(frame);
    const struct {
        LEDCtl1::LED *led;
        const char *name;
        const char *value;
    } displays[] = {{window->LCD1, "First display", "12.35"},
                    {window->LCD2, "Second display", "230.1"},
                    {window->LCD3, "Memory location", "7"}};
    for (const auto &display : displays) {
        QAccessibleInterface *led = face(display.led);
        ASSERT_NE(led, nullptr);
        EXPECT_EQ(led->role(), QAccessible::StaticText);
        EXPECT_EQ(led->text(QAccessible::Name), QString::fromUtf8(display.name));
        EXPECT_EQ(led->text(QAccessible::Value), QString::fromUtf8(display.value));
    }
}

TEST_F(WindowAccessibilityTest, ChartsDescribeWhatTheyShowAndTheNewestValue)
{
    // The descriptions follow the charts' repaints.
    const auto described = [](Sweepgraph::Trend *chart, const QString &text) {
        if (!QTest::qWaitFor([&] { return description(chart) == text; }, 20000)) {
            EXPECT_EQ(description(chart).toStdString(), text.toStdString());
        }
    };
    described(window->Sweepgraph1, QStringLiteral("First display over time, no samples"));
    EXPECT_EQ(face(window->Sweepgraph1->focusProxy())->role(), QAccessible::Chart);
    EXPECT_EQ(face(window->Sweepgraph1->focusProxy())->text(QAccessible::Name), QStringLiteral("First display chart"));
    EXPECT_EQ(face(window->Sweepgraph2->focusProxy())->text(QAccessible::Name), QStringLiteral("Second display chart"));

    appendSamples(3);
    described(window->Sweepgraph1, QStringLiteral("First display over time from 7 Jun 2002 10:37:01 to 7 Jun 2002 "
                                                  "10:37:03, newest value 4.5A"));
    described(window->Sweepgraph2, QStringLiteral("Second display over time from 7 Jun 2002 10:37:01 to 7 Jun 2002 "
                                                  "10:37:03, newest value 230"));

    // New empties the charts, and their descriptions say so at once.
    state.acquisition.Modified = false;
    window->New->trigger();
    EXPECT_EQ(description(window->Sweepgraph1), QStringLiteral("First display over time, no samples"));
    EXPECT_EQ(description(window->Sweepgraph2), QStringLiteral("Second display over time, no samples"));
}

TEST_F(WindowAccessibilityTest, StatisticsTitlesLabelTheirFieldsAndEveryFieldHasAName)
{
    const struct {
        QGroupBox *group;
        QLabel *fields[6];
        const char *area;
    } groups[] = {
        {window->Frame3,
         {window->aMAX, window->aMAXDate, window->aMIN, window->aMINDate, window->aAVG, window->aAVGDate},
         "ALL AREA"},
        {window->Frame2,
         {window->vMAX, window->vMAXDate, window->vMIN, window->vMINDate, window->vAVG, window->vAVGDate},
         "VISUAL AREA"},
    };
    const char *const kinds[6] = {"maximum", "time of the maximum",    "minimum", "time of the minimum",
                                  "average", "time of the last sample"};
    const char *const titles[3] = {"MAX:", "MIN:", "AVG:"};
    for (const auto &group : groups) {
        for (int row = 0; row < 3; ++row) {
            QLabel *title = nullptr;
            for (QLabel *label : group.group->findChildren<QLabel *>())
                if (label->text() == QLatin1String(titles[row]))
                    title = label;
            ASSERT_NE(title, nullptr) << group.area << " " << titles[row];
            QLabel *value = group.fields[row * 2];
            EXPECT_EQ(title->buddy(), value) << group.area << " " << titles[row];
            // The buddy is what makes the title the value's label for a screen reader.
            bool labelled = false;
            for (const auto &relation : face(value)->relations(QAccessible::Label))
                labelled = labelled || relation.first->object() == title;
            EXPECT_TRUE(labelled) << group.area << " " << titles[row];
        }
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(face(group.fields[i])->text(QAccessible::Name),
                      QStringLiteral("%1 %2").arg(QLatin1String(group.area), QLatin1String(kinds[i])));
    }
}

TEST_F(WindowAccessibilityTest, TabGoesFromTheButtonsThroughTheChartsToTheScrollBarAndAround)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 20000));
    window->Start->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(window->Start->hasFocus());
    const QWidget *const chain[] = {window->Stop, window->Sweepgraph1->focusProxy(), window->Sweepgraph2->focusProxy(),
                                    window->HScroll1, window->Start};
    for (const QWidget *next : chain) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next)
            << "focus on "
            << (QApplication::focusWidget() ? qPrintable(QApplication::focusWidget()->objectName()) : "nothing");
    }
    // The buttons work from the keyboard, and each stays a tab stop of its own.
    QTest::keyClick(window->Stop, Qt::Key_Space);
    EXPECT_TRUE(window->Stop->isChecked());
    EXPECT_FALSE(window->Start->isChecked());
}
