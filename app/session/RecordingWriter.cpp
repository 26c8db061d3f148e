#include "RecordingWriter.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Records go to the file in pieces of at most this many.
constexpr std::size_t ChunkRecords = 32768;

qint64 byteCount(std::size_t records)
{
    return qint64(records * SampleRecordSize);
}

} // namespace

RecordingWriter::RecordingWriter(const SampleStore &store, const QString &path, RecordingFileSetup setup,
                                 QObject *parent)
    : QObject(parent), store_(store), path_(path), setup_(std::move(setup))
{
    syncTimer_.setSingleShot(true);
    syncTimer_.setInterval(SyncIntervalMs);
    connect(&syncTimer_, &QTimer::timeout, this, &RecordingWriter::onSyncTimer);
}

RecordingWriter::~RecordingWriter() = default;

void RecordingWriter::setPath(const QString &path)
{
    file_.close();
    written_ = 0;
    path_ = path;
}

bool RecordingWriter::update()
{
    const bool written = problem_.isEmpty() && writeNewRecords();
    if (!syncTimer_.isActive())
        syncTimer_.start();
    return written;
}

bool RecordingWriter::writeNewRecords()
{
    if (setup_.beforeWrite) {
        const QString reason = setup_.beforeWrite();
        if (!reason.isEmpty())
            return fail(reason);
    }
    if (store_.SampleCount < 0 || std::size_t(store_.SampleCount) >= store_.Samples.size())
        return fail(tr("the recording in memory is inconsistent"));
    const std::size_t wanted = std::size_t(store_.SampleCount) + 1;
    // New or Open replaced the recording without a word to the writer.
    if (written_ > wanted || (written_ > 1 && store_.Samples[written_ - 1] != lastWritten_))
        written_ = 0;

    if (!file_.isOpen()) {
        if (written_ > 0) {
            // After a failed write: keep the records that made it, drop a partial one.
            file_.setFileName(path_);
            const bool reopened = file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly) &&
                                  (!setup_.prepareFile || setup_.prepareFile(file_.handle()).isEmpty()) &&
                                  file_.size() >= byteCount(written_) && file_.resize(byteCount(written_));
            if (!reopened) {
                file_.close();
                written_ = 0;
            }
        }
        if (written_ == 0) {
            if (setup_.makeFolder) {
                const QString reason = setup_.makeFolder(QFileInfo(path_).absolutePath());
                if (!reason.isEmpty())
                    return fail(reason);
            }
            file_.setFileName(path_);
            const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered;
            const bool opened =
                setup_.userOnly ? file_.open(mode, QFileDevice::ReadOwner | QFileDevice::WriteOwner) : file_.open(mode);
            if (!opened)
                return fail(file_.errorString());
            if (setup_.prepareFile) {
                const QString reason = setup_.prepareFile(file_.handle());
                if (!reason.isEmpty())
                    return fail(reason);
            }
            folderSynced_ = false;
        }
    }
    if (written_ == 0 && file_.size() > 0 && !file_.resize(0))
        return fail(file_.errorString());

    // The new records first, then record 0: a file cut off in between still
    // holds every sample it has, and only its statistics lag behind.
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
    // Record 0 only when it changed: a page written again after a sync is
    // another page for the disk.
    if (first > 0 && store_.statistics() != statisticsWritten_) {
        const SampleRecordBytes record = store_.statistics().toBytes();
        if (!writeAt(0, reinterpret_cast<const char *>(record.data()), record.size()))
            return false;
    }
    statisticsWritten_ = store_.statistics();
    setProblem(QString());
    return true;
}

bool RecordingWriter::writeAt(qint64 offset, const char *data, std::size_t size)
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

bool RecordingWriter::stillAtItsPath() const
{
    struct stat open {};
    struct stat named {};
    return ::fstat(file_.handle(), &open) == 0 && open.st_nlink > 0 &&
           ::stat(QFile::encodeName(path_).constData(), &named) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

bool RecordingWriter::flush()
{
    if (!file_.isOpen())
        return problem_.isEmpty();
    if (::fdatasync(file_.handle()) != 0)
        return fail(qt_error_string(errno));
    // Writing on into a file that is no longer there would lose every sample
    // from here on: it is written anew at the next attempt.
    if (!stillAtItsPath()) {
        written_ = 0;
        return fail(tr("the file was removed or replaced while it was written"));
    }
    if (folderSynced_)
        return true;
    // A new file is only found after a power cut once its folder is on the disk too.
    const QByteArray folder = QFile::encodeName(QFileInfo(path_).absolutePath());
    const int handle = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = handle >= 0 && ::fsync(handle) == 0;
    const int reason = errno;
    if (handle >= 0)
        ::close(handle);
    if (!synced)
        return fail(qt_error_string(reason));
    folderSynced_ = true;
    return true;
}

bool RecordingWriter::writeAndSync()
{
    if (writeNewRecords() && flush())
        return true;
    return writeNewRecords() && flush();
}

void RecordingWriter::onSyncTimer()
{
    if (!problem_.isEmpty() && !writeNewRecords())
        return;
    flush();
}

void RecordingWriter::close()
{
    syncTimer_.stop();
    file_.close();
    written_ = 0;
    setProblem(QString());
}

bool RecordingWriter::fail(const QString &reason)
{
    file_.close();
    setProblem(ProblemText(path_, reason));
    // Tried again after a while; written_ still counts the records that made it.
    if (!syncTimer_.isActive())
        syncTimer_.start();
    return false;
}

QString RecordingWriter::ProblemText(const QString &path, const QString &reason)
{
    return tr("cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

void RecordingWriter::setProblem(const QString &problem)
{
    if (problem == problem_)
        return;
    problem_ = problem;
    emit problemChanged(problem_);
}
