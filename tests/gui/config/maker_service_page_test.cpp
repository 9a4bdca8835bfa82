// The maker's service page in the main window against a simulated meter on a loopback port: the
// refusals it makes before anything is queued, the maker's and service centre's data written and
// read back, the remembered entries and the arrow keys of the serial-number edits.

#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/main_window_rig.h"

#include "base/message_style.h"
#include "base/setting_value.h"
#include "base/settings_sections.h"
#include "channel/port_table.h"
#include "gui/config/configuration_frame_page.h"
#include "gui/config/maker_service_page.h"
#include "gui/monitor/exchange_monitor_window.h"
#include "gui/widgets/driver_progress_texts.h"
#include "gui/widgets/page_tree.h"
#include "meter/register_map.h"
#include "meter/service_blocks.h"
#include "sim/meter_archives.h"
#include "sim/meter_simulator.h"
#include "sim/reference_stand.h"
#include "sim/reference_stand_line.h"
#include "sim/sim_server.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A meter of the given firmware level on a loopback port, chosen as the window's node and connected.
class ServicePageRig {
public:
    explicit ServicePageRig(std::uint16_t firmwareLevel, std::function<void(SettingsStore&)> settings = {})
        : meter(OptionsFor(firmwareLevel)), server(meter)
    {
        QString error;
        started = server.Start(&error);
        NodeBase base;
        base.Append(TcpNode(QStringLiteral("Стенд"), server.BoundPort(), 1, 170001));
        started = started && rig.WriteBase(base);
        if (settings)
            settings(rig.environment->Settings());
        window = rig.OpenWindow();
        ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
        QTest::mouseClick(window->MainConfig()->ConnectButton(), Qt::LeftButton);
        started = started && QTest::qWaitFor([&] { return Frame()->OperationText() == Done(); }, kArrivesMs);
        started = started && QTest::qWaitFor([&] { return !window->Driver().IsBusy(); }, kArrivesMs);
        window->SelectPage(CDlgMainConfigService::kPageId);
        const PageEntry* entry = window->Pages()->Find(CDlgMainConfigService::kPageId);
        page = entry ? qobject_cast<CDlgMainConfigService*>(entry->page) : nullptr;
        started = started && page && page->isVisible();
        // The driver is idle a moment before the window hears of it and enables the buttons.
        started = started && QTest::qWaitFor([&] { return page->EraseButton()->isEnabled(); }, kArrivesMs);
        rig.presenter.messages.clear();
    }

    static SimOptions OptionsFor(std::uint16_t firmwareLevel)
    {
        SimOptions options;
        options.endpoint = SimOptions::Endpoint::Tcp;
        options.identity.firmwareLevel = firmwareLevel;
        return options;
    }
    static QString Done() { return QStringLiteral("Операция успешно завершена!"); }
    CDlgMainConfig* Frame() const { return window->MainConfig(); }

    // Clicks and waits until the command has run and the page was told.
    bool ClickAndWait(QPushButton* button)
    {
        Frame()->SetOperationText(QString());
        QTest::mouseClick(button, Qt::LeftButton);
        // Ended when the page has heard of it too: its buttons come back only then.
        return QTest::qWaitFor(
            [&] {
                return Frame()->OperationText() == Done() && !window->Driver().IsBusy()
                    && page->EraseButton()->isEnabled();
            },
            kArrivesMs);
    }

    MakerData MeterMakerData()
    {
        MakerData data{};
        std::lock_guard<std::mutex> lock(meter.Lock());
        std::memcpy(&data, meter.Image().Bytes() + AreaOffset(MeterArea::kMakerData), 14);
        return data;
    }

    ServiceCentreData MeterServiceCentreData()
    {
        ServiceCentreData data{};
        std::lock_guard<std::mutex> lock(meter.Lock());
        std::memcpy(&data, meter.Image().Bytes() + AreaOffset(MeterArea::kServiceCentreData), sizeof data);
        return data;
    }

    void Type(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    MeterSimulator meter;
    SimServer server;
    MainWindowRig rig;
    std::unique_ptr<MainDialog> window;
    CDlgMainConfigService* page = nullptr;
    bool started = false;
};

SettingValue<QString> ServiceText(SettingsStore& store, const char* key)
{
    return SettingsSection(store, SettingsSections::kService).Value(QString::fromLatin1(key), QString());
}

}  // namespace

