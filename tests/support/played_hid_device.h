#pragma once
// A meter's USB interface played behind the HID backend: it takes output reports, puts each whole
// message together, and answers with input reports cut the meter's way. It can hold foreign reports,
// stall, be unplugged (from any thread, or after a number of input reports), change its serial
// number, time out a write or lose its handle.

#include "channel/hid_backend.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// The meter's answer to one whole message; empty: it stays silent.
using PlayedAnswer = std::function<QByteArray(const QByteArray& message)>;

class PlayedHidDevice {
public:
    PlayedHidDevice(std::string path, QString serialNumber, std::uint16_t vendorId = 0x2047,
                    std::uint16_t productId = 0x0301);

    // Set up before the link uses the device.
    std::string path;
    std::uint16_t vendorId;
    std::uint16_t productId;
    QString serialNumber;
    QString manufacturer = QStringLiteral("Texas Instruments");
    QString product = QStringLiteral("MSP430-based HID Device");
    int inputLength = 64;
    int outputLength = 64;
    bool layoutReadable = true;  // false: the report layout cannot be read
    bool writeTimesOut = false;
    bool handleValid = true;          // false: closing finds the handle gone
    bool stalled = false;             // takes messages, never answers
    bool foreignReportFirst = false;  // each answer comes after a report with another id
    int unplugAfterReports = -1;      // unplugged once this many input reports went out
    PlayedAnswer answer;

    // Queues one input report as it stands (any id, any length).
    void QueueReport(const QByteArray& report);
    // Queues a message cut into reports of the meter's layout.
    void QueueMessage(const QByteArray& message);
    void Unplug();
    bool Plugged() const;
    bool Opened() const;

    // What the link sent: every output report, and the messages they made.
    QList<QByteArray> OutputReports() const;
    QList<QByteArray> Messages() const;
    int InputReportsTaken() const;

    // The backend's side.
    bool OpenHandle();
    void CloseHandle();
    int TakeOutputReport(const std::uint8_t* report, int length);
    int GiveInputReport(std::uint8_t* buffer, int capacity, int timeoutMs);

private:
    void QueueMessageLocked(const QByteArray& message);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_plugged = true;
    int m_handles = 0;
    std::deque<QByteArray> m_input;
    int m_taken = 0;
    QByteArray m_gathering;
    QList<QByteArray> m_outputReports;
    QList<QByteArray> m_messages;
};

// The HID interfaces of a played system, in order: played meters and anything else plugged in.
class PlayedHidBackend : public HidBackend {
public:
    // Plugs a device in at the end of the system's list (or at `index`); the test keeps it alive.
    void Plug(std::shared_ptr<PlayedHidDevice> device, int index = -1);
    // Takes it off the list (its open handles fail from now on).
    void Remove(const std::shared_ptr<PlayedHidDevice>& device);

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;

private:
    std::mutex m_mutex;
    std::vector<std::shared_ptr<PlayedHidDevice>> m_devices;
};
