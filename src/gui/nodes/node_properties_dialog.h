#pragma once
// "Свойства": edits a copy of one node record - its names, network address, how it is reached and
// how it is polled. Only the connection controls of the record's kind are shown. OK hands back the
// edited record; Cancel leaves the caller's record as it was.

#include "channel/free_ports.h"
#include "channel/port_table.h"
#include "nodes/node_record.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QTimeEdit;

class CDlgNodeProperties : public QDialog {
    Q_OBJECT

public:
    // The port list offers the free ports of `freePorts`, each with its device from `ports`.
    CDlgNodeProperties(const NodeRecord& record, const FreePortTable& freePorts, const PortTable& ports,
                       QWidget* parent = nullptr);

    // The record as edited (after OK).
    const NodeRecord& Record() const { return m_record; }

    void accept() override;

private:
    QGroupBox* CreateCommonGroup();
    QGroupBox* CreateConnectionGroup(const FreePortTable& freePorts, const PortTable& ports);
    QGroupBox* CreatePollGroup();
    QGroupBox* CreateScheduleGroup();
    void ShowRecord();
    void ShowConnectionRows();
    // For an IP node, takes its address and port into m_record; false (and the user told why) when the
    // address is not four numbers below 256.
    bool TakeIpAddress();
    // The IP port, the time-out and the repeat count hold a number other than 0, or the user is told.
    bool RequiredNumbersGiven();
    void TakeControls();

    NodeRecord m_record;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_networkAddress = nullptr;
    QFormLayout* m_connectionForm = nullptr;
    QComboBox* m_comPort = nullptr;
    QComboBox* m_baudRate = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_ipAddress = nullptr;
    QLineEdit* m_ipPort = nullptr;
    QComboBox* m_ipProtocol = nullptr;
    QComboBox* m_transport = nullptr;
    QComboBox* m_functions = nullptr;
    QLineEdit* m_timeout = nullptr;
    QLineEdit* m_attempts = nullptr;
    QCheckBox* m_scheduleOn = nullptr;
    QTimeEdit* m_scheduleStart = nullptr;
    QTimeEdit* m_scheduleEnd = nullptr;
};
