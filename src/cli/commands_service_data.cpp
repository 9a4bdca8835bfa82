#include "cli/commands_service_data.h"

#include "cli/cli_context.h"
#include "cli/json_output.h"
#include "cli/terminal_output.h"
#include "config/model_capabilities.h"
#include "config/service_data_texts.h"
#include "config/service_page_rules.h"

#include <QDateTime>

namespace {

QString MakerText(const MakerData& data)
{
    return QStringLiteral("ID производителя: %1\nСер. номер при выпуске: %2\nМодель: %3\n")
               .arg(data.makerId)
               .arg(data.serialAtManufacture)
               .arg(ModelName(data.modelIndex))
        + MakerReleaseDateText(data.manufactured) + QLatin1Char('\n');
}

QString ServiceCentreText(const ServiceCentreData& data)
{
    const QStringList batteries = BatteryTypeNames();
    const unsigned battery = data.BatteryType();
    return QStringLiteral("Серийный номер для отобр.: %1\nТип батареи пит.: %2\nИсполнение: %3\n")
               .arg(data.displaySerial)
               .arg(battery < unsigned(batteries.size()) ? batteries[int(battery)] : QString::number(battery))
               .arg(VariantNames()[int(data.Variant())])
        + ServiceCentreResourceText(data);
}

// "read" or "write" and nothing else; -1 after a usage error.
int Direction(const CliContext& context)
{
    const QStringList& words = context.Arguments();
    if (words.size() == 1 && words.first() == QLatin1String("read"))
        return 0;
    if (words.size() == 1 && words.first() == QLatin1String("write"))
        return 1;
    return -1;
}

int WriteMaker(CliContext& context, DriverSession& session)
{
    const CliOptions& options = context.Options();
    CRovoRedod& driver = session.Driver();
    if (!MakerModelFitsMeter(*options.model, driver.FirmwareLevel())) {
        ShowConfigInformation(context.Host(), MakerModelRefusal());
        return kExitRefused;
    }
    // The bytes the page does not edit keep what the meter holds.
    if (!session.Run(kCommandReadMakerData))
        return session.FailureCode();
    driver.Data().makerDataToWrite = MakerDataForWrite(
        driver.Data().makerData, static_cast<std::uint16_t>(*options.makerId),
        static_cast<std::uint32_t>(*options.serialNumber), static_cast<std::uint8_t>(*options.model),
        QDateTime::currentDateTime());
    return session.RunCode(kCommandWriteMakerData);
}

}  // namespace

int RunMaker(CliContext& context)
{
    const int direction = Direction(context);
    const CliOptions& options = context.Options();
    if (direction < 0)
        return UsageError(QStringLiteral("maker ждет read или write"));
    if (direction == 1 && (!options.makerId || !options.serialNumber || !options.model))
        return UsageError(QStringLiteral("maker write ждет --maker-id, --serial-number и --model"));
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    if (direction == 1)
        return WriteMaker(context, *session);
    if (!session->Run(kCommandReadMakerData))
        return session->FailureCode();
    const MakerData& data = session->Driver().Data().makerData;
    PrintOut(options.Json() ? JsonDocumentText(MakerJson(data)) : MakerText(data));
    return kExitOk;
}

int RunServiceCentre(CliContext& context)
{
    const int direction = Direction(context);
    const CliOptions& options = context.Options();
    if (direction < 0)
        return UsageError(QStringLiteral("service-centre ждет read или write"));
    if (direction == 1 && !options.serialNumber)
        return UsageError(QStringLiteral("service-centre write ждет --serial-number (и --battery, --variant)"));
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    CRovoRedod& driver = session->Driver();
    if (direction == 1) {
        driver.Data().serviceCentreDataToWrite = ServiceCentreDataForWrite(
            static_cast<std::uint32_t>(*options.serialNumber), options.battery.value_or(0), options.variant.value_or(0),
            driver.FirmwareLevel());
        return session->RunCode(kCommandWriteServiceCentreData);
    }
    if (!session->Run(kCommandReadServiceCentreData))
        return session->FailureCode();
    const ServiceCentreData& data = driver.Data().serviceCentreData;
    PrintOut(options.Json() ? JsonDocumentText(ServiceCentreJson(data)) : ServiceCentreText(data));
    return kExitOk;
}
