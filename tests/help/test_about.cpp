// The About box and the application icon.

#include "AmperoIcon.h"
#include "ProgramVersion.h"
#include "frmAbout.h"

#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString LabelText(frmAbout &box, const char *name)
{
    const QLabel *label = box.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

// Opens the box modally, as the Help menu does, and returns its version line
// and caption while it is open.
std::pair<QString, QString> OpenAndClose(frmAbout &box)
{
    std::pair<QString, QString> shown;
    QTimer::singleShot(0, &box, [&box, &shown] {
        shown = {LabelText(box, "lblVersion"), box.windowTitle()};
        box.accept();
    });
    box.exec();
    return shown;
}

struct VersionRow {
    const char *name;
    ProgramVersion version;
    const char *line;
};

const VersionRow VersionRows[] = {
    {"first release", {1, 0, 0}, "Version 1.0.0"},
    {"two-digit revision without leading zeros", {1, 0, 12}, "Version 1.0.12"},
    {"every part above nine", {2, 10, 105}, "Version 2.10.105"},
    {"no digit grouping in a large revision", {1, 0, 1234}, "Version 1.0.1234"},
    {"all zero", {0, 0, 0}, "Version 0.0.0"},
};

TEST(VersionText, ThreePlainNumbers)
{
    for (const VersionRow &row : VersionRows)
        EXPECT_EQ(VersionText(row.version), QLatin1String(row.line)) << row.name;
}

TEST(VersionText, IndependentOfTheUsersLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const VersionRow &row : VersionRows)
        EXPECT_EQ(VersionText(row.version), QLatin1String(row.line)) << row.name;
    QLocale::setDefault(previous);
}

TEST(AboutBox, ShowsTheGivenVersionWhenOpened)
{
    for (const VersionRow &row : VersionRows) {
        frmAbout box(row.version);
        EXPECT_EQ(LabelText(box, "lblVersion"), QStringLiteral("Version")) << "before the first opening";
        const auto [versionLine, caption] = OpenAndClose(box);
        EXPECT_EQ(versionLine, QLatin1String(row.line)) << row.name;
        EXPECT_EQ(caption, QStringLiteral("About Ampero")) << row.name;
    }
}

TEST(AboutBox, DefaultsToTheBuildsVersion)
{
    frmAbout box;
    EXPECT_EQ(OpenAndClose(box).first, QStringLiteral("Version " AMPERO_PROJECT_VERSION));
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("Ampero"));
}

TEST(AboutBox, TitleDescriptionAndIcon)
{
    frmAbout box;
    EXPECT_EQ(LabelText(box, "lblTitle"), QStringLiteral("Ampero Clamp"));
    EXPECT_FALSE(LabelText(box, "lblDescription").isEmpty());
    const QLabel *icon = box.findChild<QLabel *>(QStringLiteral("imgIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_FALSE(box.windowIcon().isNull());
    EXPECT_TRUE(box.isModal());
}

bool Near(QRgb pixel, QRgb expected)
{
    return qAlpha(pixel) == 255 && qAbs(qRed(pixel) - qRed(expected)) < 24 &&
           qAbs(qGreen(pixel) - qGreen(expected)) < 24 && qAbs(qBlue(pixel) - qBlue(expected)) < 24;
}

TEST(AmperoIcon, RendersTheDrawing)
{
    const QIcon icon = AmperoIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_GE(icon.availableSizes().size(), 6);

    // Points of the 128-unit drawing, looked up in a 64-pixel rendering.
    const QImage image = icon.pixmap(64, 64).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(64, 64));
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0) << "transparent corner";
    EXPECT_TRUE(Near(image.pixel(32, 18), qRgb(0xd9, 0x82, 0x3b))) << "copper conductor in the jaw";
    EXPECT_TRUE(Near(image.pixel(18, 53), qRgb(0xf2, 0xa5, 0x1c))) << "meter body";
    EXPECT_TRUE(Near(image.pixel(22, 35), qRgb(0x16, 0x23, 0x2b))) << "display";
    int trendPixels = 0;
    for (int y = 34; y < 49; ++y) {
        for (int x = 21; x < 43; ++x)
            trendPixels += qGreen(image.pixel(x, y)) > 160 && qRed(image.pixel(x, y)) < 140;
    }
    EXPECT_GT(trendPixels, 15) << "green trend line on the display";
}

} // namespace
