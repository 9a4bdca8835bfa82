#pragma once
// The input page "Общие" of one thermal input of one parameter set: the scheme picture and lists with
// "Задать параметры" (the picker), the cold-water temperature, the outdoor-air temperature and the
// fault handling of the input. Every change goes into the driver's configuration at once.

#include "config/config_texts.h"
#include "config/tx_choices.h"
#include "gui/widgets/page_base.h"

#include <functional>

class CSchemeChoiceView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct ConfigurationBlocks;
struct InputSettings;

class CDlgMainConfigWiScheme : public CDlgParentWithMyProperty {
    Q_OBJECT

public:
    CDlgMainConfigWiScheme(PageHost& host, int set, int input, QWidget* parent = nullptr);

    void OnPageShown() override;
    void OnConfigurationReplaced() override;

    // Fills every control from the record.
    void Load();
    // Enables the page (and its tree entry) when its parameter set is in use; asks nothing, changes nothing.
    void RefreshPageState();
    // Opens the picker; the page and the tree labels follow a change.
    void ChooseScheme();

    CSchemeChoiceView* ChoiceView() const { return m_view; }

private:
    ConfigurationBlocks& Blocks();
    InputSettings& In();
    void LoadFields(bool enabled);
    void OnTxUseChosen(int index);
    void OnOutdoorAirChosen(int index);
    // A list whose choice goes straight into the input's word through `store`.
    QComboBox* AddStoredCombo(const char* name, ValueTexts texts, void (InputSettings::*store)(unsigned));
    QLineEdit* AddNumericEdit(const char* name, int maxDecimals, std::function<void(double)> store);

    const int m_set;
    const int m_input;
    bool m_loading = false;
    TxChoices m_tx;
    CSchemeChoiceView* m_view;
    QPushButton* m_choose;
    QComboBox* m_txUse;
    QLineEdit* m_txTemperature;
    QLabel* m_txPressureCaption;
    QLineEdit* m_txPressure;
    QComboBox* m_outdoorAir;
    QComboBox* m_temperatureControl;
    QComboBox* m_imbalanceControl;
    QLineEdit* m_maxImbalance;
    QComboBox* m_deltaTControl;
    QComboBox* m_deltaTMin;
    QComboBox* m_heatControl;
};
