#pragma once
// A small channel owner for transport tests: records the monitor blocks, log lines and message boxes,
// answers the framing it is told, and raises the stop request from any thread.

#include "channel/channel_owner.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

class TransportTestOwner : public ChannelOwner {
public:
    struct Message {
        QString text;
        QString caption;
        unsigned style;
    };

    int framing = 0;
    quintptr windowId = 0;
    std::atomic<bool> stop {false};
    QList<QByteArray> transmitted;
    QList<QByteArray> received;
    QList<QString> log;
    QList<Message> messages;

    QString PhoneNumber() const override { return {}; }
    QString ModemInitString() const override { return {}; }
    quintptr MainWindowId() const override { return windowId; }
    int SendQueryTo(int, int) override { return 0; }
    int ModemConnectTimeoutSec() const override { return 120; }
    int DialMode() const override { return 1; }
    int ModemType() const override { return 0; }
    bool ReportsUnknownKind() const override { return true; }
    int BaudRate() const override { return 115200; }
    int ByteSize() const override { return 0; }
    int ReadIntervalOverrideMs() const override { return 0; }
    int ReadIntervalOverrideFlag() const override { return 0; }
    int ModemConnected() const override { return 0; }
    int Kind() const override { return 3; }
    int Framing() const override { return framing; }
    bool StopRequested() const override { return stop.load(); }
    bool UsbStopRequested() const override { return false; }
    int MyOnCharsRecieved(const std::uint8_t* bytes, int count) override
    {
        received.append(QByteArray(reinterpret_cast<const char*>(bytes), count));
        return 0;
    }
    int MyOnCharsTransmitted(const std::uint8_t* bytes, int count) override
    {
        transmitted.append(QByteArray(reinterpret_cast<const char*>(bytes), count));
        return 0;
    }
    void LogLine(const QString& text) override { log.append(text); }
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override
    {
        messages.append({text, caption, style});
        return 1;
    }
    CCommPortClass* SerialPort() override { return nullptr; }
    std::uint8_t DeviceAddress() const override { return 1; }

    // Another thread that raises the stop request after `delayMs`; join it.
    std::thread StopLater(int delayMs)
    {
        return std::thread([this, delayMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            stop = true;
        });
    }
};
