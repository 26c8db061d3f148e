#pragma once

// A whole printout of the print dialog's selection: the list report or the
// trend pages of one chart, for the visible window or the whole recording, as
// one document on the printer or in a PDF file.

#include "PageSurface.h"
#include "PrintChart.h"
#include "PrintSelection.h"
#include "ProgramState.h"

#include <QDateTime>

class QPrinter;

// Pages the printout will have (0: nothing to print).
int PrintoutPageCount(const ProgramState &state, PrintSelection selection, const PrintCharts &charts);

// Draws every page, with new sheets between them. False when `progress` stopped it.
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
PrintOutcome PrintOnPrinter(QPrinter &printer, ProgramState &state, PrintSelection selection,
                            const PrintCharts &charts, const PageProgress &progress = {});

// PDF files are drawn at the resolution of a common office printer, so that
// the pen widths in dots come out as they would on paper.
constexpr int PdfDotsPerInch = 300;

// Sets the printer up to write a PDF file.
void PrintToPdfFile(QPrinter &printer, const QString &fileName);
