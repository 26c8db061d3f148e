// The recovery journal on its own: the file after every append, what an
// append costs, the removal rules, failures, and a recording recovered from it.

#include "RecordFile.h"
#include "RecoveryJournal.h"
#include "RecoveryTestSupport.h"
#include "TestFiles.h"
#include "TrendView.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <deque>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

class JournalTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // The file holds exactly records 0..SampleCount of the store, and reads as a recording.
    void expectJournalOf(const SampleStore &store, const QString &file)
    {
        ASSERT_TRUE(QFileInfo::exists(file));
        EXPECT_EQ(readBytes(file), storeBytes(store, store.SampleCount)) << "after sample " << store.SampleCount;
        std::vector<Sample> records;
        const RecordFileResult read = ReadRecordFile(file, records);
        ASSERT_TRUE(read.ok) << qPrintable(read.error);
        EXPECT_FALSE(read.trailingPartialRecord);
        EXPECT_EQ(records.size(), std::size_t(store.SampleCount) + 1);
    }

    // Overwrites record `index` in the journal file with a pattern of its own.
    void markRecord(std::int32_t index)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek(qint64(index) * 32));
        ASSERT_EQ(file.write(Marker), 32);
    }

    // The journal of the store, except for the records that were marked.
    void expectJournalOf(const SampleStore &store, std::initializer_list<std::int32_t> marked)
    {
        QByteArray expected = storeBytes(store, store.SampleCount);
        for (std::int32_t index : marked)
            expected.replace(index * 32, 32, Marker);
        EXPECT_EQ(readBytes(path), expected);
    }

    const QByteArray Marker = QByteArray(32, '\xEE');
    QTemporaryDir dir;
    // In a folder that does not exist yet, as on a first run.
    const QString path = dir.filePath(QStringLiteral("data/RQ4417/recovery.KRD"));
};

// Appends one acquired sample to `store` as the receive cycle and the trend view do.
void appendLikeAcquisition(SampleStore &store, const SampleStore &from)
{
    store.AppendSample(from.sample(store.SampleCount + 1));
    UpdateStatisticsRecord(store);
}

} // namespace

TEST(JournalPath, LiesInTheUsersDataFolder)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/home/someone/.data");
    const QString path = RecoveryJournal::DefaultPath();
    qputenv("XDG_DATA_HOME", saved);
    EXPECT_EQ(path, QStringLiteral("/home/someone/.data/RQ4417/recovery.KRD"));
}

TEST_F(JournalTest, EveryAppendLeavesTheWholeRecordingInTheFile)
{
    const SampleStore acquired = AcquiredStore(40);
    SampleStore store;
    RecoveryJournal journal(store, path);
    for (std::int32_t n = 1; n <= acquired.SampleCount; ++n) {
        appendLikeAcquisition(store, acquired);
        journal.sampleAppended();
        expectJournalOf(store, path);
    }
    journal.flush();
    EXPECT_TRUE(journal.problem().isEmpty()) << qPrintable(journal.problem());
    EXPECT_TRUE(journal.holdsSamples());
}

TEST_F(JournalTest, AStartedRecordingIsWrittenWholeAtTheFirstAppend)
{
    // A recording that was saved, or recovered, and then grows again.
    SampleStore store = AcquiredStore(25);
    RecoveryJournal journal(store, path);
    journal.sampleAppended();
    expectJournalOf(store, path);
}

// At 87 samples a second an append must not rewrite what is already there: a
// record changed in the file behind the journal's back stays as it is.
TEST_F(JournalTest, AnAppendWritesOnlyTheNewRecordAndRecordZero)
{
    const std::int32_t big = 100000, more = 200;
    const SampleStore acquired = AcquiredStore(big + more);
    SampleStore store = acquired;
    store.SampleCount = big;
    store.Samples.resize(std::size_t(big) + 1);
    RecomputeStatistics(store);
    RecoveryJournal journal(store, path);
    journal.sampleAppended();
    for (std::int32_t marked : {1, 5000, big})
        markRecord(marked);

    for (std::int32_t i = 0; i < more; ++i) {
        appendLikeAcquisition(store, acquired);
        journal.sampleAppended();
    }
    expectJournalOf(store, {1, 5000, big});
}

