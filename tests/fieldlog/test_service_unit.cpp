// The systemd unit for field loggers, as the build configures it, checked by
// systemd's own verifier (the service is never started here).

#include "ToolProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString Unit = QStringLiteral(AMPERO_BINARY_DIR "/tools/amperotool-record@.service");
const QString Tool = ToolPath();

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(ServiceUnit, RunsRecordWithTheInstancesOptionsFile)
{
    const QString text = readText(Unit);
    ASSERT_FALSE(text.isEmpty()) << qPrintable(Unit);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const char *line : {"Restart=on-failure", "SupplementaryGroups=dialout", "DynamicUser=yes",
                             "StateDirectory=ampero", "StandardError=journal", "RestartPreventExitStatus=2"})
        EXPECT_TRUE(lines.contains(QLatin1String(line))) << line;
    const QStringList exec = lines.filter(QRegularExpression(QStringLiteral("^ExecStart=")));
    ASSERT_EQ(exec.size(), 1);
    EXPECT_TRUE(exec[0].endsWith(QLatin1String("/amperotool record --config /etc/ampero/%i.conf")))
        << qPrintable(exec[0]);
    EXPECT_TRUE(exec[0].startsWith(QLatin1String("ExecStart=/"))) << "an absolute path: " << qPrintable(exec[0]);
}

TEST(ServiceUnit, PassesSystemdAnalyzeVerify)
{
    const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    if (analyze.isEmpty())
        GTEST_SKIP() << "systemd-analyze is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The program is not installed while the tests run: the unit names the
    // built one instead, everything else as it is.
    QString text = readText(Unit);
    const QRegularExpression exec(QStringLiteral("^ExecStart=\\S+/amperotool "), QRegularExpression::MultilineOption);
    ASSERT_TRUE(text.contains(exec));
    text.replace(exec, QStringLiteral("ExecStart=%1 ").arg(Tool));
    const QString copy = dir.filePath(QStringLiteral("amperotool-record@.service"));
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();
    ASSERT_TRUE(QFile::link(copy, dir.filePath(QStringLiteral("amperotool-record@site.service"))));

    QProcess verify;
    verify.setProcessChannelMode(QProcess::MergedChannels);
    verify.setWorkingDirectory(dir.path());
    verify.start(analyze, {QStringLiteral("verify"), QStringLiteral("--man=no"),
                           dir.filePath(QStringLiteral("amperotool-record@site.service"))});
    ASSERT_TRUE(verify.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(verify.readAll());
    EXPECT_EQ(verify.exitCode(), 0) << qPrintable(output);
    // Warnings leave the exit code alone; only lines about other units may stay.
    for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_FALSE(line.contains(QLatin1String("amperotool-record"))) << qPrintable(line);
}
