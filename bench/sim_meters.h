#pragma once
// Simulated meters for the benchmarks that read many of them: each in a process of its own, holding
// each answer for the line time at `baud`, and a node base of TCP nodes for them.

#include "channel/channel_types.h"
#include "nodes/node_base.h"
#include "support/bus_relay.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

constexpr int kBaud = 9600;

// One simulated meter in a process of its own; Port() is its TCP port, 0 when it did not start.
class Meter {
public:
    Meter(int address, std::uint32_t serial, int days = 1, int baud = kBaud)
    {
        m_process.start(QStringLiteral(ZT5_SIM_PATH),
                        {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--address"),
                         QString::number(address), QStringLiteral("--serial-number"), QString::number(serial),
                         QStringLiteral("--archive-days"), QString::number(days), QStringLiteral("--archive-end"),
                         QStringLiteral("2024-02-26T12"), QStringLiteral("--baud-delay"), QString::number(baud)});
        const QDeadlineTimer deadline(10000);
        while (!m_process.canReadLine() && m_process.state() != QProcess::NotRunning && !deadline.hasExpired())
            m_process.waitForReadyRead(100);
        m_port = QString::fromUtf8(m_process.readLine()).trimmed().section(u':', 1).toInt();
    }
    ~Meter()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    int Port() const { return m_port; }

private:
    QProcess m_process;
    int m_port = 0;
};

// The node base: node "Линия L, прибор A" for each line's port and addresses 1..`meters`.
inline bool WriteNodeBase(const QString& work, const std::vector<int>& linePorts, int meters)
{
    NodeBase base;
    for (int line = 0; line < int(linePorts.size()); ++line) {
        for (int address = 1; address <= meters; ++address) {
            NodeEntry entry;
            entry.record = NodeRecord::New(kChannelIp, FreePortTable::AllFree());
            entry.record.SetName(QStringLiteral("Линия %1, прибор %2").arg(line + 1).arg(address));
            entry.record.SetIpAddress(QStringLiteral("127.0.0.1"));
            entry.record.SetIpPort(linePorts[std::size_t(line)]);
            entry.record.SetIpProtocol(NodeRecord::kIpProtocolTcp);
            entry.record.SetNetworkAddress(address);
            entry.record.SetFunctionSet(1);
            base.Append(entry);
        }
    }
    UserMessage failure;
    return QDir(work).mkpath(QStringLiteral("Base")) && base.Save(work, &failure);
}

// `lines` RS-485 buses behind TCP gateways (support/bus_relay.h), `perLine` meters of addresses 1.. on
// each, serial numbers `firstSerial` + line * 100 + address, and the node base for them in `work`.
class SimLines {
public:
    bool Start(int lines, int perLine, std::uint32_t firstSerial, const QString& work)
    {
        std::vector<int> linePorts;
        for (int line = 0; line < lines; ++line) {
            std::vector<int> ports;
            for (int address = 1; address <= perLine; ++address) {
                m_meters.push_back(std::make_unique<Meter>(address, firstSerial + std::uint32_t(line * 100 + address)));
                ports.push_back(m_meters.back()->Port());
            }
            m_lines.push_back(std::make_unique<BusRelay>(ports, kBaud));
            if (m_lines.back()->Port() < 0 || std::count(ports.begin(), ports.end(), 0) > 0)
                return false;
            linePorts.push_back(m_lines.back()->Port());
        }
        return WriteNodeBase(work, linePorts, perLine);
    }
    void Reset()
    {
        for (auto& line : m_lines)
            line->Reset();
    }
    // The busiest line's summed line time since Reset, and all lines' together.
    double LongestLineSeconds() const
    {
        double longest = 0;
        for (const auto& line : m_lines)
            longest = std::max(longest, line->LineSeconds());
        return longest;
    }
    double AllLinesSeconds() const
    {
        double summed = 0;
        for (const auto& line : m_lines)
            summed += line->LineSeconds();
        return summed;
    }

private:
    std::vector<std::unique_ptr<Meter>> m_meters;
    std::vector<std::unique_ptr<BusRelay>> m_lines;
};
