#include "FrameScanner.h"

#include <algorithm>

void FrameScanner::append(const std::uint8_t *data, std::size_t size)
{
    // Drop what has been used so the buffer only ever holds the undecided tail
    // and the new bytes.
    if (position_ > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(position_));
        bufferStart_ += position_;
        position_ = 0;
    }
    buffer_.insert(buffer_.end(), data, data + size);
}

bool FrameScanner::next(MeterFrame &frame)
{
    const std::uint8_t *bytes = buffer_.data();
    const std::size_t size = buffer_.size();
    std::size_t p = position_;
    // Whole frames can be decided on the spot.
    while (size - p >= MeterFrameSize) {
        if (bytes[p] == MeterSyncByte && bytes[p + 1] == MeterSyncByte) {
            std::copy(bytes + p, bytes + p + MeterFrameSize, frame.begin());
            frameOffset_ = bufferStart_ + p;
            ++frameCount_;
            position_ = p + MeterFrameSize;
            return true;
        }
        ++p;
        ++skipped_;
    }
    // Near the end only a start that more bytes could complete is kept.
    while (p < size) {
        const bool canStart =
            !finished_ && bytes[p] == MeterSyncByte && (p + 1 == size || bytes[p + 1] == MeterSyncByte);
        if (canStart)
            break;
        ++p;
        ++skipped_;
    }
    position_ = p;
    return false;
}
