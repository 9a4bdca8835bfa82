#pragma once
// A driver host for tests: records every notification the driver raises (from whatever thread), answers
// message boxes with a scripted button and passes the requester's notices on to the requester.

#include "protocol/driver_commands.h"
#include "protocol/driver_host.h"
#include "support/recording_owner.h"

#include <QList>
#include <QMutex>
#include <QStringList>

#include <atomic>

struct FinishedCommand {
    CommandRequester* requester = nullptr;
    int code = 0;
};

class RecordingHost : public DriverHost {
public:
    // What every message box returns; set before the driver runs.
    std::atomic<int> boxAnswer{MessageAnswer::kOk};

    QList<RecordedBox> Boxes() const;
    QStringList LogLines() const;
    QStringList ConnectionTexts() const;
    QStringList OperationTexts() const;
    QStringList DetailTexts() const;
    QStringList DeviceInformation() const;
    QList<Lamp> Lamps() const;
    QList<FinishedCommand> Finished() const;
    int BusyChanges() const;
    int PageRefreshes() const;
    void Clear();

    int ShowMessageBox(const QString& text, const QString& caption, unsigned style) override;
    void AppendLogLine(const QString& line) override;
    void SetConnectionText(const QString& text) override;
    void SetOperationText(const QString& text) override;
    void SetDetailText(const QString& text) override;
    void BusyChanged() override;
    void SetDeviceInformation(const QString& text) override;
    void FlashLamp(Lamp lamp) override;
    void RefreshConfigurationPages() override;
    void RefreshCommandStates(CommandRequester* requester) override;
    void CommandFinished(CommandRequester* requester, int code) override;

private:
    void Append(QStringList& list, const QString& text);

    mutable QMutex m_mutex;
    QList<RecordedBox> m_boxes;
    QStringList m_log;
    QStringList m_connection;
    QStringList m_operation;
    QStringList m_detail;
    QStringList m_deviceInformation;
    QList<Lamp> m_lamps;
    QList<FinishedCommand> m_finished;
    int m_busyChanges = 0;
    int m_pageRefreshes = 0;
};
