// zt5-meter-sim: a simulated ЗТ5 meter on a TCP port, a UDP port, a pseudo-terminal or a serial line,
// and the reference stand for automatic calibration on a line of its own.

#include "base/file_size_signal.h"
#include "base/host_port.h"
#include "meter_simulator.h"
#include "reference_stand_line.h"
#include "sim_help.h"
#include "sim_server.h"
#include "zt5_version.h"

#include <QCoreApplication>
#include <QTextStream>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {
SimServer* g_server = nullptr;
std::atomic<bool> g_stop{false};

void OnSignal(int)
{
    g_stop = true;
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
    // Its output may go to a file (a script keeping the line's name).
    IgnoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (const std::optional<QString> document = GeneratedHelpDocument(arguments, SimHelp(),
                                                                      QLatin1String(ZT5_VERSION))) {
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
        err << "zt5-meter-sim: " << error << "\n"
            << "Справка: zt5-meter-sim --help\n";
        return 2;
    }

    const bool withMeter = options.endpoint != SimOptions::Endpoint::None;
    MeterSimulator meter(options);
    SimServer server(meter);
    if (options.verbose) {
        server.SetLog([](const QString& line) {
            QTextStream log(stderr);
            log << line << "\n";
        });
    }
    QString openError;
    if (withMeter && !server.Open(&openError)) {
        err << "zt5-meter-sim: " << openError << "\n";
        return 1;
    }
    // Scripts pick the line up from the first line of the output, the stand's from the next.
    if (withMeter && !server.PtyPath().isEmpty())
        out << server.PtyPath() << "\n";
    else if (withMeter && server.BoundPort() > 0)
        out << HostPortText(HostPort{options.host, server.BoundPort()}) << "\n";
    else if (withMeter)
        out << options.serialPath << "\n";

    ReferenceStand stand(options.standEcho);
    ReferenceStandLine standLine(stand);
    standLine.SetLog([](const QString& line) {
        QTextStream log(stderr);
        log << line << "\n";
    });
    if (!options.standLine.isEmpty()) {
        if (!standLine.Start(options.standLine, &openError)) {
            err << "zt5-meter-sim: " << openError << "\n";
            return 1;
        }
        out << standLine.Path() << "\n";
    }
    out.flush();

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    if (withMeter) {
        g_server = &server;
        std::signal(SIGUSR1, OnDropCarrier);
        server.Run();
        g_server = nullptr;
    } else {
        while (!g_stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    standLine.Stop();
    return 0;
}
