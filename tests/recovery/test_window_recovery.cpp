// The journal in the offscreen main window: recovery at start-up, the File
// commands and the close sequence that remove it, and recording from a
// pseudo-terminal meter with the journal following every sample.

#include "Frames.h"
#include "MainFrm.h"
#include "OffscreenWindow.h"
#include "PtyFeeder.h"
#include "RecordFile.h"
#include "RecoveryJournal.h"
#include "RecoveryTestSupport.h"
#include "SettingsStore.h"
#include "TestFiles.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include <unistd.h>

namespace {

using Answer = ScriptedPrompts::Answer;
const QString Question = QString::fromLatin1(RecoveryJournal::RecoverQuestion);
MeterFrame meterFrame(const std::string &first, std::uint8_t unit = UnitA)
{
    return ReadingFrame(first, unit, Coupling::Ac);
}

// The start-up sequence of the program, with the journal at `journal`.
void startWithJournal(ProgramRun &run, const QString &journal)
{
    MainFrm &window = run.create();
    window.UseRecoveryJournal(journal);
    window.ProbePorts();
    window.SetPortInUse(1);
    window.OfferRecovery();
    window.show();
}

class WindowRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QLocale::setDefault(QLocale::c());
    }

    std::unique_ptr<ProgramRun> newRun()
    {
        return std::make_unique<ProgramRun>(dir.filePath(QStringLiteral("RQ4417.conf")));
    }

    // A recording of n samples left behind by a killed run; its record 0 lags
    // behind, as when the kill came between the last sample and record 0.
    SampleStore leaveJournal(std::int32_t n)
    {
        SampleStore acquired = AcquiredStore(n);
        SampleStore written = acquired;
        written.statistics() = AcquiredStore(n / 2).statistics();
        WriteRecords(journal, written, n);
        return acquired;
    }

    // A run that answered Yes to the recovery question.
    std::unique_ptr<ProgramRun> recovered(std::int32_t n)
    {
        leaveJournal(n);
        auto run = newRun();
        run->prompts.yesNoAnswers = {true};
        startWithJournal(*run, journal);
        return run;
    }

    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("data/RQ4417/recovery.KRD"));
};

} // namespace

TEST_F(WindowRecoveryTest, YesMakesTheJournalTheUnsavedRecordingPlacedLikeAnOpenedFile)
{
    const SampleStore acquired = leaveJournal(500);
    auto run = newRun();
    run->prompts.yesNoAnswers = {true};
    startWithJournal(*run, journal);
    ProgramState &state = run->state;
    EXPECT_EQ(run->prompts.asked, QStringList{Question});
    EXPECT_TRUE(run->prompts.errors.isEmpty()) << qPrintable(run->prompts.errors.join(QLatin1Char('\n')));
    ASSERT_EQ(state.store.SampleCount, 500);
    EXPECT_EQ(storeBytes(state.store, 500), storeBytes(acquired, 500)) << "samples, and record 0 rebuilt";
    EXPECT_TRUE(state.acquisition.Modified);
    EXPECT_TRUE(state.RecordFileName.isEmpty());
    EXPECT_EQ(run->window->windowTitle(), QStringLiteral("Ampero Clamp    "));
    EXPECT_TRUE(QFileInfo::exists(journal)) << "it still protects the unsaved recording";

    // The same recording opened from a file, in another run.
    const QString file = dir.filePath(QStringLiteral("same.KRD"));
    ASSERT_TRUE(WriteRecordFile(file, acquired).ok);
    auto opened = newRun();
    startWithJournal(*opened, dir.filePath(QStringLiteral("other/recovery.KRD")));
    opened->prompts.files = {file};
    opened->window->Open->trigger();
    ASSERT_EQ(opened->state.store.SampleCount, 500);
    // Both windows paint, which fills the VISUAL AREA labels.
    WaitUntil([&] { return !run->window->vAVG->text().isEmpty() && !opened->window->vAVG->text().isEmpty(); }, 10000);

    EXPECT_EQ(state.view.ViewFirst, opened->state.view.ViewFirst);
    EXPECT_EQ(state.view.ViewLast, opened->state.view.ViewLast);
    EXPECT_GT(state.view.ViewFirst, 1) << "500 samples half a second apart are more than one chart width";
    EXPECT_EQ(run->window->HScroll1->maximum(), opened->window->HScroll1->maximum());
    EXPECT_EQ(run->window->HScroll1->value(), opened->window->HScroll1->value());
    for (const char *name : {"aMAX", "aMAXDate", "aMIN", "aMINDate", "aAVG", "aAVGDate", "vMAX", "vMIN", "vAVG"}) {
        const auto *mine = run->window->findChild<QLabel *>(QLatin1String(name));
        const auto *theirs = opened->window->findChild<QLabel *>(QLatin1String(name));
        ASSERT_TRUE(mine && theirs) << name;
        EXPECT_FALSE(mine->text().isEmpty()) << name;
        EXPECT_EQ(mine->text(), theirs->text()) << name;
    }
}

