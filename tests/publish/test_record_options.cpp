// The MQTT options of `amperotool record` as the publisher's settings.

#include "RecordPublishing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

TEST(RecordPublishOptions, StationAndMeterDefaultToTheHostAndTheDevice)
{
    RecordPublishOptions options;
    options.url = QStringLiteral("mqtt://broker.local");
    const RecordPublishSetup setup = MakeRecordPublishSettings(options, QStringLiteral("/dev/ttyUSB0"));
    ASSERT_FALSE(setup.error) << qPrintable(*setup.error);
    ASSERT_TRUE(setup.settings);
    EXPECT_EQ(setup.settings->meter, "ttyUSB0");
    EXPECT_EQ(setup.settings->station, TopicLevel(QSysInfo::machineHostName()));
    EXPECT_EQ(setup.settings->backlogSeconds, PublishSettings::DefaultBacklogSeconds);
    EXPECT_FALSE(setup.settings->homeAssistant);

    options.station = QStringLiteral("hall 3/east");
    options.meter = QStringLiteral("#1");
    const RecordPublishSetup named = MakeRecordPublishSettings(options, QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(named.settings);
    EXPECT_EQ(named.settings->topicBase(), "ampero/hall_3_east/_1");
}

TEST(RecordPublishOptions, NoBrokerNoPublishing)
{
    EXPECT_FALSE(MakeRecordPublishSettings({}, QStringLiteral("/dev/ttyUSB0")).settings);
    EXPECT_FALSE(MakeRecordPublishSettings({}, QStringLiteral("/dev/ttyUSB0")).error);
}

TEST(RecordPublishOptions, ThePasswordIsTheFirstLineOfItsFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("password")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("  spaced secret \r\nsecond line\n");
    file.close();
    RecordPublishOptions options;
    options.url = QStringLiteral("mqtts://broker.local:18883");
    options.user = QStringLiteral("logger");
    options.passwordFile = file.fileName();
    const RecordPublishSetup setup = MakeRecordPublishSettings(options, QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(setup.settings) << qPrintable(setup.error.value_or(QString()));
    EXPECT_EQ(setup.settings->user, "logger");
    EXPECT_EQ(setup.settings->password, "  spaced secret ");
    EXPECT_TRUE(setup.settings->tls);
    EXPECT_EQ(setup.settings->port, 18883);
}

TEST(RecordPublishOptions, BacklogDurations)
{
    EXPECT_EQ(ParseBacklogArgument("90"), 90.0);
    EXPECT_EQ(ParseBacklogArgument("90s"), 90.0);
    EXPECT_EQ(ParseBacklogArgument("15m"), 900.0);
    EXPECT_EQ(ParseBacklogArgument("24h"), 86400.0);
    EXPECT_EQ(ParseBacklogArgument("1.5h"), 5400.0);
    EXPECT_EQ(ParseBacklogArgument("2d"), 172800.0);
    EXPECT_EQ(ParseBacklogArgument("0"), 0.0);
    for (const char *wrong : {"", "h", "-1h", "abc", "1x", "nan", "inf", "infh", "2H"})
        EXPECT_FALSE(ParseBacklogArgument(wrong)) << wrong;

    RecordPublishOptions options;
    options.url = QStringLiteral("mqtt://broker.local");
    options.backlog = QStringLiteral("15m");
    const RecordPublishSetup setup = MakeRecordPublishSettings(options, QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(setup.settings);
    EXPECT_EQ(setup.settings->backlogSeconds, 900.0);
}