TEST_F(JournalTest, ARecordingReplacedBehindItsBackIsWrittenAnew)
{
    struct Row {
        const char *name;
        std::int32_t before;
        std::int32_t after;
    };
    const Row rows[] = {
        {"fewer samples", 6, 2},
        {"as many samples", 3, 3},
        {"one sample each", 1, 1},
        {"more samples", 2, 7},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        SampleStore store = AcquiredStore(row.before);
        RecoveryJournal journal(store, path);
        journal.sampleAppended();
        expectJournalOf(store, path);

        // Another recording in the same store, as after New; the journal hears
        // of it only with the next append.
        AcquisitionState acquisition;
        ResetRecording(store, acquisition);
        store.statistics() = Sample();
        for (std::int32_t k = 1; k <= row.after; ++k) {
            Sample s = patternSample(std::uint32_t(900 + k));
            store.AppendSample(s);
            UpdateStatisticsRecord(store);
        }
        journal.sampleAppended();
        expectJournalOf(store, path);
        journal.remove();
    }
}

TEST_F(JournalTest, ItGoesOnceNothingInItIsUnsaved)
{
    struct Row {
        const char *name;
        void (*act)(RecoveryJournal &);
        bool kept;
    };
    const Row rows[] = {
        {"samples still unsaved", [](RecoveryJournal &j) { j.settle(true); }, true},
        {"everything saved", [](RecoveryJournal &j) { j.settle(false); }, false},
        {"removed", [](RecoveryJournal &j) { j.remove(); }, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        SampleStore store = AcquiredStore(5);
        RecoveryJournal journal(store, path);
        journal.sampleAppended();
        row.act(journal);
        EXPECT_EQ(QFileInfo::exists(path), row.kept);
        EXPECT_TRUE(journal.problem().isEmpty()) << qPrintable(journal.problem());

        // The next sample brings back the whole recording, not just itself.
        const SampleStore more = AcquiredStore(6);
        appendLikeAcquisition(store, more);
        journal.sampleAppended();
        expectJournalOf(store, path);
        journal.remove();
    }
    SampleStore empty;
    RecoveryJournal journal(empty, path);
    journal.remove();
    EXPECT_TRUE(journal.problem().isEmpty()) << "nothing to remove is no problem";
}

TEST_F(JournalTest, HoldsSamplesOnlyWithAWholeSampleInIt)
{
    struct Row {
        const char *name;
        int bytes; // -1: no file
        bool holds;
    };
    const Row rows[] = {
        {"no journal", -1, false},    {"cut off before record 0", 0, false},
        {"record 0 only", 32, false}, {"a partial sample", 63, false},
        {"one sample", 64, true},     {"a sample and a partial one", 80, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(path);
        if (row.bytes >= 0) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
            writeBytes(path, QByteArray(row.bytes, '\x01'));
        }
        SampleStore store;
        EXPECT_EQ(RecoveryJournal(store, path).holdsSamples(), row.holds);
    }
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path));
    SampleStore store;
    EXPECT_FALSE(RecoveryJournal(store, path).holdsSamples()) << "a folder of that name";
}

