// MainProcess: one numbered command from the queue, carried out with the device operations, and the
// result shown in the main window's status texts.

#include "base/message_style.h"
#include "protocol/command_extensions.h"
#include "protocol/driver_host.h"
#include "protocol/rovo_redod.h"

#include <QElapsedTimer>
#include <QThread>

#include <utility>

namespace {

constexpr int kStopPollMs = 100;
constexpr std::uint16_t kPasswordCommand7 = 7;
constexpr std::uint16_t kPasswordCommand8 = 8;

bool KnownCommand(std::uint32_t code)
{
    return code <= kCommandReadArchiveRange && code != 14;
}

}  // namespace

bool CRovoRedod::MainProcess(std::uint32_t code)
{
    if (m_reporting.showProgress) {
        SetConnectionText(QString());
        SetOperationText(QString());
        SetDetailText(QString());
    }
    if (!KnownCommand(code)) {
        ShowMessage(QString::fromUtf8("Ошибка выполнения CRovoRedod::MainProcess!"), QString::fromUtf8(kCaptionError),
                    MessageStyle::kIconWarning);
        return false;
    }
    m_lineWasUp = m_deviceConnected.load();
    m_lineLost = false;
    const bool succeeded = RunCommand(code);
    m_lineWasUp = false;
    if (m_lineLost) {
        // Whatever the command made of it, the meter is not connected any more; the next command that
        // needs it opens the line again.
        m_deviceConnected.store(false);
        m_transmitChanel.Disconnect();
        SetDeviceInformation(QString());
    }
    if (m_reporting.showProgress)
        ShowCommandResult(succeeded);
    return succeeded;
}

void CRovoRedod::ReportLineTrouble(const QString& text)
{
    LogLine(text);
    if (!m_lineWasUp) {
        ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
        return;
    }
    // Every exchange after the first failure fails at once on the closed line: those go to the log only.
    if (std::exchange(m_lineLost, true))
        return;
    ShowMessage(QString::fromUtf8("Связь с прибором потеряна: ") + text, QString::fromUtf8(kCaptionError),
                MessageStyle::kIconError);
}

void CRovoRedod::ShowCommandResult(bool succeeded)
{
    SetConnectionText(m_deviceConnected.load() ? QString::fromUtf8("Связь установлена")
                          : m_lineLost         ? QString::fromUtf8("Связь потеряна")
                                               : QString());
    if (!StopRequested())
        SetOperationText(
            QString::fromUtf8(succeeded ? "Операция успешно завершена!" : "Операция завершена НЕ успешно!"));
    else if (succeeded)
        SetOperationText(QString::fromUtf8("Операция завершена по желанию пользователя!"));
    else  // the running operation's "...": left standing it would say the work goes on
        SetOperationText(QString::fromUtf8("Операция прервана пользователем!"));
    SetDetailText(QString());
}

bool CRovoRedod::RunCommand(std::uint32_t code)
{
    switch (code) {
        case kCommandConnect:
            return ConnectDevice(true);
        case kCommandReadConfiguration:
            return ConnectDevice(false);
        case kCommandWriteConfiguration:
            return WriteConfiguration();
        case kCommandServiceCommand:
            return RunServiceCommand();
        case kCommandChangeParameter: {
            const ParameterChange& change = m_data.parameterChange;
            return m_operations.WritePasswordChangeBd(m_data.parameterPassword)
                && m_operations.WriteChangeParCmd(change.codeWord, change.valueWord, change.extra);
        }
        case kCommandSetClock:
            return m_operations.SetDeviceClock();
        case kCommandReadMakerData:
            return m_operations.ReadManufactureData();
        case kCommandWriteMakerData:
            return m_operations.WriteManufactureData();
        case kCommandReadServiceCentreData:
            return m_operations.ReadServicecenterData();
        case kCommandWriteServiceCentreData:
            return m_operations.WriteServicecenterData();
        case kCommandReadArchiveInfo:
            return m_operations.ReadArchInfo();
        case kCommandReadArchiveValues:
            return m_operations.ReadArchValues();
        case kCommandReadCurrentValues:
            return ReadCurrentValuesCyclic();
        case kCommandReadEventLog:
            return m_operations.ReadAsyncArch();
        case kCommandReadFlashPage:
            return m_operations.ReadFlashPage();
        case kCommandExportArchive:
        case kCommandCalibrateTemperature:
        case kCommandCalibrateCurrent:
        case kCommandReadArchiveRange:
            return RunExtension(code);
        case kCommandReadClock:
            return m_operations.ReadCurrentDateTime();
        default:
            return false;
    }
}

bool CRovoRedod::RunServiceCommand()
{
    const ServiceCommand command = m_data.serviceCommand;
    // Codes 7 and 8 carry a password: it goes to the password block first.
    if ((command.Code() == kPasswordCommand7 || command.Code() == kPasswordCommand8)
        && !m_operations.WritePasswordChangeBd(command.Parameters()))
        return false;
    return m_operations.WriteServiceCmd(command.codeWord, command.value);
}

bool CRovoRedod::RunExtension(std::uint32_t code)
{
    if (m_extensions) {
        switch (code) {
            case kCommandExportArchive:
                return m_extensions->ExportWholeArchive(*this);
            case kCommandCalibrateTemperature:
                return m_extensions->CalibrateTemperature(*this);
            case kCommandReadArchiveRange:
                return m_extensions->ReadArchiveRange(*this);
            default:
                return m_extensions->CalibrateCurrent(*this);
        }
    }
    return ReportMissingExtension(*this, code);
}

bool CRovoRedod::ReadCurrentValuesCyclic()
{
    bool succeeded = false;
    QElapsedTimer sinceRead;
    while (!StopRequested()) {
        sinceRead.start();
        succeeded = m_operations.ReadCurrentValues();
        if (!succeeded || !m_data.cyclicRead)
            break;
        NotifyRequester(false, kCommandReadCurrentValues);
        for (qint64 left = m_data.cyclicPeriodMs - sinceRead.elapsed(); left > 0 && !StopRequested();
             left = m_data.cyclicPeriodMs - sinceRead.elapsed())
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(kStopPollMs, left)));
    }
    return succeeded;
}

void CRovoRedod::NotifyRequester(bool refreshFirst, int code)
{
    CommandRequester* requester = m_commands.Requester();
    if (!m_host || !requester)
        return;
    if (refreshFirst)
        m_host->RefreshCommandStates(requester);
    m_host->CommandFinished(requester, code);
}