TEST_F(WindowRecoveryTest, NoDeletesTheJournalAndStartsEmpty)
{
    leaveJournal(20);
    auto run = newRun();
    run->prompts.yesNoAnswers = {false};
    startWithJournal(*run, journal);
    EXPECT_EQ(run->prompts.asked, QStringList{Question});
    EXPECT_FALSE(QFileInfo::exists(journal));
    EXPECT_EQ(run->state.store.SampleCount, 0);
    EXPECT_FALSE(run->state.acquisition.Modified);
    EXPECT_EQ(run->window->windowTitle(), QStringLiteral("Ampero Clamp    "));
    EXPECT_TRUE(run->window->aMAX->text().isEmpty());
}

TEST_F(WindowRecoveryTest, AJournalWithoutSamplesIsRemovedWithoutAQuestion)
{
    struct Row {
        const char *name;
        int bytes; // -1: no journal
    };
    const Row rows[] = {{"no journal", -1}, {"cut off at once", 0}, {"record 0 only", 32}, {"half a sample", 48}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        if (row.bytes >= 0) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(journal).absolutePath()));
            writeBytes(journal, QByteArray(row.bytes, '\0'));
        }
        auto run = newRun();
        startWithJournal(*run, journal);
        EXPECT_TRUE(run->prompts.asked.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(journal));
        EXPECT_EQ(run->state.store.SampleCount, 0);
    }
}

TEST_F(WindowRecoveryTest, AJournalThatCannotBeReadIsReportedAndKept)
{
    // More records than a recording may hold, without taking up the space.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(journal).absolutePath()));
    QFile file(journal);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize((MaxRecordFileRecords + 1) * qint64(SampleRecordSize)));
    file.close();

    auto run = newRun();
    run->prompts.yesNoAnswers = {true};
    startWithJournal(*run, journal);
    EXPECT_EQ(run->prompts.asked, QStringList{Question});
    ASSERT_EQ(run->prompts.errors.size(), 1);
    EXPECT_TRUE(
        run->prompts.errors[0].startsWith(QStringLiteral("Cannot recover the recording from \"%1\"").arg(journal)))
        << qPrintable(run->prompts.errors[0]);
    EXPECT_TRUE(QFileInfo::exists(journal));
    EXPECT_EQ(run->state.store.SampleCount, 0);
    EXPECT_FALSE(run->state.acquisition.Modified);
}

