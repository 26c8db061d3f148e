#pragma once

// A whole printout of the print dialog's selection: the list report or the
// trend pages of one chart, for the visible window or the whole recording, as
// one document on the printer or in a PDF file.

#include "PageSurface.h"
#include "PrintChart.h"
#include "PrintPages.h"
#include "ProgramState.h"

#include <QDateTime>

class QPrinter;

// Draws one page of a printout: a list page, its header rule `headerRuleWidth`
// wide (dots on paper, pixels on the preview), or a trend page of its chart.
void DrawPrintPage(PageSurface &surface, const ProgramState &state, const PrintPage &page, const PrintCharts &charts,
                   int headerRuleWidth, const QDateTime &printTime);

// Draws every page, with new sheets between them. Trend pages of the whole
// recording leave ViewFirst..ViewLast at the window of the last page drawn.
// False when `progress` stopped it.
bool DrawPrintout(PageSurface &surface, ProgramState &state, PrintSelection selection, const PrintCharts &charts,
                  const QDateTime &printTime, const PageProgress &progress = {});

enum class PrintOutcome {
    Printed,
    NothingToPrint, // no page: the printer was not started
    Cancelled,      // stopped through the progress; nothing is left behind
    NotStarted,     // the printer or the file refused the document
    Failed,         // the document could not be completed
};

// Prints the printout on the printer as it is set up (a printer or a PDF file),
// all pages in one document.
PrintOutcome PrintOnPrinter(QPrinter &printer, ProgramState &state, PrintSelection selection, const PrintCharts &charts,
                            const PageProgress &progress = {});

// PDF files are drawn at the resolution of a common office printer, so that
// the pen widths in dots come out as they would on paper.
constexpr int PdfDotsPerInch = 300;

// Sets the printer up to write a PDF file.
void PrintToPdfFile(QPrinter &printer, const QString &fileName);
