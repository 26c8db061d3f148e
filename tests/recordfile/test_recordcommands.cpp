#include "RecordCommands.h"
#include "RecordFile.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

using Answer = RecordCommandsView::Answer;

// Plays the user: answers and dialog results come from queues; what the
// commands show is recorded.
class FakeView : public RecordCommandsView {
public:
    std::deque<Answer> answers;
    std::deque<bool> replaceAnswers;
    std::deque<QString> openChoices, saveChoices, csvChoices;
    bool overwrite = true;
    float rightx = 100;

    QStringList questions, errors, captions, dialogFolders, suggestedNames, overwriteQuestions, replaceQuestions;
    int openDialogs = 0, saveDialogs = 0, csvDialogs = 0, clears = 0;
    std::vector<std::int32_t> loadedPositions;

    Answer askYesNoCancel(const QString &text) override
    {
        questions << text;
        if (answers.empty())
            throw std::logic_error("unexpected question: " + text.toStdString());
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString chooseOpenFile(const QString &folder) override
    {
        ++openDialogs;
        dialogFolders << folder;
        return take(openChoices);
    }
    QString chooseSaveFile(const QString &folder, const QString &suggestedName) override
    {
        ++saveDialogs;
        dialogFolders << folder;
        suggestedNames << suggestedName;
        return take(saveChoices);
    }
    QString chooseCsvFile(const QString &folder, const QString &suggestedName) override
    {
        ++csvDialogs;
        dialogFolders << folder;
        suggestedNames << suggestedName;
        return take(csvChoices);
    }
    bool confirmOverwrite(const QString &path) override
    {
        overwriteQuestions << path;
        return overwrite;
    }
    bool confirmReplace(const QString &text) override
    {
        replaceQuestions << text;
        if (replaceAnswers.empty())
            throw std::logic_error("unexpected question: " + text.toStdString());
        const bool yes = replaceAnswers.front();
        replaceAnswers.pop_front();
        return yes;
    }
    void showError(const QString &text) override { errors << text; }
    void setCaption(const QString &caption) override { captions << caption; }
    float chartRightx() const override { return rightx; }
    void clearRecordingView() override { ++clears; }
    void showLoadedRecording(std::int32_t scrollPosition) override { loadedPositions.push_back(scrollPosition); }

private:
    static QString take(std::deque<QString> &queue)
    {
        if (queue.empty())
            throw std::logic_error("unexpected file dialog");
        const QString choice = queue.front();
        queue.pop_front();
        return choice;
    }
};

// The environment of an account whose home is `home`, with no desktop settings
// of its own yet; the previous one comes back afterwards.
class FreshHome {
public:
    explicit FreshHome(const QString &home)
    {
        for (const char *name : {"HOME", "XDG_CONFIG_HOME"}) {
            saved.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
        }
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    }
    ~FreshHome()
    {
        for (const Variable &variable : saved) {
            if (variable.set)
                qputenv(variable.name, variable.value);
            else
                qunsetenv(variable.name);
        }
    }
    FreshHome(const FreshHome &) = delete;
    FreshHome &operator=(const FreshHome &) = delete;

private:
    struct Variable {
        const char *name;
        bool set;
        QByteArray value;
    };
    std::vector<Variable> saved;
};

class RecordCommandsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ProgramState state;
    FakeView view;
    RecordCommands commands{state, view};

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

    // A recording taken by acquisition and not yet saved.
    void record(std::uint32_t n)
    {
        state.store = patternStore(n);
        state.acquisition.Modified = true;
        state.acquisition.RestartClock = false;
        state.acquisition.MemoryTaken.fill(true);
        state.statistics.aMAX = QStringLiteral("105kW");
        state.view.ViewFirst = 2;
        state.view.ViewLast = std::int32_t(n);
    }

    void expectUntouched(const SampleStore &before, const QString &fileName, bool modified)
    {
        EXPECT_EQ(state.store.SampleCount, before.SampleCount);
        EXPECT_EQ(state.store.Samples, before.Samples);
        EXPECT_EQ(state.RecordFileName, fileName);
        EXPECT_EQ(state.acquisition.Modified, modified);
    }
};

// ---- caption ---------------------------------------------------------------------

