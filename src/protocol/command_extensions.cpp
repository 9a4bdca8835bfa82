#include "protocol/command_extensions.h"

#include "base/message_style.h"
#include "channel/modem_idle_text.h"
#include "protocol/driver_commands.h"
#include "protocol/rovo_redod.h"

namespace {

// What the buttons of commands 16-18 and 20 are called.
const char* ExtensionTitle(std::uint32_t code)
{
    switch (code) {
        case kCommandExportArchive:
            return "Весь архив";
        case kCommandCalibrateTemperature:
            return "Калибровка t";
        case kCommandReadArchiveRange:
            return "Построить";
        default:
            return "Калибровка P";
    }
}

}  // namespace

bool CommandExtensions::ReadArchiveRange(CRovoRedod& driver)
{
    return ReportMissingExtension(driver, kCommandReadArchiveRange);
}

QByteArray CommandExtensions::ReadIdleModemText(CRovoRedod& driver)
{
    return ReadModemIdleText(driver.TransmitChanel().SerialPort());
}

bool ReportMissingExtension(CRovoRedod& driver, std::uint32_t code)
{
    const QString text = QString::asprintf("Операция \"%s\" недоступна: её исполнитель не подключен!",
                                           ExtensionTitle(code));
    driver.LogLine(text);
    driver.ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconWarning);
    return false;
}
