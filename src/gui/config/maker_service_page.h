#pragma once
// The maker's service page: the maker's data and the service centre's data (read, shown, written), the
// manual calibration points, the calibration lock, the archive erase, the meter's clock, and the
// automatic calibration against the reference stand on the port chosen here. Every button queues one
// driver command; the page prepares its data, remembers the last entries in the program settings and
// shows what was read when the command has finished.

#include "gui/widgets/page_base.h"
#include "protocol/driver_commands.h"

#include <cstdint>

class CRkm8;
class DriverProgressTexts;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CDlgMainConfigService : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    static constexpr int kPageId = 100;

    // `stand` is the main window's link to the reference stand, prepared here before commands 17 and 18.
    CDlgMainConfigService(PageHost& host, CRkm8& stand, QWidget* parent = nullptr);
    ~CDlgMainConfigService() override;

    void OnPageShown() override;
    void OnConnectionStateChanged() override;

    void RefreshCommandStates() override;
    void CommandFinished(int code) override;

    // The exchange and result texts, fed by the main window.
    DriverProgressTexts* Texts() const { return m_texts; }
    // The controls, for the tests and the main window.
    QLineEdit* MakerIdEdit() const { return m_makerId; }
    QLineEdit* MakerSerialEdit() const { return m_makerSerial; }
    QComboBox* ModelList() const { return m_model; }
    QLineEdit* VoltageEdit() const { return m_voltage; }
    QLabel* ReleaseDateLabel() const { return m_releaseDate; }
    QPushButton* ReadMakerButton() const { return m_readMaker; }
    QPushButton* WriteMakerButton() const { return m_writeMaker; }
    QLineEdit* DisplaySerialEdit() const { return m_displaySerial; }
    QComboBox* BatteryList() const { return m_battery; }
    QComboBox* VariantList() const { return m_variant; }
    QPlainTextEdit* ResourceText() const { return m_resources; }
    QPushButton* ReadServiceCentreButton() const { return m_readCentre; }
    QPushButton* WriteServiceCentreButton() const { return m_writeCentre; }
    QComboBox* TemperaturePointList() const { return m_temperaturePoint; }
    QPushButton* TemperaturePointButton() const { return m_temperaturePointRun; }
    QComboBox* CurrentPointList() const { return m_currentPoint; }
    QPushButton* CurrentPointButton() const { return m_currentPointRun; }
    QPushButton* LockButton() const { return m_lock; }
    QPushButton* EraseButton() const { return m_erase; }
    QPushButton* ClockButton() const { return m_clock; }
    QComboBox* StandPortList() const { return m_standPort; }
    QPushButton* AutoTemperatureButton() const { return m_autoTemperature; }
    QPushButton* AutoCurrentButton() const { return m_autoCurrent; }

private:
    QWidget* BuildMakerBox();
    QWidget* BuildServiceCentreBox();
    QWidget* BuildCalibrationBox();
    QWidget* BuildAutomaticBox();
    void LoadEntries();
    void FillStandPorts();

    // maker_service_actions.cpp
    void ReadMaker();
    void WriteMaker();
    void ReadServiceCentre();
    void WriteServiceCentre();
    void SendServiceCode(std::uint16_t code);
    void SetClock();
    void CalibrateAutomatically(DriverCommand command);
    void ShowMakerData();
    void ShowServiceCentreData();
    void Inform(const QString& text);
    // False when the driver is busy with another command: the button does nothing then.
    bool Queue(DriverCommand command);

    CRkm8& m_stand;
    bool m_loading = false;
    std::uint16_t m_sentCode = 0;
    DriverProgressTexts* m_texts = nullptr;  // the service code of the command under way, told when done

    QLineEdit* m_makerId = nullptr;
    QLineEdit* m_makerSerial = nullptr;
    QComboBox* m_model = nullptr;
    QLineEdit* m_voltage = nullptr;
    QLabel* m_releaseDate = nullptr;
    QPushButton* m_readMaker = nullptr;
    QPushButton* m_writeMaker = nullptr;
    QLineEdit* m_displaySerial = nullptr;
    QComboBox* m_battery = nullptr;
    QComboBox* m_variant = nullptr;
    QPlainTextEdit* m_resources = nullptr;
    QPushButton* m_readCentre = nullptr;
    QPushButton* m_writeCentre = nullptr;
    QComboBox* m_temperaturePoint = nullptr;
    QPushButton* m_temperaturePointRun = nullptr;
    QComboBox* m_currentPoint = nullptr;
    QPushButton* m_currentPointRun = nullptr;
    QPushButton* m_lock = nullptr;
    QPushButton* m_erase = nullptr;
    QPushButton* m_clock = nullptr;
    QComboBox* m_standPort = nullptr;
    QPushButton* m_autoTemperature = nullptr;
    QPushButton* m_autoCurrent = nullptr;
};