TEST(Caption, FourSpacesWithoutFileThreeAndThePathWithOne)
{
    EXPECT_EQ(CaptionFor(QString()), QStringLiteral("Ampero Clamp    "));
    EXPECT_EQ(CaptionFor(QStringLiteral("/home/u/a.KRD")), QStringLiteral("Ampero Clamp   /home/u/a.KRD"));
}

// ---- New -----------------------------------------------------------------------------

TEST_F(RecordCommandsTest, NewResetsEverything)
{
    record(50);
    state.acquisition.Modified = false;
    state.RecordFileName = path("old.KRD");
    ASSERT_TRUE(commands.New());
    EXPECT_TRUE(view.questions.isEmpty());
    EXPECT_EQ(state.store.SampleCount, 0);
    EXPECT_EQ(state.store.statistics(), Sample()); // no statistics of the previous recording
    EXPECT_FALSE(state.acquisition.Modified);
    EXPECT_TRUE(state.acquisition.RestartClock);
    for (bool taken : state.acquisition.MemoryTaken)
        EXPECT_FALSE(taken);
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(state.view.ViewLast, 1);
    EXPECT_TRUE(state.RecordFileName.isEmpty());
    EXPECT_TRUE(state.statistics.aMAX.isEmpty());
    EXPECT_EQ(view.captions, QStringList{QStringLiteral("Ampero Clamp    ")});
    EXPECT_EQ(view.clears, 1);
}

TEST_F(RecordCommandsTest, NewPromptCancelChangesNothing)
{
    record(5);
    const SampleStore before = state.store;
    view.answers = {Answer::Cancel};
    EXPECT_FALSE(commands.New());
    EXPECT_EQ(view.questions, QStringList{QStringLiteral("Save File Before Create New File?")});
    expectUntouched(before, QString(), true);
    EXPECT_EQ(view.clears, 0);
    EXPECT_EQ(view.saveDialogs, 0);
}

TEST_F(RecordCommandsTest, NewPromptNoResetsWithoutSaving)
{
    record(5);
    state.RecordFileName = path("kept.KRD");
    view.answers = {Answer::No};
    EXPECT_TRUE(commands.New());
    EXPECT_EQ(state.store.SampleCount, 0);
    EXPECT_FALSE(QFile::exists(path("kept.KRD")));
    EXPECT_EQ(view.saveDialogs, 0);
}

TEST_F(RecordCommandsTest, NewPromptYesSavesToTheCurrentFileFirst)
{
    record(5);
    const QByteArray expected = storeBytes(state.store, 5);
    state.RecordFileName = path("current.KRD");
    view.answers = {Answer::Yes};
    EXPECT_TRUE(commands.New());
    EXPECT_EQ(view.saveDialogs, 0);
    EXPECT_EQ(readBytes(path("current.KRD")), expected);
    EXPECT_EQ(state.store.SampleCount, 0);
}

TEST_F(RecordCommandsTest, NewPromptYesThenCancelledSaveAsKeepsTheRecording)
{
    record(5);
    const SampleStore before = state.store;
    view.answers = {Answer::Yes};
    view.saveChoices = {QString()};
    EXPECT_FALSE(commands.New());
    EXPECT_EQ(view.saveDialogs, 1);
    expectUntouched(before, QString(), true);
    EXPECT_FALSE(state.acquisition.RestartClock);
    EXPECT_EQ(state.statistics.aMAX, QStringLiteral("105kW"));
    EXPECT_EQ(view.clears, 0);
    EXPECT_TRUE(view.captions.isEmpty());
}

TEST_F(RecordCommandsTest, NewPromptYesWithFailingSaveKeepsTheRecording)
{
    record(5);
    const SampleStore before = state.store;
    state.RecordFileName = path("no/such/folder/rec.KRD");
    view.answers = {Answer::Yes};
    EXPECT_FALSE(commands.New());
    EXPECT_EQ(view.errors.size(), 1);
    expectUntouched(before, path("no/such/folder/rec.KRD"), true);
    EXPECT_EQ(view.clears, 0);
}

TEST_F(RecordCommandsTest, SaveAfterNewWritesTheStatisticsRecordOnly)
{
    record(50);
    state.acquisition.Modified = false;
    state.RecordFileName = path("rec.KRD");
    ASSERT_TRUE(commands.New());
    view.saveChoices = {path("after-new.KRD")};
    EXPECT_EQ(commands.Save(), SaveResult::Saved);
    EXPECT_EQ(readBytes(path("after-new.KRD")), QByteArray(32, '\0'));
}

