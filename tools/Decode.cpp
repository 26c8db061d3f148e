// amperotool decode: a captured serial log as CSV, one line per frame.

#include "Commands.h"

#include "Decoder.h"
#include "FrameScanner.h"
#include "NumberText.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char *const CsvHeader =
    "offset,first_text,first_value,first_unit,first_function,second_text,second_value,second_unit,"
    "second_function,memory,mode,symbols,bar,arrow\n";

// Column names of the symbol images, in the window's index order.
const std::string SymbolNames[SymbolCount] = {"HOLD", "HV", "PH1", "PH2", "PH3", "SUM", "W3PH", "P", "BATT", "W"};

constexpr std::size_t ReadBlockSize = std::size_t(1) << 20;
// Frames decoded together; the batch is shared out among the cores.
constexpr std::size_t BatchFrames = std::size_t(1) << 16;
constexpr unsigned MostDecodeThreads = 4;

struct FoundFrame {
    std::uint64_t offset;
    MeterFrame bytes;
};

// CSV text put together with plain pointer stores: at millions of rows a
// second the bookkeeping of string appends shows.
class CsvText {
public:
    const char *data() const { return m_data.get(); }
    std::size_t size() const { return m_used; }
    void clear() { m_used = 0; }

    void appendHeader()
    {
        makeRoom();
        put(CsvHeader, std::strlen(CsvHeader));
        m_used = std::size_t(m_next - m_data.get());
    }

    void appendRow(std::uint64_t offset, const DecodedFrame &frame)
    {
        makeRoom();
        m_next = std::to_chars(m_next, m_next + 24, offset).ptr;
        put(',');
        putQuoted(frame.first.Text);
        put(',');
        putValue(frame.first.Value);
        put(',');
        put(frame.first.Unit);
        put(',');
        put(frame.first.Function);
        put(',');
        putQuoted(frame.second.Text);
        put(',');
        putValue(frame.second.Value);
        put(',');
        put(frame.second.Unit);
        put(',');
        put(frame.second.Function);
        put(',');
        putQuoted(frame.display.LCD3);
        put(',');
        static const char hexDigits[] = "0123456789ABCDEF";
        put(hexDigits[frame.Mode >> 4]);
        put(hexDigits[frame.Mode & 0x0F]);
        put(',');
        bool firstSymbol = true;
        for (int n = 0; n < SymbolCount; ++n) {
            if (!frame.display.P01[std::size_t(n)])
                continue;
            if (!firstSymbol)
                put('|');
            put(SymbolNames[n]);
            firstSymbol = false;
        }
        put(',');
        for (int segment = 1; segment <= BarSegments; ++segment)
            put(frame.display.L0[std::size_t(segment)] ? '1' : '0');
        put(',');
        put(frame.display.L41 ? '1' : '0');
        put('\n');
        m_used = std::size_t(m_next - m_data.get());
    }

private:
    // Makes sure a whole row fits and points m_next at the end of the text.
    void makeRoom()
    {
        if (m_capacity - m_used < RowRoom) {
            const std::size_t capacity = std::max(2 * m_capacity, std::size_t(1) << 16);
            std::unique_ptr<char[]> grown(new char[capacity]);
            if (m_used > 0)
                std::memcpy(grown.get(), m_data.get(), m_used);
            m_data = std::move(grown);
            m_capacity = capacity;
        }
        m_next = m_data.get() + m_used;
    }
    void put(char c) { *m_next++ = c; }
    void put(const char *text, std::size_t size)
    {
        std::memcpy(m_next, text, size);
        m_next += size;
    }
    // The decoder's texts are a few cells or a unit name; a longer one would be
    // a decoder fault, and is cut rather than let overrun the row's room.
    void put(const std::string &text) { put(text.data(), std::min(text.size(), MaxFieldSize)); }
    void putQuoted(const std::string &text)
    {
        // Display texts hold only cells, points, blanks and the colon: nothing to escape.
        put('"');
        put(text);
        put('"');
    }
    void putValue(float value) { put(ShortestFloatText(value)); }

    static constexpr std::size_t MaxFieldSize = 32;
    // Room one row can take: 14 columns, the 40-character bar and the symbol names.
    static constexpr std::size_t RowRoom = 14 * (MaxFieldSize + 3) + BarSegments + 80;

    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity = 0;
    std::size_t m_used = 0;
    char *m_next = nullptr;
};

void formatRows(const FoundFrame *begin, const FoundFrame *end, CsvText &text)
{
    for (const FoundFrame *f = begin; f != end; ++f)
        text.appendRow(f->offset, DecodeFrame(f->bytes));
}

