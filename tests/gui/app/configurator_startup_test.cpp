// The desktop program's start-up as main runs it: options parsed, the main window shown with the demo
// meter, and --quit-after-show ending the run by itself with the time it took.

#include "config/tunes_file.h"
#include "gui/app/configurator_startup.h"
#include "gui/app/main_dialog.h"
#include "support/known_configuration.h"
#include "support/recording_message_host.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <cstring>

#include <gtest/gtest.h>

TEST(ConfiguratorStartup, QuitAfterShowPrintsTheTimeToTheShownWindowAndEnds)
{
    ConfiguratorOptions options;
    QString error;
    ASSERT_TRUE(ParseConfiguratorArguments(
        {QStringLiteral("zt5-configurator"), QStringLiteral("--demo"), QStringLiteral("--quit-after-show")}, options,
        &error, nullptr))
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
    const QRegularExpressionMatch shown = QRegularExpression(QStringLiteral("^shown after (\\d+\\.\\d) ms\\n$"))
                                              .match(printed);
    ASSERT_TRUE(shown.hasMatch()) << printed.toStdString();
    EXPECT_GT(shown.captured(1).toDouble(), 0.0);
}

TEST(ConfiguratorStartup, ArgumentsAreToldInRussianAndAFileNamedOpensOnTheConfigurationPage)
{
    ConfiguratorOptions options;
    QString error;
    QString help;
    EXPECT_FALSE(ParseConfiguratorArguments({QStringLiteral("zt5-configurator"), QStringLiteral("--bogus")}, options,
                                            &error, &help));
    EXPECT_EQ(error, QStringLiteral("неизвестный параметр: bogus"));
    EXPECT_TRUE(help.contains(QStringLiteral("[ПАРАМЕТРЫ] [ФАЙЛ.zt5]"))) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("--workdir ПАПКА"))) << help.toStdString();
    EXPECT_FALSE(ParseConfiguratorArguments({QStringLiteral("zt5-configurator"), QStringLiteral("--settings")}, options,
                                            &error, nullptr));
    EXPECT_EQ(error, QStringLiteral("у параметра --settings нет значения"));
    EXPECT_FALSE(ParseConfiguratorArguments(
        {QStringLiteral("zt5-configurator"), QStringLiteral("a.zt5"), QStringLiteral("b.zt5")}, options, &error,
        nullptr));
    EXPECT_TRUE(error.startsWith(QStringLiteral("открывается один файл настроек"))) << error.toStdString();

    // The file of a double click in the file manager: its configuration is on the pages once the window
    // is up.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    RecordingMessageHost host;
    const ConfigurationBlocks known = KnownConfiguration();
    const QString file = folder.filePath(QStringLiteral("котельная.zt5"));
    ASSERT_TRUE(SaveTunesFile(file, known, host));
    ASSERT_TRUE(ParseConfiguratorArguments({QStringLiteral("zt5-configurator"), file}, options, &error, nullptr))
        << error.toStdString();
    EXPECT_EQ(options.settingsFileToOpen, file);
    options.overrides.settingsFile = folder.filePath(QStringLiteral("settings.ini"));
    options.overrides.workFolder = folder.path();

    bool opened = false;
    QTimer watch;
    const QDeadlineTimer deadline(20000);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<MainDialog*>(widget);
            if (!window || !window->isVisible())
                continue;
            const TunesRecord& tunes = window->Driver().Configuration().tunes;
            opened = std::memcmp(&tunes, &known.tunes, sizeof tunes) == 0;
            if (opened || deadline.hasExpired())
                window->close();
            return;
        }
    });
    watch.start(50);
    EXPECT_EQ(RunConfigurator(options), 0);
    EXPECT_TRUE(opened);
}
