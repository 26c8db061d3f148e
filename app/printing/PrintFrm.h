#pragma once

// The print dialog: what to print (either trend graph or the list report),
// over which range (the visible window or the whole recording), and the
// buttons to print, preview and set up the printer. ToPrint is the one way
// every printout and preview goes.

#include "PrintChart.h"
#include "PrintPrompts.h"
#include "PrintSelection.h"
#include "ProgramState.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;

class PrintFrm : public QDialog {
    Q_OBJECT
public:
    // The charts are read through `charts` at the moment a page is drawn.
    // The printer is the main window's, shared with its "Print Setup...".
    PrintFrm(ProgramState &state, std::function<PrintCharts()> charts, QPrinter &printer,
             PrintPrompts prompts = PrintPrompts::system(), QWidget *parent = nullptr);

    // Prints the selection (blnPrint) or shows its preview.
    void ToPrint(bool blnPrint);

private:
    void Form_Load();
    void Print_Click();
    void PreView_Click();
    void Setup_Click();
    PrintSelection selection() const;
    void printOut();
    QString pdfSuggestion() const;

    ProgramState &state_;
    std::function<PrintCharts()> charts_;
    QPrinter &printer_;
    PrintPrompts prompts_;

    QLabel *L01;
    QLabel *L02;
    QGroupBox *Frame1;
    QRadioButton *VisualArea;
    QRadioButton *AllArea;
    QGroupBox *Frame2;
    QRadioButton *FirstTrend;
    QRadioButton *SecondTrend;
    QRadioButton *Report;
    QPushButton *Print;
    QPushButton *Cancel;
    QPushButton *PreView;
    QPushButton *Setup;
};
