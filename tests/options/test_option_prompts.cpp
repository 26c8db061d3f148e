// The real message box and colour chooser, answered by a timer once they are up.

#include "FakeChart.h"
#include "OptionFrm.h"
#include "QtPrinters.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs the answer on the modal box as soon as it shows.
void AnswerModal(std::function<void(QWidget *)> answer)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->deleteLater();
            poll->stop();
            answer(modal);
        }
    });
    poll->start(10);
}

TEST(DialogOptionPrompts, MessageBoxHasTheTitleAndOnlyOk)
{
    QString title;
    QString text;
    int buttons = 0;
    AnswerModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            ADD_FAILURE() << "not a message box";
            modal->close();
            return;
        }
        title = box->windowTitle();
        text = box->text();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    DialogOptionPrompts().showMessage(nullptr, QStringLiteral("600>InterValue>0"));
    EXPECT_EQ(title, QStringLiteral("Ampero"));
    EXPECT_EQ(text, QStringLiteral("600>InterValue>0"));
    EXPECT_EQ(buttons, 1);
}

TEST(DialogOptionPrompts, ColourChooserStartsAtTheSwatchAndReturnsTheChoice)
{
    QColor initial;
    AnswerModal([&](QWidget *modal) {
        auto *chooser = qobject_cast<QColorDialog *>(modal);
        if (!chooser) {
            ADD_FAILURE() << "not a colour chooser";
            modal->close();
            return;
        }
        initial = chooser->currentColor();
        chooser->setCurrentColor(QColor(0x11, 0x22, 0x33));
        chooser->accept();
    });
    EXPECT_EQ(DialogOptionPrompts().chooseColor(nullptr, 0x00FF00), std::optional<OleColor>(0x332211));
    EXPECT_EQ(initial, QColor(0, 0xFF, 0));
}

TEST(DialogOptionPrompts, CancelledColourChooserGivesNothing)
{
    AnswerModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    EXPECT_EQ(DialogOptionPrompts().chooseColor(nullptr, 0x404040), std::nullopt);
}

// A real message box takes the focus and gives it back when it closes: the
// box is checked once and the focus ends in it.
TEST(DialogOptionPrompts, RealMessageBoxOverTheDialogDoesNotRepeat)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("RQ4417.ini")));
    ProgramState state;
    FakeChart chart1;
    FakeChart chart2;
    DialogOptionPrompts prompts;
    OptionFrm dialog(state, settings, chart1, chart2, prompts);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    QStringList shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(10);

    auto *yMax = dialog.findChild<QLineEdit *>(QStringLiteral("txtYMax1"));
    auto *yMin = dialog.findChild<QLineEdit *>(QStringLiteral("txtYMin1"));
    yMin->setText(QStringLiteral("also bad"));
    yMax->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(yMax, QStringLiteral("bad"));
    QTest::keyClick(yMax, Qt::Key_Tab);
    // The box answered and the focus back in the first box (the checks below
    // tell), then a stretch in which the focus must not bounce into a second box.
    static_cast<void>(WaitUntil([&] { return !shown.isEmpty() && dialog.focusWidget() == yMax; }, 10000));
    RunEventsFor(300);
    EXPECT_EQ(shown, QStringList{QStringLiteral("You must input numeric!!!")});
    EXPECT_EQ(dialog.focusWidget(), yMax);
    // The offscreen platform has no window manager to give the activation
    // back: do what it would.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    RunEventsFor(100); // a stretch in which getting the activation back must not ask again
    EXPECT_EQ(QApplication::focusWidget(), yMax);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