TEST(ServicePage, Model041IsRefusedAtLevel523AndWrittenAt524)
{
    {
        ServicePageRig older(523);
        ASSERT_TRUE(older.started);
        const std::uint32_t factorySerial = older.MeterMakerData().serialAtManufacture;
        older.Type(older.page->MakerIdEdit(), QStringLiteral("12"));
        older.Type(older.page->MakerSerialEdit(), QStringLiteral("4500"));
        older.page->ModelList()->setCurrentIndex(4);
        QTest::mouseClick(older.page->WriteMakerButton(), Qt::LeftButton);
        ASSERT_EQ(older.rig.presenter.messages.size(), 1);
        EXPECT_EQ(older.rig.presenter.messages[0].text,
                  QStringLiteral("Недопустимый номер модели для данного прибора!"));
        EXPECT_EQ(older.rig.presenter.messages[0].caption, QStringLiteral("Информация"));
        // Nothing was queued and nothing remembered.
        EXPECT_FALSE(older.window->Driver().IsBusy());
        EXPECT_EQ(unsigned(+older.MeterMakerData().serialAtManufacture), unsigned(factorySerial));
        EXPECT_FALSE(ServiceText(older.rig.environment->Settings(), "ManufactureSerial").IsStored());
    }
    ServicePageRig newer(524);
    ASSERT_TRUE(newer.started);
    newer.Type(newer.page->MakerIdEdit(), QStringLiteral("12"));
    newer.Type(newer.page->MakerSerialEdit(), QStringLiteral("4500"));
    newer.Type(newer.page->VoltageEdit(), QStringLiteral("3.6"));
    newer.page->ModelList()->setCurrentIndex(4);
    const QDateTime before = QDateTime::currentDateTime();
    ASSERT_TRUE(newer.ClickAndWait(newer.page->WriteMakerButton()));
    EXPECT_TRUE(newer.rig.presenter.messages.isEmpty());
    const MakerData written = newer.MeterMakerData();
    EXPECT_EQ(written.makerId, 12);
    EXPECT_EQ(unsigned(+written.serialAtManufacture), 4500u);
    EXPECT_EQ(written.modelIndex, 4);
    EXPECT_EQ(written.manufactured.day, before.date().day());
    EXPECT_EQ(written.manufactured.year + 2000, before.date().year());
    SettingsStore& settings = newer.rig.environment->Settings();
    EXPECT_EQ(ServiceText(settings, "ManufactureSerial").Get(), QStringLiteral("4500"));
    EXPECT_EQ(ServiceText(settings, "UCalibrWrite").Get(), QStringLiteral("3.6"));

    // What the meter holds comes back into the page, the release date with it.
    {
        std::lock_guard<std::mutex> lock(newer.meter.Lock());
        MakerData changed = written;
        changed.serialAtManufacture = 9001;
        changed.manufactured = TChronoArch{7, 2, 23, 9};
        std::memcpy(newer.meter.Image().Bytes() + AreaOffset(MeterArea::kMakerData), &changed, 14);
    }
    newer.Type(newer.page->MakerSerialEdit(), QStringLiteral("1"));
    ASSERT_TRUE(newer.ClickAndWait(newer.page->ReadMakerButton()));
    // The page hears of the command just after the driver's busy flag drops.
    QTRY_COMPARE_WITH_TIMEOUT(newer.page->MakerSerialEdit()->text(), QStringLiteral("9001"), kArrivesMs);
    EXPECT_EQ(newer.page->MakerIdEdit()->text(), QStringLiteral("12"));
    EXPECT_EQ(newer.page->ModelList()->currentText(), QStringLiteral("04.1"));
    EXPECT_EQ(newer.page->ReleaseDateLabel()->text(), QStringLiteral("Дата выпуска: 07.02.2023 09"));
}