// A disk that is full: the problem is reported once, samples go on being
// collected, and the journal catches up by itself when there is room again.
TEST_F(JournalTest, AFullDiskIsReportedAndTheJournalCatchesUpLater)
{
    const QString link = dir.filePath(QStringLiteral("full.KRD"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), link));
    const SampleStore acquired = AcquiredStore(12);
    SampleStore store;
    RecoveryJournal journal(store, link);
    QStringList reported;
    QObject::connect(&journal, &RecoveryJournal::problemChanged, [&](const QString &p) { reported << p; });
    for (int i = 0; i < 4; ++i) {
        appendLikeAcquisition(store, acquired);
        journal.sampleAppended();
    }
    ASSERT_EQ(reported.size(), 1) << qPrintable(reported.join(QLatin1Char('|')));
    EXPECT_TRUE(reported[0].contains(QLatin1String("No space left on device"))) << qPrintable(reported[0]);
    EXPECT_TRUE(reported[0].contains(link)) << qPrintable(reported[0]);
    EXPECT_EQ(journal.problem(), reported[0]);

    ASSERT_TRUE(QFile::remove(link)); // room again: the name now makes a plain file
    appendLikeAcquisition(store, acquired);
    journal.sampleAppended();
    ASSERT_TRUE(WaitUntil([&] { return journal.problem().isEmpty(); }, RecoveryJournal::SyncIntervalMs + 1500));
    ASSERT_EQ(reported.size(), 2);
    EXPECT_TRUE(reported[1].isEmpty());
    expectJournalOf(store, link);
}

// A write cut off halfway (the file-size limit stands in for a full disk):
// the samples already in the journal stay readable, and the next attempt
// continues from them.
TEST_F(JournalTest, AWriteCutOffHalfwayKeepsWhatWasWritten)
{
    const SampleStore acquired = AcquiredStore(16);
    SampleStore store;
    RecoveryJournal journal(store, path);
    for (int i = 0; i < 10; ++i)
        appendLikeAcquisition(store, acquired);
    journal.sampleAppended();
    expectJournalOf(store, path);
    const QByteArray before = readBytes(path);

    for (int i = 0; i < 5; ++i)
        appendLikeAcquisition(store, acquired);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 13 * 32 + 16; // room for two new samples and half a third
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    journal.sampleAppended();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(journal.problem().isEmpty());
    std::vector<Sample> records;
    const RecordFileResult read = ReadRecordFile(path, records);
    ASSERT_TRUE(read.ok) << qPrintable(read.error);
    EXPECT_TRUE(read.trailingPartialRecord);
    ASSERT_EQ(records.size(), 13u);
    EXPECT_EQ(readBytes(path).left(32 * 11).mid(32), before.mid(32)) << "the samples it had are untouched";
    for (std::size_t i = 1; i < records.size(); ++i)
        EXPECT_EQ(records[i], store.Samples[i]) << i;

    // The next attempt writes what is missing, not the whole journal again.
    markRecord(4);
    ASSERT_TRUE(WaitUntil([&] { return journal.problem().isEmpty(); }, RecoveryJournal::SyncIntervalMs + 1500));
    expectJournalOf(store, {4});
}

TEST(RecoveredRecording, IsUnsavedWithoutAFileAndHasItsStatisticsRebuilt)
{
    const SampleStore acquired = AcquiredStore(57);
    std::vector<Sample> records(acquired.Samples.begin(), acquired.Samples.begin() + 58);
    // Record 0 as a journal cut off between the samples and record 0 leaves it,
    // and as a damaged one.
    const SampleStore older = AcquiredStore(41);
    Sample damaged;
    StatisticsRecord::setMaxIndex(damaged, 9999);
    StatisticsRecord::setMinIndex(damaged, -3);
    StatisticsRecord::setMean(damaged, 1e30f);
    for (const Sample &recordZero : {older.statistics(), damaged}) {
        records[0] = recordZero;
        ProgramState state;
        state.RecordFileName = QStringLiteral("/somewhere/else.KRD");
        LoadRecoveredRecording(state, records);
        EXPECT_EQ(state.store.SampleCount, 57);
        EXPECT_TRUE(state.acquisition.Modified);
        EXPECT_TRUE(state.RecordFileName.isEmpty());
        EXPECT_EQ(state.store.statistics(), acquired.statistics()) << "as acquisition built it, byte for byte";
        for (std::int32_t i = 1; i <= 57; ++i)
            EXPECT_EQ(state.store.sample(i), acquired.sample(i)) << i;
    }
}

