#include "gui/nodes/usb_device_page.h"

#include "channel/usb_transport.h"
#include "gui/widgets/device_list_view.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

UsbDevicePage::UsbDevicePage(UsbTransport* usb, QWidget* parent) : QWidget(parent), m_usb(usb)
{
    m_list = NewDeviceListView(this, {{QStringLiteral("N"), 30}, {QStringLiteral("Прибор"), 120}});
    m_list->setObjectName(QStringLiteral("usbList"));
    auto* refresh = new QPushButton(QStringLiteral("Обновить"), this);
    refresh->setObjectName(QStringLiteral("refresh"));
    connect(refresh, &QPushButton::clicked, this, &UsbDevicePage::Refresh);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(refresh);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

void UsbDevicePage::Refresh()
{
    m_filled = true;
    m_list->setRowCount(0);
    if (m_usb == nullptr)
        return;
    // The list is built afresh: the device chosen from the old one is let go first.
    if (m_usb->IsOpen())
        m_usb->Close();
    const int found = m_usb->Enumerate(kUsbVendorId, kUsbProductId, QString::fromLatin1(kUsbManufacturer),
                                       QString::fromLatin1(kUsbProduct));
    for (int slot = 0; slot < found; ++slot)
        AppendListRow(m_list, {QString::number(slot + 1), QStringLiteral("ЗТ5 %1").arg(m_usb->SlotSerialNumber(slot))});
}

int UsbDevicePage::RowCount() const
{
    return m_list->rowCount();
}

int UsbDevicePage::SelectedRow() const
{
    return SelectedListRow(m_list);
}
