#include "gui/app/port_table_editor.h"

#include "channel/serial_device_list.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

PortTableEditor::PortTableEditor(const QMap<int, QString>& entries, const QString& deviceFolder, QWidget* parent)
    : QWidget(parent), m_rows(new QTableWidget(PortTable::kLastNumber, 2, this)), m_device(new QComboBox(this))
{
    m_table.Load(entries);

    m_rows->setObjectName(QStringLiteral("portRows"));
    m_rows->setHorizontalHeaderLabels({QStringLiteral("Порт"), QStringLiteral("Устройство")});
    m_rows->verticalHeader()->hide();
    m_rows->horizontalHeader()->setStretchLastSection(true);
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rows->setSelectionMode(QAbstractItemView::SingleSelection);

    // The devices found are offered; any other path can be typed in.
    m_device->setObjectName(QStringLiteral("devicePath"));
    m_device->setEditable(true);
    m_device->setInsertPolicy(QComboBox::NoInsert);
    for (const SerialDeviceEntry& device : ListSerialDevices(deviceFolder))
        m_device->addItem(device.path == device.kernelPath
                              ? device.path
                              : QStringLiteral("%1 (%2)").arg(device.path, device.kernelPath),
                          device.path);
    m_device->setCurrentIndex(-1);

    auto* assign = new QPushButton(QStringLiteral("Назначить"), this);
    assign->setObjectName(QStringLiteral("assignPort"));
    auto* clear = new QPushButton(QStringLiteral("Очистить"), this);
    clear->setObjectName(QStringLiteral("clearPort"));
    connect(assign, &QPushButton::clicked, this, &PortTableEditor::AssignChosen);
    connect(clear, &QPushButton::clicked, this, &PortTableEditor::ClearSelected);

    auto* chooser = new QHBoxLayout;
    chooser->addWidget(new QLabel(QStringLiteral("Устройство:"), this));
    chooser->addWidget(m_device, 1);
    chooser->addWidget(assign);
    chooser->addWidget(clear);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_rows);
    layout->addLayout(chooser);

    ShowTable();
    m_rows->selectRow(0);
}

void PortTableEditor::Assign(int number, const QString& path)
{
    m_table.Assign(number, path.trimmed());
    ShowTable();
}

int PortTableEditor::SelectedNumber() const
{
    const QList<QTableWidgetItem*> selected = m_rows->selectedItems();
    return selected.isEmpty() ? 0 : selected.constFirst()->row() + PortTable::kFirstNumber;
}

void PortTableEditor::AssignChosen()
{
    const int number = SelectedNumber();
    if (number == 0)
        return;
    // A found device carries its name to keep as data; typed text is taken as it stands.
    const int index = m_device->findText(m_device->currentText());
    Assign(number, index >= 0 ? m_device->itemData(index).toString() : m_device->currentText());
}

void PortTableEditor::ClearSelected()
{
    if (const int number = SelectedNumber(); number != 0)
        Assign(number, QString());
}

void PortTableEditor::ShowTable()
{
    for (int number = PortTable::kFirstNumber; number <= PortTable::kLastNumber; ++number) {
        const int row = number - PortTable::kFirstNumber;
        m_rows->setItem(row, 0, new QTableWidgetItem(QStringLiteral("COM%1").arg(number)));
        m_rows->setItem(row, 1, new QTableWidgetItem(m_table.DevicePath(number)));
    }
}
