#pragma once
// The configuration areas: the protected record (510 bytes, or 574 with the controls as its tail below
// firmware level 512) with its checksum block, the open settings with theirs, and the controls block.
//
// The record and its checksum block take writes only between service commands 1 and 2. Command 2
// checks the record against the checksum written with it: a match keeps the new configuration, a
// mismatch puts the old one back and is refused (exception 3), so the meter never keeps a record its
// checksum does not vouch for. Open settings are accepted only when they match the checksum block
// written before them.

#include "modbus_slave.h"
#include "service_commands.h"

#include "meter/archive_step.h"

#include <cstdint>
#include <functional>
#include <vector>

class EventLogs;
class SimClock;
struct TunesRecord;

class ConfigurationArea : public AreaBehaviour, public ServiceCommandHandler {
public:
    static constexpr std::uint16_t kOpenProtectedWrite = 1;
    static constexpr std::uint16_t kCloseProtectedWrite = 2;

    ConfigurationArea(EventLogs& logs, const SimClock& clock) : m_logs(logs), m_clock(clock) {}

    // What the memory holds at start: the configuration a fitter left (demo_configuration.h) or, with
    // `blank`, the factory-blank one.
    struct StartContents {
        bool blank = false;
        int model = 0;
        std::uint8_t networkAddress = 1;
        bool badTunesChecksum = false;  // a meter whose memory was damaged
        bool badOpenChecksum = false;
    };

    // The starting configuration laid out for the image's firmware level, with correct checksums unless
    // a broken one is asked for.
    void Initialise(MeterImage& image, const StartContents& contents);

    // A change the meter makes itself (a parameter set from the PC): the record is edited in place and
    // its checksum kept in step.
    void EditTunes(MeterImage& image, const std::function<void(TunesRecord&)>& edit) const;
    TunesRecord Tunes(const MeterImage& image) const;

    // When the meter closes its daily, totals and monthly records.
    static ReportTime ReportTimeOf(const MeterImage& image);

    bool ProtectedWriteOpen() const { return m_open; }

    int CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire) override;
    int BeforeRead(MeterImage& image, int start, int count) override;
    int Execute(const ServiceCommand& command, MeterImage& image) override;

private:
    int CloseProtectedWrite(MeterImage& image);

    EventLogs& m_logs;
    const SimClock& m_clock;
    bool m_open = false;
    std::vector<std::uint8_t> m_saved;  // record and checksum block as command 1 found them
};
