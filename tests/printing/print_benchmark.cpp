// Not a test: how long the whole-recording list of 10,000 samples (250 pages)
// takes to print to a PDF file, against its target of 10 s. Exits 1 when it
// is over. Measure on an idle machine and a release build.

#include "PrintTestSupport.h"
#include "Printout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    ProgramState state = NumberedRecording(10000);
    QPrinter printer(QPrinter::HighResolution);
    PrintToPdfFile(printer, dir.filePath(QStringLiteral("bench.pdf")));
    QElapsedTimer timer;
    timer.start();
    const PrintOutcome outcome =
        PrintOnPrinter(printer, state, PrintSelection{PrintWhat::Report, PrintRange::AllArea}, PrintCharts());
    const double seconds = double(timer.elapsed()) / 1000.0;
    if (outcome != PrintOutcome::Printed) {
        std::fprintf(stderr, "the list was not printed\n");
        return 2;
    }
    std::printf("whole-recording list of 10000 samples, 250 pages, to PDF: %.2f s (target 10 s)\n", seconds);
    return seconds <= 10.0 ? 0 : 1;
}
