#include "gui/config/maker_service_page.h"

#include "app/app_environment.h"
#include "channel/port_table.h"
#include "config/model_capabilities.h"
#include "config/service_data_texts.h"
#include "config/service_page_settings.h"
#include "gui/config/config_field_widgets.h"
#include "gui/config/serial_arrow_keys.h"
#include "gui/widgets/driver_progress_texts.h"
#include "protocol/driver_access.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr NumericFieldRule kWholeNumberRule{false, 0};
constexpr NumericFieldRule kVoltageRule{false, 3};

QHBoxLayout* ButtonRow(QPushButton* first, QPushButton* second)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(first);
    row->addWidget(second);
    return row;
}

}  // namespace

CDlgMainConfigService::CDlgMainConfigService(PageHost& host, CRkm8& stand, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent), m_stand(stand)
{
    setObjectName(QStringLiteral("CDlgMainConfigService"));
    auto* page = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    page->addLayout(columns, 1);
    // Every button's command ends with its own result here, as on the frame page.
    m_texts = new DriverProgressTexts;
    m_texts->setObjectName(QStringLiteral("serviceTexts"));
    page->addWidget(m_texts);
    auto* left = new QVBoxLayout;
    left->addWidget(BuildMakerBox());
    left->addWidget(BuildServiceCentreBox());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildCalibrationBox());
    right->addWidget(BuildAutomaticBox());
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    LoadEntries();
    OnConnectionStateChanged();
}

CDlgMainConfigService::~CDlgMainConfigService()
{
    Host().Driver().ForgetRequester(this);
}

QWidget* CDlgMainConfigService::BuildMakerBox()
{
    auto* box = new QGroupBox(QStringLiteral("Данные производителя:"));
    auto* form = new QFormLayout;
    m_makerId = NumericEdit("makerIdEdit", kWholeNumberRule);
    m_makerSerial = NumericEdit("makerSerialEdit", kWholeNumberRule);
    InstallSerialArrowKeys(m_makerSerial);
    m_model = new QComboBox;
    for (int model = 0; model < kModelCount; ++model)
        m_model->addItem(ModelName(model));
    m_voltage = NumericEdit("voltageEdit", kVoltageRule);
    form->addRow(QStringLiteral("ID производителя:"), m_makerId);
    form->addRow(QStringLiteral("Сер. номер при выпуске:"), m_makerSerial);
    form->addRow(QStringLiteral("Модель:"), m_model);
    auto* voltageRow = new QHBoxLayout;
    voltageRow->addWidget(m_voltage);
    voltageRow->addWidget(new QLabel(QStringLiteral("- эталонное напряжение питания  (В)")), 1);
    form->addRow(voltageRow);
    m_releaseDate = new QLabel;
    form->addRow(m_releaseDate);

    m_readMaker = new QPushButton(QStringLiteral("Прочитать параметры"));
    m_writeMaker = new QPushButton(QStringLiteral("Записать параметры"));
    connect(m_readMaker, &QPushButton::clicked, this, &CDlgMainConfigService::ReadMaker);
    connect(m_writeMaker, &QPushButton::clicked, this, &CDlgMainConfigService::WriteMaker);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addLayout(ButtonRow(m_readMaker, m_writeMaker));
    return box;
}

QWidget* CDlgMainConfigService::BuildServiceCentreBox()
{
    auto* box = new QGroupBox(QStringLiteral("Данные сервис-центра:"));
    auto* form = new QFormLayout;
    m_displaySerial = NumericEdit("displaySerialEdit", kWholeNumberRule);
    InstallSerialArrowKeys(m_displaySerial);
    m_battery = new QComboBox;
    m_battery->addItems(BatteryTypeNames());
    m_variant = new QComboBox;
    m_variant->addItems(VariantNames());
    form->addRow(QStringLiteral("Серийный номер для отобр.:"), m_displaySerial);
    form->addRow(QStringLiteral("Тип батареи пит.:"), m_battery);
    form->addRow(QStringLiteral("Исполнение:"), m_variant);
    m_resources = new QPlainTextEdit;
    m_resources->setReadOnly(true);
    m_resources->setFixedHeight(m_resources->fontMetrics().lineSpacing() * 6);
    form->addRow(m_resources);

    m_readCentre = new QPushButton(QStringLiteral("Прочитать параметры"));
    m_writeCentre = new QPushButton(QStringLiteral("Записать параметры"));
    connect(m_readCentre, &QPushButton::clicked, this, &CDlgMainConfigService::ReadServiceCentre);
    connect(m_writeCentre, &QPushButton::clicked, this, &CDlgMainConfigService::WriteServiceCentre);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addLayout(ButtonRow(m_readCentre, m_writeCentre));
    return box;
}

