#pragma once
// The driver's host on a terminal: message boxes go to stderr as "zt5ctl: Caption: text" (with -q only
// the errors at once, the rest only when the command fails), a question is answered from --yes / --no (without either it is refused and remembered,
// so the command fails), the exchange log goes to stderr with -v, the connection with -vv, and
// everything else stays quiet. The same object answers
// the configuration checks and the report writer, so every message of the system reaches the user
// the same way.

#include "cli/cli_options.h"
#include "config/config_messages.h"
#include "protocol/driver_host.h"
#include "reports/report_host.h"

#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>

class TerminalHost : public DriverHost, public ConfigMessageHost, public MessageSink {
public:
    TerminalHost(QuestionAnswer answer, int verbosity);

    // A question was put while neither --yes nor --no was given; the command counts as failed.
    bool QuestionRefused() const { return m_questionRefused.load(); }
    // Something was shown on stderr since the last call (a failure then needs no words of its own).
    bool TakeShownMessage() { return m_shownMessage.exchange(false); }
    QString LastOperationText() const;
    // With -q the messages that are no error wait here; a command that fails shows them after all.
    void ReleaseHeldMessages();

    // DriverHost
    int ShowMessageBox(const QString& text, const QString& caption, unsigned style) override;
    void AppendLogLine(const QString& line) override;
    void SetConnectionText(const QString& text) override;
    void SetOperationText(const QString& text) override;
    void SetDetailText(const QString&) override {}
    void BusyChanged() override {}
    void SetDeviceInformation(const QString&) override {}
    void FlashLamp(Lamp) override {}
    void RefreshConfigurationPages() override {}
    void RefreshCommandStates(CommandRequester* requester) override;
    void CommandFinished(CommandRequester* requester, int code) override;

    // ConfigMessageHost
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    // MessageSink
    void ShowMessage(const UserMessage& message) override;

private:
    const QuestionAnswer m_answer;
    const int m_verbosity;
    std::atomic<bool> m_questionRefused{false};
    std::atomic<bool> m_shownMessage{false};
    mutable QMutex m_mutex;
    QString m_operationText;
    QStringList m_held;
};