// After a recovery every way out of the unsaved state, and every way that
// stays in it.
TEST_F(WindowRecoveryTest, TheJournalGoesOnlyWhenNothingIsLeftUnsaved)
{
    const QString other = dir.filePath(QStringLiteral("other.KRD"));
    ASSERT_TRUE(WriteRecordFile(other, AcquiredStore(3)).ok);
    const QString saved = dir.filePath(QStringLiteral("saved.KRD"));
    struct Row {
        const char *name;
        std::deque<Answer> answers;
        std::deque<QString> files;
        std::function<void(MainFrm &)> act;
        bool kept;
    };
    const Row rows[] = {
        {"Save As to a file", {}, {saved}, [](MainFrm &w) { w.SaveAs->trigger(); }, false},
        {"Save As cancelled", {}, {}, [](MainFrm &w) { w.SaveAs->trigger(); }, true},
        {"Save without a file name, through Save As", {}, {saved}, [](MainFrm &w) { w.Save->trigger(); }, false},
        {"New without saving", {Answer::No}, {}, [](MainFrm &w) { w.New->trigger(); }, false},
        {"New, saving first", {Answer::Yes}, {saved}, [](MainFrm &w) { w.New->trigger(); }, false},
        {"New cancelled", {Answer::Cancel}, {}, [](MainFrm &w) { w.New->trigger(); }, true},
        {"New, saving first, Save As cancelled",
         {Answer::Yes},
         {QString()},
         [](MainFrm &w) { w.New->trigger(); },
         true},
        {"Open another file without saving", {Answer::No}, {other}, [](MainFrm &w) { w.Open->trigger(); }, false},
        {"Open without saving, dialog cancelled", {Answer::No}, {}, [](MainFrm &w) { w.Open->trigger(); }, true},
        {"Open, saving first, dialog cancelled", {Answer::Yes}, {saved}, [](MainFrm &w) { w.Open->trigger(); }, false},
        {"Open cancelled", {Answer::Cancel}, {}, [](MainFrm &w) { w.Open->trigger(); }, true},
        {"Open, saving first, Save As cancelled",
         {Answer::Yes},
         {QString()},
         [](MainFrm &w) { w.Open->trigger(); },
         true},
        {"close without saving", {Answer::No}, {}, [](MainFrm &w) { EXPECT_TRUE(w.CloseSequence()); }, false},
        {"close, saving", {Answer::Yes}, {saved}, [](MainFrm &w) { EXPECT_TRUE(w.CloseSequence()); }, false},
        {"close, saving cancelled", {Answer::Yes}, {}, [](MainFrm &w) { EXPECT_FALSE(w.CloseSequence()); }, true},
        {"close cancelled", {Answer::Cancel}, {}, [](MainFrm &w) { EXPECT_FALSE(w.CloseSequence()); }, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(saved);
        auto run = recovered(30);
        ASSERT_TRUE(run->state.acquisition.Modified);
        ASSERT_TRUE(QFileInfo::exists(journal));
        run->prompts.answers = row.answers;
        run->prompts.files = row.files;
        row.act(*run->window);
        EXPECT_EQ(QFileInfo::exists(journal), row.kept);
        if (row.kept) {
            EXPECT_TRUE(run->state.acquisition.Modified) << "kept only while samples are unsaved";
        }
        EXPECT_TRUE(run->prompts.files.empty()) << "every file answer was used";
        QFile::remove(journal);
    }
}

TEST_F(WindowRecoveryTest, ACleanCloseWithNothingUnsavedRemovesAJournalItDidNotNeed)
{
    auto run = newRun();
    startWithJournal(*run, journal);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(journal).absolutePath()));
    writeBytes(journal, storeBytes(AcquiredStore(2), 2)); // a stray journal appearing meanwhile
    EXPECT_TRUE(run->window->CloseSequence());
    EXPECT_TRUE(run->prompts.asked.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(journal));
}

class WindowJournalAcquisitionTest : public WindowRecoveryTest {
protected:
    void SetUp() override
    {
        WindowRecoveryTest::SetUp();
        pty = std::make_unique<PtyFeeder>(dir.filePath(QStringLiteral("meter")));
        ASSERT_TRUE(pty->isValid());
        run = newRun();
        run->settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM1"), pty->linkPath());
    }

    std::uint64_t blocksRead() { return run->window->acquisition().counters().blocksRead; }

