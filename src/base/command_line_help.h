#pragma once
// What a command-line program says about itself, kept as data: the one description that --help prints,
// that the build turns into the manual page and the bash completion script, so the three cannot drift
// apart. A program fills a CommandLineHelp from its option and command tables.

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// What follows an option that takes a value, for the completion script.
enum class HelpValueKind { kNone, kText, kFile, kFolder, kChoice };

struct HelpOption {
    char shortName = 0;  // 0 when there is none
    QString name;        // the long name without "--"
    QString valueName;   // empty for a flag
    QString help;
    HelpValueKind kind = HelpValueKind::kNone;
    QStringList choices;  // the values a kChoice option takes
    // For a free value: the program's own words that list the values, one a line, the value before a
    // tab ("node list"); the completion runs them with the context options of the line.
    QString valuesCommand;
};

struct HelpGroup {
    QString title;
    std::vector<HelpOption> options;
};

struct HelpCommand {
    QString name;
    QString usage;  // the words after the name
    QString help;
    // What the completion offers for the command's first word: its sub-commands, or a file.
    QStringList words;
    bool takesFile = false;
    // For the completion: the options offered after it (empty: all), and the values an option takes
    // with it when they are fewer than its choices ("format" -> text, json).
    QStringList options;
    std::vector<std::pair<QString, QStringList>> values;
};

struct CommandLineHelp {
    QString program;   // "zt5ctl"
    QString summary;   // one line for the manual's name section
    QString synopsis;  // the words after the program's name: "[ПАРАМЕТРЫ] КОМАНДА [АРГУМЕНТЫ]"
    QString description;  // paragraphs separated by empty lines
    std::vector<HelpCommand> commands;
    std::vector<HelpGroup> groups;
    QString footer;       // the last paragraph of --help, also the manual's exit status section
    QStringList seeAlso;  // "zt5-meter-sim(1)"
    // The manual's files and environment sections: a path or a variable, and what it is for.
    std::vector<std::pair<QString, QString>> files;
    std::vector<std::pair<QString, QString>> environment;
    // The manual's section on machine output: a command and the form of what it prints.
    QString outputTitle;
    std::vector<std::pair<QString, QString>> outputForms;
    // The manual's sections of its own after the machine output ("СИГНАЛЫ"): a title and paragraphs
    // separated by empty lines.
    std::vector<std::pair<QString, QString>> sections;
    // The manual's examples: a command line and what it does.
    std::vector<std::pair<QString, QString>> examples;
    // The options a values command of the completion gets from the line as typed ("--workdir").
    QStringList completionContext;
    QString date;  // the manual's date, "2026-12-09"
};

// The files and variables of the settings, the work folder and the archive database, which
// zt5-configurator and zt5ctl share, for their manual pages.
std::vector<std::pair<QString, QString>> SharedFilesHelp();
std::vector<std::pair<QString, QString>> SharedEnvironmentHelp();

// The --help text.
QString RenderHelpText(const CommandLineHelp& help);

// Every "--name" and "-x" the help lists, in order.
QStringList ListedOptions(const CommandLineHelp& help);

// The hidden options the build uses: "--help-man" gives the manual page, "--help-bash-completion" the
// completion script. Anything else gives nothing.
std::optional<QString> GeneratedHelpDocument(const QStringList& arguments, const CommandLineHelp& help,
                                             const QString& version);
