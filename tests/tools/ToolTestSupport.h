#pragma once

#include "Decoder.h"
#include "FrameEncoder.h"
#include "Frames.h"
#include "ToolProcess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <iosfwd>
#include <vector>

struct ToolResult {
    int exitCode = -1;
    bool crashed = false;
    QByteArray out;
    QByteArray err;
};

// Runs amperotool to the end, with the given bytes on its standard input and
// "NAME=value" entries added to its environment.
ToolResult RunTool(const QStringList &arguments, const QByteArray &input = QByteArray(),
                   const QStringList &environment = QStringList());

// What a decoded frame says the meter displayed, in the encoder's terms: the
// inverse of EncodeFrame for any display the meter can show.
FrameContent ContentOfFrame(const DecodedFrame &frame);

bool operator==(const FrameContent &a, const FrameContent &b);
inline bool operator!=(const FrameContent &a, const FrameContent &b)
{
    return !(a == b);
}
void PrintTo(const FrameContent &content, std::ostream *out);
