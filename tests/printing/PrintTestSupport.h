#pragma once

// Recordings to print, and the printouts read back from real PDF files with
// poppler's pdfinfo and pdftotext.

#include "PrintChart.h"
#include "PrintSelection.h"
#include "ProgramState.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <iosfwd>
#include <vector>

// Readable failure messages for Qt's strings.
void PrintTo(const QString &text, std::ostream *out);
void PrintTo(const QStringList &list, std::ostream *out);

// The stamp of every test sample i: 10:00:00 on 7 June 2002 plus i seconds.
QDateTime SampleTime(int index);

// Sample i: FirstValue i + 0.5 (so a row names its sample), kW; second
// display i % 60 Hz in FREQ mode; Seconds i; phase 1.
Sample NumberedSample(int index);

// A recording of `count` numbered samples; the window shows all of it.
ProgramState NumberedRecording(int count);

// A word of a PDF page with its box, in points.
struct PdfWord {
    QString text;
    double xMin, yMin, xMax, yMax;
};

struct PdfPages {
    bool ok = false;
    int pageCount = 0;
    QStringList text; // per page, pdftotext -layout
    std::vector<std::vector<PdfWord>> words;
};

PdfPages ReadPdf(const QString &path);
// Only the page count (0 when the file is no PDF), and the text of one page.
int PdfPageCount(const QString &path);
QString PdfPageText(const QString &path, int page);

// The first number of each line that starts with one: the FirstValue column
// of a list page, so the rows name the samples they list.
std::vector<int> ListedSamples(const QString &pageText);

// Prints the selection into a PDF file in `dir` and reads it back.
PdfPages PrintToPdf(ProgramState &state, PrintSelection selection, const PrintCharts &charts, const QTemporaryDir &dir,
                    const QString &name = QStringLiteral("out.pdf"));
