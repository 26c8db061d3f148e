// The --on-alarm command: run with the event in its environment, one after the
// other, without holding up the caller, and its failures reported.

#include "AlarmCommand.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

LimitEvent eventAt(std::int32_t index, AlarmDirection direction)
{
    LimitEvent e;
    e.display = AlarmDisplay::Second;
    e.limit = direction == AlarmDirection::AboveHigh || direction == AlarmDirection::BackBelowHigh ? AlarmLimit::High
                                                                                                   : AlarmLimit::Low;
    e.direction = direction;
    e.value = 251.5f;
    e.limitValue = 250;
    e.unit = "V";
    e.stamp = 46000.25;
    e.index = index;
    return e;
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A script of the user's with an argument: the event only ever reaches it
// through the environment.
QString logCommand(const QTemporaryDir &dir, const QString &logFile)
{
    const QString script = dir.filePath(QStringLiteral("log alarm.sh"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("#!/bin/sh\nsleep 0.2\necho \"$AMPERO_ALARM_INDEX $AMPERO_ALARM_DIRECTION\" >> \"$1\"\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QStringLiteral("\"%1\" \"%2\"").arg(script, logFile);
}

} // namespace

TEST(AlarmCommand, TheEventIsInTheEnvironment)
{
    AlarmCommand command(QStringLiteral("true"));
    command.setRecordingFile(QStringLiteral("/var/lib/ampero/site.KRD"));
    const QProcessEnvironment environment = command.environmentFor(eventAt(7, AlarmDirection::AboveHigh));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_DISPLAY")), QStringLiteral("second"));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_LIMIT")), QStringLiteral("high"));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_DIRECTION")), QStringLiteral("above-high"));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_VALUE")), QStringLiteral("251.5"));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_THRESHOLD")), QStringLiteral("250"));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_UNIT")), QStringLiteral("V"));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_TIME")), QStringLiteral("2025-12-09T06:00:00.000"));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_INDEX")), QStringLiteral("7"));
    EXPECT_EQ(environment.value(QStringLiteral("AMPERO_ALARM_FILE")), QStringLiteral("/var/lib/ampero/site.KRD"));
    EXPECT_TRUE(environment.contains(QStringLiteral("PATH"))) << "the program's own environment stays";
}

TEST(AlarmCommand, CommandsRunOneAfterTheOtherInTheOrderOfTheEvents)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("alarm log"));
    AlarmCommand command(logCommand(dir, log));
    QStringList problems;
    QObject::connect(&command, &AlarmCommand::problem, [&](const QString &p) { problems << p; });
    command.run(eventAt(3, AlarmDirection::AboveHigh));
    command.run(eventAt(9, AlarmDirection::BackBelowHigh));
    command.run(eventAt(12, AlarmDirection::BelowLow));
    EXPECT_FALSE(QFileInfo::exists(log)) << "run() does not wait for the command";
    ASSERT_TRUE(command.finish(20000));
    EXPECT_EQ(readText(log), QStringLiteral("3 above-high\n9 back-below-high\n12 below-low\n"));
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(QLatin1Char('|')));
}

TEST(AlarmCommand, FailuresAreReported)
{
    QStringList problems;
    AlarmCommand missing(QStringLiteral("/nonexistent/notify-someone --now"));
    QObject::connect(&missing, &AlarmCommand::problem, [&](const QString &p) { problems << p; });
    missing.run(eventAt(1, AlarmDirection::AboveHigh));
    ASSERT_TRUE(missing.finish(10000));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QLatin1String("cannot be started"))) << qPrintable(problems[0]);
    EXPECT_TRUE(problems[0].contains(QLatin1String("/nonexistent/notify-someone"))) << qPrintable(problems[0]);

    problems.clear();
    AlarmCommand failing(QStringLiteral("/bin/sh -c \"exit 3\""));
    QObject::connect(&failing, &AlarmCommand::problem, [&](const QString &p) { problems << p; });
    failing.run(eventAt(1, AlarmDirection::AboveHigh));
    ASSERT_TRUE(failing.finish(10000));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QLatin1String("exit code 3"))) << qPrintable(problems[0]);

    EXPECT_TRUE(AlarmCommand(QStringLiteral("  ")).isEmpty());
    EXPECT_FALSE(AlarmCommand(QStringLiteral("logger -t ampero")).isEmpty());
}

TEST(AlarmCommand, ABusyCommandDropsEventsBeyondTheQueue)
{
    AlarmCommand command(QStringLiteral("/bin/sleep 0.5"));
    QStringList problems;
    QObject::connect(&command, &AlarmCommand::problem, [&](const QString &p) { problems << p; });
    for (std::size_t i = 0; i < AlarmCommand::MaxWaiting + 3; ++i)
        command.run(eventAt(std::int32_t(i + 1), AlarmDirection::AboveHigh));
    // One runs, MaxWaiting wait, two are dropped.
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[0].contains(QLatin1String("sample 102"))) << qPrintable(problems[0]);
}
