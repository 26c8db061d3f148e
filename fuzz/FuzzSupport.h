#pragma once

// What the fuzz targets share: a broken invariant ends the run the way a
// sanitizer report does, and inputs that the code under test reads from a file
// get a file of their own.

#include <QString>

#include <cstddef>
#include <cstdint>

[[noreturn]] void FuzzCheckFailed(const char *condition, const char *file, int line);

#define FUZZ_CHECK(condition) ((condition) ? void(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))

// A file in the run's scratch folder, removed again with this object. Every
// object gets a new name, so no cache keyed by file name (QSettings keeps one)
// hands back an earlier input.
class ScratchFile {
public:
    // A file holding the given bytes.
    ScratchFile(const char *suffix, const std::uint8_t *data, std::size_t size);
    // Only a name, for a file the code under test creates.
    explicit ScratchFile(const char *suffix);
    ~ScratchFile();
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;

    const QString &path() const { return path_; }

private:
    QString path_;
};
