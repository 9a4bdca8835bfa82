#pragma once
// Everything that shapes a simulated meter: where it listens, how it frames, who it is and how it
// misbehaves. Filled from the command line by zt5-meter-sim and directly by the demo modes.

#include "archive_span.h"
#include "fault_plan.h"
#include "hayes_modem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

struct SimIdentity {
    std::uint16_t softwareVersion = 0x0205;   // "ПВ 2.5"
    std::uint16_t hardwareVersion = 0x0103;   // "АВ 1.3"
    std::uint16_t softwareChecksum = 0x5A3C;  // "КСПО"
    std::uint8_t model = 3;                   // "04"
    std::uint32_t serialNumber = 170001;
    std::uint16_t firmwareLevel = 515;
};

struct SimOptions {
    enum class Endpoint { None, Tcp, Udp, Pty, Serial };
    Endpoint endpoint = Endpoint::None;
    QString host = QStringLiteral("127.0.0.1");
    int port = 0;        // 0: any free port (the bound one is reported)
    int maxClients = 4;  // TCP clients served at once; more are accepted and closed at once
    QString serialPath;
    int baud = 115200;
    int framing = 0;  // TransportProtocol: 0 RTU, 1 ASCII, 2 stuffed, 4 MBAP
    std::uint8_t address = 1;
    SimIdentity identity;
    QByteArray password = "12345";  // for parameter and active-set changes from the PC
    // Start with the factory-blank configuration (every input unused) instead of the demo one.
    bool blankConfiguration = false;
    bool badTunesChecksum = false;  // start with a configuration whose checksum does not match
    bool badOpenChecksum = false;
    ArchiveSpan archives;
    FaultPlan faults;
    std::uint32_t seed = 1;  // faults, archives, event logs and flash pages
    int faultDelayMs = 3500;
    int baudDelay = 0;
    bool verbose = false;
    bool showHelp = false;     // --help: print it and do nothing else
    bool showVersion = false;  // --version: print it and do nothing else
    // A bare register image: every register reads back what was written, with none of the meter's
    // area behaviour. Tests of what a master puts where use it to see its transfers unaltered.
    bool plainImage = false;
    // A modem in front of the meter on the pseudo-terminal (--modem-pty).
    HayesModemSettings modem;
    // The reference stand on a line of its own (--stand): "pty" or a device path; empty: no stand.
    QString standLine;
    bool standEcho = false;
};

// Parses the program's arguments (without the program name). Returns an error text, or empty.
// `wantsHelp` is set by --help (the text is SimHelpText(), sim_help.h). The options are the rows of
// sim_option_table.cpp.
QString ParseSimOptions(const QStringList& arguments, SimOptions& options, bool* wantsHelp);
