#pragma once
// The desktop program from its command line to its last window: the options it takes and the start-up
// sequence (the settings store and work folder, the demo meter when asked, the main window with its
// first page, run until it closes).

#include "app/app_environment.h"

#include <QString>
#include <QStringList>

#include <chrono>

struct ConfiguratorOptions {
    bool demo = false;           // --demo
    StartupOverrides overrides;  // --settings FILE, --workdir DIR
    QString settingsFileToOpen;  // FILE.zt5: opened on the configuration page once the window is up
    bool showVersion = false;    // --version
    bool showHelp = false;       // --help
    // --quit-after-show: for start-up measurements, print the time from `started` to the first turn of
    // the event loop after the main window was shown, then quit.
    bool quitAfterShow = false;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

// Parses the arguments (the program name first). False with the reason in `error`; `helpText` gets
// the option summary.
bool ParseConfiguratorArguments(const QStringList& arguments, ConfiguratorOptions& options, QString* error,
                                QString* helpText);

// Runs the program in the QApplication that exists; returns its exit code.
int RunConfigurator(const ConfiguratorOptions& options);
