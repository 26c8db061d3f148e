#include "RecoveryJournal.h"

#include "SettingsStore.h"
#include "TrendView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <map>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Records go to the file in pieces of at most this many.
constexpr std::size_t ChunkRecords = 32768;
// Windows running at once, far beyond any real use; a bound for the search.
constexpr int MaxJournals = 999;
// Recorded samples are the user's business alone.
constexpr mode_t PrivateFolderMode = 0700;
constexpr mode_t PrivateFileMode = 0600;

qint64 byteCount(std::size_t records) { return qint64(records * SampleRecordSize); }

bool holdsSamplesAt(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() >= byteCount(2);
}

// The journal's folder, made for the user alone, whatever the umask; an older
// one that others could read is closed to them. Empty, or why not.
QString makePrivateFolder(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), PrivateFolderMode) != 0 && errno == ENOENT) {
        // Only the last step is ours; the folders above it are the user's.
        QDir().mkpath(QFileInfo(folder).absolutePath());
        ::mkdir(name.constData(), PrivateFolderMode);
    }
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return qt_error_string(errno);
    if (!S_ISDIR(status.st_mode))
        return QCoreApplication::translate("RecoveryJournal", "%1 is not a folder")
            .arg(QDir::toNativeSeparators(folder));
    if ((status.st_mode & 07777) != PrivateFolderMode && ::chmod(name.constData(), PrivateFolderMode) != 0)
        return qt_error_string(errno);
    return QString();
}

// A regular file only: the journal's name may lead to a device.
bool makePrivate(int handle)
{
    struct stat status {};
    if (::fstat(handle, &status) != 0)
        return false;
    return !S_ISREG(status.st_mode) || (status.st_mode & 07777) == PrivateFileMode ||
           ::fchmod(handle, PrivateFileMode) == 0;
}

QString lockPathOf(const QString &journalPath) { return journalPath + QStringLiteral(".lock"); }

} // namespace

JournalLock::~JournalLock() { release(); }

JournalLock::JournalLock(JournalLock &&other) noexcept
    : handle_(std::exchange(other.handle_, -1)), journalPath_(std::move(other.journalPath_)),
      error_(std::move(other.error_))
{
}

JournalLock &JournalLock::operator=(JournalLock &&other) noexcept
{
    if (this != &other) {
        release();
        handle_ = std::exchange(other.handle_, -1);
        journalPath_ = std::move(other.journalPath_);
        error_ = std::move(other.error_);
    }
    return *this;
}

JournalLock::Result JournalLock::tryLock(const QString &journalPath)
{
    release();
    journalPath_ = journalPath;
    error_ = makePrivateFolder(QFileInfo(journalPath).absolutePath());
    if (!error_.isEmpty())
        return Result::Failed;
    const QByteArray name = QFile::encodeName(lockPathOf(journalPath));
    // A holder that lets go removes the file; whoever got a lock on that
    // removed file in the meantime tries again on the new one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int handle = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, PrivateFileMode);
        if (handle < 0) {
            error_ = qt_error_string(errno);
            return Result::Failed;
        }
        if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
            const int reason = errno;
            ::close(handle);
            if (reason == EWOULDBLOCK)
                return Result::Held;
            error_ = qt_error_string(reason);
            return Result::Failed;
        }
        struct stat locked {}, named {};
        if (::fstat(handle, &locked) == 0 && ::stat(name.constData(), &named) == 0 && locked.st_dev == named.st_dev &&
            locked.st_ino == named.st_ino) {
            makePrivate(handle);
            handle_ = handle;
            return Result::Locked;
        }
        ::close(handle);
    }
    error_ = QCoreApplication::translate("RecoveryJournal", "the lock file keeps changing");
    return Result::Failed;
}

void JournalLock::release()
{
    if (handle_ < 0)
        return;
    // Removed while still held, so nobody is left holding a lock on a file
    // that has no name any more.
    ::unlink(QFile::encodeName(lockPathOf(journalPath_)).constData());
    ::close(handle_);
    handle_ = -1;
}

QString RecoveryJournal::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           QLatin1String(SettingsStore::Application) + QStringLiteral("/recovery.KRD");
}

QString RecoveryJournal::JournalPath(const QString &first, int number)
{
    if (number <= 1)
        return first;
    const QFileInfo info(first);
    return info.dir().filePath(QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(number).arg(info.suffix()));
}

RecoveryJournal::RecoveryJournal(const SampleStore &store, const QString &first, QObject *parent)
    : QObject(parent), store_(store), first_(first), path_(first)
{
    syncTimer_.setSingleShot(true);
    syncTimer_.setInterval(SyncIntervalMs);
    connect(&syncTimer_, &QTimer::timeout, this, &RecoveryJournal::onSyncTimer);
}

RecoveryJournal::~RecoveryJournal() = default;

bool RecoveryJournal::holdsSamples() const { return holdsSamplesAt(path_); }

bool RecoveryJournal::claim()
{
    if (lock_.isLocked())
        return true;
    for (int number = 1; number <= MaxJournals; ++number) {
        const QString path = JournalPath(first_, number);
        JournalLock lock;
        switch (lock.tryLock(path)) {
        case JournalLock::Result::Held:
            continue;
        case JournalLock::Result::Failed:
            path_ = path;
            return fail(lock.errorString());
        case JournalLock::Result::Locked:
            break;
        }
        // Samples of a run that is gone, not offered yet: they wait for the next start.
        if (holdsSamplesAt(path))
            continue;
        path_ = path;
        lock_ = std::move(lock);
        return true;
    }
    return fail(QCoreApplication::translate("RecoveryJournal", "all %1 journal names are taken").arg(MaxJournals));
}

