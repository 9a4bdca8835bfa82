#include "gui/nodes/communications_dialog.h"

#include "base/settings_store.h"
#include "channel/channel_types.h"
#include "channel/usb_hid_link.h"
#include "gui/nodes/node_properties_dialog.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/ui_test_helpers.h"
#include "nodes/node_base.h"
#include "support/played_hid_device.h"

#include <gtest/gtest.h>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

class CommunicationsDialogTest : public ::testing::Test {
protected:
    template <typename T>
    static T* Child(QWidget& dialog, const QString& name)
    {
        return NamedChild<T>(dialog, name);
    }

    static QTableWidget* NodeList(QWidget& dialog, int kind)
    {
        return Child<QTableWidget>(dialog, QStringLiteral("nodeList%1").arg(kind));
    }

    static void Click(QWidget& dialog, const char* button)
    {
        QTest::mouseClick(Child<QPushButton>(dialog, QString::fromLatin1(button)), Qt::LeftButton);
    }

    static void ClickOk(QDialog& dialog) { ClickStandardButton(dialog, QDialogButtonBox::Ok); }

    // OK is refused with an information box saying `text`, and the dialog stays.
    static void ExpectRefused(QDialog& dialog, const RecordedMessageBoxes& boxes, const QString& text)
    {
        const std::size_t before = boxes.shown.size();
        ClickOk(dialog);
        ASSERT_EQ(boxes.shown.size(), before + 1);
        EXPECT_EQ(boxes.shown.back().text, text);
        EXPECT_EQ(boxes.shown.back().caption, QStringLiteral("Информация"));
        EXPECT_EQ(boxes.shown.back().style, unsigned(MessageStyle::kIconInformation));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }

    static int SelectedRow(QTableWidget* list)
    {
        const auto ranges = list->selectedRanges();
        return ranges.isEmpty() ? -1 : ranges.first().topRow();
    }

    // The names down a node list.
    static QStringList Names(QTableWidget* list)
    {
        QStringList names;
        for (int row = 0; row < list->rowCount(); ++row) {
            EXPECT_EQ(list->item(row, 0)->text(), QString::number(row + 1));
            names.append(list->item(row, 1)->text());
        }
        return names;
    }

    void AddNode(int type, const QString& name, const QString& address = {})
    {
        NodeEntry entry;
        entry.record = NodeRecord::New(type, freePorts);
        entry.record.SetName(name);
        entry.record.SetAddress(address);
        base.Append(entry);
    }

    // What is on disk, not what the dialog's store holds.
    int StoredConnectType() const
    {
        SettingsStore onDisk(settingsFile);
        return onDisk.GetInt(QStringLiteral("Settings\\Screen\\Base"), QStringLiteral("ConnectType"), -1);
    }

    std::unique_ptr<CDlgCommunications> Open(int connectType, UsbTransport* usb = nullptr)
    {
        settings.SetInt(QStringLiteral("Settings\\Screen\\Base"), QStringLiteral("ConnectType"), connectType);
        auto dialog = std::make_unique<CDlgCommunications>(base, settings, freePorts, ports, usb);
        dialog->open();
        return dialog;
    }

    QTemporaryDir folder;
    const QString settingsFile = folder.filePath(QStringLiteral("settings.ini"));
    SettingsStore settings{settingsFile};
    NodeBase base;
    FreePortTable freePorts = FreePortTable::AllFree();
    PortTable ports;
};

TEST_F(CommunicationsDialogTest, OpensOnTheStoredTabAndStoresEachTabChosen)
{
    auto dialog = Open(7);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Список приборов"));
    EXPECT_EQ(dialog->CurrentPage(), kChannelUsb);
    auto* tabs = dialog->findChild<QTabBar*>();
    ASSERT_TRUE(tabs);
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("USB"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Прямое"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Модем"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("Ethernet/Internet"));
    for (const char* button : {"add", "delete", "up", "down", "properties"})
        EXPECT_FALSE(Child<QPushButton>(*dialog, QString::fromLatin1(button))->isVisible()) << button;

    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(3).center());
    EXPECT_EQ(dialog->CurrentPage(), kChannelIp);
    EXPECT_EQ(StoredConnectType(), kChannelIp);
    EXPECT_TRUE(Child<QPushButton>(*dialog, QStringLiteral("add"))->isVisible());
    dialog.reset();

    dialog = Open(2);
    EXPECT_EQ(dialog->CurrentPage(), kChannelModem);
    EXPECT_EQ(dialog->findChild<QTabBar*>()->currentIndex(), 2);

    // The page without a tab: OK gives a new shared-memory record, empty as the page is.
    dialog = Open(4);
    EXPECT_EQ(dialog->CurrentPage(), kChannelSharedMemory);
    EXPECT_TRUE(Child<QPushButton>(*dialog, QStringLiteral("add"))->isVisible());
    ClickOk(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Result().record.ConnectionType(), kChannelSharedMemory);
    EXPECT_EQ(dialog->ResultBaseIndex(), -1);
    // From there the highlighted "USB" tab still leads to the USB page.
    dialog = Open(4);
    tabs = dialog->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(tabs->currentIndex()).center());
    EXPECT_EQ(dialog->CurrentPage(), tabs->currentIndex());
}

