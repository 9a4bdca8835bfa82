#include "cli/commands_device.h"

#include "cli/cli_context.h"
#include "cli/json_output.h"
#include "cli/terminal_output.h"
#include "config/model_capabilities.h"
#include "config/service_page_rules.h"
#include "meter/archive_descriptors.h"

namespace {

constexpr std::uint16_t kPasswordCommand7 = 7;
constexpr std::uint16_t kPasswordCommand8 = 8;
constexpr int kDumpBytesPerLine = 16;

// "0000  00 01 ... 0f  ................"
QString HexDump(std::span<const std::uint8_t> bytes)
{
    QString text;
    for (std::size_t line = 0; line < bytes.size(); line += kDumpBytesPerLine) {
        QString hex;
        QString chars;
        for (std::size_t i = line; i < std::min(bytes.size(), line + kDumpBytesPerLine); ++i) {
            hex += QStringLiteral(" %1").arg(bytes[i], 2, 16, QLatin1Char('0'));
            chars += bytes[i] >= 0x20 && bytes[i] < 0x7F ? QLatin1Char(char(bytes[i])) : QLatin1Char('.');
        }
        text += QStringLiteral("%1 %2  %3\n")
                    .arg(line, 4, 16, QLatin1Char('0'))
                    .arg(hex.leftJustified(3 * kDumpBytesPerLine), chars);
    }
    return text;
}

// The pending service command of `service CODE [VALUE]`; false after a usage error.
bool ServiceCommandOf(const QStringList& words, ServiceCommand& command, int* exitCode)
{
    const std::optional<qint64> code = words.isEmpty() ? std::nullopt : ParseCount(words.first(), 0xFFFF);
    if (!code || words.size() > 2) {
        *exitCode = UsageError(QStringLiteral("service ждет КОД 0..65535 и, если нужно, ЗНАЧЕНИЕ"));
        return false;
    }
    const auto codeValue = static_cast<std::uint16_t>(*code);
    const QString value = words.size() > 1 ? words.at(1) : QString();
    if (codeValue == kPasswordCommand7 || codeValue == kPasswordCommand8) {
        // These two carry the password as the meter expects it typed.
        PasswordBytes password{};
        if (!ParameterPasswordBytes(value.toLatin1(), password)) {
            *exitCode = UsageError(QStringLiteral("пароль команды %1 - не больше пяти символов").arg(codeValue));
            return false;
        }
        command = PasswordServiceCommand(codeValue, password);
        return true;
    }
    const std::optional<qint64> number = value.isEmpty() ? 0 : ParseCount(value, 0xFFFFFFFFll);
    if (!number) {
        *exitCode = UsageError(QStringLiteral("ЗНАЧЕНИЕ служебной команды - число 0..4294967295"));
        return false;
    }
    command = PlainServiceCommand(codeValue, static_cast<std::uint32_t>(*number));
    return true;
}

}  // namespace

int RunInfo(CliContext& context)
{
    if (!context.Arguments().isEmpty())
        return UsageError(QStringLiteral("info не ждет слов после себя"));
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    const DriverData& data = session->Driver().Data();
    const DeviceIdentity& identity = data.configuration.identity;
    if (context.Options().Json()) {
        PrintOut(JsonDocumentText(IdentityJson(identity, data.versionText)));
        return kExitOk;
    }
    PrintOut(QStringLiteral("%1\nМодель: ЗТ5-%2\nЗаводской номер: %3\nУровень ПО: %4\n")
                 .arg(data.versionText, ModelName(identity.modelIndex))
                 .arg(identity.serialNumber)
                 .arg(identity.firmwareLevel));
    return kExitOk;
}

int RunSetClock(CliContext& context)
{
    if (!context.Arguments().isEmpty())
        return UsageError(QStringLiteral("set-clock не ждет слов после себя"));
    // Setting the clock restarts the meter's archives: asked first, like the service page does.
    if (!AskConfigYesNo(context.Host(), ClockResetQuestion()))
        return kExitRefused;
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    return session->RunCode(kCommandSetClock);
}

int RunService(CliContext& context)
{
    ServiceCommand command;
    int exitCode = kExitOk;
    if (!ServiceCommandOf(context.Arguments(), command, &exitCode))
        return exitCode;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    session->Driver().Data().serviceCommand = command;
    return session->RunCode(kCommandServiceCommand);
}

int RunFlash(CliContext& context)
{
    const std::optional<qint64> page = context.Arguments().size() == 1 ? ParseCount(context.Arguments().first(), 0xFFFF)
                                                                       : std::nullopt;
    if (!page)
        return UsageError(QStringLiteral("flash ждет номер страницы 0..65535"));
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    CRovoRedod& driver = session->Driver();
    driver.Data().request = FlashPageRequest(static_cast<std::uint16_t>(*page));
    if (!session->Run(kCommandReadFlashPage))
        return session->FailureCode();
    PrintOut(HexDump(driver.AreaBytes(MeterArea::kFlashPage)));
    return kExitOk;
}
