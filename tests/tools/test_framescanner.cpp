#include "FrameScanner.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

const char *const Reference = "0505 0208 CBE3 B760 0440 00ED 60FD E3A7 0000 0000 000F";
// The reference frame with the first display in overload.
const char *const Overload = "0505 0208 000D ED00 0440 00ED 60FD E3A7 0000 0000 000F";

struct ScanResult {
    std::vector<std::uint64_t> offsets;
    std::vector<MeterFrame> frames;
    std::uint64_t skipped = 0;
    std::size_t largestHeldBack = 0;
};

// Feeds the stream in pieces of the given size, taking frames after each piece.
ScanResult scan(const std::vector<std::uint8_t> &stream, std::size_t pieceSize)
{
    FrameScanner scanner;
    ScanResult result;
    MeterFrame frame;
    auto take = [&] {
        while (scanner.next(frame)) {
            result.offsets.push_back(scanner.frameOffset());
            result.frames.push_back(frame);
        }
        result.largestHeldBack = std::max(result.largestHeldBack, scanner.heldBackBytes());
    };
    for (std::size_t at = 0; at < stream.size(); at += pieceSize) {
        scanner.append(stream.data() + at, std::min(pieceSize, stream.size() - at));
        take();
    }
    scanner.finish();
    take();
    EXPECT_EQ(scanner.frameCount(), result.frames.size());
    result.skipped = scanner.skippedBytes();
    return result;
}

std::vector<std::uint8_t> concat(std::initializer_list<const char *> parts)
{
    std::vector<std::uint8_t> all;
    for (const char *part : parts) {
        const auto bytes = BytesFromHex(part);
        all.insert(all.end(), bytes.begin(), bytes.end());
    }
    return all;
}

struct ScannerRow {
    const char *name;
    std::vector<std::uint8_t> stream;
    std::vector<std::uint64_t> offsets;
    std::uint64_t skipped;
};

std::vector<ScannerRow> scannerRows()
{
    return {
        {"one frame", concat({Reference}), {0}, 0},
        {"two frames back to back", concat({Reference, Overload}), {0, 22}, 0},
        {"garbage before a frame", concat({"FF00 1234", Reference}), {4}, 4},
        {"a lone sync byte followed by garbage", concat({"0533", Reference}), {2}, 2},
        // The cutting rule takes the first 05 05: a stray sync byte in front of a
        // frame shifts it by one and the frame's last byte is left over.
        {"a stray sync byte right before a frame", concat({"05", Reference}), {0}, 1},
        {"garbage between frames", concat({Reference, "0005 01", Overload}), {0, 25}, 3},
        {"a frame cut short at the end", concat({Reference, "0505 0208 CB"}), {0}, 5},
        {"a single sync byte at the end", concat({Reference, "05"}), {0}, 1},
        {"a frame cut short by the next frame is taken with its start",
         concat({"0505 0208 CBE3", Reference, Overload}),
         {0, 28},
         6},
        {"nothing but garbage", concat({"0102 0304 0506 0708 090A 0B0C"}), {}, 12},
        {"empty stream", {}, {}, 0},
    };
}

} // namespace

TEST(FrameScannerTest, CutsStreamsWhateverPiecesTheyArriveIn)
{
    for (const ScannerRow &row : scannerRows()) {
        SCOPED_TRACE(row.name);
        const std::size_t whole = std::max<std::size_t>(row.stream.size(), 1);
        for (std::size_t piece = 1; piece <= whole; ++piece) {
            SCOPED_TRACE("pieces of " + std::to_string(piece));
            const ScanResult result = scan(row.stream, piece);
            EXPECT_EQ(result.offsets, row.offsets);
            EXPECT_EQ(result.skipped, row.skipped);
            for (std::size_t n = 0; n < result.frames.size(); ++n) {
                const auto at = row.stream.begin() + std::ptrdiff_t(result.offsets[n]);
                EXPECT_TRUE(std::equal(result.frames[n].begin(), result.frames[n].end(), at));
            }
            EXPECT_LT(result.largestHeldBack, MeterFrameSize);
        }
    }
}

TEST(FrameScannerTest, FramesAreTheBytesAtTheirOffsets)
{
    const ScanResult result = scan(concat({"77", Reference, "0505", Overload}), 64);
    ASSERT_EQ(result.frames.size(), 2u);
    EXPECT_EQ(result.frames[0], FrameFromHex(Reference));
    // 05 05 then the overload frame: the frame starts at the first pair.
    EXPECT_EQ(result.offsets[1], 23u);
    EXPECT_EQ(result.skipped, 1u + 2u);
}

TEST(FrameScannerTest, WaitsForTheRestOfAFrameStart)
{
    FrameScanner scanner;
    MeterFrame frame;
    const auto bytes = BytesFromHex(Reference);
    scanner.append(bytes.data(), 1);
    EXPECT_FALSE(scanner.next(frame));
    EXPECT_EQ(scanner.heldBackBytes(), 1u) << "a lone 05 may be the start of a frame";
    scanner.append(bytes.data() + 1, 20);
    EXPECT_FALSE(scanner.next(frame));
    EXPECT_EQ(scanner.heldBackBytes(), 21u);
    EXPECT_EQ(scanner.skippedBytes(), 0u);
    scanner.append(bytes.data() + 21, 1);
    ASSERT_TRUE(scanner.next(frame));
    EXPECT_EQ(frame, FrameFromHex(Reference));
    EXPECT_EQ(scanner.heldBackBytes(), 0u);
}

TEST(FrameScannerTest, HoldsBackNoMoreThanAFrameWhateverArrives)
{
    std::mt19937 random(11);
    FrameScanner scanner;
    MeterFrame frame;
    std::vector<std::uint8_t> piece(4096);
    std::uint64_t total = 0;
    for (int round = 0; round < 200; ++round) {
        // Mostly sync bytes, the worst case for a framer that waits.
        for (auto &b : piece)
            b = random() % 4 ? MeterSyncByte : std::uint8_t(random());
        scanner.append(piece.data(), piece.size());
        total += piece.size();
        while (scanner.next(frame))
            ASSERT_TRUE(HasSync(frame));
        ASSERT_LT(scanner.heldBackBytes(), MeterFrameSize);
    }
    scanner.finish();
    while (scanner.next(frame)) {
    }
    EXPECT_EQ(scanner.frameCount() * MeterFrameSize + scanner.skippedBytes(), total);
}

TEST(FrameScannerTest, FindsEveryFrameBetweenGarbageWithoutSyncBytes)
{
    std::mt19937 random(3);
    std::vector<std::uint8_t> stream;
    std::vector<std::uint64_t> expected;
    std::uint64_t garbage = 0;
    for (int n = 0; n < 2000; ++n) {
        const std::uint32_t noise = random() % 5;
        for (std::uint32_t k = 0; k < noise; ++k) {
            std::uint8_t b = std::uint8_t(random());
            stream.push_back(b == MeterSyncByte ? 0x06 : b);
        }
        garbage += noise;
        FrameContent c;
        c.firstText = std::to_string(1000 + random() % 9000);
        c.bar = random() % (std::uint64_t(1) << 40);
        expected.push_back(stream.size());
        const MeterFrame frame = EncodeFrame(c);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    const ScanResult result = scan(stream, 1000);
    EXPECT_EQ(result.offsets, expected);
    EXPECT_EQ(result.skipped, garbage);
}
