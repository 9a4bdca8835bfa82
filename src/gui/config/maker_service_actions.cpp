// What the buttons of the maker's service page do, and what it shows when a command has finished.

#include "gui/config/maker_service_page.h"

#include "app/app_environment.h"
#include "base/message_style.h"
#include "config/model_capabilities.h"
#include "config/service_data_texts.h"
#include "config/service_page_numbers.h"
#include "config/service_page_rules.h"
#include "config/service_page_settings.h"
#include "protocol/driver_access.h"
#include "protocol/driver_commands.h"
#include "protocol/rkm8.h"

#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint32_t kMaxMakerId = std::numeric_limits<std::uint16_t>::max();
constexpr std::uint32_t kMaxSerial = std::numeric_limits<std::uint32_t>::max();

}  // namespace

void CDlgMainConfigService::Inform(const QString& text)
{
    Host().ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
}

bool CDlgMainConfigService::Queue(DriverCommand command)
{
    // The pending data below belong to the command thread while a command runs.
    if (Host().Driver().IsBusy())
        return false;
    return Host().Driver().QueueCommand(command, this);
}

void CDlgMainConfigService::ReadMaker()
{
    Queue(kCommandReadMakerData);
}

void CDlgMainConfigService::WriteMaker()
{
    DriverAccess& driver = Host().Driver();
    const int model = m_model->currentIndex();
    if (model < 0) {
        Inform(QStringLiteral("Не выбрана модель прибора!"));
        return;
    }
    if (!MakerModelFitsMeter(model, driver.FirmwareLevel())) {
        Inform(MakerModelRefusal());
        return;
    }
    const std::optional<std::uint32_t> makerId = ServiceNumber(m_makerId->text(), kMaxMakerId);
    if (!makerId) {
        Inform(ServiceFieldRefusal(QStringLiteral("ID производителя:")));
        return;
    }
    const std::optional<std::uint32_t> serial = ServiceNumber(m_makerSerial->text(), kMaxSerial);
    if (!serial) {
        Inform(ServiceFieldRefusal(QStringLiteral("Сер. номер при выпуске:")));
        return;
    }
    if (driver.IsBusy())
        return;
    ServicePageEntries entries = LoadServicePageEntries(Host().Environment().Settings());
    entries.makerId = m_makerId->text();
    entries.makerSerial = m_makerSerial->text();
    entries.model = model;
    entries.voltage = m_voltage->text();
    StoreMakerEntries(Host().Environment().Settings(), entries);
    // The bytes the page does not edit keep what was last read.
    driver.Data().makerDataToWrite = MakerDataForWrite(driver.Data().makerData, static_cast<std::uint16_t>(*makerId),
                                                       *serial, static_cast<std::uint8_t>(model),
                                                       QDateTime::currentDateTime());
    Queue(kCommandWriteMakerData);
}

void CDlgMainConfigService::ReadServiceCentre()
{
    Queue(kCommandReadServiceCentreData);
}

void CDlgMainConfigService::WriteServiceCentre()
{
    DriverAccess& driver = Host().Driver();
    const std::optional<std::uint32_t> serial = ServiceNumber(m_displaySerial->text(), kMaxSerial);
    if (!serial) {
        Inform(ServiceFieldRefusal(QStringLiteral("Серийный номер для отобр.:")));
        return;
    }
    if (driver.IsBusy())
        return;
    ServicePageEntries entries = LoadServicePageEntries(Host().Environment().Settings());
    entries.displaySerial = m_displaySerial->text();
    entries.battery = std::max(m_battery->currentIndex(), 0);
    entries.variant = std::max(m_variant->currentIndex(), 0);
    StoreServiceCentreEntries(Host().Environment().Settings(), entries);
    driver.Data().serviceCentreDataToWrite = ServiceCentreDataForWrite(
        *serial, unsigned(entries.battery), unsigned(entries.variant), driver.FirmwareLevel());
    Queue(kCommandWriteServiceCentreData);
}

void CDlgMainConfigService::SendServiceCode(std::uint16_t code)
{
    if (Host().Driver().IsBusy())
        return;
    // What erases or overwrites the meter's data for good is asked first; No is the default.
    const QString question = ServiceCodeQuestion(code);
    if (!question.isEmpty()
        && Host().ShowMessage(question, QString::fromUtf8(kCaptionQuestion),
                              MessageStyle::kYesNo | MessageStyle::kIconQuestion | MessageStyle::kDefaultButton2)
            != MessageAnswer::kYes)
        return;
    Host().Driver().Data().serviceCommand = PlainServiceCommand(code);
    if (Queue(kCommandServiceCommand))
        m_sentCode = code;
}

void CDlgMainConfigService::SetClock()
{
    const int answer = Host().ShowMessage(ClockResetQuestion(), QString::fromUtf8(kCaptionQuestion),
                                          MessageStyle::kYesNo | MessageStyle::kIconQuestion);
    if (answer == MessageAnswer::kYes)
        Queue(kCommandSetClock);
}

void CDlgMainConfigService::CalibrateAutomatically(DriverCommand command)
{
    if (m_standPort->currentIndex() < 0) {
        Inform(QStringLiteral("Не выбран СОМ-порт для подключения РКМ-8!"));
        return;
    }
    DriverAccess& driver = Host().Driver();
    // The stand's link belongs to the command thread while a calibration runs.
    if (driver.IsBusy())
        return;
    const int port = m_standPort->currentData().toInt();
    StoreStandPort(Host().Environment().Settings(), port);
    m_stand.PrepareChannelBeside(port, driver.MeterChannel());
    Queue(command);
}

void CDlgMainConfigService::CommandFinished(int code)
{
    if (code == kCommandReadMakerData)
        ShowMakerData();
    else if (code == kCommandReadServiceCentreData)
        ShowServiceCentreData();
    else if (code == kCommandServiceCommand) {
        const QString done = ServiceCodeDoneText(m_sentCode);
        m_sentCode = 0;
        if (!done.isEmpty())
            Inform(done);
    }
}

void CDlgMainConfigService::ShowMakerData()
{
    const MakerData& data = Host().Driver().Data().makerData;
    m_loading = true;
    m_makerId->setText(QString::number(data.makerId));
    m_makerSerial->setText(QString::number(data.serialAtManufacture));
    // A model the list does not know leaves the choice empty: nothing is written until one is chosen.
    m_model->setCurrentIndex(data.modelIndex < kModelCount ? data.modelIndex : -1);
    m_releaseDate->setText(MakerReleaseDateText(data.manufactured));
    m_loading = false;
}

void CDlgMainConfigService::ShowServiceCentreData()
{
    const ServiceCentreData& data = Host().Driver().Data().serviceCentreData;
    m_loading = true;
    m_displaySerial->setText(QString::number(data.displaySerial));
    m_battery->setCurrentIndex(data.BatteryType() < unsigned(m_battery->count()) ? int(data.BatteryType()) : -1);
    m_variant->setCurrentIndex(int(data.Variant()));
    m_resources->setPlainText(ServiceCentreResourceText(data));
    m_loading = false;
}
