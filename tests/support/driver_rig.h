#pragma once
// The meter driver against the simulated meter over a real line: the simulator serves a loopback TCP
// port or a pseudo-terminal of its own (put under a COM number), the driver's channel is set up for it
// and a recording host is attached. Helpers put a configuration into the meter's image and read the
// driver's exchange log back as the units it sent.

#include "config/device_blocks.h"
#include "protocol/rovo_redod.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"
#include "support/recording_host.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QStringList>

#include <mutex>

enum class RigLine { kTcp, kPty };

struct RigOptions {
    RigLine line = RigLine::kTcp;
    int framing = 0;  // TransportProtocol, the same at both ends
    std::uint8_t functionSet = CModbusMaster::kStandardFunctions;
    std::uint16_t firmwareLevel = 515;
    int attempts = 2;
    int timeoutSec = 1;
    bool threads = true;
    FaultPlan faults;
    int faultDelayMs = 3500;  // how long a "delay" fault holds an answer
    ArchiveSpan archives;     // how much archive the meter holds
    int baudDelay = 0;        // answers held for the line time at this baud rate
    // A simulated modem in front of the meter (pty line only): the channel is then a modem channel.
    HayesModemSettings modem;
    // The meter starts with the factory-blank configuration instead of its configured node.
    bool blankConfiguration = false;
};

// A page that queued commands: counts what the host passes on to it.
class RecordingRequester : public CommandRequester {
public:
    void RefreshCommandStates() override;
    void CommandFinished(int code) override;
    // "R" for a refresh, then the code of each notice, in order: {"R", "6", "R", "8"}.
    QStringList Calls() const;
    int Notices() const;

private:
    mutable QMutex m_mutex;
    QStringList m_calls;
    int m_notices = 0;
};

// The RTU unit of one request or answer as it went over the line.
struct SentUnit {
    std::uint8_t function = 0;
    int start = 0;       // first register (a 0x48 request: the read start)
    int count = 0;       // registers (a 0x48 request: the read count)
    int writeStart = 0;  // 0x48 only
    int writeCount = 0;
};

class DriverRig {
public:
    explicit DriverRig(const RigOptions& options = {});
    ~DriverRig();
    DriverRig(const DriverRig&) = delete;
    DriverRig& operator=(const DriverRig&) = delete;

    // Opens the line, sets up the channel, attaches the host and starts the driver's threads (when asked).
    bool Start();
    // Queues the command and waits until it has run and its requester has been told.
    bool Run(std::uint32_t code, CommandRequester* requester = nullptr, int timeoutMs = 10000);

    // The meter's image, under the lock its server answers under.
    template <class Change>
    void WithImage(Change change)
    {
        std::lock_guard<std::mutex> lock(meter.Lock());
        change(meter.Image());
    }
    // A whole configuration into the meter with its checksum blocks, in the layout of its level.
    void PutMeterConfiguration(const ConfigurationBlocks& blocks);
    // What the meter holds, as the driver would take it.
    ConfigurationBlocks MeterConfiguration();
    // The meter's own clock (it runs on from the time set).
    void SetMeterClock(const QDateTime& localTime);
    DateTimeStamp MeterClock();

    // Requests the driver sent (RTU framing only), in order.
    QList<SentUnit> SentRequests() const;
    // Log lines without the monitor lines and without their CR LF.
    QStringList Messages() const;
    QStringList BoxTexts() const;
    QString LastOperationText() const;

    const RigOptions options;
    MeterSimulator meter;
    SimServer server;
    RecordingHost host;
    CRovoRedod driver;
};

// A configuration unlike the factory one in every block: a record with edited header, inputs and extra
// input, an organisation code and contract, two controls and an alarm entry. `model` goes into the identity.
ConfigurationBlocks DistinctConfiguration(std::uint8_t model, int variant);