TEST(ServicePage, ServiceCentreDataAndTheRegionalVersionBits)
{
    ServicePageRig rig(515);
    ASSERT_TRUE(rig.started);
    rig.Type(rig.page->DisplaySerialEdit(), QStringLiteral("777"));
    rig.page->BatteryList()->setCurrentIndex(2);
    rig.page->VariantList()->setCurrentIndex(2);  // "Украина": bit 4
    ASSERT_TRUE(rig.ClickAndWait(rig.page->WriteServiceCentreButton()));
    ServiceCentreData written = rig.MeterServiceCentreData();
    EXPECT_EQ(written.displaySerial, 777u);
    EXPECT_EQ(written.batteryAndVariant, 0x10 | 2);
    EXPECT_EQ(SettingsSection(rig.rig.environment->Settings(), SettingsSections::kService)
                  .Value(QStringLiteral("ServicecenterVedType"), 0)
                  .Get(),
              2);

    {
        std::lock_guard<std::mutex> lock(rig.meter.Lock());
        written.batteryAndVariant = 0x08 | 1;  // "Казахстан", "Тип C"
        written.batteryResourceSet = 125;      // 2 h 5 min
        written.displayMinutes = 61;
        std::memcpy(rig.meter.Image().Bytes() + AreaOffset(MeterArea::kServiceCentreData), &written, sizeof written);
    }
    ASSERT_TRUE(rig.ClickAndWait(rig.page->ReadServiceCentreButton()));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.page->ResourceText()->toPlainText().isEmpty(), kArrivesMs);
    EXPECT_EQ(rig.page->DisplaySerialEdit()->text(), QStringLiteral("777"));
    EXPECT_EQ(rig.page->BatteryList()->currentText(), QStringLiteral("Тип C"));
    EXPECT_EQ(rig.page->VariantList()->currentText(), QStringLiteral("Казахстан"));
    const QString resources = rig.page->ResourceText()->toPlainText();
    EXPECT_TRUE(resources.contains(QStringLiteral("Заданный рес.батареи: 2 ч. 5 мин.")));
    EXPECT_TRUE(resources.contains(QStringLiteral("Наработка дисплея: 1 ч. 1 мин.")));

    const QString folder = qEnvironmentVariable("ZT5_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        ASSERT_TRUE(rig.ClickAndWait(rig.page->ReadMakerButton()));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.page->ReleaseDateLabel()->text().isEmpty(), kArrivesMs);
        rig.window->resize(1100, 620);
        QTest::qWait(50);
        EXPECT_TRUE(rig.page->grab().save(QDir(folder).filePath(QStringLiteral("config-service.png"))));
    }
}

TEST(ServicePage, BelowLevel512TheRegionalVersionIsNotWritten)
{
    ServicePageRig rig(511);
    ASSERT_TRUE(rig.started);
    rig.Type(rig.page->DisplaySerialEdit(), QStringLiteral("5"));
    rig.page->BatteryList()->setCurrentIndex(1);
    rig.page->VariantList()->setCurrentIndex(1);
    ASSERT_TRUE(rig.ClickAndWait(rig.page->WriteServiceCentreButton()));
    EXPECT_EQ(rig.MeterServiceCentreData().batteryAndVariant, 1);
}

TEST(ServicePage, RememberedEntriesArrowKeysAndTheStandPortCheck)
{
    ServicePageRig rig(515, [](SettingsStore& store) {
        SettingsSection(store, SettingsSections::kService).Value(QStringLiteral("ManufactureModel"), 3).Set(7);
        SettingsSection(store, SettingsSections::kService)
            .Value(QStringLiteral("ManufactureSerial"), QString())
            .Set(QStringLiteral("2"));
        // A stand port nobody has: no port is chosen.
        SettingsSection(store, SettingsSections::kProgram).Value(QStringLiteral("CommRkm8"), 1).Set(30);
    });
    ASSERT_TRUE(rig.started);
    EXPECT_EQ(rig.page->ModelList()->currentText(), QStringLiteral("04"));
    QLineEdit* serial = rig.page->MakerSerialEdit();
    EXPECT_EQ(serial->text(), QStringLiteral("2"));
    QTest::keyClick(serial, Qt::Key_Up);
    EXPECT_EQ(serial->text(), QStringLiteral("3"));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(serial, Qt::Key_Down);
    EXPECT_EQ(serial->text(), QStringLiteral("1"));
    QTest::keyClick(rig.page->DisplaySerialEdit(), Qt::Key_Up);
    EXPECT_EQ(rig.page->DisplaySerialEdit()->text(), QStringLiteral("1"));

    // Typing keeps digits only.
    rig.Type(rig.page->MakerIdEdit(), QStringLiteral("4a2"));
    EXPECT_EQ(rig.page->MakerIdEdit()->text(), QStringLiteral("42"));
    rig.Type(rig.page->MakerIdEdit(), QStringLiteral("70000"));
    QTest::mouseClick(rig.page->WriteMakerButton(), Qt::LeftButton);
    ASSERT_EQ(rig.rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.rig.presenter.messages[0].text, QStringLiteral("Недопустимое значение поля \"ID производителя:\"!"));
    rig.rig.presenter.messages.clear();

    ASSERT_EQ(rig.page->StandPortList()->currentIndex(), -1);
    QTest::mouseClick(rig.page->AutoTemperatureButton(), Qt::LeftButton);
    ASSERT_EQ(rig.rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.rig.presenter.messages[0].text, QStringLiteral("Не выбран СОМ-порт для подключения РКМ-8!"));
    EXPECT_EQ(rig.rig.presenter.messages[0].caption, QStringLiteral("Информация"));
    EXPECT_FALSE(rig.window->Driver().IsBusy());

    // The clock question answered "No" queues nothing; "Yes" sets the meter's clock.
    rig.rig.presenter.messages.clear();
    rig.rig.presenter.answer = MessageAnswer::kNo;
    QTest::mouseClick(rig.page->ClockButton(), Qt::LeftButton);
    ASSERT_EQ(rig.rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.rig.presenter.messages[0].text,
              QStringLiteral("Выполнение команды приведет к сбросу архива. Продолжить выполнение?"));
    EXPECT_EQ(rig.rig.presenter.messages[0].caption, QStringLiteral("Подтверждение"));
    EXPECT_FALSE(rig.window->Driver().IsBusy());
}

