// zt5-configurator: the desktop program.

#include "app/ui/configurator_startup.h"

#include <QApplication>

#include <cstdio>

#ifndef ZT5_VERSION
#define ZT5_VERSION "unknown"
#endif

int main(int argc, char** argv)
{
    // The arguments are read before the application exists, so that --version and --help work without
    // a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    ConfiguratorOptions options;
    QString error;
    QString help;
    if (!ParseConfiguratorArguments(arguments, options, &error, &help)) {
        std::fprintf(stderr, "zt5-configurator: %s\n%s", qPrintable(error), qPrintable(help));
        return 2;
    }
    if (options.showVersion) {
        std::printf("zt5-configurator %s\n", ZT5_VERSION);
        return 0;
    }
    if (options.showHelp) {
        std::printf("%s", qPrintable(help));
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ЗТ5 Конфигуратор"));
    return RunConfigurator(options);
}