QWidget* CDlgMainConfigService::BuildCalibrationBox()
{
    auto* box = new QGroupBox(QStringLiteral("Калибровка и обслуживание:"));
    auto* grid = new QGridLayout(box);
    int count = 0;
    m_temperaturePoint = new QComboBox;
    const CalibrationChoice* temperature = TemperatureCalibrationChoices(&count);
    for (int i = 0; i < count; ++i)
        m_temperaturePoint->addItem(QString::fromUtf8(temperature[i].text), temperature[i].code);
    m_currentPoint = new QComboBox;
    const CalibrationChoice* current = CurrentCalibrationChoices(&count);
    for (int i = 0; i < count; ++i)
        m_currentPoint->addItem(QString::fromUtf8(current[i].text), current[i].code);
    m_temperaturePointRun = new QPushButton(QStringLiteral("Выполнить"));
    m_currentPointRun = new QPushButton(QStringLiteral("Выполнить"));
    grid->addWidget(new QLabel(QStringLiteral("Калибровка t:")), 0, 0);
    grid->addWidget(m_temperaturePoint, 0, 1);
    grid->addWidget(m_temperaturePointRun, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Калибровка P:")), 1, 0);
    grid->addWidget(m_currentPoint, 1, 1);
    grid->addWidget(m_currentPointRun, 1, 2);

    m_lock = new QPushButton(QStringLiteral("Запрет калибровок"));
    m_erase = new QPushButton(QStringLiteral("Полное стирание архива"));
    m_clock = new QPushButton(QStringLiteral("Установка даты/времени"));
    grid->addWidget(m_lock, 2, 0, 1, 3);
    grid->addWidget(m_erase, 3, 0, 1, 3);
    grid->addWidget(m_clock, 4, 0, 1, 3);

    connect(m_temperaturePointRun, &QPushButton::clicked, this,
            [this] { SendServiceCode(static_cast<std::uint16_t>(m_temperaturePoint->currentData().toUInt())); });
    connect(m_currentPointRun, &QPushButton::clicked, this,
            [this] { SendServiceCode(static_cast<std::uint16_t>(m_currentPoint->currentData().toUInt())); });
    connect(m_lock, &QPushButton::clicked, this, [this] { SendServiceCode(kServiceLockCalibration); });
    connect(m_erase, &QPushButton::clicked, this, [this] { SendServiceCode(kServiceEraseArchive); });
    connect(m_clock, &QPushButton::clicked, this, &CDlgMainConfigService::SetClock);
    return box;
}

QWidget* CDlgMainConfigService::BuildAutomaticBox()
{
    auto* box = new QGroupBox(QStringLiteral("Автоматическая калибровка:"));
    auto* grid = new QGridLayout(box);
    m_standPort = new QComboBox;
    m_autoTemperature = new QPushButton(QStringLiteral("Калибровка t"));
    m_autoCurrent = new QPushButton(QStringLiteral("Калибровка P"));
    grid->addWidget(new QLabel(QStringLiteral("COM порт РКМ-8:")), 0, 0);
    grid->addWidget(m_standPort, 0, 1);
    grid->addWidget(m_autoTemperature, 1, 0);
    grid->addWidget(m_autoCurrent, 1, 1);
    connect(m_standPort, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_loading && index >= 0)
            StoreStandPort(Host().Environment().Settings(), m_standPort->itemData(index).toInt());
    });
    connect(m_autoTemperature, &QPushButton::clicked, this,
            [this] { CalibrateAutomatically(kCommandCalibrateTemperature); });
    connect(m_autoCurrent, &QPushButton::clicked, this, [this] { CalibrateAutomatically(kCommandCalibrateCurrent); });
    return box;
}

void CDlgMainConfigService::LoadEntries()
{
    m_loading = true;
    const ServicePageEntries entries = LoadServicePageEntries(Host().Environment().Settings());
    m_makerId->setText(entries.makerId);
    m_makerSerial->setText(entries.makerSerial);
    m_model->setCurrentIndex(entries.model);
    m_voltage->setText(entries.voltage);
    m_displaySerial->setText(entries.displaySerial);
    m_battery->setCurrentIndex(entries.battery);
    m_variant->setCurrentIndex(entries.variant);
    m_loading = false;
    FillStandPorts();
}

void CDlgMainConfigService::FillStandPorts()
{
    m_loading = true;
    const int chosen = m_standPort->currentIndex() >= 0 ? m_standPort->currentData().toInt()
                                                        : LoadStandPort(Host().Environment().Settings());
    m_standPort->clear();
    const QMap<int, QString> ports = PortTable::Global().Entries();
    for (auto it = ports.begin(); it != ports.end(); ++it)
        m_standPort->addItem(PortTable::DisplayName(it.key(), it.value()), it.key());
    m_standPort->setCurrentIndex(m_standPort->findData(chosen));
    m_loading = false;
}

void CDlgMainConfigService::OnPageShown()
{
    // Ports may have come and gone while the page was hidden.
    FillStandPorts();
}

void CDlgMainConfigService::OnConnectionStateChanged()
{
    EnableWhileConnected({m_readMaker, m_writeMaker, m_readCentre, m_writeCentre, m_temperaturePointRun,
                          m_currentPointRun, m_lock, m_erase, m_clock, m_autoTemperature, m_autoCurrent});
}

void CDlgMainConfigService::RefreshCommandStates() {}
