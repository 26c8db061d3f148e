// The bash completion of amperotool, sourced into a real bash.

#include "MeterScenario.h"
#include "QtPrinters.h"
#include "ToolTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What bash offers for the command line `words` (the last word is the one
// being completed), run in `folder`; sorted.
QStringList Complete(const QStringList &words, const QString &folder = QDir::tempPath())
{
    const QString script =
        QStringLiteral("source \"$1\" || exit 3; shift\n"
                       "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}\n"
                       "_amperotool amperotool \"${COMP_WORDS[COMP_CWORD]}\" \"${COMP_WORDS[COMP_CWORD - 1]}\"\n"
                       "printf '%s\\n' \"${COMPREPLY[@]}\"\n");
    QProcess bash;
    bash.setWorkingDirectory(folder);
    bash.start(QStringLiteral("bash"),
               QStringList{QStringLiteral("--norc"), QStringLiteral("--noprofile"), QStringLiteral("-c"), script,
                           QStringLiteral("bash"), QStringLiteral(AMPERO_COMPLETION), QStringLiteral("amperotool")} +
                   words);
    EXPECT_TRUE(bash.waitForFinished(30000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

TEST(Completion, CommandsAndTopLevelOptions)
{
    EXPECT_EQ(Complete({QStringLiteral("d")}), (QStringList{QStringLiteral("decode"), QStringLiteral("dump")}));
    EXPECT_EQ(Complete({QStringLiteral("--v")}), QStringList{QStringLiteral("--version")});
    EXPECT_EQ(Complete({QStringLiteral("help"), QStringLiteral("re")}), QStringList{QStringLiteral("record")});

    // Every command the program lists, and nothing else.
    const ToolResult help = RunTool({QStringLiteral("--help")});
    QStringList listed{QStringLiteral("help")};
    const QString text = QString::fromUtf8(help.out);
    for (const QString &line : text.mid(text.indexOf(QLatin1String("Commands:"))).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("  ")))
            listed << line.trimmed().section(QLatin1Char(' '), 0, 0);
    }
    EXPECT_EQ(Complete({QString()}), Sorted(listed));
}

TEST(Completion, OptionsAndTheirValues)
{
    QStringList scenarios;
    for (Scenario scenario : AllScenarios())
        scenarios << QString::fromLatin1(ScenarioName(scenario));
    EXPECT_EQ(Complete({QStringLiteral("simulate"), QStringLiteral("--scenario"), QString()}), Sorted(scenarios));
    EXPECT_EQ(Complete({QStringLiteral("simulate"), QStringLiteral("--scenario"), QStringLiteral("r")}),
              (QStringList{QStringLiteral("ramp"), QStringLiteral("recall")}));
    EXPECT_EQ(Complete({QStringLiteral("simulate"), QStringLiteral("--sc")}),
              QStringList{QStringLiteral("--scenario")});
    EXPECT_EQ(
        Complete({QStringLiteral("record"), QStringLiteral("--port"), QStringLiteral("x"), QStringLiteral("--d")}),
        QStringList{QStringLiteral("--duration")});
    EXPECT_EQ(
        Complete({QStringLiteral("print"), QStringLiteral("a.KRD"), QStringLiteral("--what"), QStringLiteral("f")}),
        QStringList{QStringLiteral("first")});
    EXPECT_EQ(Complete({QStringLiteral("print"), QStringLiteral("a.KRD"), QStringLiteral("--range"), QString()}),
              (QStringList{QStringLiteral("all"), QStringLiteral("visual")}));
    EXPECT_EQ(Complete({QStringLiteral("dump"), QStringLiteral("--h")}), QStringList{QStringLiteral("--help")});
}

TEST(Completion, RecordingFilesAndFolders)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char *name : {"a.KRD", "b.krd", "notes.txt", "out.pdf"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("older")));

    const QStringList recordings{QStringLiteral("a.KRD"), QStringLiteral("b.krd"), QStringLiteral("older")};
    EXPECT_EQ(Complete({QStringLiteral("dump"), QString()}, folder.path()), recordings);
    EXPECT_EQ(Complete({QStringLiteral("info"), QString()}, folder.path()), recordings);
    EXPECT_EQ(Complete({QStringLiteral("print"), QString()}, folder.path()), recordings);
    EXPECT_EQ(Complete({QStringLiteral("record"), QStringLiteral("--out"), QStringLiteral("a")}, folder.path()),
              QStringList{QStringLiteral("a.KRD")});
    EXPECT_EQ(
        Complete({QStringLiteral("print"), QStringLiteral("a.KRD"), QStringLiteral("--out"), QString()}, folder.path()),
        (QStringList{QStringLiteral("older"), QStringLiteral("out.pdf")}));
    EXPECT_EQ(Complete({QStringLiteral("decode"), QStringLiteral("n")}, folder.path()),
              QStringList{QStringLiteral("notes.txt")});
}
