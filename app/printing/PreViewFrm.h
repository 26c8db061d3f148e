#pragma once

// The print preview: one page of the printout at a time, on a page picture in
// a grey viewport, at half size to fit or at full size with scroll bars (a
// click on the page switches), with paging through the whole recording and a
// Print button that prints as the dialog would.

#include "PrintChart.h"
#include "PrintSelection.h"
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
    // `selection` is the print dialog's, read at every paint; `print` prints it.
    // The printer gives the orientation of the page.
    PreViewFrm(ProgramState &state, std::function<PrintSelection()> selection, std::function<PrintCharts()> charts,
               const QPrinter &printer, std::function<void()> print, QWidget *parent = nullptr);

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
    float pagingRightx() const;
    bool portrait() const;

    ProgramState &state_;
    std::function<PrintSelection()> selection_;
    std::function<PrintCharts()> charts_;
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
    // Page of the whole-recording list.
    std::int32_t listPage_ = 1;
};
