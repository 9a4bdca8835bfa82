// zt5-meter-sim: a simulated ЗТ5 meter on a TCP port, a UDP port, a pseudo-terminal or a serial line.

#include "meter_simulator.h"
#include "sim_help.h"
#include "sim_server.h"
#include "zt5_version.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {
SimServer* g_server = nullptr;

void OnSignal(int)
{
    if (g_server)
        g_server->Stop();
}

// The far end of the modem's call hangs up.
void OnDropCarrier(int)
{
    if (g_server)
        g_server->DropCarrier();
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (const std::optional<QString> document = GeneratedHelpDocument(arguments, SimHelp(), QLatin1String(ZT5_VERSION))) {
        out << *document;
        return 0;
    }
    SimOptions options;
    bool wantsHelp = false;
    const QString error = ParseSimOptions(arguments, options, &wantsHelp);
    if (wantsHelp) {
        out << SimHelpText();
        return 0;
    }
    if (options.showVersion && error.isEmpty()) {
        out << "zt5-meter-sim " << ZT5_VERSION << "\n";
        return 0;
    }
    if (!error.isEmpty()) {
        err << "zt5-meter-sim: " << error << "\n" << "Справка: zt5-meter-sim --help\n";
        return 2;
    }

    MeterSimulator meter(options);
    SimServer server(meter);
    if (options.verbose) {
        server.SetLog([](const QString& line) {
            QTextStream log(stderr);
            log << line << "\n";
        });
    }
    QString openError;
    if (!server.Open(&openError)) {
        err << "zt5-meter-sim: " << openError << "\n";
        return 1;
    }
    // Scripts pick the line up from the first line of the output.
    if (!server.PtyPath().isEmpty())
        out << server.PtyPath() << "\n";
    else if (server.BoundPort() > 0)
        out << options.host << ":" << server.BoundPort() << "\n";
    else
        out << options.serialPath << "\n";
    out.flush();

    g_server = &server;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGUSR1, OnDropCarrier);
    server.Run();
    g_server = nullptr;
    return 0;
}
