#pragma once
// The numbered commands a page queues for the driver's command thread, the two urgent requests of the
// service thread, and the page that wants to hear when a command has finished.

#include <cstdint>

enum DriverCommand : std::uint32_t {
    kCommandConnect = 0,             // open the channel, read identity and configuration
    kCommandReadConfiguration = 1,   // the same without reopening the channel
    kCommandWriteConfiguration = 2,  // model and clock checks, then the configuration
    kCommandServiceCommand = 3,      // the pending service command (7 and 8 with their password)
    kCommandChangeParameter = 4,     // password block, then the pending parameter change
    kCommandSetClock = 5,
    kCommandReadMakerData = 6,
    kCommandWriteMakerData = 7,
    kCommandReadServiceCentreData = 8,
    kCommandWriteServiceCentreData = 9,
    kCommandReadArchiveInfo = 10,
    kCommandReadArchiveValues = 11,
    kCommandReadCurrentValues = 12,  // repeated while the cyclic flag is set
    kCommandReadEventLog = 13,
    kCommandReadFlashPage = 15,
    kCommandExportArchive = 16,  // the whole archive into the database
    kCommandCalibrateTemperature = 17,
    kCommandCalibrateCurrent = 18,
    kCommandReadClock = 19,
    kCommandReadArchiveRange = 20,  // a stretch of a value archive, database first (the trends page)
};

enum DriverServiceRequest : std::uint32_t {
    kServiceStop = 0,             // "Остановить процесс"
    kServiceBreakConnection = 1,  // "Разорвать связь"
};

// A page that queued a command. After a command that succeeded the host has it refresh its command
// states and then hands it the code, on the host's own thread.
class CommandRequester {
public:
    virtual void RefreshCommandStates() = 0;
    virtual void CommandFinished(int code) = 0;

protected:
    ~CommandRequester() = default;
};
