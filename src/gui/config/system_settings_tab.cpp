#include "gui/config/system_settings_tab.h"

#include "config/open_settings_text.h"
#include "config/tunes_defaults.h"
#include "gui/config/config_field_widgets.h"
#include "protocol/driver_access.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr unsigned kExtraPulseCount = 2;
constexpr unsigned kExtraAlarm = 3;
constexpr int kWeightDecimals = 4;
constexpr int kConfirmDecimals = 1;

QStringList Numbers(int first, int last)
{
    QStringList texts;
    for (int i = first; i <= last; ++i)
        texts << QString::number(i);
    return texts;
}

QStringList MonthNames()
{
    return {QStringLiteral("январь"),   QStringLiteral("февраль"), QStringLiteral("март"),   QStringLiteral("апрель"),
            QStringLiteral("май"),      QStringLiteral("июнь"),    QStringLiteral("июль"),   QStringLiteral("август"),
            QStringLiteral("сентябрь"), QStringLiteral("октябрь"), QStringLiteral("ноябрь"), QStringLiteral("декабрь")};
}

QString MonthComboName(int set)
{
    return QStringLiteral("db%1StartMonth").arg(set + 1);
}

}  // namespace

CDlgMainConfigCommon::CDlgMainConfigCommon(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_model(ValueCombo("modelCombo", kModelNames)),
      m_networkAddress(NumericEdit("networkAddressEdit", kByteFieldRule)),
      m_organisation(LimitedEdit("organisationEdit", kOpenTextLength)),
      m_contract(LimitedEdit("contractEdit", kOpenTextLength)),
      m_reportHour(CountedCombo("reportHourCombo", Numbers(0, int(kLastReportHour)))),
      m_reportDay(CountedCombo("reportDayCombo", Numbers(int(kFirstReportDay), int(kLastReportDay)), 1)),
      m_units(ValueCombo("unitSystemCombo", kUnitSystemTexts)),
      m_sensors(ValueCombo("sensorTypeCombo", kSensorTypeTexts)),
      m_daylightSaving(NamedWidget<QCheckBox>("daylightSavingCheck",
                                              QStringLiteral("Автоматический переход на зимнее/летнее время:"))),
      m_inversion(NamedWidget<QCheckBox>("inversionCheck", QStringLiteral("Инверсия экрана"))),
      m_extraUse(ValueCombo("extraUseCombo", kExtraUseTexts)),
      m_extraWeight(NumericEdit("extraWeightEdit", {false, kWeightDecimals})),
      m_extraMin(NumericEdit("extraMinEdit", {false, kWeightDecimals})),
      m_extraMax(NumericEdit("extraMaxEdit", {false, kWeightDecimals})),
      m_extraUnits(ValueCombo("extraUnitsCombo", kExtraUnitsTexts)),
      m_alarmLevel(ValueCombo("alarmLevelCombo", kAlarmLevelTexts)),
      m_confirmTime(NumericEdit("confirmTimeEdit", {false, kConfirmDecimals})),
      m_db2Use(ValueCombo("db2UseCombo", kDb2UseTexts)),
      m_dbMethod(ValueCombo("dbChangeMethodCombo", kDbChangeMethodTexts)),
      m_keyboardAccess(ValueCombo("keyboardAccessCombo", kDbAccessTexts)),
      m_pcAccess(ValueCombo("pcAccessCombo", kDbAccessTexts))
{
    for (int set = 0; set < kDbCount; ++set) {
        m_startMonth[set] = CountedCombo(MonthComboName(set).toLatin1().constData(), MonthNames(), 1);
        m_startDay[set] = CountedCombo(QStringLiteral("db%1StartDay").arg(set + 1).toLatin1().constData(),
                                       Numbers(1, 31), 1);
        m_startHour[set] = CountedCombo(QStringLiteral("db%1StartHour").arg(set + 1).toLatin1().constData(),
                                        Numbers(0, 23));
    }

    auto* layout = new QGridLayout(this);
    layout->addWidget(BuildIdentityBox(), 0, 0);
    layout->addWidget(BuildSystemBox(), 1, 0);
    layout->addWidget(BuildExtraInputBox(), 0, 1);
    layout->addWidget(BuildDbBox(), 1, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(2, 1);
    Connect();
    ConnectExtraInput();
    ConnectDb();
    Load();
}

ConfigurationBlocks& CDlgMainConfigCommon::Blocks() const
{
    return Host().Driver().Configuration();
}

template <class Edit>
void CDlgMainConfigCommon::Store(Edit edit)
{
    if (!m_loading)
        edit(Blocks());
}

QWidget* CDlgMainConfigCommon::BuildIdentityBox()
{
    auto* box = new QGroupBox(QStringLiteral("Прибор:"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Модель:"), m_model);
    form->addRow(QStringLiteral("Сетевой адрес:"), m_networkAddress);
    form->addRow(QStringLiteral("Код организации:"), m_organisation);
    form->addRow(QStringLiteral("Договор:"), m_contract);
    return box;
}

QWidget* CDlgMainConfigCommon::BuildSystemBox()
{
    auto* box = new QGroupBox(QStringLiteral("Системные:"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Час отчета:"), m_reportHour);
    form->addRow(QStringLiteral("Дата отчета:"), m_reportDay);
    form->addRow(QStringLiteral("Система единиц:"), m_units);
    form->addRow(QStringLiteral("Термопреобразователи:"), m_sensors);
    form->addRow(m_daylightSaving);
    form->addRow(m_inversion);
    return box;
}

QWidget* CDlgMainConfigCommon::BuildExtraInputBox()
{
    auto* box = new QGroupBox(QStringLiteral("Доп. импульсный вход:"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Использование:"), m_extraUse);
    form->addRow(QStringLiteral("Вес импульса:"), m_extraWeight);
    form->addRow(QStringLiteral("ДПmin:"), m_extraMin);
    form->addRow(QStringLiteral("ДПmax:"), m_extraMax);
    form->addRow(QStringLiteral("Ед.измер.:"), m_extraUnits);
    form->addRow(QStringLiteral("Уровень тревоги:"), m_alarmLevel);
    form->addRow(QStringLiteral("Т подтв. (сек.):"), m_confirmTime);
    return box;
}

QWidget* CDlgMainConfigCommon::BuildDbBox()
{
    auto* box = new QGroupBox(QStringLiteral("Управление БД2:"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Использ. БД2:"), m_db2Use);
    form->addRow(QStringLiteral("БД1<>БД2:"), m_dbMethod);
    form->addRow(QStringLiteral("С клавиатуры:"), m_keyboardAccess);
    form->addRow(QStringLiteral("С ПК:"), m_pcAccess);
    for (int set = 0; set < kDbCount; ++set) {
        auto* row = new QHBoxLayout;
        row->addWidget(m_startMonth[set]);
        row->addWidget(m_startDay[set]);
        row->addWidget(m_startHour[set]);
        form->addRow(QStringLiteral("БД%1 с (месяц, день, час):").arg(set + 1), row);
    }
    return box;
}

void CDlgMainConfigCommon::StoreOnPick(QComboBox* combo, std::function<void(ConfigurationBlocks&, unsigned)> store)
{
    OnComboPicked(combo, [this, store](unsigned value) { Store([&](ConfigurationBlocks& b) { store(b, value); }); });
}

void CDlgMainConfigCommon::StoreOnNumber(QLineEdit* edit, std::function<void(ConfigurationBlocks&, float)> store)
{
    OnNumberEdited(edit, [this, store](double value) {
        Store([&](ConfigurationBlocks& b) { store(b, static_cast<float>(value)); });
    });
}

void CDlgMainConfigCommon::Connect()
{
    StoreOnPick(m_model, [](ConfigurationBlocks& b, unsigned v) { b.identity.modelIndex = std::uint8_t(v); });
    OnNumberEdited(m_networkAddress, [this](double v) {
        Store([v](ConfigurationBlocks& b) { b.open.networkAddress = std::uint8_t(v); });
    });
    connect(m_organisation, &QLineEdit::textEdited, this, [this](const QString& text) {
        Store([&text](ConfigurationBlocks& b) { SetOrganisationCode(b.open, text); });
    });
    connect(m_contract, &QLineEdit::textEdited, this,
            [this](const QString& text) { Store([&text](ConfigurationBlocks& b) { SetContractText(b.open, text); }); });
    StoreOnPick(m_reportHour, [](ConfigurationBlocks& b, unsigned v) { b.tunes.reportHour = std::uint8_t(v); });
    StoreOnPick(m_reportDay, [](ConfigurationBlocks& b, unsigned v) { b.tunes.reportDay = std::uint8_t(v); });
    StoreOnPick(m_units, [](ConfigurationBlocks& b, unsigned v) { b.tunes.SetUnitSystem(v); });
    StoreOnPick(m_sensors, [](ConfigurationBlocks& b, unsigned v) { b.tunes.SetSensorType(v); });
    connect(m_daylightSaving, &QCheckBox::toggled, this,
            [this](bool on) { Store([on](ConfigurationBlocks& b) { b.tunes.SetAutoDaylightSaving(on); }); });
    connect(m_inversion, &QCheckBox::toggled, this,
            [this](bool on) { Store([on](ConfigurationBlocks& b) { b.tunes.SetScreenInversion(on); }); });
}

void CDlgMainConfigCommon::ConnectExtraInput()
{
    StoreOnPick(m_extraUse, [this](ConfigurationBlocks& b, unsigned v) {
        b.tunes.extra.SetUse(v);
        // The weight and the confirmation time share one field: show it in the format of the new use.
        LoadExtraInput();
    });
    StoreOnNumber(m_extraWeight, [](ConfigurationBlocks& b, float v) { b.tunes.extra.weightOrConfirmation = v; });
    StoreOnNumber(m_extraMin, [](ConfigurationBlocks& b, float v) { b.tunes.extra.hourlyMin = v; });
    StoreOnNumber(m_extraMax, [](ConfigurationBlocks& b, float v) { b.tunes.extra.hourlyMax = v; });
    StoreOnPick(m_extraUnits, [](ConfigurationBlocks& b, unsigned v) { b.tunes.extra.SetUnits(v); });
    StoreOnPick(m_alarmLevel, [](ConfigurationBlocks& b, unsigned v) { b.tunes.extra.SetAlarmLevel(v); });
    StoreOnNumber(m_confirmTime, [](ConfigurationBlocks& b, float v) { b.tunes.extra.weightOrConfirmation = v; });
}

void CDlgMainConfigCommon::ConnectDb()
{
    StoreOnPick(m_db2Use, [this](ConfigurationBlocks& b, unsigned v) {
        b.tunes.SetDb2Used(v != 0);
        UpdateDbEnabling();
        Host().ConfigurationLabelsChanged();
    });
    StoreOnPick(m_dbMethod, [](ConfigurationBlocks& b, unsigned v) { b.tunes.SetDbChangeMethod(v); });
    StoreOnPick(m_keyboardAccess, [](ConfigurationBlocks& b, unsigned v) { b.tunes.SetKeyboardAccess(v); });
    StoreOnPick(m_pcAccess, [](ConfigurationBlocks& b, unsigned v) { b.tunes.SetPcAccess(v); });
    for (int set = 0; set < kDbCount; ++set) {
        const auto field = [this, set](QComboBox* combo, std::uint8_t DbStartDate::*member) {
            StoreOnPick(combo, [set, member](ConfigurationBlocks& b, unsigned v) {
                b.tunes.dbStart[set].*member = std::uint8_t(v);
            });
        };
        field(m_startMonth[set], &DbStartDate::month);
        field(m_startDay[set], &DbStartDate::day);
        field(m_startHour[set], &DbStartDate::hour);
    }
}

void CDlgMainConfigCommon::OnPageShown()
{
    Load();
}

void CDlgMainConfigCommon::OnConfigurationReplaced()
{
    Load();
}

void CDlgMainConfigCommon::Load()
{
    m_loading = true;
    ConfigurationBlocks& blocks = Blocks();
    TunesRecord& tunes = blocks.tunes;
    // A model the family lacks is shown as the first one; the checks name it if it stays.
    if (!SelectComboValue(m_model, blocks.identity.modelIndex))
        m_model->setCurrentIndex(0);
    m_networkAddress->setText(QString::number(blocks.open.networkAddress));
    m_organisation->setText(OrganisationCode(blocks.open));
    m_contract->setText(ContractText(blocks.open));
    RepairReportTime(tunes);
    SelectComboValue(m_reportHour, tunes.reportHour);
    SelectComboValue(m_reportDay, tunes.reportDay);
    SelectComboValue(m_units, tunes.UnitSystem());
    if (!SelectComboValue(m_sensors, tunes.SensorType())) {
        tunes.SetSensorType(0);
        SelectComboValue(m_sensors, 0);
    }
    m_daylightSaving->setChecked(tunes.AutoDaylightSaving());
    m_inversion->setChecked(tunes.ScreenInversion());
    m_loading = false;
    LoadExtraInput();
    LoadDb();
}

void CDlgMainConfigCommon::LoadExtraInput()
{
    m_loading = true;
    const ExtraInputSettings& extra = Blocks().tunes.extra;
    SelectComboValue(m_extraUse, extra.Use());
    m_extraWeight->setText(FixedText(extra.weightOrConfirmation, kWeightDecimals));
    m_extraMin->setText(FixedText(extra.hourlyMin, kWeightDecimals));
    m_extraMax->setText(FixedText(extra.hourlyMax, kWeightDecimals));
    SelectComboValue(m_extraUnits, extra.Units());
    SelectComboValue(m_alarmLevel, extra.AlarmLevel());
    m_confirmTime->setText(FixedText(extra.weightOrConfirmation, kConfirmDecimals));
    UpdateExtraInputEnabling();
    m_loading = false;
}

void CDlgMainConfigCommon::LoadDb()
{
    m_loading = true;
    const TunesRecord& tunes = Blocks().tunes;
    SelectComboValue(m_db2Use, tunes.Db2Used() ? 1 : 0);
    SelectComboValue(m_dbMethod, tunes.DbChangeMethod());
    SelectComboValue(m_keyboardAccess, tunes.KeyboardAccess());
    SelectComboValue(m_pcAccess, tunes.PcAccess());
    for (int set = 0; set < kDbCount; ++set) {
        SelectComboValue(m_startMonth[set], tunes.dbStart[set].month);
        SelectComboValue(m_startDay[set], tunes.dbStart[set].day);
        SelectComboValue(m_startHour[set], tunes.dbStart[set].hour);
    }
    UpdateDbEnabling();
    m_loading = false;
}

void CDlgMainConfigCommon::UpdateExtraInputEnabling()
{
    const unsigned use = Blocks().tunes.extra.Use();
    const bool pulses = use == kExtraPulseCount;
    const bool alarm = use == kExtraAlarm;
    m_extraWeight->setEnabled(pulses);
    m_extraMin->setEnabled(pulses);
    m_extraMax->setEnabled(pulses);
    m_extraUnits->setEnabled(pulses);
    m_alarmLevel->setEnabled(alarm);
    m_confirmTime->setEnabled(alarm);
}

void CDlgMainConfigCommon::UpdateDbEnabling()
{
    // The change rules and start dates mean something only while the second set is in use; the meter
    // keeps no start hour from firmware level 1024.
    const bool used = Blocks().tunes.Db2Used();
    const bool hours = Blocks().identity.DbStartHasHour();
    m_dbMethod->setEnabled(used);
    m_keyboardAccess->setEnabled(used);
    m_pcAccess->setEnabled(used);
    for (int set = 0; set < kDbCount; ++set) {
        m_startMonth[set]->setEnabled(used);
        m_startDay[set]->setEnabled(used);
        m_startHour[set]->setEnabled(used && hours);
    }
}
