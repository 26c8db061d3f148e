#include "FrameScanner.h"

#include <algorithm>

void FrameScanner::append(const std::uint8_t *data, std::size_t size)
{
    // Drop what has been used so the buffer only ever holds the undecided tail
    // and the new bytes.
    if (m_position > 0) {
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + std::ptrdiff_t(m_position));
        m_bufferStart += m_position;
        m_position = 0;
    }
    m_buffer.insert(m_buffer.end(), data, data + size);
}

bool FrameScanner::next(MeterFrame &frame)
{
    const std::uint8_t *bytes = m_buffer.data();
    const std::size_t size = m_buffer.size();
    std::size_t p = m_position;
    // Whole frames can be decided on the spot.
    while (size - p >= MeterFrameSize) {
        if (bytes[p] == MeterSyncByte && bytes[p + 1] == MeterSyncByte) {
            std::copy(bytes + p, bytes + p + MeterFrameSize, frame.begin());
            m_frameOffset = m_bufferStart + p;
            ++m_frameCount;
            m_position = p + MeterFrameSize;
            return true;
        }
        ++p;
        ++m_skipped;
    }
    // Near the end only a start that more bytes could complete is kept.
    while (p < size) {
        const bool canStart = !m_finished && bytes[p] == MeterSyncByte &&
                              (p + 1 == size || bytes[p + 1] == MeterSyncByte);
        if (canStart)
            break;
        ++p;
        ++m_skipped;
    }
    m_position = p;
    return false;
}