TEST(ServicePage, ManualCalibrationPointsAndTheLockReachTheMeter)
{
    ServicePageRig rig(515);
    ASSERT_TRUE(rig.started);
    rig.rig.presenter.answer = MessageAnswer::kYes;        // "Сохранить" asks first
    rig.page->TemperaturePointList()->setCurrentIndex(1);  // "Калибр. на 141.2 Ом"
    ASSERT_TRUE(rig.ClickAndWait(rig.page->TemperaturePointButton()));
    rig.page->CurrentPointList()->setCurrentIndex(1);  // "Сохранить"
    ASSERT_TRUE(rig.ClickAndWait(rig.page->CurrentPointButton()));
    {
        std::lock_guard<std::mutex> lock(rig.meter.Lock());
        EXPECT_EQ(rig.meter.State().calibrationCommands, (std::vector<std::uint16_t>{0xFF9E, 0xFFA2}));
    }
    ASSERT_TRUE(rig.ClickAndWait(rig.page->LockButton()));
    std::lock_guard<std::mutex> lock(rig.meter.Lock());
    EXPECT_TRUE(rig.meter.State().calibrationLocked);
}

TEST(ServicePage, ErasingTheArchiveAndSavingACalibrationAskFirstAndSayWhenDone)
{
    ServicePageRig rig(515);
    ASSERT_TRUE(rig.started);
    const auto resetTime = [&] {
        std::lock_guard<std::mutex> lock(rig.meter.Lock());
        return rig.meter.Archives().ResetTime();
    };
    const MeterSeconds before = resetTime();
    const QString question = QStringLiteral("Стереть все архивы прибора? Данные будут потеряны безвозвратно.");

    // No: nothing is sent.
    rig.rig.presenter.answer = MessageAnswer::kNo;
    QTest::mouseClick(rig.page->EraseButton(), Qt::LeftButton);
    ASSERT_EQ(rig.rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.rig.presenter.messages[0].text, question);
    EXPECT_EQ(rig.rig.presenter.messages[0].style & MessageStyle::kButtonMask, MessageStyle::kYesNo);
    EXPECT_TRUE(rig.rig.presenter.messages[0].style & MessageStyle::kDefaultButton2) << "No is the default";
    EXPECT_FALSE(rig.window->Driver().IsBusy());
    EXPECT_EQ(resetTime(), before);

    // Yes: erased, told, and the page's own result line says how it ended.
    rig.rig.presenter.messages.clear();
    rig.rig.presenter.answer = MessageAnswer::kYes;
    ASSERT_TRUE(rig.ClickAndWait(rig.page->EraseButton()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rig.presenter.messages.size() == 2; }, kArrivesMs));
    EXPECT_EQ(rig.rig.presenter.messages[0].text, question);
    EXPECT_EQ(rig.rig.presenter.messages[1].text, QStringLiteral("Архивы прибора стерты."));
    EXPECT_NE(resetTime(), before);
    EXPECT_EQ(rig.page->Texts()->OperationText(), QStringLiteral("Операция успешно завершена!"));

    // Saving a calibration asks too; a plain calibration point does not.
    rig.rig.presenter.messages.clear();
    rig.rig.presenter.answer = MessageAnswer::kNo;
    rig.page->TemperaturePointList()->setCurrentIndex(3);  // "Сохранить"
    QTest::mouseClick(rig.page->TemperaturePointButton(), Qt::LeftButton);
    ASSERT_EQ(rig.rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.rig.presenter.messages[0].text,
              QStringLiteral("Сохранить новые калибровочные коэффициенты в приборе? Прежние будут заменены."));
    rig.page->TemperaturePointList()->setCurrentIndex(0);
    rig.page->Texts()->SetOperationText(QString());
    ASSERT_TRUE(rig.ClickAndWait(rig.page->TemperaturePointButton()));
    EXPECT_EQ(rig.rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.page->Texts()->OperationText(), QStringLiteral("Операция успешно завершена!"));
    std::lock_guard<std::mutex> lock(rig.meter.Lock());
    EXPECT_EQ(rig.meter.State().calibrationCommands, (std::vector<std::uint16_t>{0xFF9D}));
}

