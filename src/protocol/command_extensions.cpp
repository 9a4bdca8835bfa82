#include "protocol/command_extensions.h"

#include "channel/modem_idle_text.h"
#include "protocol/rovo_redod.h"

QByteArray CommandExtensions::ReadIdleModemText(CRovoRedod& driver)
{
    return ReadModemIdleText(driver.TransmitChanel().SerialPort());
}
