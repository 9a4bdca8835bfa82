#include "gui/config/input_scheme_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/config_field_rules.h"
#include "config/config_texts.h"
#include "config/pressure_units.h"
#include "config/scheme_picker.h"
#include "config/scheme_table.h"
#include "config/wi_scheme_page_rules.h"
#include "gui/config/pipe_page_fields.h"
#include "gui/config/scheme_choice_view.h"
#include "gui/config/scheme_picker_dialog.h"
#include "gui/widgets/page_messages.h"
#include "protocol/driver_access.h"

namespace {

QString PressureCaption(unsigned unitSystem)
{
    return unitSystem == kUnitSystemMks ? QStringLiteral("Pxд (кгс/см2):") : QStringLiteral("Pxд (МПа):");
}

}  // namespace

CDlgMainConfigWiScheme::CDlgMainConfigWiScheme(PageHost& host, int set, int input, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_set(set),
      m_input(input),
      m_view(new CSchemeChoiceView(false)),
      m_choose(new QPushButton(QStringLiteral("Задать параметры"))),
      m_txUse(new QComboBox),
      m_txPressureCaption(new QLabel),
      m_outdoorAir(new QComboBox)
{
    SetCaption(QStringLiteral("Общие"));
    m_choose->setObjectName(QStringLiteral("chooseScheme"));
    m_txUse->setObjectName(QStringLiteral("txUse"));
    m_txPressureCaption->setObjectName(QStringLiteral("txPressureCaption"));
    m_outdoorAir->setObjectName(QStringLiteral("outdoorAir"));
    m_txTemperature = AddNumericEdit("txTemperature", 3, [this](double v) { In().contractColdTemperature = float(v); });
    m_txPressure = AddNumericEdit("txPressure", kPressureFieldRule.maxDecimals, [this](double v) {
        In().contractColdPressure = PressureFromDisplay(v, Blocks().tunes.UnitSystem());
    });
    m_maxImbalance = AddNumericEdit("maxImbalance", 3, [this](double v) { In().maxImbalance = float(v); });
    m_temperatureControl = AddStoredCombo("temperatureControl", kTemperatureControlTexts,
                                          &InputSettings::SetTemperatureControl);
    m_imbalanceControl = AddStoredCombo("imbalanceControl", kImbalanceControlTexts,
                                        &InputSettings::SetImbalanceControl);
    m_deltaTControl = AddStoredCombo("deltaTControl", kDeltaTControlTexts, &InputSettings::SetDeltaTControl);
    m_deltaTMin = AddStoredCombo("deltaTMin", kDeltaTMinTexts, &InputSettings::SetDeltaTMin);
    m_heatControl = AddStoredCombo("heatControl", kHeatControlTexts, &InputSettings::SetHeatControl);

    auto* tx = new QGroupBox(QStringLiteral("Учет tx:"));
    auto* txForm = new QFormLayout(tx);
    txForm->addRow(QStringLiteral("Использование tx:"), m_txUse);
    txForm->addRow(QStringLiteral("txд (гр.С):"), m_txTemperature);
    txForm->addRow(m_txPressureCaption, m_txPressure);

    auto* outdoor = new QGroupBox(QStringLiteral("Измерение tнв:"));
    outdoor->setObjectName(QStringLiteral("outdoorAirBox"));
    auto* outdoorForm = new QFormLayout(outdoor);
    outdoorForm->addRow(QStringLiteral("Использование tнв:"), m_outdoorAir);

    auto* controls = new QGroupBox;
    auto* controlsForm = new QFormLayout(controls);
    controlsForm->addRow(QStringLiteral("Контроль t:"), m_temperatureControl);
    controlsForm->addRow(QStringLiteral("Контроль dM:"), m_imbalanceControl);
    controlsForm->addRow(QStringLiteral("dMmax (0-4%):"), m_maxImbalance);
    controlsForm->addRow(QStringLiteral("Контроль dt:"), m_deltaTControl);
    controlsForm->addRow(QStringLiteral("dt min (гр.С):"), m_deltaTMin);
    controlsForm->addRow(QStringLiteral("Контроль Q:"), m_heatControl);

    auto* left = new QVBoxLayout;
    left->addWidget(tx);
    left->addWidget(outdoor);
    left->addStretch();
    auto* fields = new QHBoxLayout;
    fields->addLayout(left);
    fields->addWidget(controls);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_choose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttonRow);
    layout->addLayout(fields);

    connect(m_choose, &QPushButton::clicked, this, &CDlgMainConfigWiScheme::ChooseScheme);
    connect(m_txUse, &QComboBox::currentIndexChanged, this, &CDlgMainConfigWiScheme::OnTxUseChosen);
    connect(m_outdoorAir, &QComboBox::currentIndexChanged, this, &CDlgMainConfigWiScheme::OnOutdoorAirChosen);
    Load();
}

ConfigurationBlocks& CDlgMainConfigWiScheme::Blocks()
{
    return Host().Driver().Configuration();
}

InputSettings& CDlgMainConfigWiScheme::In()
{
    return Blocks().tunes.db[m_set].inputs[m_input];
}

void CDlgMainConfigWiScheme::OnPageShown()
{
    Load();
}

