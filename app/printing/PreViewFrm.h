#pragma once

// The print preview: one page of the printout at a time, on a page picture in
// a grey viewport, at half size to fit or at full size with scroll bars (a
// click on the page switches), with paging through the whole recording and a
// Print button that prints as the dialog would.

#include "PrintChart.h"
#include "PrintPages.h"
#include "ProgramState.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QPainter;
class QPrinter;
class QPushButton;
class QScrollBar;
class QWidget;

class PreViewFrm : public QDialog {
    Q_OBJECT
public:
    // `selection` is the print dialog's, which stays as it is while the
    // preview is open; `print` prints it. The printer gives the orientation of
    // the page. The visible window of the charts is only read.
    PreViewFrm(const ProgramState &state, PrintSelection selection, const PrintCharts &charts, const QPrinter &printer,
               std::function<void()> print, QWidget *parent = nullptr);

    // The pages and the one shown.
    const PageBrowser &Pages() const { return pages_; }

private:
    void Form_Load();
    void P01_Paint(QPainter &painter);
    void P01_Click();
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);
    void PageUp_Click();
    void PageDown_Click();
    void Print_Click();

    void showHalfSize();
    void showFullSize();
    void placePicture();
    void showPageButtons();
    bool portrait() const;

    const ProgramState &state_;
    PrintCharts charts_;
    PageBrowser pages_;
    const QPrinter &printer_;
    std::function<void()> print_;

    QWidget *P00;
    QWidget *P01;
    QScrollBar *HScroll1;
    QScrollBar *VScroll1;
    QGroupBox *Frame1;
    QPushButton *Print;
    QPushButton *Cancel;
    QPushButton *PageUp;
    QPushButton *PageDown;

    // The page picture inside the viewport, in millimetres.
    double top_ = 0;
    double left_ = 0;
    double height_ = 0;
    double width_ = 0;
    double textSize_ = 0;
    int lineWidth_ = 1;
    int lastHScroll_ = 0;
    int lastVScroll_ = 0;
};