TEST(RecomputeStatistics, RebuildsTheRecordFromTheSamples)
{
    struct Row {
        const char *name;
        std::vector<float> values;
        float maxIndex, minIndex, mean;
    };
    const Row rows[] = {
        {"rising", {1, 2, 3}, 3, 1, 2},
        {"the first of equal extremes counts", {5, 1, 5, 1}, 1, 2, 3},
        {"one sample", {-7.5f}, 1, 1, -7.5f},
        {"an overload value counts like any other", {1, 9999, 2}, 2, 1, 3334},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        SampleStore store;
        for (float v : row.values) {
            Sample s;
            s.FirstValue = v;
            store.AppendSample(s);
        }
        StatisticsRecord::setMaxIndex(store.statistics(), 77);
        RecomputeStatistics(store);
        EXPECT_EQ(store.SampleCount, std::int32_t(row.values.size()));
        EXPECT_FLOAT_EQ(StatisticsRecord::maxIndex(store.statistics()), row.maxIndex);
        EXPECT_FLOAT_EQ(StatisticsRecord::minIndex(store.statistics()), row.minIndex);
        EXPECT_FLOAT_EQ(StatisticsRecord::mean(store.statistics()), row.mean);
    }
    SampleStore empty;
    empty.statistics().Symbols = 0x77;
    StatisticsRecord::setMean(empty.statistics(), 4);
    RecomputeStatistics(empty);
    EXPECT_EQ(empty.statistics(), Sample()) << "no samples, no statistics";
}

TEST(JournalPath, FurtherWindowsNumberTheirJournals)
{
    const QString first = QStringLiteral("/home/someone/.data/RQ4417/recovery.KRD");
    EXPECT_EQ(RecoveryJournal::JournalPath(first, 1), first);
    EXPECT_EQ(RecoveryJournal::JournalPath(first, 2), QStringLiteral("/home/someone/.data/RQ4417/recovery-2.KRD"));
    EXPECT_EQ(RecoveryJournal::JournalPath(first, 17), QStringLiteral("/home/someone/.data/RQ4417/recovery-17.KRD"));
}

TEST_F(JournalTest, ALockIsHeldUntilItIsLetGo)
{
    JournalLock mine;
    ASSERT_EQ(mine.tryLock(path), JournalLock::Result::Locked) << qPrintable(mine.errorString());
    const QString lockFile = path + QStringLiteral(".lock");
    EXPECT_TRUE(QFileInfo::exists(lockFile));
    JournalLock theirs; // another open of the lock file, as another program makes it
    EXPECT_EQ(theirs.tryLock(path), JournalLock::Result::Held);
    EXPECT_FALSE(theirs.isLocked());

    JournalLock moved = std::move(mine);
    EXPECT_EQ(theirs.tryLock(path), JournalLock::Result::Held) << "moving does not let go";
    moved.release();
    EXPECT_FALSE(QFileInfo::exists(lockFile));
    EXPECT_EQ(theirs.tryLock(path), JournalLock::Result::Locked);

    JournalLock blocked;
    ASSERT_TRUE(QFile::remove(lockFile));
    ASSERT_TRUE(QDir().mkpath(lockFile)); // a lock file that cannot be opened
    EXPECT_EQ(blocked.tryLock(path), JournalLock::Result::Failed);
    EXPECT_FALSE(blocked.errorString().isEmpty());
}

// Two windows of one user record at once: each into a file of its own, each
// file the whole of its own recording.
TEST_F(JournalTest, JournalsOfOneFamilyTakeFilesOfTheirOwn)
{
    const SampleStore acquired = AcquiredStore(30);
    SampleStore first, second;
    RecoveryJournal one(first, path), two(second, path);
    for (int i = 0; i < 10; ++i) {
        appendLikeAcquisition(first, acquired);
        one.sampleAppended();
        SampleStore from = AcquiredStore(30);
        for (std::int32_t k = 1; k <= 30; ++k)
            from.Samples[std::size_t(k)].FirstValue += 1000.0f;
        appendLikeAcquisition(second, from);
        two.sampleAppended();
    }
    EXPECT_EQ(one.path(), path);
    EXPECT_EQ(two.path(), RecoveryJournal::JournalPath(path, 2));
    expectJournalOf(first, one.path());
    expectJournalOf(second, two.path());

    // One of them is saved: the other's file is not touched.
    one.remove();
    EXPECT_FALSE(QFileInfo::exists(one.path()));
    expectJournalOf(second, two.path());
    two.remove();
    EXPECT_FALSE(QFileInfo::exists(two.path()));
}

