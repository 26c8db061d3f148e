#include "RecoveryJournal.h"

#include "SettingsStore.h"
#include "TrendView.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Records go to the file in pieces of at most this many.
constexpr std::size_t ChunkRecords = 32768;

qint64 byteCount(std::size_t records) { return qint64(records * SampleRecordSize); }

} // namespace

QString RecoveryJournal::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           QLatin1String(SettingsStore::Application) + QStringLiteral("/recovery.KRD");
}

RecoveryJournal::RecoveryJournal(const SampleStore &store, const QString &path, QObject *parent)
    : QObject(parent), store_(store), path_(path)
{
    syncTimer_.setSingleShot(true);
    syncTimer_.setInterval(SyncIntervalMs);
    connect(&syncTimer_, &QTimer::timeout, this, &RecoveryJournal::onSyncTimer);
}

RecoveryJournal::~RecoveryJournal() = default;

bool RecoveryJournal::holdsSamples() const
{
    const QFileInfo info(path_);
    return info.isFile() && info.size() >= byteCount(2);
}

void RecoveryJournal::sampleAppended()
{
    // After a failure only the timer tries again, so that a full disk is not
    // hammered at every sample.
    if (problem_.isEmpty())
        writeNewRecords();
    if (!syncTimer_.isActive())
        syncTimer_.start();
}

bool RecoveryJournal::writeNewRecords()
{
    if (store_.SampleCount < 0 || std::size_t(store_.SampleCount) >= store_.Samples.size())
        return fail(QStringLiteral("the recording in memory is inconsistent"));
    const std::size_t wanted = std::size_t(store_.SampleCount) + 1;
    // New or Open replaced the recording without a word to the journal.
    if (written_ > wanted || (written_ > 1 && store_.Samples[written_ - 1] != lastWritten_))
        written_ = 0;

    if (!file_.isOpen()) {
        if (written_ > 0) {
            // After a failed write: keep the records that made it, drop a partial one.
            file_.setFileName(path_);
            const bool reopened = file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly) &&
                                  file_.size() >= byteCount(written_) && file_.resize(byteCount(written_));
            if (!reopened) {
                file_.close();
                written_ = 0;
            }
        }
        if (written_ == 0) {
            // A failure to make the folder shows as a failure to create the file.
            QDir().mkpath(QFileInfo(path_).absolutePath());
            file_.setFileName(path_);
            if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
                return fail(file_.errorString());
            folderSynced_ = false;
        }
    }
    if (written_ == 0 && file_.size() > 0 && !file_.resize(0))
        return fail(file_.errorString());

    // The new records first, then record 0: a journal cut off in between still
    // holds every sample it has, and its statistics are rebuilt on recovery.
    const std::size_t first = written_;
    std::vector<char> bytes;
    for (std::size_t from = first; from < wanted; from += ChunkRecords) {
        const std::size_t count = std::min(ChunkRecords, wanted - from);
        bytes.resize(count * SampleRecordSize);
        for (std::size_t i = 0; i < count; ++i) {
            const SampleRecordBytes record = store_.Samples[from + i].toBytes();
            std::copy(record.begin(), record.end(), bytes.begin() + std::ptrdiff_t(i * SampleRecordSize));
        }
        if (!writeAt(byteCount(from), bytes.data(), bytes.size()))
            return false;
        written_ = from + count;
        lastWritten_ = store_.Samples[written_ - 1];
    }
    if (first > 0) {
        const SampleRecordBytes record = store_.statistics().toBytes();
        if (!writeAt(0, reinterpret_cast<const char *>(record.data()), record.size()))
            return false;
    }
    setProblem(QString());
    return true;
}

bool RecoveryJournal::writeAt(qint64 offset, const char *data, std::size_t size)
{
    // Straight to the file at its place: nothing waits in a buffer of ours
    // when the program is killed.
    while (size > 0) {
        const ssize_t n = ::pwrite(file_.handle(), data, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? qt_error_string(errno) : QStringLiteral("nothing more could be written"));
        data += n;
        size -= std::size_t(n);
        offset += n;
    }
    return true;
}

void RecoveryJournal::flush()
{
    if (!file_.isOpen())
        return;
    if (::fdatasync(file_.handle()) != 0) {
        fail(qt_error_string(errno));
        return;
    }
    if (folderSynced_)
        return;
    // A new file is only found after a power cut once its folder is on the disk too.
    const QByteArray folder = QFile::encodeName(QFileInfo(path_).absolutePath());
    const int handle = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = handle >= 0 && ::fsync(handle) == 0;
    const int reason = errno;
    if (handle >= 0)
        ::close(handle);
    if (!synced) {
        fail(qt_error_string(reason));
        return;
    }
    folderSynced_ = true;
}

void RecoveryJournal::onSyncTimer()
{
    if (!problem_.isEmpty() && !writeNewRecords())
        return;
    flush();
}

void RecoveryJournal::settle(bool unsavedSamples)
{
    if (!unsavedSamples)
        remove();
}

void RecoveryJournal::remove()
{
    syncTimer_.stop();
    file_.close();
    written_ = 0;
    QFile journal(path_);
    if (!journal.remove() && QFileInfo(path_).exists()) {
        setProblem(QStringLiteral("%1 cannot be removed: %2").arg(QDir::toNativeSeparators(path_), journal.errorString()));
        return;
    }
    setProblem(QString());
}

RecordFileResult RecoveryJournal::load(std::vector<Sample> &records) const
{
    return ReadRecordFile(path_, records);
}

bool RecoveryJournal::fail(const QString &reason)
{
    file_.close();
    setProblem(QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path_), reason));
    // Tried again after a while; written_ still counts the records that made it.
    if (!syncTimer_.isActive())
        syncTimer_.start();
    return false;
}

void RecoveryJournal::setProblem(const QString &problem)
{
    if (problem == problem_)
        return;
    problem_ = problem;
    emit problemChanged(problem_);
}

void LoadRecoveredRecording(ProgramState &state, std::vector<Sample> records)
{
    state.store.Load(std::move(records));
    RecomputeStatistics(state.store);
    state.acquisition.Modified = true;
    state.RecordFileName.clear();
}