// ---- Save and Save As --------------------------------------------------------------

TEST_F(RecordCommandsTest, SaveWithFileNameWritesWithoutDialog)
{
    record(7);
    state.RecordFileName = path("rec.KRD");
    EXPECT_EQ(commands.Save(), SaveResult::Saved);
    EXPECT_EQ(view.saveDialogs, 0);
    EXPECT_FALSE(state.acquisition.Modified);
    EXPECT_EQ(readBytes(path("rec.KRD")), storeBytes(state.store, 7));
    EXPECT_EQ(readBytes(path("rec.KRD")).size(), 32 * 8);
}

TEST_F(RecordCommandsTest, SaveWithoutFileNameOpensSaveAsInTheDocumentsFolder)
{
    const QTemporaryDir home;
    const FreshHome fresh(home.path());
    const QString documents = home.filePath(QStringLiteral("Documents"));
    ASSERT_TRUE(QDir().mkpath(documents));
    ASSERT_EQ(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), documents);
    record(3);
    view.saveChoices = {path("first.KRD")};
    EXPECT_EQ(commands.Save(), SaveResult::Saved);
    EXPECT_EQ(view.saveDialogs, 1);
    EXPECT_EQ(view.dialogFolders, QStringList{documents});
    EXPECT_EQ(view.suggestedNames, QStringList{QString()});
    EXPECT_EQ(state.RecordFileName, path("first.KRD"));
    EXPECT_EQ(view.captions.last(), QStringLiteral("Ampero Clamp   ") + path("first.KRD"));
}

TEST_F(RecordCommandsTest, TwoSaveAsInARowCaptionShowsTheLastFile)
{
    record(3);
    view.saveChoices = {path("a.KRD"), path("b.KRD")};
    EXPECT_EQ(commands.SaveAs(), SaveResult::Saved);
    EXPECT_EQ(commands.SaveAs(), SaveResult::Saved);
    EXPECT_EQ(view.captions, (QStringList{QStringLiteral("Ampero Clamp   ") + path("a.KRD"),
                                          QStringLiteral("Ampero Clamp   ") + path("b.KRD")}));
    EXPECT_EQ(state.RecordFileName, path("b.KRD"));
    EXPECT_EQ(view.suggestedNames, (QStringList{QString(), QStringLiteral("a.KRD")}));
    EXPECT_EQ(view.dialogFolders.last(), dir.path()); // the second dialog starts where the first saved
    EXPECT_EQ(readBytes(path("a.KRD")), readBytes(path("b.KRD")));
}

// Given a folder that does not exist, the file dialog proposed its last part
// ("Documents") as the file name.
TEST_F(RecordCommandsTest, FileDialogsStartInAFolderThatExists)
{
    const QTemporaryDir home;
    const FreshHome fresh(home.path());
    record(2);
    view.saveChoices = {QString()};
    view.openChoices = {QString()};
    view.answers = {Answer::No};
    EXPECT_EQ(commands.SaveAs(), SaveResult::Cancelled);
    EXPECT_FALSE(commands.Open());
    EXPECT_EQ(view.dialogFolders, (QStringList{home.path(), home.path()})) << "a fresh home has no Documents yet";

    // A localised desktop names its documents folder in user-dirs.dirs.
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral(".config"))));
    writeBytes(home.filePath(QStringLiteral(".config/user-dirs.dirs")), "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    const QString dokumente = home.filePath(QStringLiteral("Dokumente"));
    ASSERT_EQ(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), dokumente);
    EXPECT_EQ(commands.dialogFolder(), home.path()) << "named, but not made yet";
    ASSERT_TRUE(QDir().mkpath(dokumente));
    EXPECT_EQ(commands.dialogFolder(), dokumente);

    // The folder of the last file, once removed, is not offered either.
    const QString gone = path("gone");
    ASSERT_TRUE(QDir().mkpath(gone));
    view.saveChoices = {gone + QStringLiteral("/rec.KRD")};
    ASSERT_EQ(commands.SaveAs(), SaveResult::Saved);
    EXPECT_EQ(commands.dialogFolder(), gone);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    EXPECT_EQ(commands.dialogFolder(), dokumente);
}