// Decodes a batch of frames into parts, each part on a thread of its own.
void formatBatch(const std::vector<FoundFrame> &batch, std::vector<CsvText> &parts)
{
    const std::size_t share = (batch.size() + parts.size() - 1) / parts.size();
    std::vector<std::thread> helpers;
    for (std::size_t n = 1; n < parts.size() && n * share < batch.size(); ++n) {
        const FoundFrame *begin = batch.data() + n * share;
        const FoundFrame *end = batch.data() + std::min(batch.size(), (n + 1) * share);
        helpers.emplace_back(formatRows, begin, end, std::ref(parts[n]));
    }
    formatRows(batch.data(), batch.data() + std::min(batch.size(), share), parts[0]);
    for (std::thread &helper : helpers)
        helper.join();
}

// Writes the parts in order and empties them; the errno of a failed write, or 0.
int writeParts(std::vector<CsvText> &parts)
{
    for (CsvText &part : parts) {
        if (part.size() > 0 && std::fwrite(part.data(), 1, part.size(), stdout) != part.size())
            return errno;
        part.clear();
    }
    return 0;
}

// Batches are decoded while the previous one is being written, into the other
// of two sets of parts.
class BatchWriter {
public:
    explicit BatchWriter(std::size_t threads) : m_sets{std::vector<CsvText>(threads), std::vector<CsvText>(threads)} {}
    ~BatchWriter() { finish(); }

    CsvText &firstPart() { return m_sets[m_current][0]; }

    // False when an earlier write failed.
    bool write(const std::vector<FoundFrame> &batch)
    {
        formatBatch(batch, m_sets[m_current]);
        if (finish() != 0)
            return false;
        m_writing = std::async(std::launch::async, writeParts, std::ref(m_sets[m_current]));
        m_current = 1 - m_current;
        return true;
    }

    // Waits for the write under way; the errno of the write that failed, or 0.
    int finish()
    {
        if (m_writing.valid())
            m_error = m_writing.get();
        return m_error;
    }

private:
    std::vector<CsvText> m_sets[2];
    int m_current = 0;
    std::future<int> m_writing;
    int m_error = 0;
};

} // namespace

void printDecodeUsage(std::FILE *out)
{
    std::fprintf(out, "Usage: amperotool decode [FILE|-]\n\n"
                      "Cuts raw serial bytes from FILE (or standard input when FILE is - or missing)\n"
                      "into meter frames and writes one CSV line per frame to standard output.\n"
                      "The counts of frames and skipped bytes go to standard error.\n");
}

int runDecode(const QStringList &arguments)
{
    QString path;
    for (const QString &argument : arguments) {
        if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            std::fprintf(stderr, "amperotool decode: unknown option '%s'\n\n", qPrintable(argument));
            printDecodeUsage(stderr);
            return UsageExitCode;
        }
        if (!path.isNull()) {
            std::fprintf(stderr, "amperotool decode: more than one input given\n\n");
            printDecodeUsage(stderr);
            return UsageExitCode;
        }
        path = argument;
    }

    const bool fromStdin = path.isEmpty() || path == QLatin1String("-");
    const QByteArray fileName = QFile::encodeName(path);
    const std::string inputName = fromStdin ? std::string("standard input") : "'" + fileName.toStdString() + "'";
    int fd = STDIN_FILENO;
    if (!fromStdin) {
        fd = ::open(fileName.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            std::fprintf(stderr, "amperotool decode: cannot read %s: %s\n", inputName.c_str(), std::strerror(errno));
            return 1;
        }
    }

    FrameScanner scanner;
    std::vector<std::uint8_t> block(ReadBlockSize);
    std::vector<FoundFrame> batch;
    batch.reserve(BatchFrames + ReadBlockSize / MeterFrameSize + 1);
    BatchWriter writer(std::clamp(std::thread::hardware_concurrency(), 1u, MostDecodeThreads));
    writer.firstPart().appendHeader();
    FoundFrame found{};
    bool ended = false;
    int readError = 0;
    bool writeFailed = false;
    while (!ended && !writeFailed) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            readError = errno;
            ended = true;
        } else if (got == 0) {
            scanner.finish();
            ended = true;
        } else {
            scanner.append(block.data(), std::size_t(got));
        }
        while (scanner.next(found.bytes)) {
            found.offset = scanner.frameOffset();
            batch.push_back(found);
        }
        // What was decoded before a read error is still written.
        if (batch.size() >= BatchFrames || ended) {
            writeFailed = !writer.write(batch);
            batch.clear();
        }
    }
    if (!fromStdin)
        ::close(fd);
    int writeError = writer.finish();
    if (writeError == 0 && std::fflush(stdout) != 0)
        writeError = errno;
    if (writeError != 0) {
        std::fprintf(stderr, "amperotool decode: cannot write the output: %s\n", std::strerror(writeError));
        return 1;
    }
    if (readError != 0) {
        std::fprintf(stderr, "amperotool decode: cannot read %s: %s\n", inputName.c_str(), std::strerror(readError));
        return 1;
    }
    std::fprintf(stderr, "frames: %llu, skipped bytes: %llu\n", static_cast<unsigned long long>(scanner.frameCount()),
                 static_cast<unsigned long long>(scanner.skippedBytes()));
    return 0;
}
