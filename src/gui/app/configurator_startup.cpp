#include "gui/app/configurator_startup.h"

#include "app/configurator_help.h"
#include "app/instance_lock.h"

#include "base/message_style.h"
#include "gui/app/main_dialog.h"
#include "gui/widgets/message_presenter.h"
#include "sim/demo_meter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <memory>

bool ParseConfiguratorArguments(const QStringList& arguments, ConfiguratorOptions& options, QString* error,
                                QString* helpText)
{
    QCommandLineParser parser;
    const QCommandLineOption demo(QStringLiteral("demo"));
    const QCommandLineOption settings(QStringLiteral("settings"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption workdir(QStringLiteral("workdir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption quitAfterShow(QStringLiteral("quit-after-show"));
    parser.addOptions({demo, settings, workdir, version, help, quitAfterShow});
    if (helpText)
        *helpText = RenderHelpText(ConfiguratorHelp());
    const auto refuse = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!parser.parse(arguments)) {
        // QCommandLineParser words its errors in English; the program speaks Russian.
        if (!parser.unknownOptionNames().isEmpty())
            return refuse(QStringLiteral("неизвестный параметр: %1").arg(parser.unknownOptionNames().first()));
        return refuse(
            QStringLiteral("у параметра %1 нет значения").arg(arguments.isEmpty() ? QString() : arguments.last()));
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(QStringLiteral("открывается один файл настроек, а названо %1: %2")
                          .arg(files.size())
                          .arg(files.join(QStringLiteral(", "))));
    options.demo = parser.isSet(demo);
    options.overrides.settingsFile = parser.value(settings);
    options.overrides.workFolder = parser.value(workdir);
    options.settingsFileToOpen = files.isEmpty() ? QString() : files.first();
    options.showVersion = parser.isSet(version);
    options.showHelp = parser.isSet(help);
    options.quitAfterShow = parser.isSet(quitAfterShow);
    return true;
}

int RunConfigurator(const ConfiguratorOptions& options)
{
    AppEnvironment environment(options.overrides);
    BoxMessagePresenter presenter;
    InstanceLock lock(environment.WorkFolderPath());
    if (!lock.Take()
        && presenter.Present(nullptr, lock.SecondInstanceQuestion(), QString::fromUtf8(kCaptionQuestion),
                             MessageStyle::kYesNo | MessageStyle::kIconQuestion | MessageStyle::kDefaultButton2)
            != MessageAnswer::kYes)
        return 0;

    std::unique_ptr<DemoMeter> demo;
    QString demoError;
    if (options.demo) {
        demo = std::make_unique<DemoMeter>();
        if (!demo->Start(&demoError))
            demo.reset();
    }

    int exitCode = 0;
    {
        MainDialog window(environment, presenter);
        window.AddMainConfigPage();
        window.AddReadDataPage();
        window.show();
        if (!environment.SettingsFolderFailure().IsEmpty()) {
            const UserMessage& failure = environment.SettingsFolderFailure();
            window.ShowMessage(failure.text, failure.caption, failure.style);
        }
        if (demo)
            window.UseDemoMeter(demo->Address());
        else if (options.demo)
            window.ShowMessage(demoError, QString::fromUtf8(kCaptionError), MessageStyle::kIconError);
        // A settings file named on the command line (a double click in the file manager) opens as if
        // chosen with "Открыть настройки из файла...", once the window is up to show what it says.
        if (!options.settingsFileToOpen.isEmpty()) {
            const QString file = QFileInfo(options.settingsFileToOpen).absoluteFilePath();
            QTimer::singleShot(0, &window, [&window, file] { window.OpenSettingsFileNamed(file); });
        }
        if (options.quitAfterShow) {
            // Runs once the events of showing the window (layout, first paint) have been handled.
            QTimer::singleShot(0, [&options] {
                const auto shown = std::chrono::steady_clock::now() - options.started;
                std::printf("shown after %.1f ms\n", std::chrono::duration<double, std::milli>(shown).count());
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        exitCode = QApplication::exec();
    }
    // The window (and with it the driver) has gone; the demo meter stops last.
    return exitCode;
}
