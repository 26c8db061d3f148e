// The Help window: the manual beside the program, read again at every opening.

#include "HelpFrm.h"
#include "ReadmeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QPlainTextEdit *HelpTextOf(HelpFrm &window)
{
    return window.findChild<QPlainTextEdit *>(QStringLiteral("HelpText"));
}

// Opens the window modally, as the Help menu does, and returns what the box
// shows while it is open.
QString OpenAndClose(HelpFrm &window)
{
    QString shown;
    QTimer::singleShot(0, &window, [&window, &shown] {
        shown = HelpTextOf(window)->toPlainText();
        window.reject();
    });
    window.exec();
    return shown;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class HelpWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    QString readme() const { return folder.path() + QStringLiteral("/Readme.txt"); }

    QTemporaryDir folder;
};

TEST_F(HelpWindow, CaptionReadOnlyBoxAndInitialText)
{
    HelpFrm window(folder.path());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Help"));
    QPlainTextEdit *box = HelpTextOf(window);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(box->toPlainText(), QStringLiteral("RichTextBox1"));
    EXPECT_FALSE(window.windowIcon().isNull());
}

struct ManualRow {
    const char *name;
    QByteArray bytes;
    QString shown;
};

TEST_F(HelpWindow, ShowsTheFileAsItIs)
{
    const ManualRow rows[] = {
        {"several lines", "AMPERO\n\n1. Connecting the meter\n   19200 baud, 8N1\n",
         QStringLiteral("AMPERO\n\n1. Connecting the meter\n   19200 baud, 8N1\n")},
        {"UTF-8 phase texts",
         "Note column: \xd0\xa4"
         "1, \xe2\x88\x91W, W3\xd0\xa4\n",
         QStringLiteral("Note column: \u04241, \u2211W, W3\u0424\n")},
        {"CR LF line ends", "first\r\nsecond\r\n", QStringLiteral("first\nsecond\n")},
        {"an empty manual is shown empty", "", QString()},
    };
    for (const ManualRow &row : rows) {
        WriteFile(readme(), row.bytes);
        HelpFrm window(folder.path());
        EXPECT_EQ(OpenAndClose(window), row.shown) << row.name;
    }
}

TEST_F(HelpWindow, ReloadsTheFileAtEveryOpening)
{
    HelpFrm window(folder.path());
    WriteFile(readme(), "First edition of the manual.\n");
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("First edition of the manual.\n"));

    WriteFile(readme(), "Second edition, with a chapter on printing.\n");
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("Second edition, with a chapter on printing.\n"));
}

TEST_F(HelpWindow, MissingManualLeavesTheInitialText)
{
    HelpFrm window(folder.path());
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("RichTextBox1"));
}

TEST_F(HelpWindow, ManualRemovedBetweenOpeningsShowsTheInitialTextAgain)
{
    HelpFrm window(folder.path());
    WriteFile(readme(), "Still here.\n");
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("Still here.\n"));

    ASSERT_TRUE(QFile::remove(readme()));
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("RichTextBox1"));
}

TEST_F(HelpWindow, FolderNamedLikeTheManualIsNotShown)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Readme.txt")));
    HelpFrm window(folder.path());
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("RichTextBox1"));
}

TEST_F(HelpWindow, LinkToAMissingManualLeavesTheInitialText)
{
    ASSERT_TRUE(QFile::link(folder.path() + QStringLiteral("/gone.txt"), readme()));
    HelpFrm window(folder.path());
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("RichTextBox1"));
}

TEST_F(HelpWindow, UnreadableManualLeavesTheInitialText)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files regardless of their permissions";
    WriteFile(readme(), "secret\n");
    ASSERT_TRUE(QFile::setPermissions(readme(), QFileDevice::WriteOwner));
    HelpFrm window(folder.path());
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("RichTextBox1"));
}

