#include "PrintPrompts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

void ShowPrinterSetup(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QCoreApplication::translate("PrintPrompts", "Print Setup"));
    // What to print is chosen in the print dialog; here only the printer and its paper.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    // The choice is only kept for the next printout: the button prints nothing.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *confirm = buttons->button(QDialogButtonBox::Ok))
            confirm->setText(QCoreApplication::translate("PrintPrompts", "OK"));
    }
    dialog.exec();
}

PrintPrompts PrintPrompts::system()
{
    PrintPrompts prompts;
    prompts.message = [](QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text) {
        QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
        box.exec();
    };
    prompts.pdfFileName = [](QWidget *parent, const QString &suggestion) {
        QFileDialog dialog(parent, QCoreApplication::translate("PrintPrompts", "Print to PDF File"), suggestion,
                           QStringLiteral("PDF(*.pdf)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    prompts.printerSetup = ShowPrinterSetup;
    prompts.systemHasPrinter = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };
    prompts.runModal = [](QDialog &dialog) { dialog.exec(); };
    return prompts;
}
