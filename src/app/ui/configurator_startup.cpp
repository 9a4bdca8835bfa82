#include "app/ui/configurator_startup.h"

#include "sim/demo_meter.h"
#include "app/ui/main_dialog.h"
#include "app/ui/message_presenter.h"
#include "channel/message_style.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>
#include <memory>

bool ParseConfiguratorArguments(const QStringList& arguments, ConfiguratorOptions& options, QString* error,
                                QString* helpText)
{
    QCommandLineParser parser;
    // The summary below is written out: QCommandLineParser's own needs the application object.
    const QCommandLineOption demo(QStringLiteral("demo"));
    const QCommandLineOption settings(QStringLiteral("settings"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption workdir(QStringLiteral("workdir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption quitAfterShow(QStringLiteral("quit-after-show"));
    parser.addOptions({demo, settings, workdir, version, help, quitAfterShow});
    if (helpText)
        *helpText = QStringLiteral(
            "Usage: zt5-configurator [options]\n"
            "ЗТ5 Конфигуратор\n\n"
            "Options:\n"
            "  --demo           Start a simulated meter and offer it as the node \"Демо-прибор\".\n"
            "  --settings FILE  Use FILE as settings.ini.\n"
            "  --workdir DIR    Use DIR as the work folder.\n"
            "  --quit-after-show  Print the milliseconds from start to the shown main window and exit.\n"
            "  --version        Print the version and exit.\n"
            "  -h, --help       Print this help and exit.\n");
    if (!parser.parse(arguments)) {
        if (error)
            *error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        if (error)
            *error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return false;
    }
    options.demo = parser.isSet(demo);
    options.overrides.settingsFile = parser.value(settings);
    options.overrides.workFolder = parser.value(workdir);
    options.showVersion = parser.isSet(version);
    options.showHelp = parser.isSet(help);
    options.quitAfterShow = parser.isSet(quitAfterShow);
    return true;
}

int RunConfigurator(const ConfiguratorOptions& options)
{
    AppEnvironment environment(options.overrides);
    BoxMessagePresenter presenter;

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
