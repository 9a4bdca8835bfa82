#pragma once
// The options of zt5ctl: one table (cli_options.cpp) drives both the parsing and the help text.
// Options may stand anywhere on the line; the first word that is not an option names the command and
// the words after it are its arguments. "--name value" and "--name=value" both work; "--" ends options.

#include "base/command_line_help.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class QuestionAnswer { kAsk, kYes, kNo };

struct CliOptions {
    // Connection.
    QString tcp;                  // HOST:PORT
    QString udp;                  // HOST:PORT
    QString serial;               // device path
    QString modem;                // device path of the local modem
    QString phone;                // the meter's phone number, dialled through --modem
    QString modemInit;            // the modem's initialisation string instead of the standard script
    std::optional<int> dialMode;  // 0 pulse, 1 tone
    std::optional<int> baud;
    std::optional<int> parity;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::optional<int> stopBits;  // 0 one, 1 one and a half, 2 two
    std::optional<int> byteSize;
    QString node;
    QStringList nodes;  // every --node given, in order (collect reads them all)
    QString workFolder;
    QString settingsFile;
    bool demo = false;
    std::optional<int> framing;
    std::optional<int> functionSet;  // 0 standard, 1 the meter's own
    std::optional<int> address;
    std::optional<int> timeoutSec;
    std::optional<int> connectTimeoutSec;  // TCP connect wait
    std::optional<int> attempts;

    // Behaviour.
    bool verbose = false;
    int verbosity = 0;   // how many times -v was given
    bool quiet = false;  // no progress and no warnings on stderr
    QuestionAnswer answer = QuestionAnswer::kAsk;
    bool help = false;
    bool version = false;

    // Command options.
    QString output;
    bool outputIsFolder = false;  // -o names a folder that is there
    bool asRead = false;          // read-config: the settings as read even when their checksum did not match
    QString date;
    std::optional<int> count;
    QString format = QStringLiteral("text");
    bool Json() const { return format == QLatin1String("json"); }
    bool totals = false;
    std::optional<int> repeatSec;
    QString from;              // events: the first entry's number; archive: the first date of a range
    QString to;                // archive: the last date of a range
    QString quantities;        // archive ranges: the columns, by database name
    QString decimalSeparator;  // archive ranges as CSV: "comma", "point", or empty for the locale's
    std::optional<int> makerId;
    std::optional<qint64> serialNumber;
    std::optional<int> model;
    std::optional<int> battery;
    std::optional<int> variant;
    QString database;                 // sqlite:PATH or postgresql://... (export-db)
    QString stand;                    // device path of the reference stand (calibrate)
    std::optional<int> jobs;          // collect: lines read at once
    QString kind;                     // collect: direct, modem or ip; node add/set: the connection
    std::optional<QString> rename;    // node set: the new name
    std::optional<QString> location;  // node add/set: the node's address text
    std::optional<QString> note;      // node add/set
    QString month;                    // statement: "YYYY-MM"
    std::optional<int> input;         // statement: 0 or 1 (ТВ1, ТВ2)
    bool all = false;                 // statement: every meter of the database
    // watch
    std::optional<int> intervalSec;
    QString mqtt;  // mqtt://[USER@]HOST[:PORT]
    QString mqttPrefix = QStringLiteral("zt5");
    QString discoveryPrefix = QStringLiteral("homeassistant");
    QString http;  // HOST:PORT
    bool once = false;

    QString command;
    QStringList arguments;  // the command's own words
};

// Fills `options` from the program's arguments (without the program name). Returns the usage error
// in words for the user, or empty.
QString ParseCliOptions(const QStringList& arguments, CliOptions& options);

// The options as --help, the manual page and the completion script show them.
std::vector<HelpGroup> CliOptionGroups();

// Parses an unsigned decimal number no larger than `maximum`.
std::optional<qint64> ParseCount(const QString& text, qint64 maximum);
