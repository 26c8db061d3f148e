#pragma once

// The questions and windows printing puts in front of the user. The print
// dialog takes them as a value so that tests can answer them without a person.

#include <QMessageBox>
#include <QString>

#include <functional>

class QDialog;
class QPrinter;
class QWidget;

struct PrintPrompts {
    // A modal message box with one OK button.
    std::function<void(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)> message;
    // The PDF file to print to; empty when the user cancels.
    std::function<QString(QWidget *parent, const QString &suggestion)> pdfFileName;
    // The platform's printer set-up on the printer the main window shares.
    std::function<void(QWidget *parent, QPrinter &printer)> printerSetup;
    // Whether the system has a printer to print to.
    std::function<bool()> systemHasPrinter;
    // Shows a dialog modally and returns when it closes.
    std::function<void(QDialog &dialog)> runModal;

    // The real ones: message boxes, the file dialog, the print dialog, the
    // printing service's list of printers, exec().
    static PrintPrompts system();
};

// Printer choice, paper and orientation ("Print Setup..." of the main window
// and "Setup..." of the print dialog).
void ShowPrinterSetup(QWidget *parent, QPrinter &printer);
