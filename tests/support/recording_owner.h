#pragma once
// A channel owner for tests: answers what a test puts into `settings`, records every log line, message
// box and monitor block, and carries a stop flag that another thread may raise while the code under test
// is waiting.

#include "base/message_style.h"
#include "channel/channel_owner.h"
#include "channel/channel_types.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>

struct RecordedBox {
    QString text;
    QString caption;
    unsigned style = 0;
};

struct MonitorBlock {
    bool transmitted = false;  // false: received
    QByteArray bytes;
};

class RecordingOwner : public ChannelOwner {
public:
    // What the getters answer. Change them before the code under test starts on another thread.
    struct Settings {
        quintptr mainWindowId = 0;
        bool reportsUnknownKind = true;
        std::uint8_t deviceAddress = 1;
        int sendQueryResult = 0;             // what SendQueryTo returns
        int boxAnswer = MessageAnswer::kOk;  // what every message box returns
    };
    Settings settings;

    // The stop requests; safe to raise from any thread.
    void SetStop(bool on) { m_stop.store(on); }
    void SetUsbStop(bool on) { m_usbStop.store(on); }

    // Copies of what was recorded so far (safe while the code under test runs).
    QStringList Log() const;
    QList<RecordedBox> Boxes() const;
    QList<MonitorBlock> Blocks() const;
    QByteArray Transmitted() const;  // every transmitted block, joined
    QByteArray Received() const;     // every received block, joined
    int SendQueryCalls() const;
    void Clear();

    quintptr MainWindowId() const override { return settings.mainWindowId; }
    int SendQueryTo(int attempts, int timeoutSec) override;
    bool ReportsUnknownKind() const override { return settings.reportsUnknownKind; }
    bool StopRequested() const override { return m_stop.load(); }
    bool UsbStopRequested() const override { return m_usbStop.load(); }
    int MyOnCharsRecieved(const std::uint8_t* bytes, int count) override;
    int MyOnCharsTransmitted(const std::uint8_t* bytes, int count) override;
    void LogLine(const QString& text) override;
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    std::uint8_t DeviceAddress() const override { return settings.deviceAddress; }

private:
    void AddBlock(bool transmitted, const std::uint8_t* bytes, int count);
    QByteArray Joined(bool transmitted) const;

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_usbStop{false};
    mutable QMutex m_mutex;
    QStringList m_log;
    QList<RecordedBox> m_boxes;
    QList<MonitorBlock> m_blocks;
    int m_sendQueryCalls = 0;
};