namespace {

// The answers given to the recovery question, and what it was asked and told.
struct Offer {
    explicit Offer(std::deque<bool> given = {}) : answers(std::move(given)) {}

    std::deque<bool> answers;
    int asked = 0;
    QStringList reports;

    std::optional<std::vector<Sample>> to(RecoveryJournal &journal)
    {
        return journal.offerLeftJournals(
            [this](const QString &question) {
                EXPECT_EQ(question, QString::fromLatin1(RecoveryJournal::RecoverQuestion));
                ++asked;
                const bool yes = !answers.empty() && answers.front();
                if (!answers.empty())
                    answers.pop_front();
                return yes;
            },
            [this](const QString &text) { reports << text; });
    }
};

} // namespace

TEST_F(JournalTest, AJournalOfARunningWindowIsNeverOffered)
{
    const SampleStore acquired = AcquiredStore(8);
    SampleStore running = acquired;
    RecoveryJournal live(running, path);
    live.sampleAppended();
    ASSERT_EQ(live.path(), path);
    const QByteArray before = readBytes(path);

    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "Yes" : "No");
        SampleStore store;
        RecoveryJournal starting(store, path);
        Offer offer{{answer}};
        EXPECT_FALSE(offer.to(starting).has_value());
        EXPECT_EQ(offer.asked, 0);
        EXPECT_EQ(readBytes(path), before);
        EXPECT_EQ(starting.path(), RecoveryJournal::JournalPath(path, 2)) << "a file of its own";
    }
}

TEST_F(JournalTest, EachJournalLeftBehindIsOfferedOnce)
{
    const QString second = RecoveryJournal::JournalPath(path, 2);
    const QString third = RecoveryJournal::JournalPath(path, 3);
    const SampleStore a = AcquiredStore(5), b = AcquiredStore(7), c = AcquiredStore(9);
    struct Row {
        const char *name;
        std::deque<bool> answers;
        int asked;
        std::int32_t recovered; // samples of the recovered journal; 0: none
        std::vector<bool> kept; // the three journals afterwards
        int ownNumber;          // the journal the window then writes
    };
    const Row rows[] = {
        {"No, No, No", {false, false, false}, 3, 0, {false, false, false}, 1},
        {"No, then Yes", {false, true}, 2, 7, {false, true, true}, 2},
        {"Yes to the first", {true}, 1, 5, {true, true, true}, 1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        // As a killed window leaves them, and as the earlier version left its
        // single journal: without a lock file.
        WriteRecords(path, a, 5);
        WriteRecords(second, b, 7);
        WriteRecords(third, c, 9);
        SampleStore store;
        RecoveryJournal journal(store, path);
        Offer offer{row.answers};
        const std::optional<std::vector<Sample>> records = offer.to(journal);
        EXPECT_EQ(offer.asked, row.asked);
        EXPECT_TRUE(offer.reports.isEmpty());
        ASSERT_EQ(records.has_value(), row.recovered > 0);
        if (records) {
            EXPECT_EQ(records->size(), std::size_t(row.recovered) + 1);
        }
        EXPECT_EQ(QFileInfo::exists(path), row.kept[0]);
        EXPECT_EQ(QFileInfo::exists(second), row.kept[1]);
        EXPECT_EQ(QFileInfo::exists(third), row.kept[2]);
        EXPECT_EQ(journal.path(), RecoveryJournal::JournalPath(path, row.ownNumber));

        // The next start offers what is left, and nothing the first one holds.
        SampleStore next;
        RecoveryJournal nextJournal(next, path);
        Offer nextOffer;
        nextOffer.to(nextJournal);
        const int left = int(std::count(row.kept.begin(), row.kept.end(), true)) - (row.recovered > 0 ? 1 : 0);
        EXPECT_EQ(nextOffer.asked, left);
        for (const QString &file : {path, second, third})
            QFile::remove(file);
    }
}

TEST_F(JournalTest, AJournalThatCannotBeReadIsReportedKeptAndTheNextOneOffered)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize((MaxRecordFileRecords + 1) * qint64(SampleRecordSize)));
    }
    const QString second = RecoveryJournal::JournalPath(path, 2);
    WriteRecords(second, AcquiredStore(4), 4);
    SampleStore store;
    RecoveryJournal journal(store, path);
    Offer offer{{true, true}};
    const std::optional<std::vector<Sample>> records = offer.to(journal);
    EXPECT_EQ(offer.asked, 2);
    ASSERT_EQ(offer.reports.size(), 1);
    EXPECT_TRUE(offer.reports[0].startsWith(QStringLiteral("Cannot recover the recording from \"%1\"").arg(path)));
    EXPECT_TRUE(QFileInfo::exists(path));
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->size(), 5u);
    EXPECT_EQ(journal.path(), second);
}

