#include "Printout.h"

#include "ListReport.h"
#include "TrendPages.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

void DrawPrintPage(PageSurface &surface, const ProgramState &state, const PrintPage &page, const PrintCharts &charts,
                   int headerRuleWidth, const QDateTime &printTime)
{
    switch (page.what) {
    case PrintWhat::FirstTrend:
        PrintTrendPage(surface, state, ChartNumber::First, charts.first, page.samples, printTime, page.zoom);
        break;
    case PrintWhat::SecondTrend:
        PrintTrendPage(surface, state, ChartNumber::Second, charts.second, page.samples, printTime, page.zoom);
        break;
    case PrintWhat::Report:
        DrawListPage(surface, state, page.samples, headerRuleWidth, printTime);
        break;
    }
}

bool DrawPrintout(PageSurface &surface, ProgramState &state, PrintSelection selection, const PrintCharts &charts,
                  const QDateTime &printTime, const PageProgress &progress)
{
    const PageBrowser pages(state, selection, charts);
    const bool leavesWindow = selection.range == PrintRange::AllArea && selection.what != PrintWhat::Report;
    const int count = pages.PageCount();
    for (int k = 0; k < count; ++k) {
        if (k > 0)
            surface.NewPage();
        const PrintPage page = pages.Page(k);
        if (leavesWindow) {
            state.view.ViewFirst = page.samples.first;
            state.view.ViewLast = page.samples.last;
        }
        DrawPrintPage(surface, state, page, charts, PrintedHeaderRuleWidth, printTime);
        if (progress && !progress(k + 1))
            return false;
    }
    return true;
}

PrintOutcome PrintOnPrinter(QPrinter &printer, ProgramState &state, PrintSelection selection, const PrintCharts &charts,
                            const PageProgress &progress)
{
    if (PageBrowser(state, selection, charts).PageCount() == 0)
        return PrintOutcome::NothingToPrint;
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintOutcome::NotStarted;
    // The painter's origin is the top left of the printable area.
    const QRectF area(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    PageSurface surface(painter, area, &printer);
    if (!DrawPrintout(surface, state, selection, charts, QDateTime::currentDateTime(), progress)) {
        // A cancelled PDF would otherwise be left behind half written.
        const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
        if (!printer.abort()) {
            painter.end();
            if (pdf)
                QFile::remove(printer.outputFileName());
        }
        return PrintOutcome::Cancelled;
    }
    return surface.EndDoc() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

void PrintToPdfFile(QPrinter &printer, const QString &fileName)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setResolution(PdfDotsPerInch);
}
