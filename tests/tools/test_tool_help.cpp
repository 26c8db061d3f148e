// amperotool's own help: the command list, --version, and every command
// explaining itself with --help and through `help COMMAND`.

#include "ToolTestSupport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The command names as `amperotool --help` lists them.
QStringList ListedCommands()
{
    const ToolResult result = RunTool({QStringLiteral("--help")});
    EXPECT_EQ(result.exitCode, 0);
    const QString text = QString::fromUtf8(result.out);
    const int start = text.indexOf(QLatin1String("Commands:\n"));
    EXPECT_GE(start, 0) << result.out.toStdString();
    QStringList names;
    const QRegularExpression row(QStringLiteral("^  ([a-z]+) "), QRegularExpression::MultilineOption);
    for (auto match = row.globalMatch(text.mid(start)); match.hasNext();)
        names << match.next().captured(1);
    return names;
}

} // namespace

TEST(ToolHelp, ListsEveryCommand)
{
    EXPECT_EQ(ListedCommands(),
              (QStringList{QStringLiteral("dump"), QStringLiteral("info"), QStringLiteral("decode"),
                           QStringLiteral("simulate"), QStringLiteral("record"), QStringLiteral("print")}));
    for (const char *spelling : {"-h", "help"}) {
        const ToolResult result = RunTool({QLatin1String(spelling)});
        EXPECT_EQ(result.exitCode, 0) << spelling;
        EXPECT_EQ(result.out, RunTool({QStringLiteral("--help")}).out) << spelling;
    }
    const ToolResult bare = RunTool({});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_TRUE(bare.out.isEmpty());
    EXPECT_TRUE(bare.err.startsWith("Usage: amperotool")) << bare.err.toStdString();
}

TEST(ToolHelp, Version)
{
    for (const char *spelling : {"--version", "-v"}) {
        const ToolResult result = RunTool({QLatin1String(spelling)});
        EXPECT_EQ(result.exitCode, 0) << spelling;
        EXPECT_EQ(result.out.toStdString(), "amperotool " AMPERO_PROJECT_VERSION "\n") << spelling;
        EXPECT_TRUE(result.err.isEmpty()) << spelling;
    }
}

// Each command answers --help on standard output with exit code 0, wherever
// --help stands, without doing its work (no file is read, no port opened).
TEST(ToolHelp, EveryCommandExplainsItself)
{
    const QStringList commands = ListedCommands();
    ASSERT_FALSE(commands.isEmpty());
    for (const QString &command : commands) {
        const ToolResult help = RunTool({QStringLiteral("help"), command});
        EXPECT_EQ(help.exitCode, 0) << qPrintable(command) << ": " << help.err.toStdString();
        EXPECT_TRUE(help.out.startsWith(("Usage: amperotool " + command).toUtf8())) << help.out.toStdString();
        EXPECT_GT(help.out.count('\n'), 2) << "more than a usage line: " << help.out.toStdString();
        EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

        for (const QStringList &arguments :
             {QStringList{command, QStringLiteral("--help")}, QStringList{command, QStringLiteral("-h")},
              QStringList{command, QStringLiteral("/no/such/file.KRD"), QStringLiteral("--help")}}) {
            const ToolResult result = RunTool(arguments);
            EXPECT_EQ(result.exitCode, 0)
                << qPrintable(arguments.join(QLatin1Char(' '))) << ": " << result.err.toStdString();
            EXPECT_EQ(result.out, help.out) << qPrintable(arguments.join(QLatin1Char(' ')));
            EXPECT_TRUE(result.err.isEmpty())
                << qPrintable(arguments.join(QLatin1Char(' '))) << ": " << result.err.toStdString();
        }
    }
}

TEST(ToolHelp, UnknownCommands)
{
    for (const QStringList &arguments : {QStringList{QStringLiteral("frobnicate")},
                                         QStringList{QStringLiteral("help"), QStringLiteral("frobnicate")}}) {
        const ToolResult result = RunTool(arguments);
        EXPECT_EQ(result.exitCode, 2) << qPrintable(arguments.join(QLatin1Char(' ')));
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains("unknown command 'frobnicate'")) << result.err.toStdString();
    }
}
