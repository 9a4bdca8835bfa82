#include "gui/nodes/node_properties_dialog.h"

#include "channel/channel_types.h"
#include "gui/widgets/line_edit_filter.h"
#include "gui/widgets/message_box.h"
#include "nodes/node_checks.h"
#include "nodes/node_input_rules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

constexpr int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

QLineEdit* NewEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QComboBox* NewList(QWidget* parent, const char* name, const QStringList& texts = {})
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->addItems(texts);
    return list;
}

QLineEdit* NewTextEdit(QWidget* parent, const char* name)
{
    QLineEdit* edit = NewEdit(parent, name);
    edit->setMaxLength(NodeRecord::kMaxTextLength);
    return edit;
}

QLineEdit* NewRuledEdit(QWidget* parent, const char* name, TextRule rule)
{
    QLineEdit* edit = NewEdit(parent, name);
    InstallTextRule(edit, std::move(rule));
    return edit;
}

QLineEdit* NewNumberEdit(QWidget* parent, const char* name, NumericFieldRule rule)
{
    QLineEdit* edit = NewEdit(parent, name);
    InstallNumberRule(edit, rule);
    return edit;
}

// Selects the item whose data is `value`; nothing when there is none.
void SelectByValue(QComboBox* list, int value)
{
    list->setCurrentIndex(list->findData(value));
}

// The data of the selected item, or `unchanged` when nothing is selected.
int SelectedValue(const QComboBox* list, int unchanged)
{
    return list->currentIndex() < 0 ? unchanged : list->currentData().toInt();
}

QTime TimeOf(NodeTime time)
{
    return QTime(time.hour, time.minute, time.second);
}

NodeTime NodeTimeOf(QTime time)
{
    return {static_cast<std::uint8_t>(time.hour()), static_cast<std::uint8_t>(time.minute()),
            static_cast<std::uint8_t>(time.second())};
}

}  // namespace

CDlgNodeProperties::CDlgNodeProperties(const NodeRecord& record, const FreePortTable& freePorts, const PortTable& ports,
                                       QWidget* parent)
    : QDialog(parent), m_record(record)
{
    setWindowTitle(QStringLiteral("Свойства"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgNodeProperties::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgNodeProperties::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateCommonGroup());
    layout->addWidget(CreateConnectionGroup(freePorts, ports));
    layout->addWidget(CreatePollGroup());
    layout->addWidget(CreateScheduleGroup());
    layout->addStretch(1);
    layout->addWidget(buttons);

    m_record.NormaliseSchedule();
    ShowRecord();
    ShowConnectionRows();
}

QGroupBox* CDlgNodeProperties::CreateCommonGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Общие:"), this);
    m_name = NewTextEdit(group, "name");
    m_address = NewTextEdit(group, "address");
    m_networkAddress = NewNumberEdit(group, "networkAddress", NodeInputRules::kByteNumber);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Название:"), m_name);
    form->addRow(QStringLiteral("Адрес:"), m_address);
    form->addRow(QStringLiteral("Сетевой адрес:"), m_networkAddress);
    return group;
}

