#include "PrintTestSupport.h"

#include "DesignUnits.h"
#include "MagnifierCursor.h"
#include "PreViewFrm.h"
#include "PrintFrm.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// What the dialogs asked, and how the test answers.
struct Answers {
    QStringList messages; // "title: text"
    QString pdfPath;      // empty: the user cancels the file dialog
    QStringList pdfSuggestions;
    int setups = 0;
    std::function<void(PreViewFrm &)> preview;
    int previews = 0;
};

PrintPrompts answeredBy(Answers &answers)
{
    PrintPrompts prompts;
    prompts.message = [&answers](QWidget *, QMessageBox::Icon, const QString &title, const QString &text) {
        answers.messages << title + QStringLiteral(": ") + text;
    };
    prompts.pdfFileName = [&answers](QWidget *, const QString &suggestion) {
        answers.pdfSuggestions << suggestion;
        return answers.pdfPath;
    };
    prompts.printerSetup = [&answers](QWidget *, QPrinter &) { ++answers.setups; };
    prompts.systemHasPrinter = [] { return false; };
    prompts.runModal = [&answers](QDialog &dialog) {
        ++answers.previews;
        auto *preview = qobject_cast<PreViewFrm *>(&dialog);
        ASSERT_NE(preview, nullptr);
        preview->show();
        QApplication::processEvents();
        if (answers.preview)
            answers.preview(*preview);
    };
    return prompts;
}