// Recorded samples are for the user's eyes only, whatever the umask; a folder
// and a journal that an earlier version left open to everyone are closed.
TEST_F(JournalTest, OnlyTheUserCanReadTheJournal)
{
    const auto mode = [](const QString &file) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0) << qPrintable(file);
        return status.st_mode & 07777;
    };
    const QString folder = QFileInfo(path).absolutePath();
    for (mode_t mask : {mode_t(0), mode_t(022)}) {
        SCOPED_TRACE(mask);
        const mode_t saved = ::umask(mask);
        {
            SampleStore store = AcquiredStore(3);
            RecoveryJournal journal(store, path);
            journal.sampleAppended();
            EXPECT_EQ(mode(folder), 0700u);
            EXPECT_EQ(mode(path), 0600u);
            EXPECT_EQ(mode(path + QStringLiteral(".lock")), 0600u);
        }
        // Left by the earlier version.
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
        {
            SampleStore store;
            RecoveryJournal journal(store, path);
            Offer offer{{true}};
            std::optional<std::vector<Sample>> records = offer.to(journal);
            ASSERT_TRUE(records.has_value());
            EXPECT_EQ(mode(folder), 0700u);
            EXPECT_EQ(mode(path), 0600u);
            store.Load(std::move(*records));
            journal.sampleAppended();
            EXPECT_EQ(mode(path), 0600u);
            journal.remove();
        }
        ::umask(saved);
        ASSERT_TRUE(QDir(folder).removeRecursively());
    }
}

// Told to end from outside: the samples stay for the next start, and nothing
// afterwards touches them.
TEST_F(JournalTest, AJournalHandedOverStaysAndIsOfferedAtTheNextStart)
{
    const SampleStore acquired = AcquiredStore(12);
    SampleStore store;
    RecoveryJournal journal(store, path);
    for (int i = 0; i < 12; ++i) {
        appendLikeAcquisition(store, acquired);
        journal.sampleAppended();
    }
    journal.handOver();
    expectJournalOf(store, path);
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".lock")));
    const QByteArray handedOver = readBytes(path);
    journal.settle(false);
    journal.remove();
    appendLikeAcquisition(store, AcquiredStore(13));
    journal.sampleAppended();
    EXPECT_EQ(readBytes(path), handedOver);

    SampleStore next;
    RecoveryJournal nextJournal(next, path);
    Offer offer{{true}};
    const std::optional<std::vector<Sample>> records = offer.to(nextJournal);
    EXPECT_EQ(offer.asked, 1);
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->size(), 13u);
    for (std::size_t i = 1; i < records->size(); ++i)
        EXPECT_EQ((*records)[i], store.Samples[i]) << i;
}
