// Renders a sheet of LED widgets at several sizes to a PNG, to look at.
// Usage: led_sheet <output.png>

#include <LED.h>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <vector>

namespace {

struct SheetRow {
    const char *caption;
    qint32 bitNumber;
};

struct SheetSize {
    int width;
    int height;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: led_sheet <output.png>\n");
        return 2;
    }

    const std::vector<SheetRow> rows = {{"8.8.8.8", 4}, {"88:88", 4}, {"00", 2},
                                        {" 0L ", 4},    {"12.35", 4}, {"230.1", 4}};
    const std::vector<SheetSize> sizes = {{400, 150}, {240, 90}, {120, 45}};
    // Red on black as on the main window, and the bag's own black on white.
    const OleColor schemes[][2] = {{0x0000FF, 0x000000}, {0x000000, 0xFFFFFF}};

    QWidget sheet;
    sheet.setStyleSheet(QStringLiteral("background: #c0c0c0"));
    auto *grid = new QGridLayout(&sheet);
    grid->setSpacing(8);
    int row = 0;
    for (const SheetRow &text : rows) {
        grid->addWidget(
            new QLabel(QStringLiteral("\"%1\" (%2 cells)").arg(QLatin1String(text.caption)).arg(text.bitNumber)), row,
            0);
        int column = 1;
        for (const SheetSize &size : sizes) {
            for (const auto &scheme : schemes) {
                auto *led = new LEDCtl1::LED;
                led->setFixedSize(size.width, size.height);
                // Strokes (half of SegWidth) about a fifth of the digit width, whatever the size.
                const float millimetres = float(size.width) * 25.4f / float(led->logicalDpiX());
                const qint32 segWidth = qMax(1, qRound(0.8f * millimetres / float(3 * text.bitNumber + 1)));
                PropertyBag bag;
                bag.WriteProperty(QStringLiteral("ForeColor"), scheme[0]);
                bag.WriteProperty(QStringLiteral("BackColor"), scheme[1]);
                bag.WriteProperty(QStringLiteral("Caption"), QLatin1String(text.caption));
                bag.WriteProperty(QStringLiteral("SegWidth"), segWidth);
                bag.WriteProperty(QStringLiteral("Interval"), qMax(1, segWidth / 4));
                bag.WriteProperty(QStringLiteral("CharCounter"), text.bitNumber);
                led->ReadProperties(bag);
                grid->addWidget(led, row, column++, Qt::AlignLeft | Qt::AlignTop);
            }
        }
        ++row;
    }
    sheet.adjustSize();
    if (!sheet.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "led_sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