std::optional<std::vector<Sample>>
RecoveryJournal::offerLeftJournals(const std::function<bool(const QString &)> &ask,
                                   const std::function<void(const QString &)> &report)
{
    const QFileInfo first(first_);
    std::map<int, QString> found;
    const QString stem = first.completeBaseName();
    const QString suffix = QLatin1Char('.') + first.suffix();
    for (const QString &name : first.dir().entryList({stem + QLatin1Char('*') + suffix}, QDir::Files | QDir::Hidden)) {
        // "" for the first journal, "-2", "-3", ... for the others
        const QString middle = name.mid(stem.size(), name.size() - stem.size() - suffix.size());
        bool numbered = middle.isEmpty();
        const int number = numbered ? 1 : middle.mid(1).toInt(&numbered);
        const QString path = first.dir().filePath(name);
        if (numbered && number <= MaxJournals && JournalPath(first_, number) == path)
            found[number] = path;
    }

    for (const auto &entry : found) {
        const QString &path = entry.second;
        JournalLock lock;
        // Held by a running window, or not to be told: not ours to touch.
        if (lock.tryLock(path) != JournalLock::Result::Locked)
            continue;
        if (holdsSamplesAt(path) && ask(QCoreApplication::translate("RecoveryJournal", RecoverQuestion))) {
            std::vector<Sample> records;
            const RecordFileResult read = ReadRecordFile(path, records);
            if (!read.ok) {
                // Left in place: it may still be rescued by hand.
                report(QCoreApplication::translate("RecoveryJournal", "Cannot recover the recording from \"%1\":\n%2.")
                           .arg(QDir::toNativeSeparators(path), read.error));
                continue;
            }
            // The window records on into the journal it recovered, which an
            // earlier version left readable by everyone.
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            lock_ = std::move(lock);
            path_ = path;
            written_ = 0;
            return records;
        }
        // No, or cut off before its first sample.
        QFile journal(path);
        if (!journal.remove() && QFileInfo::exists(path))
            setProblem(QCoreApplication::translate("RecoveryJournal", "%1 cannot be removed: %2")
                           .arg(QDir::toNativeSeparators(path), journal.errorString()));
    }
    claim();
    return std::nullopt;
}

void RecoveryJournal::sampleAppended()
{
    if (handedOver_)
        return;
    // After a failure only the timer tries again, so that a full disk is not
    // hammered at every sample.
    if (problem_.isEmpty())
        writeNewRecords();
    if (!syncTimer_.isActive())
        syncTimer_.start();
}

bool RecoveryJournal::writeNewRecords()
{
    if (!claim())
        return false;
    if (store_.SampleCount < 0 || std::size_t(store_.SampleCount) >= store_.Samples.size())
        return fail(tr("the recording in memory is inconsistent"));
    const std::size_t wanted = std::size_t(store_.SampleCount) + 1;
    // New or Open replaced the recording without a word to the journal.
    if (written_ > wanted || (written_ > 1 && store_.Samples[written_ - 1] != lastWritten_))
        written_ = 0;

    if (!file_.isOpen()) {
        if (written_ > 0) {
            // After a failed write: keep the records that made it, drop a partial one.
            file_.setFileName(path_);
            const bool reopened = file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly) &&
                                  makePrivate(file_.handle()) && file_.size() >= byteCount(written_) &&
                                  file_.resize(byteCount(written_));
            if (!reopened) {
                file_.close();
                written_ = 0;
            }
        }
        if (written_ == 0) {
            const QString folderProblem = makePrivateFolder(QFileInfo(path_).absolutePath());
            if (!folderProblem.isEmpty())
                return fail(folderProblem);
            file_.setFileName(path_);
            if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered,
                            QFileDevice::ReadOwner | QFileDevice::WriteOwner))
                return fail(file_.errorString());
            // One left by an earlier version, or created under a strange umask.
            if (!makePrivate(file_.handle()))
                return fail(qt_error_string(errno));
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
            return fail(n < 0 ? qt_error_string(errno) : tr("nothing more could be written"));
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
    if (handedOver_)
        return;
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
    // Only a journal of our own: the name may be another running window's.
    if (handedOver_ || !lock_.isLocked())
        return;
    syncTimer_.stop();
    file_.close();
    written_ = 0;
    QFile journal(path_);
    if (!journal.remove() && QFileInfo(path_).exists()) {
        setProblem(tr("%1 cannot be removed: %2").arg(QDir::toNativeSeparators(path_), journal.errorString()));
        return;
    }
    setProblem(QString());
}

void RecoveryJournal::handOver()
{
    if (handedOver_)
        return;
    syncTimer_.stop();
    // What a failed write held back gets one more chance.
    if (!problem_.isEmpty() && lock_.isLocked())
        writeNewRecords();
    flush();
    file_.close();
    lock_.release();
    handedOver_ = true;
}

bool RecoveryJournal::fail(const QString &reason)
{
    file_.close();
    setProblem(tr("cannot write %1: %2").arg(QDir::toNativeSeparators(path_), reason));
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