QGroupBox* CDlgNodeProperties::CreateConnectionGroup(const FreePortTable& freePorts, const PortTable& ports)
{
    auto* group = new QGroupBox(QStringLiteral("Соединение:"), this);
    m_comPort = NewList(group, "comPort");
    for (const int number : freePorts.FreeNumbers())
        m_comPort->addItem(PortTable::DisplayName(number, ports.DevicePath(number)), number);
    m_baudRate = NewList(group, "baudRate");
    for (const int rate : kBaudRates)
        m_baudRate->addItem(QString::number(rate), rate);
    m_phone = NewRuledEdit(group, "phone", NodeInputRules::PhoneNumber);
    m_ipAddress = NewEdit(group, "ipAddress");
    // Up to four parts of up to three digits while typing; OK wants all four.
    m_ipAddress->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^(\\d{0,3}(\\.\\d{0,3}){0,3})$")), m_ipAddress));
    m_ipPort = NewNumberEdit(group, "ipPort", NodeInputRules::kIpPort);
    m_ipProtocol = NewList(group, "ipProtocol", {QStringLiteral("UDP"), QStringLiteral("TCP")});

    m_connectionForm = new QFormLayout(group);
    m_connectionForm->addRow(QStringLiteral("СОМ-порт:"), m_comPort);
    m_connectionForm->addRow(QStringLiteral("Скорость:"), m_baudRate);
    m_connectionForm->addRow(QStringLiteral("Телефон:"), m_phone);
    // Below the serial rows, which are hidden whenever these are shown.
    m_connectionForm->addRow(QStringLiteral("IP адрес:"), m_ipAddress);
    m_connectionForm->addRow(QStringLiteral("IP порт:"), m_ipPort);
    m_connectionForm->addRow(QStringLiteral("Протокол:"), m_ipProtocol);
    return group;
}

QGroupBox* CDlgNodeProperties::CreatePollGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Опрос:"), this);
    m_transport = NewList(group, "transport",
                          {QStringLiteral("Modbus RTU"), QStringLiteral("Modbus ASCII"), QStringLiteral("PPP")});
    m_functions = NewList(group, "functions", {QStringLiteral("Стандартные"), QStringLiteral("Нестандартные")});
    m_timeout = NewNumberEdit(group, "timeout", NodeInputRules::kByteNumber);
    m_attempts = NewNumberEdit(group, "attempts", NodeInputRules::kByteNumber);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Транспортный протокол:"), m_transport);
    form->addRow(QStringLiteral("Используемые функции:"), m_functions);
    form->addRow(QStringLiteral("Тайм-аут на повтор (сек.):"), m_timeout);
    form->addRow(QStringLiteral("Кол-во повторов:"), m_attempts);
    return group;
}

QGroupBox* CDlgNodeProperties::CreateScheduleGroup()
{
    // Kept for the schedule fields of the record, which nothing offers to the user yet.
    auto* group = new QGroupBox(QStringLiteral("Соединение по расписанию:"), this);
    m_scheduleOn = new QCheckBox(QStringLiteral("Разрешено в период с:"), group);
    m_scheduleStart = new QTimeEdit(group);
    m_scheduleEnd = new QTimeEdit(group);
    for (QTimeEdit* time : {m_scheduleStart, m_scheduleEnd})
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_scheduleOn);
    row->addWidget(m_scheduleStart);
    row->addWidget(new QLabel(QStringLiteral("по"), group));
    row->addWidget(m_scheduleEnd);
    group->setVisible(false);
    return group;
}

void CDlgNodeProperties::ShowRecord()
{
    m_name->setText(m_record.Name());
    m_address->setText(m_record.Address());
    m_networkAddress->setText(QString::number(m_record.NetworkAddress()));
    SelectByValue(m_comPort, m_record.ComPort());
    SelectByValue(m_baudRate, m_record.BaudRate());
    if (m_record.ConnectionType() == kChannelModem)
        m_phone->setText(NodeInputRules::PhoneNumber(m_record.PhoneNumber()));
    if (m_record.ConnectionType() == kChannelIp) {
        m_ipAddress->setText(m_record.IpAddress());
        m_ipPort->setText(QString::number(m_record.IpPort()));
    }
    m_ipProtocol->setCurrentIndex(m_record.IpProtocol() == NodeRecord::kIpProtocolUdp ? 0 : 1);
    m_transport->setCurrentIndex(m_record.TransportProtocol() < m_transport->count() ? m_record.TransportProtocol()
                                                                                     : -1);
    m_functions->setCurrentIndex(m_record.FunctionSet() == 0 ? 0 : 1);
    m_timeout->setText(QString::number(m_record.RepeatTimeoutSec()));
    m_attempts->setText(QString::number(m_record.RepeatCount()));
    m_scheduleOn->setChecked(m_record.ScheduleEnabled() != 0);
    m_scheduleStart->setTime(TimeOf(m_record.ScheduleStart()));
    m_scheduleEnd->setTime(TimeOf(m_record.ScheduleEnd()));
}

