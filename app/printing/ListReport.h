#pragma once

// The list report: one row per sample under a header with the file name, the
// date of printing and eight column titles, on a 210 by 297 scale.

#include "PageSurface.h"
#include "PrintPages.h"
#include "ProgramState.h"

#include <QDateTime>

#include <cstdint>

// Rows fit from y = 40 to y = 280, six units apart.
constexpr std::int32_t ListPageRows = 41;

// Width of the header rule: in printer dots, and in pixels on the preview picture.
constexpr int PrintedHeaderRuleWidth = 10;
constexpr int PreviewHeaderRuleWidth = 3;

// Draws one list page of the samples of `window` (at most ListPageRows of them).
void DrawListPage(PageSurface &surface, const ProgramState &state, SampleRange window, int headerRuleWidth,
                  const QDateTime &printTime);
