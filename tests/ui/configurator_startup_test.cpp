// The desktop program's start-up as main runs it: options parsed, the main window shown with the demo
// meter, and --quit-after-show ending the run by itself with the time it took.

#include "app/ui/configurator_startup.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ConfiguratorStartup, QuitAfterShowPrintsTheTimeToTheShownWindowAndEnds)
{
    ConfiguratorOptions options;
    QString error;
    ASSERT_TRUE(ParseConfiguratorArguments({QStringLiteral("zt5-configurator"), QStringLiteral("--demo"),
                                            QStringLiteral("--quit-after-show")},
                                           options, &error, nullptr))
        << error.toStdString();
    EXPECT_TRUE(options.demo);
    EXPECT_TRUE(options.quitAfterShow);
    ConfiguratorOptions plain;
    ASSERT_TRUE(ParseConfiguratorArguments({QStringLiteral("zt5-configurator")}, plain, &error, nullptr));
    EXPECT_FALSE(plain.quitAfterShow);

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    options.overrides.settingsFile = folder.filePath(QStringLiteral("settings.ini"));
    options.overrides.workFolder = folder.path();
    testing::internal::CaptureStdout();
    const int exitCode = RunConfigurator(options);
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_EQ(exitCode, 0);
    const QRegularExpressionMatch shown =
        QRegularExpression(QStringLiteral("^shown after (\\d+\\.\\d) ms\\n$")).match(printed);
    ASSERT_TRUE(shown.hasMatch()) << printed.toStdString();
    EXPECT_GT(shown.captured(1).toDouble(), 0.0);
}
