#pragma once
// The "USB" page of the device list: the meters plugged in over USB, found anew on "Обновить".

#include <QWidget>

class QTableWidget;
class UsbTransport;

class UsbDevicePage : public QWidget {
    Q_OBJECT

public:
    // `usb` may be null: then no device is ever listed.
    UsbDevicePage(UsbTransport* usb, QWidget* parent);

    // Closes the channel's USB device and lists the meters found.
    void Refresh();
    bool IsFilled() const { return m_filled; }
    int RowCount() const;
    int SelectedRow() const;

private:
    UsbTransport* m_usb;
    QTableWidget* m_list;
    bool m_filled = false;
};
