#pragma once

// How far a window of the charts reaches: the one rule behind the trend
// view's window, the window Open shows and the paging of printed trend pages.

#include "SampleStore.h"

#include <cstdint>

enum class EdgeDirection { Forward, Backward };

// Whether a sample exactly one width away from the anchor still belongs to the window.
enum class WidthEnd { Included, Excluded };

// The far end of the window that starts (Forward) or ends (Backward) at sample
// `from` and spans `width`: sample numbers, or tick seconds in time mode. It is
// the sample before the first one, stepping away from `from`, that lies beyond
// the width, or the recording's last (first) sample when none does. The
// window always holds `from`; an anchor that is no sample gives the
// recording's end in that direction.
std::int32_t WindowEdge(const SampleStore &store, std::int32_t from, EdgeDirection direction, double width,
                        bool timeMode, WidthEnd widthEnd);