TEST_F(HelpWindow, ReadsFromTheProgramsFolderByDefault)
{
    // The test program stands in for Ampero: its folder is the program's folder.
    const QString besideProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/Readme.txt");
    WriteFile(besideProgram, "Beside the program.\n");
    HelpFrm window;
    const QString shown = OpenAndClose(window);
    QFile::remove(besideProgram);
    EXPECT_EQ(shown, QStringLiteral("Beside the program.\n"));
}

// An installed program lives in <prefix>/bin and its manual in the data
// folder; the build tree has it beside the program.
TEST_F(HelpWindow, FindsTheManualInTheInstalledDataFolder)
{
    const QString prefix = folder.path();
    ASSERT_TRUE(QDir(prefix).mkpath(QStringLiteral(AMPERO_INSTALL_BINDIR)));
    ASSERT_TRUE(QDir(prefix).mkpath(QStringLiteral(AMPERO_INSTALL_MANUAL_DIR)));
    const QString programFolder = prefix + QStringLiteral("/" AMPERO_INSTALL_BINDIR);
    const QString installed = prefix + QStringLiteral("/" AMPERO_INSTALL_MANUAL_DIR "/Readme.txt");
    WriteFile(installed, "Installed manual.\n");
    HelpFrm window(programFolder);
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("Installed manual.\n"));

    WriteFile(programFolder + QStringLiteral("/Readme.txt"), "Beside the program.\n");
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("Beside the program.\n")) << "the program's own folder comes first";

    ASSERT_TRUE(QFile::remove(programFolder + QStringLiteral("/Readme.txt")));
    ASSERT_TRUE(QFile::remove(installed));
    EXPECT_EQ(OpenAndClose(window), QStringLiteral("RichTextBox1"));
}

TEST(ReadmePaths, BesideTheProgramThenTheDataFolder)
{
    const QStringList paths = ReadmePaths(QStringLiteral("/opt/x/bin"));
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(paths[0], QStringLiteral("/opt/x/bin/Readme.txt"));
    EXPECT_EQ(QDir::cleanPath(paths[1]),
              QDir::cleanPath(
                  QStringLiteral("/opt/x/" AMPERO_INSTALL_BINDIR "/../" AMPERO_INSTALL_MANUAL_DIR "/Readme.txt")));
}

TEST(ReadmePath, FolderFollowedDirectlyByTheName)
{
    const struct {
        const char *name;
        QString folder;
        QString path;
    } rows[] = {
        {"build tree", QStringLiteral("/home/pat/ampero/build/app/mainwindow"),
         QStringLiteral("/home/pat/ampero/build/app/mainwindow/Readme.txt")},
        {"folder with blanks", QStringLiteral("/home/pat/My Tools"), QStringLiteral("/home/pat/My Tools/Readme.txt")},
        {"file-system root keeps both separators", QStringLiteral("/"), QStringLiteral("//Readme.txt")},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ReadmePath(row.folder), row.path) << row.name;
}

TEST(ShippedManual, LoadsAndFitsTheWindow)
{
    const QString source = QStringLiteral(AMPERO_SOURCE_README);
    const std::optional<QString> manual = ReadReadme(source);
    ASSERT_TRUE(manual.has_value()) << qPrintable(source);

    QFile raw(source);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes) << "the manual is UTF-8";
    EXPECT_FALSE(bytes.contains('\t')) << "tabs line up differently in every viewer";
    EXPECT_FALSE(bytes.contains('\r'));

    // Plain text of at most 80 columns reads without sideways wrapping in the Help window.
    const QStringList lines = manual->split(QLatin1Char('\n'));
    EXPECT_GT(lines.size(), 100) << "a real manual, not a placeholder";
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_LE(lines[i].size(), 80) << "line " << i + 1 << ": " << qPrintable(lines[i]);

    // The chapters a user looks for.
    for (const char *topic : {"COM1", "dialout", "START", "HOLD", "MR", "ALL AREA", "VISUAL AREA", ".KRD", "CSV",
                              "Print Preview", "Options", "amperotool"})
        EXPECT_TRUE(manual->contains(QLatin1String(topic))) << topic;
}

} // namespace