TEST_F(CommunicationsDialogTest, MovingTheWindowStoresItsPlacement)
{
    auto dialog = Open(1);
    dialog->move(dialog->pos() + QPoint(30, 20));
    QApplication::processEvents();
    SettingsStore onDisk(settingsFile);
    EXPECT_EQ(onDisk.GetBinary(QStringLiteral("Settings\\Screen\\Base"), QStringLiteral("Position"), {}).size(), 44);
}

TEST_F(CommunicationsDialogTest, UsbOkWantsAListedAndSelectedMeter)
{
    RecordedMessageBoxes boxes;
    auto dialog = Open(0);
    ExpectRefused(*dialog, boxes, QStringLiteral("Приборы с USB подключением отсутствуют!"));

    auto backend = std::make_unique<PlayedHidBackend>();
    PlayedHidBackend* system = backend.get();
    UsbHidLink usb(std::move(backend));
    auto other = std::make_shared<PlayedHidDevice>("/dev/hidraw1", QStringLiteral("OTHER"), 0x046D, 0xC52B);
    auto first = std::make_shared<PlayedHidDevice>("/dev/hidraw2", QStringLiteral("ZT5-0042"));
    auto second = std::make_shared<PlayedHidDevice>("/dev/hidraw3", QStringLiteral("ZT5-0043"));
    system->Plug(other);
    system->Plug(first);
    system->Plug(second);
    dialog = Open(0, &usb);
    auto* list = Child<QTableWidget>(*dialog, QStringLiteral("usbList"));
    ASSERT_TRUE(list);
    // One meter per search, however many are plugged in.
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("1"));
    EXPECT_EQ(list->item(0, 1)->text(), QStringLiteral("ЗТ5 ZT5-0042"));
    Click(*dialog, "refresh");
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_FALSE(list->item(0, 1)->text().contains(QStringLiteral("OTHER")));

    ExpectRefused(*dialog, boxes, QStringLiteral("Не выбран прибор с USB подключением!"));
    list->selectRow(0);
    ClickOk(*dialog);
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->UsbDeviceIndex(), 0);
    EXPECT_EQ(dialog->Result().record.ConnectionType(), kChannelUsb);
}

TEST_F(CommunicationsDialogTest, NodeOkTakesTheSelectedEntryADefaultNodeOrRefuses)
{
    AddNode(kChannelDirect, QStringLiteral("Котельная"), QStringLiteral("ул. Ленина, 1"));
    AddNode(kChannelIp, QStringLiteral("ЦТП-3"));
    AddNode(kChannelDirect, QStringLiteral("Школа"));
    NodeEntry changed = base.At(2);
    changed.trailingWord = 0xBEEF;
    changed.trailingByte = 0x5A;
    changed.record.SetSerialNumber(4711);
    base.Replace(2, changed);

    RecordedMessageBoxes boxes;
    auto dialog = Open(2);
    ExpectRefused(*dialog, boxes, QStringLiteral("Не задан ни один узел учета!"));

    dialog = Open(1);
    auto* list = NodeList(*dialog, kChannelDirect);
    ASSERT_TRUE(list);
    EXPECT_EQ(Names(list), (QStringList{QStringLiteral("Котельная"), QStringLiteral("Школа")}));
    EXPECT_EQ(list->item(0, 2)->text(), QStringLiteral("ул. Ленина, 1"));
    // An IP node without a postal address is shown by where it listens.
    ASSERT_TRUE(NodeList(*dialog, kChannelIp));
    EXPECT_EQ(NodeList(*dialog, kChannelIp)->item(0, 2)->text(), QStringLiteral("192.168.1.1:5001"));
    ClickOk(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Result().record.Name(), QStringLiteral("---"));
    EXPECT_EQ(dialog->Result().record.ConnectionType(), kChannelDirect);
    EXPECT_EQ(dialog->ResultBaseIndex(), -1);

    dialog = Open(1);
    list = NodeList(*dialog, kChannelDirect);
    list->selectRow(1);
    ClickOk(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->ResultBaseIndex(), 2);
    EXPECT_EQ(dialog->Result().record.Name(), QStringLiteral("Школа"));
    EXPECT_EQ(dialog->Result().record.SerialNumber(), 4711);
    EXPECT_EQ(dialog->Result().trailingWord, 0xBEEF);
    EXPECT_EQ(dialog->Result().trailingByte, 0x5A);

    // The base shrank behind the dialog's back: the row points past its end.
    dialog = Open(1);
    NodeList(*dialog, kChannelDirect)->selectRow(1);
    base.Remove(2);
    ExpectRefused(*dialog, boxes, QStringLiteral("Ошибка выполнения CDlgCommunications::OnOK!"));
}