TEST_F(RecordCommandsTest, SaveAsCancelChangesNothing)
{
    record(3);
    view.saveChoices = {QString()};
    EXPECT_EQ(commands.SaveAs(), SaveResult::Cancelled);
    EXPECT_TRUE(state.acquisition.Modified);
    EXPECT_TRUE(view.captions.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

struct NameCase {
    const char *typed;
    const char *written;
};

TEST_F(RecordCommandsTest, SaveAsAddsTheExtensionToANameWithoutOne)
{
    record(1);
    const NameCase cases[] = {
        {"plain", "plain.KRD"},
        {"lower.krd", "lower.krd"},
        {"other.dat", "other.dat"},
        {".hidden", ".hidden.KRD"},
    };
    for (const NameCase &c : cases) {
        view.saveChoices = {path(c.typed)};
        EXPECT_EQ(commands.SaveAs(), SaveResult::Saved) << c.typed;
        EXPECT_EQ(state.RecordFileName, path(c.written)) << c.typed;
        EXPECT_TRUE(QFile::exists(path(c.written))) << c.typed;
    }
    EXPECT_TRUE(view.overwriteQuestions.isEmpty());
}

TEST_F(RecordCommandsTest, SaveAsAsksBeforeReplacingTheFileTheExtensionLeadsTo)
{
    record(2);
    writeBytes(path("rec.KRD"), "old");
    view.overwrite = false;
    view.saveChoices = {path("rec")};
    EXPECT_EQ(commands.SaveAs(), SaveResult::Cancelled);
    EXPECT_EQ(view.overwriteQuestions, QStringList{path("rec.KRD")});
    EXPECT_EQ(readBytes(path("rec.KRD")), QByteArray("old"));
    EXPECT_TRUE(state.acquisition.Modified);

    view.overwrite = true;
    view.saveChoices = {path("rec")};
    EXPECT_EQ(commands.SaveAs(), SaveResult::Saved);
    EXPECT_EQ(readBytes(path("rec.KRD")), storeBytes(state.store, 2));
}

TEST_F(RecordCommandsTest, FailedSaveInReadOnlyFolderKeepsModifiedAndTheOldFile)
{
    record(4);
    const QString target = path("rec.KRD");
    const QByteArray old = readBytes(fixture("recording-3.KRD"));
    writeBytes(target, old);
    state.RecordFileName = target;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    {
        const WithoutFileAccessCapabilities asUser;
        ASSERT_FALSE(canCreateFileIn(dir.path()));
        EXPECT_EQ(commands.Save(), SaveResult::Failed);
        view.saveChoices = {path("other.KRD")};
        EXPECT_EQ(commands.SaveAs(), SaveResult::Failed);
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(state.acquisition.Modified);
    EXPECT_EQ(state.RecordFileName, target);
    EXPECT_TRUE(view.captions.isEmpty());
    EXPECT_EQ(readBytes(target), old);
    EXPECT_FALSE(QFile::exists(path("other.KRD")));
    ASSERT_EQ(view.errors.size(), 2);
    EXPECT_TRUE(view.errors[0].contains(target)) << view.errors[0].toStdString();
    EXPECT_TRUE(view.errors[0].contains(QLatin1String("Permission denied"))) << view.errors[0].toStdString();
    EXPECT_TRUE(view.errors[1].contains(path("other.KRD")));
}

// `amperotool record`, or any other program, writing the file the recording was
// opened from or saved to.
TEST_F(RecordCommandsTest, SaveAsksBeforeReplacingAFileChangedElsewhere)
{
    const QString target = path("rec.KRD");
    ASSERT_TRUE(WriteRecordFile(target, patternStore(4)).ok);
    view.openChoices = {target};
    ASSERT_TRUE(commands.Open());
    state.store.AppendSample(patternSample(5));
    state.acquisition.Modified = true;

    const QByteArray theirs = storeBytes(patternStore(2), 2);
    writeBytes(target, theirs);
    view.replaceAnswers = {false};
    EXPECT_EQ(commands.Save(), SaveResult::Cancelled);
    ASSERT_EQ(view.replaceQuestions.size(), 1);
    EXPECT_TRUE(view.replaceQuestions[0].contains(QStringLiteral("\"") + target + QStringLiteral("\"")))
        << view.replaceQuestions[0].toStdString();
    EXPECT_TRUE(view.replaceQuestions[0].contains(QLatin1String("changed by another program")));
    EXPECT_EQ(readBytes(target), theirs) << "No leaves the file alone";
    EXPECT_TRUE(state.acquisition.Modified);

    view.replaceAnswers = {true};
    EXPECT_EQ(commands.Save(), SaveResult::Saved);
    EXPECT_EQ(readBytes(target), storeBytes(state.store, 5));
    EXPECT_FALSE(state.acquisition.Modified);
    // Saved here: the next save asks nothing.
    state.acquisition.Modified = true;
    EXPECT_EQ(commands.Save(), SaveResult::Saved);
    EXPECT_EQ(view.replaceQuestions.size(), 2);

    // The same size, written at another time.
    QByteArray sameSize = storeBytes(state.store, 5);
    sameSize[0] = char(sameSize[0] ^ 0x01);
    writeBytes(target, sameSize);
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    view.replaceAnswers = {false};
    EXPECT_EQ(commands.Save(), SaveResult::Cancelled);
    EXPECT_EQ(view.replaceQuestions.size(), 3);
    EXPECT_EQ(readBytes(target), sameSize);

    // A file that is gone is simply written again.
    ASSERT_TRUE(QFile::remove(target));
    EXPECT_EQ(commands.Save(), SaveResult::Saved);
    EXPECT_EQ(view.replaceQuestions.size(), 3);
    EXPECT_EQ(readBytes(target), storeBytes(state.store, 5));
}

TEST_F(RecordCommandsTest, NewStopsWhenTheChangedFileIsNotReplaced)
{
    const QString target = path("rec.KRD");
    record(3);
    view.saveChoices = {target};
    ASSERT_EQ(commands.SaveAs(), SaveResult::Saved);
    state.store.AppendSample(patternSample(4));
    state.acquisition.Modified = true;
    const SampleStore before = state.store;
    writeBytes(target, "changed");

    view.answers = {Answer::Yes};
    view.replaceAnswers = {false};
    EXPECT_FALSE(commands.New());
    EXPECT_EQ(view.replaceQuestions.size(), 1);
    expectUntouched(before, target, true);
    EXPECT_EQ(readBytes(target), QByteArray("changed"));
    EXPECT_EQ(view.clears, 0);
}

// ---- Open ------------------------------------------------------------------------------

TEST_F(RecordCommandsTest, OpenInIndexModeShowsTheLastChartWidth)
{
    const SampleStore saved = patternStore(500);
    ASSERT_TRUE(WriteRecordFile(path("five-hundred.KRD"), saved).ok);
    state.view.TimeMode = false;
    view.openChoices = {path("five-hundred.KRD")};
    ASSERT_TRUE(commands.Open());
    EXPECT_EQ(state.store.SampleCount, 500);
    EXPECT_EQ(state.store.Samples, saved.Samples);
    EXPECT_EQ(state.view.ViewFirst, 401);
    EXPECT_EQ(state.view.ViewLast, 500);
    EXPECT_EQ(view.loadedPositions, std::vector<std::int32_t>{400});
    EXPECT_EQ(state.RecordFileName, path("five-hundred.KRD"));
    EXPECT_EQ(view.captions, QStringList{QStringLiteral("Ampero Clamp   ") + path("five-hundred.KRD")});
    EXPECT_FALSE(state.acquisition.Modified);
}

TEST_F(RecordCommandsTest, OpenSmallRecordingShowsAllOfIt)
{
    ASSERT_TRUE(WriteRecordFile(path("fifty.KRD"), patternStore(50)).ok);
    state.view.TimeMode = false;
    view.openChoices = {path("fifty.KRD")};
    ASSERT_TRUE(commands.Open());
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(state.view.ViewLast, 50);
    EXPECT_EQ(view.loadedPositions, std::vector<std::int32_t>{0});
}

TEST_F(RecordCommandsTest, OpenInTimeModeLeavesOutTheSampleOneWidthOld)
{
    SampleStore store;
    for (int k = 0; k < 100; ++k) {
        Sample s;
        s.Seconds = 10.0f + 2.0f * float(k);
        store.AppendSample(s);
    }
    ASSERT_TRUE(WriteRecordFile(path("timed.KRD"), store).ok);
    state.view.TimeMode = true;
    view.rightx = 30;
    view.openChoices = {path("timed.KRD")};
    ASSERT_TRUE(commands.Open());
    // Sample 85 lies exactly 30 s before sample 100 and stays out.
    EXPECT_EQ(state.view.ViewFirst, 86);
    EXPECT_EQ(view.loadedPositions, std::vector<std::int32_t>{85});
}

TEST_F(RecordCommandsTest, OpenPromptPaths)
{
    record(3);
    const SampleStore before = state.store;
    view.answers = {Answer::Cancel};
    EXPECT_FALSE(commands.Open());
    EXPECT_EQ(view.openDialogs, 0);
    expectUntouched(before, QString(), true);

    // No, then the dialog cancelled: the recording and its unsaved state stay.
    view.answers = {Answer::No};
    view.openChoices = {QString()};
    EXPECT_FALSE(commands.Open());
    EXPECT_EQ(view.openDialogs, 1);
    expectUntouched(before, QString(), true);
    EXPECT_TRUE(view.captions.isEmpty());
    EXPECT_TRUE(view.loadedPositions.empty());

    // Yes saves through Save As first, then loads.
    view.answers = {Answer::Yes};
    view.saveChoices = {path("saved-first.KRD")};
    view.openChoices = {fixture("recording-3.KRD")};
    EXPECT_TRUE(commands.Open());
    EXPECT_EQ(view.questions, (QStringList(3, QStringLiteral("Save File Before Reloading?"))));
    EXPECT_EQ(readBytes(path("saved-first.KRD")), storeBytes(before, 3));
    EXPECT_EQ(state.RecordFileName, fixture("recording-3.KRD"));
    EXPECT_EQ(state.store.SampleCount, 2);
}

TEST_F(RecordCommandsTest, OpenPromptYesThenCancelledOrFailedSaveKeepsTheRecording)
{
    record(3);
    const SampleStore before = state.store;
    view.answers = {Answer::Yes};
    view.saveChoices = {QString()};
    EXPECT_FALSE(commands.Open());
    EXPECT_EQ(view.saveDialogs, 1);
    EXPECT_EQ(view.openDialogs, 0) << "the command stops before its dialog";
    expectUntouched(before, QString(), true);
    EXPECT_EQ(state.statistics.aMAX, QStringLiteral("105kW"));

    view.answers = {Answer::Yes};
    view.saveChoices = {path("no/such/folder/rec.KRD")};
    EXPECT_FALSE(commands.Open());
    EXPECT_EQ(view.errors.size(), 1);
    EXPECT_EQ(view.openDialogs, 0);
    expectUntouched(before, QString(), true);
    EXPECT_TRUE(view.loadedPositions.empty());
}

TEST_F(RecordCommandsTest, FailedOpenLeavesEverythingAsItWas)
{
    const QString missing = path("missing.KRD");
    for (const QString &bad : {fixture("too-short.KRD"), missing}) {
        record(6);
        state.RecordFileName = path("current.KRD");
        const SampleStore before = state.store;
        view.answers = {Answer::No};
        view.openChoices = {bad};
        EXPECT_FALSE(commands.Open()) << bad.toStdString();
        expectUntouched(before, path("current.KRD"), true);
        EXPECT_EQ(state.statistics.aMAX, QStringLiteral("105kW"));
        EXPECT_EQ(state.view.ViewFirst, 2);
        ASSERT_FALSE(view.errors.isEmpty());
        EXPECT_TRUE(view.errors.last().contains(bad)) << view.errors.last().toStdString();
    }
    EXPECT_TRUE(view.errors[0].contains(QLatin1String("shorter than one record")));
    EXPECT_TRUE(view.errors[1].contains(QLatin1String("No such file")));
    EXPECT_TRUE(view.captions.isEmpty());
    EXPECT_TRUE(view.loadedPositions.empty());
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(RecordCommandsTest, OpenDamagedStatisticsLoadsTheRecordAsStored)
{
    view.openChoices = {fixture("damaged-statistics.KRD")};
    ASSERT_TRUE(commands.Open());
    EXPECT_EQ(state.store.SampleCount, 2);
    EXPECT_EQ(StatisticsRecord::maxIndex(state.store.statistics()), 9.0f);
    EXPECT_EQ(StatisticsRecord::minIndex(state.store.statistics()), -1.0f);
    EXPECT_EQ(view.loadedPositions.size(), 1u);
}

TEST_F(RecordCommandsTest, OpenPartialAndEmptyFiles)
{
    view.openChoices = {fixture("recording-partial.KRD"), fixture("empty.krd")};
    ASSERT_TRUE(commands.Open());
    EXPECT_EQ(state.store.SampleCount, 2);
    EXPECT_TRUE(view.errors.isEmpty());
    ASSERT_TRUE(commands.Open());
    EXPECT_EQ(state.store.SampleCount, 0);
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(view.loadedPositions, (std::vector<std::int32_t>{0, 0}));
}

// A recording named on the command line goes the way of one chosen in the dialog.
TEST_F(RecordCommandsTest, OpenFileLoadsWithoutTheDialog)
{
    state.view.TimeMode = false;
    ASSERT_TRUE(commands.OpenFile(fixture("recording-3.KRD")));
    EXPECT_EQ(view.openDialogs, 0);
    EXPECT_TRUE(view.questions.isEmpty());
    EXPECT_EQ(state.store.SampleCount, 2);
    EXPECT_EQ(state.RecordFileName, fixture("recording-3.KRD"));
    EXPECT_EQ(view.captions, QStringList{QStringLiteral("Ampero Clamp   ") + fixture("recording-3.KRD")});
    EXPECT_EQ(view.loadedPositions, std::vector<std::int32_t>{0});
    EXPECT_EQ(commands.dialogFolder(), QFileInfo(fixture("recording-3.KRD")).absolutePath());
}

TEST_F(RecordCommandsTest, OpenFileAsksAndFailsLikeOpen)
{
    record(4);
    const SampleStore before = state.store;
    view.answers = {Answer::Cancel};
    EXPECT_FALSE(commands.OpenFile(fixture("recording-3.KRD")));
    expectUntouched(before, QString(), true);

    view.answers = {Answer::No};
    EXPECT_FALSE(commands.OpenFile(path("missing.KRD")));
    expectUntouched(before, QString(), true);
    ASSERT_EQ(view.errors.size(), 1);
    EXPECT_TRUE(view.errors[0].contains(path("missing.KRD"))) << view.errors[0].toStdString();
    EXPECT_TRUE(view.errors[0].contains(QLatin1String("No such file"))) << view.errors[0].toStdString();
    EXPECT_EQ(view.questions, (QStringList(2, QStringLiteral("Save File Before Reloading?"))));
    EXPECT_EQ(view.openDialogs, 0);
    EXPECT_TRUE(view.captions.isEmpty());
}

TEST_F(RecordCommandsTest, SaveAndReopenGivesIdenticalRecords)
{
    record(1234);
    view.saveChoices = {path("round")};
    ASSERT_EQ(commands.SaveAs(), SaveResult::Saved);
    EXPECT_EQ(QFileInfo(path("round.KRD")).size(), 32 * 1235);
    const std::vector<Sample> saved = state.store.Samples;
    ASSERT_TRUE(commands.New());
    view.openChoices = {path("round.KRD")};
    ASSERT_TRUE(commands.Open());
    EXPECT_EQ(view.dialogFolders.last(), dir.path());
    EXPECT_EQ(state.store.SampleCount, 1234);
    EXPECT_EQ(state.store.Samples, saved);
}

// ---- Export CSV -----------------------------------------------------------------------

TEST_F(RecordCommandsTest, ExportCsvWritesTheDumpText)
{
    view.openChoices = {fixture("recording-3.KRD")};
    ASSERT_TRUE(commands.Open());
    view.csvChoices = {path("export")};
    EXPECT_TRUE(commands.ExportCsv());
    EXPECT_EQ(view.suggestedNames, QStringList{QStringLiteral("recording-3.csv")});
    EXPECT_EQ(view.dialogFolders.last(), QDir(QStringLiteral(AMPERO_TEST_DATA)).absolutePath());
    const QByteArray csv = readBytes(path("export.csv"));
    EXPECT_TRUE(csv.startsWith(QByteArray(SamplesCsvHeader) + '\n'));
    EXPECT_EQ(csv.count('\n'), 3);
    EXPECT_FALSE(state.acquisition.Modified);

    view.csvChoices = {QString()};
    EXPECT_FALSE(commands.ExportCsv());
    view.csvChoices = {path("no/such/folder/x.csv")};
    EXPECT_FALSE(commands.ExportCsv());
    ASSERT_EQ(view.errors.size(), 1);
    EXPECT_TRUE(view.errors[0].contains(path("no/such/folder/x.csv")));
}

} // namespace