    // Sends one frame and waits until the window has read it.
    bool send(const MeterFrame &frame)
    {
        const std::uint64_t before = blocksRead();
        return pty->write(frame) && WaitUntil([&] { return blocksRead() == before + 1; }, 10000);
    }

    void expectJournalOfTheRecording()
    {
        ASSERT_TRUE(QFileInfo::exists(journal));
        EXPECT_EQ(readBytes(journal), storeBytes(run->state.store, run->state.store.SampleCount))
            << "after sample " << run->state.store.SampleCount;
    }

    std::unique_ptr<PtyFeeder> pty;
    std::unique_ptr<ProgramRun> run;
};

TEST_F(WindowJournalAcquisitionTest, EverySampleIsInTheJournalAsSoonAsItIsAppended)
{
    startWithJournal(*run, journal);
    run->window->Start->click();
    ASSERT_EQ(run->window->acquisition().state(), LinkState::Running);
    EXPECT_FALSE(QFileInfo::exists(journal)) << "nothing to protect before the first sample";
    for (const char *value : {"12.35", "0012", "0007", "1.000", "0009"}) {
        ASSERT_TRUE(send(meterFrame(value)));
        expectJournalOfTheRecording();
    }
    ASSERT_EQ(run->state.store.SampleCount, 5);
    run->window->Stop->click();

    run->prompts.files = {dir.filePath(QStringLiteral("saved.KRD"))};
    run->window->SaveAs->trigger();
    EXPECT_FALSE(QFileInfo::exists(journal));

    // Recording on after the save: the journal holds the whole recording again.
    run->window->Start->click();
    ASSERT_TRUE(send(meterFrame("0003")));
    ASSERT_EQ(run->state.store.SampleCount, 6);
    expectJournalOfTheRecording();
    EXPECT_TRUE(run->window->JournalStatus->text().isEmpty());

    run->prompts.answers = {Answer::No};
    EXPECT_TRUE(run->window->CloseSequence());
    EXPECT_FALSE(QFileInfo::exists(journal));
}

TEST_F(WindowJournalAcquisitionTest, ANewFileAfterAChangeOfFunctionStartsTheJournalAfresh)
{
    startWithJournal(*run, journal);
    run->window->Start->click();
    for (const char *value : {"0001", "0002", "0003"})
        ASSERT_TRUE(send(meterFrame(value)));
    expectJournalOfTheRecording();

    run->prompts.yesNoAnswers = {true};           // "You change measurement function, create new file??"
    run->prompts.answers = {Answer::No};          // "Save File Before Create New File?"
    ASSERT_TRUE(send(meterFrame("0229", UnitV))); // one frame alone may be damage
    ASSERT_TRUE(send(meterFrame("0230", UnitV)));
    ASSERT_EQ(run->state.store.SampleCount, 1);
    EXPECT_EQ(run->state.store.sample(1).FirstUnit, UnitV);
    expectJournalOfTheRecording();
    ASSERT_TRUE(send(meterFrame("0231", UnitV)));
    expectJournalOfTheRecording();
    run->window->Stop->click();
}

TEST_F(WindowJournalAcquisitionTest, AJournalThatCannotBeWrittenShowsInTheStatusBar)
{
    startWithJournal(*run, journal);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(journal).absolutePath()));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), journal));
    run->window->Start->click();
    ASSERT_TRUE(send(meterFrame("0001")));
    ASSERT_TRUE(send(meterFrame("0002")));
    const QString text = run->window->JournalStatus->text();
    EXPECT_TRUE(text.startsWith(QLatin1String("Unsaved samples are not protected: cannot write"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QLatin1String("No space left on device"))) << qPrintable(text);
    EXPECT_EQ(run->state.store.SampleCount, 2) << "recording goes on";

    ASSERT_TRUE(QFile::remove(journal));
    ASSERT_TRUE(WaitUntil([&] { return run->window->JournalStatus->text().isEmpty(); },
                          RecoveryJournal::SyncIntervalMs + 1500));
    expectJournalOfTheRecording();
    run->window->Stop->click();
}
