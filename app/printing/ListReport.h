#pragma once

// The list report: one row per sample under a header with the file name, the
// date of printing and eight column titles, on a 210 by 297 scale.

#include "PageSurface.h"
#include "PrintSelection.h"
#include "ProgramState.h"

#include <QDateTime>

#include <cstdint>

// Pages of the whole-recording list hold this many samples.
constexpr std::int32_t ListPageSamples = 40;
// Rows fit from y = 40 to y = 280, six units apart.
constexpr std::int32_t ListPageRows = 41;

// Width of the header rule: in printer dots, and in pixels on the preview picture.
constexpr int PrintedHeaderRuleWidth = 10;
constexpr int PreviewHeaderRuleWidth = 3;

std::int32_t ListPageCount(std::int32_t sampleCount);
// Page p (from 1) of the whole-recording list.
SampleRange ListPageWindow(std::int32_t page, std::int32_t sampleCount);

// The samples the list page of the visible window shows: ViewFirst..ViewLast
// as far as they are samples.
SampleRange VisualListWindow(const ProgramState &state);

// Draws one list page of the samples of `window` (at most ListPageRows of them).
void DrawListPage(PageSurface &surface, const ProgramState &state, SampleRange window, int headerRuleWidth,
                  const QDateTime &printTime);

// The list report of the range, page after page on new sheets. False when
// `progress` stopped it.
bool PrintListReport(PageSurface &surface, const ProgramState &state, PrintRange range, const QDateTime &printTime,
                     const PageProgress &progress = {});