TEST(ServicePage, AutomaticCurrentCalibrationRunsWithTheStandOnTheChosenPort)
{
    constexpr int kStandPort = 27;
    ReferenceStand stand;
    ReferenceStandLine line(stand);
    QString error;
    ASSERT_TRUE(line.Start(QStringLiteral("pty"), &error)) << error.toStdString();

    ServicePageRig rig(515);
    ASSERT_TRUE(rig.started);
    // By hand, as in the port table editor; the window has loaded its table by now.
    PortTable::Global().Assign(kStandPort, line.Path());
    rig.page->OnPageShown();  // the port list is filled afresh
    QComboBox* ports = rig.page->StandPortList();
    const int row = ports->findData(kStandPort);
    ASSERT_GE(row, 0);
    EXPECT_TRUE(ports->itemText(row).startsWith(QStringLiteral("COM27 (")));
    ports->setCurrentIndex(row);
    EXPECT_EQ(SettingsSection(rig.rig.environment->Settings(), SettingsSections::kProgram)
                  .Value(QStringLiteral("CommRkm8"), 1)
                  .Get(),
              kStandPort);

    ASSERT_TRUE(rig.ClickAndWait(rig.page->AutoCurrentButton()));
    EXPECT_TRUE(rig.rig.presenter.messages.isEmpty());
    EXPECT_EQ(stand.Measures(), (QStringList{"R=51.000", "I0=20.000", "I1=20.000", "I2=20.000", "I3=20.000"}));
    EXPECT_TRUE(rig.window->Monitor()->Text().contains(QStringLiteral("РКМ8(0005) COM27 Out ->: ")));
    {
        std::lock_guard<std::mutex> lock(rig.meter.Lock());
        EXPECT_EQ(rig.meter.State().calibrationCommands, (std::vector<std::uint16_t>{65441, 65442}));
    }
    PortTable::Global().Assign(kStandPort, QString());
}

TEST(ServicePage, ButtonsThatTalkToTheMeterFollowTheConnection)
{
    ServicePageRig rig(515);
    ASSERT_TRUE(rig.started);
    auto* readClock = rig.window->findChild<QPushButton*>(QStringLiteral("readClockButton"));
    ASSERT_NE(readClock, nullptr) << "the user's service tab";
    const auto meterButtons = [&] {
        return QList<QPushButton*>{rig.page->ReadMakerButton(),   rig.page->WriteServiceCentreButton(),
                                   rig.page->EraseButton(),       rig.page->ClockButton(),
                                   rig.page->AutoCurrentButton(), readClock};
    };
    for (QPushButton* button : meterButtons())
        EXPECT_TRUE(button->isEnabled()) << button->text().toStdString();

    // "Разорвать связь": nothing here may be clicked into a dead line.
    QTest::mouseClick(rig.Frame()->BreakButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !rig.window->Driver().IsDeviceConnected() && !rig.page->EraseButton()->isEnabled(); },
        kArrivesMs));
    for (QPushButton* button : meterButtons())
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    // The stand's port stays choosable: it is the program's own setting.
    EXPECT_TRUE(rig.page->StandPortList()->isEnabled());

    // Connected again, they come back.
    ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
    QTest::mouseClick(rig.Frame()->ConnectButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return rig.window->Driver().IsDeviceConnected() && rig.page->EraseButton()->isEnabled(); }, kArrivesMs));
    for (QPushButton* button : meterButtons())
        EXPECT_TRUE(button->isEnabled()) << button->text().toStdString();
}
