#include "PrintTestSupport.h"

#include "OleDate.h"
#include "Printout.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <ostream>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '{';
    for (const QString &text : list) {
        PrintTo(text, out);
        *out << (&text == &list.constLast() ? "" : ", ");
    }
    *out << '}';
}

QDateTime SampleTime(int index)
{
    return QDateTime(QDate(2002, 6, 7), QTime(10, 0, 0)).addSecs(index);
}

Sample NumberedSample(int index)
{
    Sample s;
    s.FirstValue = float(index) + 0.5f;
    s.FirstUnit = 0x40; // kW
    s.SecondValue = float(index % 60);
    s.SecondUnit = 0x10; // Hz
    s.Mode = 0x04;       // FREQ
    s.Stamp = LocalToOleDate(SampleTime(index));
    s.Seconds = float(index);
    s.Symbols2 = 0x04; // phase 1
    return s;
}

ProgramState NumberedRecording(int count)
{
    ProgramState state;
    for (int i = 1; i <= count; ++i)
        state.store.AppendSample(NumberedSample(i));
    state.view.ViewFirst = 1;
    state.view.ViewLast = std::max(count, 1);
    state.view.TimeMode = false;
    return state;
}

namespace {

// pdftotext joins "ff", "fi", "fl"... of the page's font into one ligature
// character (U+FB00..U+FB06); the tests compare the letters that were printed.
QString withoutLigatures(QString text)
{
    static const QLatin1String letters[] = {QLatin1String("ff"),  QLatin1String("fi"),  QLatin1String("fl"),
                                            QLatin1String("ffi"), QLatin1String("ffl"), QLatin1String("st"),
                                            QLatin1String("st")};
    for (int i = 0; i < 7; ++i)
        text.replace(QChar(0xFB00 + i), letters[i]);
    return text;
}

QString run(const QString &program, const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.start(program, arguments);
    *ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return withoutLigatures(QString::fromUtf8(process.readAllStandardOutput()));
}

std::vector<std::vector<PdfWord>> readWords(const QString &html)
{
    std::vector<std::vector<PdfWord>> pages;
    QXmlStreamReader xml(html);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("page")) {
            pages.emplace_back();
        } else if (xml.name() == QLatin1String("word") && !pages.empty()) {
            const auto attributes = xml.attributes();
            PdfWord word;
            word.xMin = attributes.value(QLatin1String("xMin")).toDouble();
            word.yMin = attributes.value(QLatin1String("yMin")).toDouble();
            word.xMax = attributes.value(QLatin1String("xMax")).toDouble();
            word.yMax = attributes.value(QLatin1String("yMax")).toDouble();
            word.text = xml.readElementText();
            pages.back().push_back(word);
        }
    }
    return pages;
}

} // namespace

int PdfPageCount(const QString &path)
{
    bool ok = false;
    const QString info = run(QStringLiteral("pdfinfo"), {path}, &ok);
    const auto match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(info);
    return ok && match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString PdfPageText(const QString &path, int page)
{
    bool ok = false;
    const QString number = QString::number(page);
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-f"), number, QStringLiteral("-l"), number, path,
                QStringLiteral("-")},
               &ok);
}

PdfPages ReadPdf(const QString &path)
{
    PdfPages pdf;
    bool ok = false;
    pdf.pageCount = PdfPageCount(path);
    if (pdf.pageCount == 0)
        return pdf;
    // pdftotext ends every page with a form feed.
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}, &ok);
    if (!ok)
        return pdf;
    pdf.text = text.split(QLatin1Char('\f'));
    if (pdf.text.size() != pdf.pageCount + 1)
        return pdf;
    pdf.text.removeLast();
    pdf.words = readWords(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}, &ok));
    pdf.ok = ok && int(pdf.words.size()) == pdf.pageCount;
    return pdf;
}

std::vector<int> ListedSamples(const QString &pageText)
{
    std::vector<int> samples;
    static const QRegularExpression row(QStringLiteral("^\\s*(-?\\d+)\\.5\\s"));
    for (const QString &line : pageText.split(QLatin1Char('\n'))) {
        const auto match = row.match(line);
        if (match.hasMatch())
            samples.push_back(match.captured(1).toInt());
    }
    return samples;
}

PdfPages PrintToPdf(ProgramState &state, PrintSelection selection, const PrintCharts &charts, const QTemporaryDir &dir,
                    const QString &name)
{
    QPrinter printer(QPrinter::HighResolution);
    const QString path = dir.filePath(name);
    PrintToPdfFile(printer, path);
    if (PrintOnPrinter(printer, state, selection, charts) != PrintOutcome::Printed)
        return PdfPages();
    return ReadPdf(path);
}
