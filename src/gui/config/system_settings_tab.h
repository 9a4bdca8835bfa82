#pragma once
// "Система": the meter's model and the system settings of the configuration — identity and open
// settings, report time, units and sensors, the extra pulse input and the use of the second parameter
// set with its change rules. Every change goes straight into the driver's configuration.

#include "gui/widgets/page_base.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
struct ConfigurationBlocks;

class CDlgMainConfigCommon : public CDlgParentWithMyProperty {
    Q_OBJECT

public:
    explicit CDlgMainConfigCommon(PageHost& host, QWidget* parent = nullptr);

    void OnPageShown() override;
    void OnConfigurationReplaced() override;

    // Fills every control from the record (and makes the load-time repairs).
    void Load();

private:
    QWidget* BuildIdentityBox();
    QWidget* BuildSystemBox();
    QWidget* BuildExtraInputBox();
    QWidget* BuildDbBox();
    void StoreOnPick(QComboBox* combo, std::function<void(ConfigurationBlocks&, unsigned)> store);
    void StoreOnNumber(QLineEdit* edit, std::function<void(ConfigurationBlocks&, float)> store);
    void Connect();
    void ConnectExtraInput();
    void ConnectDb();
    void LoadExtraInput();
    void LoadDb();
    void UpdateExtraInputEnabling();
    void UpdateDbEnabling();
    // Runs `edit` on the configuration unless the page is loading.
    template <class Edit>
    void Store(Edit edit);
    ConfigurationBlocks& Blocks() const;

    bool m_loading = false;

    QComboBox* m_model;
    QLineEdit* m_networkAddress;
    QLineEdit* m_organisation;
    QLineEdit* m_contract;
    QComboBox* m_reportHour;
    QComboBox* m_reportDay;
    QComboBox* m_units;
    QComboBox* m_sensors;
    QCheckBox* m_daylightSaving;
    QCheckBox* m_inversion;

    QComboBox* m_extraUse;
    QLineEdit* m_extraWeight;
    QLineEdit* m_extraMin;
    QLineEdit* m_extraMax;
    QComboBox* m_extraUnits;
    QComboBox* m_alarmLevel;
    QLineEdit* m_confirmTime;

    QComboBox* m_db2Use;
    QComboBox* m_dbMethod;
    QComboBox* m_keyboardAccess;
    QComboBox* m_pcAccess;
    QComboBox* m_startMonth[2];
    QComboBox* m_startDay[2];
    QComboBox* m_startHour[2];
};
