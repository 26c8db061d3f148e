#include "Printout.h"

#include "ListReport.h"
#include "TrendPages.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

namespace {

ChartNumber chartOf(PrintWhat what)
{
    return what == PrintWhat::FirstTrend ? ChartNumber::First : ChartNumber::Second;
}

} // namespace

int PrintoutPageCount(const ProgramState &state, PrintSelection selection, const PrintCharts &charts)
{
    const SampleStore &store = state.store;
    if (store.SampleCount <= 0)
        return 0;
    if (selection.range == PrintRange::VisualArea)
        return 1;
    if (selection.what == PrintWhat::Report)
        return ListPageCount(store.SampleCount);
    return TrendPageCount(store, charts.of(chartOf(selection.what)).Rightx, state.view.TimeMode);
}

bool DrawPrintout(PageSurface &surface, ProgramState &state, PrintSelection selection, const PrintCharts &charts,
                  const QDateTime &printTime, const PageProgress &progress)
{
    if (selection.what == PrintWhat::Report)
        return PrintListReport(surface, state, selection.range, printTime, progress);
    const ChartNumber chart = chartOf(selection.what);
    return PrintTrendGraph(surface, state, chart, charts.of(chart), selection.range, printTime, progress);
}

PrintOutcome PrintOnPrinter(QPrinter &printer, ProgramState &state, PrintSelection selection,
                            const PrintCharts &charts, const PageProgress &progress)
{
    if (PrintoutPageCount(state, selection, charts) == 0)
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
