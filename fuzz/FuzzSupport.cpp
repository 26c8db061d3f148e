#include "FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <sanitizer/common_interface_defs.h>

#include <cstdio>
#include <cstdlib>

void FuzzCheckFailed(const char *condition, const char *file, int line)
{
    // Through the sanitizers' report channel: it stays open when the fuzzer
    // discards what the code under test writes to standard error.
    char message[512];
    std::snprintf(message, sizeof message, "%s:%d: invariant broken: %s", file, line, condition);
    __sanitizer_report_error_summary(message);
    std::abort();
}

namespace {

// One folder per run, under TMPDIR; removed when the run ends normally.
const QString &scratchFolder()
{
    static const QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    static const QString path = folder.path();
    return path;
}

QString newScratchPath(const char *suffix)
{
    static std::uint64_t serial = 0;
    return scratchFolder() + QStringLiteral("/input-%1%2").arg(++serial).arg(QLatin1String(suffix));
}

} // namespace

ScratchFile::ScratchFile(const char *suffix, const std::uint8_t *data, std::size_t size) : path_(newScratchPath(suffix))
{
    QFile file(path_);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
}

ScratchFile::ScratchFile(const char *suffix) : path_(newScratchPath(suffix)) {}

ScratchFile::~ScratchFile()
{
    QFile::remove(path_);
}