void CDlgNodeProperties::ShowConnectionRows()
{
    const int type = m_record.ConnectionType();
    const bool serial = type == kChannelDirect || type == kChannelModem;
    m_connectionForm->setRowVisible(m_comPort, serial);
    m_connectionForm->setRowVisible(m_baudRate, serial);
    m_connectionForm->setRowVisible(m_phone, type == kChannelModem);
    m_connectionForm->setRowVisible(m_ipAddress, type == kChannelIp);
    m_connectionForm->setRowVisible(m_ipPort, type == kChannelIp);
    m_connectionForm->setRowVisible(m_ipProtocol, false);
}

bool CDlgNodeProperties::TakeIpAddress()
{
    if (m_record.ConnectionType() != kChannelIp)
        return true;
    const std::optional<QString> address = NodeInputRules::DottedQuad(m_ipAddress->text());
    if (!address) {
        ShowMessageBox(this, UserMessage::Information(QStringLiteral("Ошибка при вызове inet_ntoa!")));
        return false;
    }
    m_record.SetIpAddress(*address);
    m_record.SetIpPort(NodeInputRules::NumberOf(m_ipPort->text()));
    return true;
}

void CDlgNodeProperties::TakeControls()
{
    m_record.SetName(m_name->text());
    m_record.SetAddress(m_address->text());
    m_record.SetNetworkAddress(NodeInputRules::NumberOf(m_networkAddress->text()));
    m_record.SetComPort(SelectedValue(m_comPort, m_record.ComPort()));
    m_record.SetBaudRate(SelectedValue(m_baudRate, m_record.BaudRate()));
    if (m_record.ConnectionType() == kChannelModem)
        m_record.SetPhoneNumber(m_phone->text());
    if (m_transport->currentIndex() >= 0)
        m_record.SetTransportProtocol(m_transport->currentIndex());
    m_record.SetFunctionSet(m_functions->currentIndex());
    m_record.SetRepeatTimeoutSec(NodeInputRules::NumberOf(m_timeout->text()));
    m_record.SetRepeatCount(NodeInputRules::NumberOf(m_attempts->text()));
    m_record.SetScheduleEnabled(m_scheduleOn->isChecked() ? 1 : 0);
    m_record.SetScheduleStart(NodeTimeOf(m_scheduleStart->time()));
    m_record.SetScheduleEnd(NodeTimeOf(m_scheduleEnd->time()));
    // Stored nodes are reached over TCP only.
    m_record.SetIpProtocol(NodeRecord::kIpProtocolTcp);
}

bool CDlgNodeProperties::RequiredNumbersGiven()
{
    struct Required {
        QLineEdit* edit;
        const char* caption;
        int max;
    };
    QList<Required> required;
    if (m_record.ConnectionType() == kChannelIp)
        required.append({m_ipPort, NodeChecks::kIpPortCaption, NodeChecks::kMaxIpPort});
    required.append({m_timeout, NodeChecks::kTimeoutCaption, NodeChecks::kMaxByte});
    required.append({m_attempts, NodeChecks::kAttemptsCaption, NodeChecks::kMaxByte});
    for (const Required& field : required) {
        const QString failure = NodeChecks::RequiredNumberFailure(
            field.caption, NodeInputRules::NumberOf(field.edit->text()), field.max);
        if (failure.isEmpty())
            continue;
        ShowMessageBox(this, UserMessage::Information(failure));
        field.edit->setFocus();
        return false;
    }
    return true;
}

void CDlgNodeProperties::accept()
{
    if (!RequiredNumbersGiven() || !TakeIpAddress())
        return;
    TakeControls();
    QDialog::accept();
}
