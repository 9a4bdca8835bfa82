#pragma once
// "Сервис": what the user may change on a working meter without writing the configuration — a protected
// parameter (clock correction, contract cold-water temperatures) and the active parameter set, each
// under the meter's password — and the meter's clock against the computer's.

#include "gui/widgets/page_base.h"
#include "protocol/driver_commands.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CDlgMainConfigServiceUser : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    explicit CDlgMainConfigServiceUser(PageHost& host, QWidget* parent = nullptr);
    ~CDlgMainConfigServiceUser() override;

    void OnConnectionStateChanged() override;
    void RefreshCommandStates() override {}
    void CommandFinished(int code) override;

    // The buttons' work, also for tests.
    void WriteParameter();
    void ChangeActiveSet(int set);
    void ReadClock();

private:
    QWidget* BuildParameterBox();
    QWidget* BuildActiveSetBox();
    QWidget* BuildClockBox();
    void Refuse(const QString& text);
    void ShowClock();

    QComboBox* m_parameter;
    QLineEdit* m_parameterPassword;
    QLineEdit* m_value;
    QPushButton* m_writeParameter;
    QLineEdit* m_setPassword;
    QPushButton* m_set1;
    QPushButton* m_set2;
    QLabel* m_clock;
    QLabel* m_correction;
    QPushButton* m_readClock;
};
