// zt5-configurator: the desktop program.

#include "app/configurator_help.h"
#include "base/file_size_signal.h"
#include "gui/app/configurator_startup.h"
#include "gui/app/qt_translations.h"
#include "zt5_version.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    // The arguments are read before the application exists, so that --version and --help work without
    // a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> document = GeneratedHelpDocument(arguments.mid(1), ConfiguratorHelp(),
                                                                      QLatin1String(ZT5_VERSION))) {
        std::printf("%s", document->toUtf8().constData());
        return 0;
    }
    ConfiguratorOptions options;
    QString error;
    QString help;
    if (!ParseConfiguratorArguments(arguments, options, &error, &help)) {
        std::fprintf(stderr, "zt5-configurator: %s\n%s", error.toUtf8().constData(), help.toUtf8().constData());
        return 2;
    }
    if (options.showVersion) {
        std::printf("zt5-configurator %s\n", ZT5_VERSION);
        return 0;
    }
    if (options.showHelp) {
        std::printf("%s", help.toUtf8().constData());
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ЗТ5 Конфигуратор"));
    if (!InstallQtRussianTranslation(application))
        std::fprintf(stderr,
                     "zt5-configurator: перевод Qt на русский язык (qtbase_ru.qm) не найден, "
                     "стандартные окна Qt будут на английском\n");
    // The installed desktop entry and icon (packaging/): docks and window lists match the window to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("zt5-configurator"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zt5-configurator")));
    return RunConfigurator(options);
}
