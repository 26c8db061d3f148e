#include "RecoveryJournal.h"

#include "SettingsStore.h"
#include "TrendView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <map>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Windows running at once, far beyond any real use; a bound for the search.
constexpr int MaxJournals = 999;
// Recorded samples are the user's business alone.
constexpr mode_t PrivateFolderMode = 0700;
constexpr mode_t PrivateFileMode = 0600;

qint64 byteCount(std::size_t records)
{
    return qint64(records * SampleRecordSize);
}

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

QString lockPathOf(const QString &journalPath)
{
    return journalPath + QStringLiteral(".lock");
}

} // namespace

JournalLock::~JournalLock()
{
    release();
}

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
        struct stat locked {
        }, named{};
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
    : QObject(parent), first_(first),
      writer_(store, first,
              RecordingFileSetup{[this] { return claim(); }, makePrivateFolder,
                                 [](int handle) { return makePrivate(handle) ? QString() : qt_error_string(errno); },
                                 true})
{
    connect(&writer_, &RecordingWriter::problemChanged, this, &RecoveryJournal::setProblem);
}

RecoveryJournal::~RecoveryJournal() = default;

bool RecoveryJournal::holdsSamples() const
{
    return holdsSamplesAt(path());
}

QString RecoveryJournal::claim()
{
    if (lock_.isLocked())
        return QString();
    for (int number = 1; number <= MaxJournals; ++number) {
        const QString path = JournalPath(first_, number);
        JournalLock lock;
        switch (lock.tryLock(path)) {
        case JournalLock::Result::Held:
            continue;
        case JournalLock::Result::Failed:
            writer_.setPath(path);
            return lock.errorString();
        case JournalLock::Result::Locked:
            break;
        }
        // Samples of a run that is gone, not offered yet: they wait for the next start.
        if (holdsSamplesAt(path))
            continue;
        writer_.setPath(path);
        lock_ = std::move(lock);
        return QString();
    }
    return tr("all %1 journal names are taken").arg(MaxJournals);
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
            writer_.setPath(path);
            return records;
        }
        // No, or cut off before its first sample.
        QFile journal(path);
        if (!journal.remove() && QFileInfo::exists(path))
            setProblem(QCoreApplication::translate("RecoveryJournal", "%1 cannot be removed: %2")
                           .arg(QDir::toNativeSeparators(path), journal.errorString()));
    }
    const QString reason = claim();
    if (!reason.isEmpty())
        setProblem(RecordingWriter::ProblemText(path(), reason));
    return std::nullopt;
}

void RecoveryJournal::sampleAppended()
{
    if (handedOver_)
        return;
    writer_.update();
    // A journal written again is no longer one that could not be removed.
    setProblem(writer_.problem());
}

void RecoveryJournal::flush()
{
    writer_.flush();
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
    writer_.close();
    QFile journal(path());
    if (!journal.remove() && QFileInfo(path()).exists()) {
        setProblem(tr("%1 cannot be removed: %2").arg(QDir::toNativeSeparators(path()), journal.errorString()));
        return;
    }
    setProblem(QString());
}

void RecoveryJournal::handOver()
{
    if (handedOver_)
        return;
    // What a failed write held back gets one more chance.
    if (!writer_.problem().isEmpty() && lock_.isLocked())
        writer_.writeAndSync();
    else
        writer_.flush();
    const QString problem = problem_;
    writer_.close();
    // The last word on the journal stays shown.
    setProblem(problem);
    lock_.release();
    handedOver_ = true;
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