TEST_F(CommunicationsDialogTest, DeleteAndMoveKeepTheSelectionAndStopAtTheEnds)
{
    AddNode(kChannelModem, QStringLiteral("A"));
    AddNode(kChannelDirect, QStringLiteral("прямой"));
    AddNode(kChannelModem, QStringLiteral("B"));
    AddNode(kChannelModem, QStringLiteral("C"));
    auto dialog = Open(2);
    auto* list = NodeList(*dialog, kChannelModem);
    ASSERT_TRUE(list);

    list->selectRow(0);
    Click(*dialog, "up");
    EXPECT_EQ(Names(list), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(SelectedRow(list), 0);
    Click(*dialog, "down");
    EXPECT_EQ(Names(list), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(SelectedRow(list), 1);
    EXPECT_EQ(base.At(0).record.Name(), QStringLiteral("B"));
    EXPECT_EQ(base.At(1).record.Name(), QStringLiteral("прямой"));
    list->selectRow(2);
    Click(*dialog, "down");
    EXPECT_EQ(Names(list), (QStringList{"B", "A", "C"}));
    Click(*dialog, "up");
    EXPECT_EQ(Names(list), (QStringList{"B", "C", "A"}));
    EXPECT_EQ(SelectedRow(list), 1);

    list->selectRow(2);
    {
        RecordedMessageBoxes declined(MessageAnswer::kNo);
        Click(*dialog, "delete");
        ASSERT_EQ(declined.shown.size(), 1u);
        EXPECT_EQ(declined.shown[0].text, QStringLiteral("Удалить прибор \"A\" из списка?"));
        EXPECT_EQ(Names(list), (QStringList{"B", "C", "A"}));
    }
    RecordedMessageBoxes confirmed(MessageAnswer::kYes);
    Click(*dialog, "delete");
    EXPECT_EQ(Names(list), (QStringList{"B", "C"}));
    EXPECT_EQ(SelectedRow(list), 1);
    list->selectRow(0);
    Click(*dialog, "delete");
    EXPECT_EQ(Names(list), QStringList{"C"});
    EXPECT_EQ(SelectedRow(list), 0);
    Click(*dialog, "delete");
    EXPECT_EQ(list->rowCount(), 0);
    ASSERT_EQ(base.Count(), 1);
    EXPECT_EQ(base.At(0).record.Name(), QStringLiteral("прямой"));
    EXPECT_EQ(confirmed.shown.size(), 3u);

    RecordedMessageBoxes boxes;
    ExpectRefused(*dialog, boxes, QStringLiteral("Не задан ни один узел учета!"));
}

TEST_F(CommunicationsDialogTest, AddAndPropertiesChangeTheBaseOnlyOnOk)
{
    auto dialog = Open(3);
    auto* list = NodeList(*dialog, kChannelIp);
    ASSERT_TRUE(list);

    WhenModal<CDlgNodeProperties>([](CDlgNodeProperties* properties) { properties->reject(); });
    Click(*dialog, "add");
    EXPECT_TRUE(base.IsEmpty());
    EXPECT_EQ(list->rowCount(), 0);

    WhenModal<CDlgNodeProperties>([](CDlgNodeProperties* properties) {
        auto* name = properties->findChild<QLineEdit*>(QStringLiteral("name"));
        name->clear();
        TypeText(name, QStringLiteral("Насосная"));
        properties->accept();
    });
    Click(*dialog, "add");
    ASSERT_EQ(base.Count(), 1);
    EXPECT_EQ(base.At(0).record.Name(), QStringLiteral("Насосная"));
    EXPECT_EQ(base.At(0).record.ConnectionType(), kChannelIp);
    EXPECT_EQ(base.At(0).record.IpAddress(), QStringLiteral("192.168.1.1"));
    EXPECT_EQ(Names(list), QStringList{QStringLiteral("Насосная")});
    EXPECT_EQ(SelectedRow(list), 0);

    WhenModal<CDlgNodeProperties>([](CDlgNodeProperties* properties) {
        properties->findChild<QLineEdit*>(QStringLiteral("address"))->setText(QStringLiteral("корпус 2"));
        properties->reject();
    });
    Click(*dialog, "properties");
    EXPECT_EQ(base.At(0).record.Address(), QString());

    WhenModal<CDlgNodeProperties>([](CDlgNodeProperties* properties) {
        EXPECT_EQ(properties->findChild<QLineEdit*>(QStringLiteral("name"))->text(), QStringLiteral("Насосная"));
        properties->findChild<QLineEdit*>(QStringLiteral("address"))->setText(QStringLiteral("корпус 2"));
        properties->accept();
    });
    Click(*dialog, "properties");
    EXPECT_EQ(base.At(0).record.Address(), QStringLiteral("корпус 2"));
    // An IP node: its postal address, then where it listens.
    EXPECT_EQ(list->item(0, 2)->text(), QStringLiteral("корпус 2, 192.168.1.1:5001"));
}

}  // namespace
