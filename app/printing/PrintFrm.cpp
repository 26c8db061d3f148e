#include "PrintFrm.h"

#include "DesignUnits.h"
#include "PreViewFrm.h"
#include "Printout.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace {

// Printouts of more pages than this show their progress and can be cancelled.
constexpr int QuietPageCount = 3;

template <typename Control>
Control *control(QWidget *parent, const char *name, const QString &caption, const QRect &twips)
{
    auto *widget = new Control(caption, parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twips);
    return widget;
}

QFont designFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

PrintFrm::PrintFrm(ProgramState &state, std::function<PrintCharts()> charts, QPrinter &printer, PrintPrompts prompts,
                   QWidget *parent)
    : QDialog(parent), state_(state), charts_(std::move(charts)), printer_(printer), prompts_(std::move(prompts))
{
    setObjectName(QStringLiteral("PrintFrm"));
    setWindowTitle(tr("Print"));
    setFixedSize(TwipsToPixels(7470), TwipsToPixels(3150));

    L01 = control<QLabel>(this, "L01", tr("Printer:"), TwipsRect(270, 285, 705, 225));
    L02 = control<QLabel>(this, "L02", tr("Printer name"), TwipsRect(1110, 285, 1215, 240));
    Frame1 = control<QGroupBox>(this, "Frame1", tr("Print Range"), TwipsRect(135, 735, 2835, 2055));
    VisualArea = control<QRadioButton>(Frame1, "VisualArea", tr("Visual  Area"), TwipsRect(450, 630, 1815, 345));
    AllArea = control<QRadioButton>(Frame1, "AllArea", tr("All  Area"), TwipsRect(450, 1170, 1815, 345));
    Frame2 = control<QGroupBox>(this, "Frame2", tr("Print What"), TwipsRect(3105, 735, 2835, 2055));
    FirstTrend = control<QRadioButton>(Frame2, "FirstTrend", tr("First Trend Graph"), TwipsRect(270, 450, 2130, 345));
    SecondTrend =
        control<QRadioButton>(Frame2, "SecondTrend", tr("Second Trend Graph"), TwipsRect(270, 975, 2520, 345));
    Report = control<QRadioButton>(Frame2, "Report", tr("List Report"), TwipsRect(270, 1500, 2130, 345));
    Print = control<QPushButton>(this, "Print", tr("Print"), TwipsRect(6165, 360, 1185, 495));
    Cancel = control<QPushButton>(this, "Cancel", tr("Cancel"), TwipsRect(6165, 1005, 1185, 495));
    PreView = control<QPushButton>(this, "PreView", tr("PreView..."), TwipsRect(6165, 1650, 1185, 495));
    Setup = control<QPushButton>(this, "Setup", tr("Setup..."), TwipsRect(6165, 2295, 1185, 495));

    for (QWidget *widget : {static_cast<QWidget *>(L01), static_cast<QWidget *>(L02), static_cast<QWidget *>(Frame1),
                            static_cast<QWidget *>(Frame2)})
        widget->setFont(designFont());
    VisualArea->setChecked(true);
    FirstTrend->setChecked(true);
    Print->setDefault(true);
    Print->setAutoDefault(true);

    connect(Print, &QPushButton::clicked, this, &PrintFrm::Print_Click);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(PreView, &QPushButton::clicked, this, &PrintFrm::PreView_Click);
    connect(Setup, &QPushButton::clicked, this, &PrintFrm::Setup_Click);
    Form_Load();
}

void PrintFrm::Form_Load()
{
    const QString name = printer_.printerName();
    L02->setText(!name.isEmpty() && printer_.outputFormat() == QPrinter::NativeFormat ? name : tr("PDF file"));
}

void PrintFrm::Print_Click()
{
    ToPrint(true);
    accept();
}

void PrintFrm::PreView_Click()
{
    ToPrint(false);
}

void PrintFrm::Setup_Click()
{
    prompts_.printerSetup(this, printer_);
}

PrintSelection PrintFrm::selection() const
{
    PrintSelection selection;
    selection.what = FirstTrend->isChecked()    ? PrintWhat::FirstTrend
                     : SecondTrend->isChecked() ? PrintWhat::SecondTrend
                                                : PrintWhat::Report;
    selection.range = VisualArea->isChecked() ? PrintRange::VisualArea : PrintRange::AllArea;
    return selection;
}

void PrintFrm::ToPrint(bool blnPrint)
{
    if (state_.store.SampleCount == 0) {
        prompts_.message(this, QMessageBox::Information, tr("Waring"), tr("No data for print!!"));
        return;
    }
    if (!blnPrint) {
        // The preview is modal over this dialog: the selection stays as it is while it is open.
        PreViewFrm preview(
            state_, selection(), charts_(), printer_, [this] { ToPrint(true); }, this);
        prompts_.runModal(preview);
        return;
    }
    printOut();
}

QString PrintFrm::pdfSuggestion() const
{
    if (!printer_.outputFileName().isEmpty())
        return printer_.outputFileName();
    if (!state_.RecordFileName.isEmpty()) {
        const QFileInfo record(state_.RecordFileName);
        return record.dir().filePath(record.completeBaseName() + QStringLiteral(".pdf"));
    }
    return QDir::home().filePath(QStringLiteral("Ampero.pdf"));
}

void PrintFrm::printOut()
{
    const PrintSelection chosen = selection();
    const PrintCharts charts = charts_();
    const int pages = PageBrowser(state_, chosen, charts).PageCount();
    if (pages == 0)
        return;
    // Without a printer the printout goes to a PDF file the user names.
    const bool toPdf = printer_.outputFormat() == QPrinter::PdfFormat || !prompts_.systemHasPrinter();
    if (toPdf) {
        const QString fileName = prompts_.pdfFileName(this, pdfSuggestion());
        if (fileName.isEmpty())
            return;
        PrintToPdfFile(printer_, fileName);
    }

    std::unique_ptr<QProgressDialog> progressDialog;
    PageProgress progress;
    if (pages > QuietPageCount) {
        progressDialog = std::make_unique<QProgressDialog>(tr("Printing..."), tr("Cancel"), 0, pages, this);
        progressDialog->setWindowTitle(tr("Print"));
        progressDialog->setWindowModality(Qt::WindowModal);
        progressDialog->setMinimumDuration(0);
        progressDialog->setValue(0);
        progress = [&](int done) {
            progressDialog->setLabelText(tr("Page %1 of %2 printed").arg(done).arg(pages));
            progressDialog->setValue(done);
            return !progressDialog->wasCanceled();
        };
    }
    const PrintOutcome outcome = PrintOnPrinter(printer_, state_, chosen, charts, progress);
    progressDialog.reset();
    if (outcome == PrintOutcome::NotStarted || outcome == PrintOutcome::Failed) {
        const QString text = toPdf ? tr("The printout could not be written to %1.")
                                         .arg(QDir::toNativeSeparators(printer_.outputFileName()))
                                   : tr("The printer %1 did not accept the printout.").arg(printer_.printerName());
        prompts_.message(this, QMessageBox::Warning, QStringLiteral("Ampero"), text);
    }
}
