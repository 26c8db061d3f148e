#pragma once

// Cuts a stream of serial bytes into meter frames. At the current position,
// 05 05 followed by 20 more bytes is a frame; anything else loses its first
// byte and the search goes on. Bytes can arrive in pieces of any size: a
// possible frame start at the end of what has arrived is held back until the
// rest comes.

#include "MeterFrame.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class FrameScanner {
public:
    void append(const std::uint8_t *data, std::size_t size);

    // Takes the next whole frame; false when more bytes are needed. Once it has
    // returned false at most MeterFrameSize - 1 bytes are held back.
    bool next(MeterFrame &frame);

    // Stream offset of the first byte of the frame last taken by next().
    std::uint64_t frameOffset() const { return frameOffset_; }
    std::uint64_t frameCount() const { return frameCount_; }
    std::uint64_t skippedBytes() const { return skipped_; }
    std::size_t heldBackBytes() const { return buffer_.size() - position_; }

    // No more bytes will come: next() still hands out the whole frames, and what
    // is left after them is a partial frame that counts as skipped.
    void finish() { finished_ = true; }

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t position_ = 0;      // first byte of buffer_ not yet taken or skipped
    std::uint64_t bufferStart_ = 0; // stream offset of buffer_[0]
    std::uint64_t frameOffset_ = 0;
    std::uint64_t frameCount_ = 0;
    std::uint64_t skipped_ = 0;
    bool finished_ = false;
};
