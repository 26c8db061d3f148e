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

class FrameScanner
{
public:
    void append(const std::uint8_t *data, std::size_t size);

    // Takes the next whole frame; false when more bytes are needed. Once it has
    // returned false at most MeterFrameSize - 1 bytes are held back.
    bool next(MeterFrame &frame);

    // Stream offset of the first byte of the frame last taken by next().
    std::uint64_t frameOffset() const { return m_frameOffset; }
    std::uint64_t frameCount() const { return m_frameCount; }
    std::uint64_t skippedBytes() const { return m_skipped; }
    std::size_t heldBackBytes() const { return m_buffer.size() - m_position; }

    // No more bytes will come: next() still hands out the whole frames, and what
    // is left after them is a partial frame that counts as skipped.
    void finish() { m_finished = true; }

private:
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_position = 0;     // first byte of m_buffer not yet taken or skipped
    std::uint64_t m_bufferStart = 0; // stream offset of m_buffer[0]
    std::uint64_t m_frameOffset = 0;
    std::uint64_t m_frameCount = 0;
    std::uint64_t m_skipped = 0;
    bool m_finished = false;
};
