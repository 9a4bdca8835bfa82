#include "gui/app/about_dialog.h"

#include "zt5_version.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("О программе"));

    auto* name = new QLabel(QStringLiteral("<b>ЗТ5 Конфигуратор</b>"), this);
    QFont larger = name->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    name->setFont(larger);
    auto* version = new QLabel(VersionText(), this);
    auto* purpose = new QLabel(QStringLiteral("Настройка тепловычислителей ЗТ5, чтение их архивов и журналов событий "
                                              "по протоколу Modbus: последовательная линия, модем, TCP/UDP, USB."),
                               this);
    purpose->setWordWrap(true);
    auto* licence = new QLabel(QStringLiteral("Распространяется на условиях лицензии MIT."), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(purpose);
    layout->addWidget(licence);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

QString AboutDialog::VersionText()
{
    return QStringLiteral("Версия %1").arg(QLatin1String(ZT5_VERSION));
}
