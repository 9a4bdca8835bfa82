#include "gui/config/user_service_tab.h"

#include "base/message_style.h"
#include "config/user_service_rules.h"
#include "gui/config/config_field_widgets.h"
#include "protocol/driver_access.h"

#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

namespace {

constexpr int kPasswordChars = 5;

}  // namespace

CDlgMainConfigServiceUser::CDlgMainConfigServiceUser(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_parameter(ValueCombo("parameterCombo", kUserParameterTexts)),
      m_parameterPassword(LimitedEdit("parameterPasswordEdit", kPasswordChars)),
      m_value(NumericEdit("parameterValueEdit", {true, -1})),
      m_writeParameter(NamedWidget<QPushButton>("writeParameterButton", QStringLiteral("Записать"))),
      m_setPassword(LimitedEdit("setPasswordEdit", kPasswordChars)),
      m_set1(NamedWidget<QPushButton>("activeSet1Button", QStringLiteral("БД1"))),
      m_set2(NamedWidget<QPushButton>("activeSet2Button", QStringLiteral("БД2"))),
      m_clock(SelectableLabel("meterClockText")),
      m_correction(SelectableLabel("clockCorrectionText")),
      m_readClock(NamedWidget<QPushButton>("readClockButton", QStringLiteral("Прочитать")))
{
    m_parameter->setCurrentIndex(0);
    connect(m_writeParameter, &QPushButton::clicked, this, &CDlgMainConfigServiceUser::WriteParameter);
    connect(m_set1, &QPushButton::clicked, this, [this] { ChangeActiveSet(0); });
    connect(m_set2, &QPushButton::clicked, this, [this] { ChangeActiveSet(1); });
    connect(m_readClock, &QPushButton::clicked, this, &CDlgMainConfigServiceUser::ReadClock);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildParameterBox());
    layout->addWidget(BuildActiveSetBox());
    layout->addWidget(BuildClockBox());
    layout->addStretch(1);
    OnConnectionStateChanged();
}

void CDlgMainConfigServiceUser::OnConnectionStateChanged()
{
    EnableWhileConnected({m_writeParameter, m_set1, m_set2, m_readClock});
}

CDlgMainConfigServiceUser::~CDlgMainConfigServiceUser()
{
    Host().Driver().ForgetRequester(this);
}

QWidget* CDlgMainConfigServiceUser::BuildParameterBox()
{
    auto* box = new QGroupBox(QStringLiteral("Изменение параметров:"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Параметр:"), m_parameter);
    form->addRow(QStringLiteral("Пароль:"), m_parameterPassword);
    form->addRow(QStringLiteral("Значение:"), m_value);
    form->addRow(QString(), m_writeParameter);
    return box;
}

QWidget* CDlgMainConfigServiceUser::BuildActiveSetBox()
{
    auto* box = new QGroupBox(QStringLiteral("Смена активной БД:"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Пароль:"), m_setPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_set1);
    buttons->addWidget(m_set2);
    buttons->addStretch(1);
    form->addRow(QString(), buttons);
    return box;
}

QWidget* CDlgMainConfigServiceUser::BuildClockBox()
{
    auto* box = new QGroupBox(QStringLiteral("Текущее время:"));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(m_clock);
    layout->addWidget(m_correction);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_readClock);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return box;
}

void CDlgMainConfigServiceUser::Refuse(const QString& text)
{
    Host().ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconWarning);
}

void CDlgMainConfigServiceUser::WriteParameter()
{
    DriverAccess& driver = Host().Driver();
    if (driver.IsBusy())
        return;
    const std::optional<double> value = NumericFieldValue(m_value->text());
    if (!value) {
        Refuse(QStringLiteral("Не задано значение параметра!"));
        return;
    }
    const std::optional<UserParameterChange> change = MakeUserParameterChange(
        ComboValue(m_parameter).value_or(0), static_cast<float>(*value), m_parameterPassword->text());
    if (!change) {
        Refuse(QStringLiteral("Недопустимый пароль!"));
        return;
    }
    driver.Data().parameterChange = change->change;
    driver.Data().parameterPassword = change->password;
    driver.QueueCommand(kCommandChangeParameter, this);
}

void CDlgMainConfigServiceUser::ChangeActiveSet(int set)
{
    DriverAccess& driver = Host().Driver();
    if (driver.IsBusy())
        return;
    const std::optional<ServiceCommand> command = MakeActiveSetCommand(set, m_setPassword->text());
    if (!command) {
        Refuse(QStringLiteral("Недопустимый пароль!"));
        return;
    }
    driver.Data().serviceCommand = *command;
    driver.QueueCommand(kCommandServiceCommand, this);
}

void CDlgMainConfigServiceUser::ReadClock()
{
    if (!Host().Driver().IsBusy())
        Host().Driver().QueueCommand(kCommandReadClock, this);
}

void CDlgMainConfigServiceUser::CommandFinished(int code)
{
    if (code == kCommandReadClock)
        ShowClock();
}

void CDlgMainConfigServiceUser::ShowClock()
{
    DateTimeStamp clock{};
    std::memcpy(&clock, Host().Driver().Data().At(MeterArea::kCurrentValues), sizeof clock);
    m_clock->setText(MeterClockText(clock));
    const std::optional<int> correction = ClockCorrectionSeconds(clock, QDateTime::currentDateTime());
    m_correction->setText(correction ? ClockCorrectionText(*correction) : QString());
}
