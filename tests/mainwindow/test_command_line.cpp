// ampero's command line: [--help | --version] [FILE].

#include "CommandLine.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

namespace {

using Action = ProgramCommandLine::Action;

ProgramCommandLine Parse(const QStringList &arguments)
{
    return ParseProgramCommandLine(QStringList{QStringLiteral("/usr/bin/ampero")} + arguments);
}

TEST(CommandLine, NothingOrOneRecording)
{
    const ProgramCommandLine bare = Parse({});
    EXPECT_EQ(bare.action, Action::Run);
    EXPECT_TRUE(bare.file.isEmpty());

    EXPECT_EQ(Parse({QStringLiteral("/data/run.KRD")}).file, QStringLiteral("/data/run.KRD"));
    // A relative name is the file in the current folder, as the dialog would give it.
    EXPECT_EQ(Parse({QStringLiteral("sub/run.KRD")}).file,
              QDir::current().absoluteFilePath(QStringLiteral("sub/run.KRD")));
    // After "--" a name may start with a dash.
    const ProgramCommandLine dashed = Parse({QStringLiteral("--"), QStringLiteral("-odd.KRD")});
    EXPECT_EQ(dashed.action, Action::Run);
    EXPECT_EQ(dashed.file, QDir::current().absoluteFilePath(QStringLiteral("-odd.KRD")));
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutput)
{
    for (const char *spelling : {"--help", "-h"}) {
        const ProgramCommandLine help = Parse({QLatin1String(spelling), QStringLiteral("run.KRD")});
        EXPECT_EQ(help.action, Action::Answer) << spelling;
        EXPECT_TRUE(help.text.contains(QLatin1String("[options] [FILE]"))) << qPrintable(help.text);
        EXPECT_TRUE(help.text.contains(QLatin1String("--version"))) << qPrintable(help.text);
        EXPECT_TRUE(help.text.contains(QLatin1String("File > Open"))) << qPrintable(help.text);
    }
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    for (const char *spelling : {"--version", "-v"}) {
        const ProgramCommandLine version = Parse({QLatin1String(spelling)});
        EXPECT_EQ(version.action, Action::Answer) << spelling;
        EXPECT_EQ(version.text, QStringLiteral("ampero 1.2.3\n")) << spelling;
    }
}

TEST(CommandLine, NonsenseFailsWithAHint)
{
    const ProgramCommandLine unknown = Parse({QStringLiteral("--frobnicate")});
    EXPECT_EQ(unknown.action, Action::Fail);
    EXPECT_TRUE(unknown.text.startsWith(QLatin1String("ampero: "))) << qPrintable(unknown.text);
    EXPECT_TRUE(unknown.text.contains(QLatin1String("frobnicate"))) << qPrintable(unknown.text);
    EXPECT_TRUE(unknown.text.contains(QLatin1String("Try 'ampero --help'."))) << qPrintable(unknown.text);
    EXPECT_EQ(unknown.unknownOptions, QStringList{QStringLiteral("frobnicate")});

    const ProgramCommandLine two = Parse({QStringLiteral("a.KRD"), QStringLiteral("b.KRD")});
    EXPECT_EQ(two.action, Action::Fail);
    EXPECT_TRUE(two.file.isEmpty());
    EXPECT_TRUE(two.text.contains(QLatin1String("one recording at a time"))) << qPrintable(two.text);
    EXPECT_TRUE(two.unknownOptions.isEmpty());
}

} // namespace