void CDlgMainConfigWiScheme::OnConfigurationReplaced()
{
    // Loading brings the input into line with the model and may ask the user: only for the page in view.
    // A page out of view loads when it is shown; its tree entry follows the new record at once.
    RefreshPageState();
    if (isVisible())
        Load();
}

QComboBox* CDlgMainConfigWiScheme::AddStoredCombo(const char* name, ValueTexts texts,
                                                  void (InputSettings::*store)(unsigned))
{
    QComboBox* combo = MakeChoiceList(
        texts, [this, store](unsigned value) { (In().*store)(value); }, m_loading, this);
    combo->setObjectName(QString::fromLatin1(name));
    return combo;
}

QLineEdit* CDlgMainConfigWiScheme::AddNumericEdit(const char* name, int maxDecimals, std::function<void(double)> store)
{
    QLineEdit* edit = MakeNumericEdit(NumericFieldRule{false, maxDecimals}, std::move(store), m_loading, this);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

void CDlgMainConfigWiScheme::RefreshPageState()
{
    const bool setUsed = m_set == 0 || Blocks().tunes.Db2Used();
    SetPageEnabled(setUsed);
    setEnabled(setUsed);
}

void CDlgMainConfigWiScheme::Load()
{
    m_loading = true;
    ConfigurationBlocks& blocks = Blocks();
    const bool setUsed = m_set == 0 || blocks.tunes.Db2Used();
    if (setUsed) {
        PageMessages messages(Host());
        if (RemoveSchemeNotOffered(blocks.tunes.db[m_set], m_input, blocks.identity, messages))
            Host().ConfigurationLabelsChanged();
    }
    const WiSchemeControlStates states = BringInputIntoLine(blocks, m_set, m_input);
    SetPageEnabled(states.page);
    setEnabled(states.page);

    const InputSettings& in = In();
    m_view->ShowChoice(blocks.identity.modelIndex, m_input, blocks.identity.AlternativeQgLabels(), in.scheme,
                       FindCombination(in.scheme, in.Kt3(), in.Frt()));
    m_choose->setEnabled(states.page);

    // The cold-water list exists only for an input in use: building it may change the stored use.
    m_tx = states.inputSettings ? BuildTxChoices(blocks.tunes.db[m_set], m_input, blocks.identity) : TxChoices{};
    m_txUse->clear();
    for (const TxChoice& choice : m_tx.entries)
        m_txUse->addItem(choice.text, choice.value);
    m_txUse->setCurrentIndex(m_tx.selected);
    m_txUse->setEnabled(m_tx.enabled);
    m_txTemperature->setEnabled(m_tx.enabled);
    m_txPressure->setEnabled(m_tx.enabled);

    m_outdoorAir->clear();
    m_outdoorAir->addItem(TextOf(kOutdoorAirTexts, 0), 0u);
    if (states.outdoorAirMeasurable)
        m_outdoorAir->addItem(TextOf(kOutdoorAirTexts, 1), 1u);
    m_outdoorAir->setCurrentIndex(in.OutdoorAirMeasured() ? 1 : 0);
    m_outdoorAir->setEnabled(states.outdoorAirMeasurable);

    LoadFields(states.inputSettings);
    m_imbalanceControl->setEnabled(states.imbalanceControl);
    m_maxImbalance->setEnabled(states.imbalanceControl);
    m_deltaTControl->setEnabled(states.deltaTControl);
    m_deltaTMin->setEnabled(states.deltaTControl);
    m_heatControl->setEnabled(states.heatControl);
    m_loading = false;
}

void CDlgMainConfigWiScheme::LoadFields(bool enabled)
{
    const InputSettings& in = In();
    const unsigned unitSystem = Blocks().tunes.UnitSystem();
    ShowNumber(m_txTemperature, in.contractColdTemperature, 3);
    m_txPressureCaption->setText(PressureCaption(unitSystem));
    ShowNumber(m_txPressure, PressureToDisplay(in.contractColdPressure, unitSystem), 5);
    ShowNumber(m_maxImbalance, in.maxImbalance, 3);
    SelectValue(m_temperatureControl, in.TemperatureControl());
    SelectValue(m_imbalanceControl, in.ImbalanceControl());
    SelectValue(m_deltaTControl, in.DeltaTControl());
    SelectValue(m_deltaTMin, in.DeltaTMin());
    SelectValue(m_heatControl, in.HeatControl());
    m_temperatureControl->setEnabled(enabled);
}

void CDlgMainConfigWiScheme::ChooseScheme()
{
    CSchemePickerDialog picker(Host(), Blocks(), m_set, m_input, this);
    picker.exec();
    if (!picker.Changed())
        return;
    Load();
    Host().ConfigurationLabelsChanged();
}

void CDlgMainConfigWiScheme::OnTxUseChosen(int index)
{
    if (m_loading)
        return;
    PageMessages messages(Host());
    SelectTxChoice(Blocks().tunes.db[m_set], m_input, m_tx, index, messages);
    // Refused: the previous choice comes back; taken: tнв may have become free or taken.
    Load();
}

void CDlgMainConfigWiScheme::OnOutdoorAirChosen(int index)
{
    if (m_loading || index < 0)
        return;
    In().SetOutdoorAirMeasured(m_outdoorAir->itemData(index).toUInt() != 0);
    Load();  // the own spare channel is no longer (or again) free for tx
}