template <typename T>
T *child(QWidget &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void clickOn(QWidget *widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

QRect millimetres(double left, double top, double width, double height)
{
    return QRect(MillimetresToPixels(left), MillimetresToPixels(top), MillimetresToPixels(width),
                 MillimetresToPixels(height));
}

PrintCharts samplingCharts()
{
    PrintCharts charts;
    charts.first.TopY = charts.second.TopY = 300;
    return charts;
}

struct Fixture {
    explicit Fixture(int samples) : state(NumberedRecording(samples)) {}
    ProgramState state;
    QPrinter printer{QPrinter::HighResolution};
    Answers answers;

    std::unique_ptr<PrintFrm> dialog()
    {
        auto frm = std::make_unique<PrintFrm>(
            state, [] { return samplingCharts(); }, printer, answeredBy(answers));
        frm->show();
        return frm;
    }
};

void choose(PrintFrm &frm, const char *what, const char *range)
{
    child<QRadioButton>(frm, what)->click();
    child<QRadioButton>(frm, range)->click();
}

// Rows of the list below the first one carry no ink: y from 46 of 297 down.
int inkBelowFirstRow(QWidget *picture)
{
    const QImage image = picture->grab().toImage();
    int ink = 0;
    for (int y = image.height() * 46 / 297; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

} // namespace

struct ControlCase {
    const char *name;
    const char *caption;
    QRect twips;
};

TEST(PrintFrm, ControlsCaptionsAndGeometry)
{
    Fixture f(5);
    auto frm = f.dialog();
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Print"));
    EXPECT_EQ(frm->size(), QSize(498, 210));
    const ControlCase controls[] = {
        {"L01", "Printer:", {270, 285, 705, 225}},
        {"Frame1", "Print Range", {135, 735, 2835, 2055}},
        {"VisualArea", "Visual  Area", {450, 630, 1815, 345}},
        {"AllArea", "All  Area", {450, 1170, 1815, 345}},
        {"Frame2", "Print What", {3105, 735, 2835, 2055}},
        {"FirstTrend", "First Trend Graph", {270, 450, 2130, 345}},
        {"SecondTrend", "Second Trend Graph", {270, 975, 2520, 345}},
        {"Report", "List Report", {270, 1500, 2130, 345}},
        {"Print", "Print", {6165, 360, 1185, 495}},
        {"Cancel", "Cancel", {6165, 1005, 1185, 495}},
        {"PreView", "PreView...", {6165, 1650, 1185, 495}},
        {"Setup", "Setup...", {6165, 2295, 1185, 495}},
    };
    for (const ControlCase &c : controls) {
        QWidget *widget = child<QWidget>(*frm, c.name);
        ASSERT_NE(widget, nullptr);
        const QRect &t = c.twips;
        EXPECT_EQ(widget->geometry(), TwipsRect(t.x(), t.y(), t.width(), t.height())) << c.name;
        QString caption;
        if (auto *label = qobject_cast<QLabel *>(widget))
            caption = label->text();
        else if (auto *box = qobject_cast<QGroupBox *>(widget))
            caption = box->title();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            caption = button->text();
        EXPECT_EQ(caption, QLatin1String(c.caption)) << c.name;
    }
    EXPECT_EQ(child<QRadioButton>(*frm, "FirstTrend")->parentWidget()->objectName(), QStringLiteral("Frame2"));
    EXPECT_EQ(child<QRadioButton>(*frm, "AllArea")->parentWidget()->objectName(), QStringLiteral("Frame1"));
    EXPECT_TRUE(child<QRadioButton>(*frm, "FirstTrend")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(*frm, "VisualArea")->isChecked());
    EXPECT_TRUE(child<QPushButton>(*frm, "Print")->isDefault());
    EXPECT_EQ(child<QLabel>(*frm, "L02")->text(), QStringLiteral("PDF file")); // no printer on this machine
}

TEST(PrintFrm, EmptyRecordingPrintShowsTheMessageAndCloses)
{
    Fixture f(0);
    auto frm = f.dialog();
    child<QPushButton>(*frm, "Print")->click();
    EXPECT_EQ(f.answers.messages, QStringList({QStringLiteral("Waring: No data for print!!")}));
    EXPECT_FALSE(frm->isVisible());
    EXPECT_TRUE(f.answers.pdfSuggestions.isEmpty());
}

TEST(PrintFrm, EmptyRecordingPreviewShowsTheMessageAndStaysOpen)
{
    Fixture f(0);
    auto frm = f.dialog();
    child<QPushButton>(*frm, "PreView")->click();
    EXPECT_EQ(f.answers.messages, QStringList({QStringLiteral("Waring: No data for print!!")}));
    EXPECT_TRUE(frm->isVisible());
    EXPECT_EQ(f.answers.previews, 0);
}

TEST(PrintFrm, WithoutPrinterPrintsToTheChosenPdfFile)
{
    QTemporaryDir dir;
    Fixture f(81);
    f.state.RecordFileName = dir.filePath(QStringLiteral("feeder.KRD"));
    f.answers.pdfPath = dir.filePath(QStringLiteral("report.pdf"));
    auto frm = f.dialog();
    choose(*frm, "Report", "AllArea");
    child<QPushButton>(*frm, "Print")->click();
    EXPECT_EQ(f.answers.pdfSuggestions, QStringList({dir.filePath(QStringLiteral("feeder.pdf"))}));
    EXPECT_FALSE(frm->isVisible());
    const PdfPages pdf = ReadPdf(f.answers.pdfPath);
    ASSERT_TRUE(pdf.ok);
    EXPECT_EQ(pdf.pageCount, 3);
    EXPECT_TRUE(f.answers.messages.isEmpty());
}

TEST(PrintFrm, LongPrintoutShowsItsProgressAndCanBeCancelled)
{
    for (const bool cancel : {false, true}) {
        QTemporaryDir dir;
        Fixture f(200); // five list pages
        f.answers.pdfPath = dir.filePath(QStringLiteral("long.pdf"));
        auto frm = f.dialog();
        choose(*frm, "Report", "AllArea");
        // The progress dialog lets events through while the pages are drawn.
        int seen = 0;
        QTimer::singleShot(0, frm.get(), [&] {
            if (auto *progress = frm->findChild<QProgressDialog *>()) {
                ++seen;
                EXPECT_EQ(progress->maximum(), 5);
                if (cancel)
                    progress->cancel();
            }
        });
        child<QPushButton>(*frm, "Print")->click();
        EXPECT_EQ(seen, 1) << cancel;
        EXPECT_EQ(QFile::exists(f.answers.pdfPath), !cancel);
        if (!cancel) {
            EXPECT_EQ(PdfPageCount(f.answers.pdfPath), 5);
        }
        EXPECT_TRUE(f.answers.messages.isEmpty()) << qPrintable(f.answers.messages.join(QLatin1Char('\n')));
        EXPECT_EQ(frm->findChild<QProgressDialog *>(), nullptr);
        // The shared printer prints again after a cancelled printout.
        auto again = f.dialog();
        choose(*again, "Report", "AllArea");
        child<QPushButton>(*again, "Print")->click();
        EXPECT_EQ(PdfPageCount(f.answers.pdfPath), 5) << cancel;
    }
}

TEST(PrintFrm, CancellingTheFileChoicePrintsNothing)
{
    QTemporaryDir dir;
    Fixture f(10);
    auto frm = f.dialog();
    child<QPushButton>(*frm, "Print")->click();
    EXPECT_EQ(f.answers.pdfSuggestions.size(), 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(frm->isVisible());
}

TEST(PrintFrm, UnwritablePdfIsReported)
{
    QTemporaryDir dir;
    Fixture f(10);
    f.answers.pdfPath = dir.filePath(QStringLiteral("missing/folder/out.pdf"));
    auto frm = f.dialog();
    child<QPushButton>(*frm, "Print")->click();
    ASSERT_EQ(f.answers.messages.size(), 1);
    EXPECT_TRUE(f.answers.messages[0].startsWith(QLatin1String("Ampero: The printout could not be written")));
}

TEST(PrintFrm, SetupOpensThePrinterSetUp)
{
    Fixture f(1);
    auto frm = f.dialog();
    child<QPushButton>(*frm, "Setup")->click();
    child<QPushButton>(*frm, "Setup")->click();
    EXPECT_EQ(f.answers.setups, 2);
    EXPECT_TRUE(frm->isVisible());
    child<QPushButton>(*frm, "Cancel")->click();
    EXPECT_FALSE(frm->isVisible());
}

TEST(PrintSetup, TheConfirmButtonSaysOKForItPrintsNothing)
{
    QPrinter printer;
    QString title;
    QStringList buttonTexts;
    QString confirmText;
    bool confirmIsDefault = false;
    // The dialog runs modally as from the menu; the test looks at it once it is up, then cancels it.
    QTimer look;
    look.setInterval(20);
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        look.stop();
        title = dialog->windowTitle();
        if (auto *buttons = dialog->findChild<QDialogButtonBox *>()) {
            for (QAbstractButton *button : buttons->buttons())
                buttonTexts << button->text();
            if (auto *confirm = qobject_cast<QPushButton *>(buttons->button(QDialogButtonBox::Ok))) {
                confirmText = confirm->text();
                confirmIsDefault = confirm->isDefault();
            }
        }
        dialog->reject();
    });
    look.start();
    ShowPrinterSetup(nullptr, printer);
    EXPECT_EQ(title, QStringLiteral("Print Setup"));
    EXPECT_EQ(confirmText, QStringLiteral("OK"));
    EXPECT_TRUE(confirmIsDefault);
    const QString buttons = buttonTexts.join(QLatin1Char('|'));
    EXPECT_FALSE(buttons.contains(QLatin1String("Print"))) << qPrintable(buttons);
}

TEST(PreViewFrm, ListPageButtonsFollowThePages)
{
    struct Case {
        int samples;
        bool pageDownAtStart;
    };
    for (const Case c : {Case{40, false}, Case{41, true}}) {
        Fixture f(c.samples);
        bool checked = false;
        f.answers.preview = [&](PreViewFrm &preview) {
            auto *pageUp = child<QPushButton>(preview, "PageUp");
            auto *pageDown = child<QPushButton>(preview, "PageDown");
            auto *picture = child<QWidget>(preview, "P01");
            EXPECT_FALSE(pageUp->isEnabled()) << c.samples;
            EXPECT_EQ(pageDown->isEnabled(), c.pageDownAtStart) << c.samples;
            EXPECT_GT(inkBelowFirstRow(picture), 0);
            if (c.pageDownAtStart) {
                pageDown->click();
                EXPECT_TRUE(pageUp->isEnabled());
                EXPECT_FALSE(pageDown->isEnabled());
                EXPECT_EQ(inkBelowFirstRow(picture), 0); // page 2 lists sample 41 only
                pageUp->click();
                EXPECT_FALSE(pageUp->isEnabled());
                EXPECT_TRUE(pageDown->isEnabled());
                EXPECT_GT(inkBelowFirstRow(picture), 0);
            }
            checked = true;
        };
        auto frm = f.dialog();
        choose(*frm, "Report", "AllArea");
        child<QPushButton>(*frm, "PreView")->click();
        EXPECT_TRUE(checked);
        EXPECT_TRUE(frm->isVisible()); // the dialog stays when the preview closes
    }
}

TEST(PreViewFrm, VisibleAreaHasNoPaging)
{
    for (const char *what : {"FirstTrend", "SecondTrend", "Report"}) {
        Fixture f(300);
        f.state.view.ViewFirst = 20;
        f.state.view.ViewLast = 80;
        f.answers.preview = [&](PreViewFrm &preview) {
            EXPECT_FALSE(child<QPushButton>(preview, "PageUp")->isEnabled()) << what;
            EXPECT_FALSE(child<QPushButton>(preview, "PageDown")->isEnabled()) << what;
        };
        auto frm = f.dialog();
        choose(*frm, what, "VisualArea");
        child<QPushButton>(*frm, "PreView")->click();
        EXPECT_EQ(f.answers.previews, 1);
        EXPECT_EQ(f.state.view.ViewFirst, 20);
        EXPECT_EQ(f.state.view.ViewLast, 80);
    }
}

TEST(PreViewFrm, TrendPagesShareTheirEndSamples)
{
    Fixture f(250);
    f.answers.preview = [&](PreViewFrm &preview) {
        auto *pageUp = child<QPushButton>(preview, "PageUp");
        auto *pageDown = child<QPushButton>(preview, "PageDown");
        const SampleRange &view = preview.Pages().Current().samples;
        EXPECT_EQ(std::make_pair(view.first, view.last), std::make_pair(1, 101));
        EXPECT_FALSE(pageUp->isEnabled());
        EXPECT_TRUE(pageDown->isEnabled());
        pageDown->click();
        EXPECT_EQ(std::make_pair(view.first, view.last), std::make_pair(101, 201));
        EXPECT_TRUE(pageUp->isEnabled());
        pageDown->click();
        EXPECT_EQ(std::make_pair(view.first, view.last), std::make_pair(201, 250));
        EXPECT_FALSE(pageDown->isEnabled());
        pageUp->click();
        EXPECT_EQ(std::make_pair(view.first, view.last), std::make_pair(101, 201));
        EXPECT_TRUE(pageDown->isEnabled());
        pageUp->click();
        EXPECT_EQ(std::make_pair(view.first, view.last), std::make_pair(1, 101));
        EXPECT_FALSE(pageUp->isEnabled());
    };
    auto frm = f.dialog();
    choose(*frm, "FirstTrend", "AllArea");
    child<QPushButton>(*frm, "PreView")->click();
    EXPECT_EQ(f.answers.previews, 1);
    // Paging the preview leaves the window of the charts alone.
    EXPECT_EQ(std::make_pair(f.state.view.ViewFirst, f.state.view.ViewLast), std::make_pair(1, 250));
}

TEST(PreViewFrm, PagingAGapWiderThanTheChartMovesOn)
{
    Fixture f(4);
    f.state.view.TimeMode = true;
    const float seconds[] = {0, 1000, 2000, 3000};
    for (int i = 1; i <= 4; ++i)
        f.state.store.Samples[std::size_t(i)].Seconds = seconds[i - 1];
    f.answers.preview = [&](PreViewFrm &preview) {
        auto *pageDown = child<QPushButton>(preview, "PageDown");
        const SampleRange &shown = preview.Pages().Current().samples;
        EXPECT_EQ(shown.last, 2);
        pageDown->click();
        pageDown->click();
        EXPECT_EQ(std::make_pair(shown.first, shown.last), std::make_pair(3, 4));
        EXPECT_FALSE(pageDown->isEnabled());
    };
    auto frm = f.dialog();
    choose(*frm, "SecondTrend", "AllArea");
    child<QPushButton>(*frm, "PreView")->click();
    EXPECT_EQ(f.answers.previews, 1);
}

struct ViewCase {
    const char *name;
    QPageLayout::Orientation orientation;
    QRect half, full; // millimetres: left, top, width, height
    int vMax, hMax;
};

TEST(PreViewFrm, ClickSwitchesBetweenHalfAndFullSizeAndScrolls)
{
    const ViewCase cases[] = {
        {"portrait", QPageLayout::Portrait, {25, 2, 105, 150}, {5, 2, 210, 297}, 150, 65},
        {"landscape", QPageLayout::Landscape, {5, 25, 150, 105}, {5, 5, 297, 210}, 65, 150},
    };
    for (const ViewCase &c : cases) {
        Fixture f(10);
        f.printer.setPageOrientation(c.orientation);
        f.answers.preview = [&](PreViewFrm &preview) {
            EXPECT_EQ(preview.windowTitle(), QStringLiteral("Print"));
            EXPECT_EQ(preview.size(), QSize(746, 614));
            auto *p00 = child<QWidget>(preview, "P00");
            auto *picture = child<QWidget>(preview, "P01");
            auto *hScroll = child<QScrollBar>(preview, "HScroll1");
            auto *vScroll = child<QScrollBar>(preview, "VScroll1");
            EXPECT_EQ(p00->geometry(), TwipsRect(255, 120, 9045, 8760));
            EXPECT_EQ(p00->palette().color(QPalette::Window), QColor(128, 128, 128));
            EXPECT_EQ(picture->parentWidget(), p00);
            EXPECT_EQ(child<QPushButton>(preview, "Cancel")->text(), QStringLiteral("Close"));
            const QRect half = millimetres(c.half.x(), c.half.y(), c.half.width(), c.half.height());
            const QRect full = millimetres(c.full.x(), c.full.y(), c.full.width(), c.full.height());
            EXPECT_EQ(picture->geometry(), half) << c.name;
            EXPECT_FALSE(hScroll->isEnabled());
            EXPECT_FALSE(vScroll->isEnabled());

            clickOn(picture);
            EXPECT_EQ(picture->geometry(), full) << c.name;
            EXPECT_TRUE(hScroll->isEnabled());
            EXPECT_TRUE(vScroll->isEnabled());
            EXPECT_EQ(vScroll->maximum(), c.vMax) << c.name;
            EXPECT_EQ(hScroll->maximum(), c.hMax) << c.name;
            EXPECT_EQ(hScroll->value(), 0);
            EXPECT_EQ(vScroll->value(), 0);

            // Scrolling right by 10 moves the page 10 mm to the left; then down by 20.
            hScroll->setValue(10);
            EXPECT_EQ(picture->geometry(), millimetres(c.full.x() - 10, c.full.y(), c.full.width(), c.full.height()));
            hScroll->setValue(4);
            vScroll->setValue(20);
            EXPECT_EQ(picture->geometry(),
                      millimetres(c.full.x() - 4, c.full.y() - 20, c.full.width(), c.full.height()));

            clickOn(picture);
            EXPECT_EQ(picture->geometry(), half) << c.name;
            EXPECT_FALSE(hScroll->isEnabled());
            // Full size again starts unscrolled.
            clickOn(picture);
            EXPECT_EQ(picture->geometry(), full) << c.name;
            EXPECT_EQ(hScroll->value(), 0);
            EXPECT_EQ(vScroll->value(), 0);
        };
        auto frm = f.dialog();
        child<QPushButton>(*frm, "PreView")->click();
        EXPECT_EQ(f.answers.previews, 1);
    }
}

TEST(PreViewFrm, PrintPrintsEveryPageAndStaysOnItsPage)
{
    QTemporaryDir dir;
    Fixture f(100);
    f.answers.pdfPath = dir.filePath(QStringLiteral("all.pdf"));
    f.answers.preview = [&](PreViewFrm &preview) {
        auto *pageDown = child<QPushButton>(preview, "PageDown");
        pageDown->click();
        pageDown->click();
        EXPECT_FALSE(pageDown->isEnabled()); // page 3 of 3
        child<QPushButton>(preview, "Print")->click();
        EXPECT_TRUE(preview.isVisible());
        EXPECT_FALSE(pageDown->isEnabled());
        EXPECT_TRUE(child<QPushButton>(preview, "PageUp")->isEnabled());
    };
    auto frm = f.dialog();
    choose(*frm, "Report", "AllArea");
    child<QPushButton>(*frm, "PreView")->click();
    const PdfPages pdf = ReadPdf(f.answers.pdfPath);
    ASSERT_TRUE(pdf.ok);
    EXPECT_EQ(pdf.pageCount, 3);
    EXPECT_TRUE(frm->isVisible());
}

TEST(PreViewFrm, PrintingTrendPagesKeepsThePreviewedWindow)
{
    QTemporaryDir dir;
    Fixture f(250);
    f.answers.pdfPath = dir.filePath(QStringLiteral("trend.pdf"));
    f.answers.preview = [&](PreViewFrm &preview) {
        child<QPushButton>(preview, "PageDown")->click();
        child<QPushButton>(preview, "Print")->click();
        const SampleRange &shown = preview.Pages().Current().samples;
        EXPECT_EQ(std::make_pair(shown.first, shown.last), std::make_pair(101, 201));
    };
    auto frm = f.dialog();
    choose(*frm, "FirstTrend", "AllArea");
    child<QPushButton>(*frm, "PreView")->click();
    const PdfPages pdf = ReadPdf(f.answers.pdfPath);
    ASSERT_TRUE(pdf.ok);
    EXPECT_EQ(pdf.pageCount, 3);
}

TEST(PreViewFrm, PageCarriesAMagnifyingGlassCursor)
{
    Fixture f(3);
    f.answers.preview = [&](PreViewFrm &preview) {
        const QCursor cursor = child<QWidget>(preview, "P01")->cursor();
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), QPoint(12, 12));
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    };
    auto frm = f.dialog();
    child<QPushButton>(*frm, "PreView")->click();
    EXPECT_EQ(f.answers.previews, 1);

    const QImage glass = MagnifierPixmap().toImage();
    EXPECT_EQ(qAlpha(glass.pixel(0, 31)), 0); // transparent corner
    EXPECT_EQ(qAlpha(glass.pixel(31, 0)), 0);
    EXPECT_LT(qGray(glass.pixel(20, 12)), 64); // the black ring, 8 right of the centre
    EXPECT_GT(qAlpha(glass.pixel(20, 12)), 200);
    EXPECT_GT(qGray(glass.pixel(12, 12)), 180); // pale glass at the hot spot
    EXPECT_GT(qAlpha(glass.pixel(12, 12)), 100);
    EXPECT_LT(qGray(glass.pixel(25, 25)), 64); // the handle
}
