#include "protocol/rkm8.h"

#include "base/message_style.h"
#include "protocol/driver_host.h"

#include <cstring>

namespace {

constexpr double kProbeResistance = 51.0;

QString Dots(const QString& text)
{
    return text + QStringLiteral("...");
}

}  // namespace

CRkm8::CRkm8() : m_exchange(m_transmitChanel, *this, ChannelExchange::Style{QString::fromUtf8("РКМ8"), "CRkm8", false})
{
    m_transmitChanel.SetOwner(this);
    PrepareChannel(1, false);
}

void CRkm8::AttachHost(DriverHost* host)
{
    m_host = host;
    const bool on = host != nullptr;
    m_showProgress = on;
    m_copyLogToMonitor = on;
    m_reportFailures = on;
    m_exchange.AttachHost(host, on);
}

void CRkm8::PrepareChannel(int portNumber, bool simulate)
{
    ChannelSettings& settings = m_transmitChanel.Settings();
    settings.kind = kChannelDirect;
    settings.portNumber = portNumber;
    settings.baudRate = kBaudRate;
    settings.byteSize = kByteSize;
    settings.parity = 0;
    settings.stopBits = 0;
    settings.framing = kFramingTransparent;
    settings.readIntervalOverrideFlag = 1;
    settings.readIntervalOverrideMs = kReadIntervalMs;
    settings.answerTimeoutSec = kAnswerTimeoutSec;
    settings.attempts = kAttempts;
    m_simulate = simulate;
}

void CRkm8::PrepareChannelBeside(int portNumber, const CTransmitChanel& meter)
{
    PrepareChannel(portNumber, meter.Settings().kind == kChannelSharedMemory);
}

quintptr CRkm8::MainWindowId() const
{
    return reinterpret_cast<quintptr>(m_host);
}

bool CRkm8::StopRequested() const
{
    return m_stopSource && m_stopSource->StopRequested();
}

void CRkm8::LogLine(const QString& text)
{
    if (m_host && m_copyLogToMonitor)
        m_host->AppendLogLine(text + QStringLiteral("\r\n"));
}

int CRkm8::ShowMessage(const QString& text, const QString& caption, unsigned style)
{
    return m_host ? m_host->ShowMessageBox(text, caption, style) : 0;
}

void CRkm8::Progress(const QString& text, const QString& detail, bool dotsInLog)
{
    LogLine(dotsInLog ? Dots(text) : text);
    if (m_host && m_showProgress) {
        m_host->SetOperationText(Dots(text));
        m_host->SetDetailText(detail);
    }
}

void CRkm8::ReportError(const QString& text)
{
    LogLine(text);
    ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconError);
}

bool CRkm8::Connect()
{
    Progress(QString::fromUtf8("Попытка соединения с РКМ8"), QString::fromUtf8("Соединение с РКМ8"), true);
    m_transmitChanel.Disconnect();
    if (!m_simulate && !m_transmitChanel.Connect())
        return false;
    if (!SetResistance(kProbeResistance))
        return false;
    Progress(QString::fromUtf8("РКМ8 найден"), QString::fromUtf8("РКМ8 найден"), true);
    return true;
}

bool CRkm8::SetResistance(double ohm)
{
    const int index = StandResistanceIndex(ohm);
    if (index < 0) {
        ReportError(
            QString::asprintf("Выбрано недопустимое значение сопротивления при установке меры R (%.3f Ом)!", ohm));
        return false;
    }
    const QString text = QString::asprintf("Установка меры R в значение %.3f Ом!", ohm);
    Progress(text, QString::fromUtf8("Установка парам. меры R"));
    Prepare(ResistanceCommand(index));
    return Execute();
}

bool CRkm8::SetCurrent(double milliampere)
{
    const int index = StandCurrentIndex(milliampere);
    if (index < 0) {
        ReportError(
            QString::asprintf("Выбрано недопустимое значение тока при установке меры I (%.3f мА)!", milliampere));
        return false;
    }
    for (int output = 0; output < kStandCurrentOutputs; ++output) {
        const QString text = QString::asprintf("Установка меры I%d в значение %.3f мА!", output, milliampere);
        Progress(text, QString::fromUtf8("Установка парам. меры I"));
        Prepare(CurrentCommand(output, index));
        if (!Execute())
            return false;
    }
    return true;
}

void CRkm8::Prepare(const StandCommand& command)
{
    m_command = command;
    std::memcpy(m_request, command.data(), command.size());
    m_requestLength = static_cast<std::uint16_t>(command.size());
}

bool CRkm8::Execute()
{
    const ChannelSettings& settings = m_transmitChanel.Settings();
    const QString refused = QString::fromUtf8("Команда управления РКМ8 не выполнена!");
    for (int attempt = 1; attempt <= kExecuteTries; ++attempt) {
        // Silence and line failures have been reported by SendQueryTo.
        if (SendQueryTo(settings.attempts, settings.answerTimeoutSec) < 1)
            return false;
        if (StandAnswerOk(m_answer, m_answerLength, m_command))
            return true;
        LogLine(refused);
    }
    ShowMessage(refused, QString::fromUtf8(kCaptionError), MessageStyle::kIconError);
    return false;
}
