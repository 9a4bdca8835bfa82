#include "gui/nodes/node_properties_dialog.h"

#include "channel/channel_types.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/ui_test_helpers.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class NodePropertiesDialogTest : public ::testing::Test {
protected:
    template <typename T>
    static T* Child(QWidget& dialog, const char* name)
    {
        return NamedChild<T>(dialog, QString::fromLatin1(name));
    }

    static void Type(QLineEdit* edit, const QString& text) { TypeText(edit, text); }
    static void ClickOk(QDialog& dialog) { ClickStandardButton(dialog, QDialogButtonBox::Ok); }

    NodeRecord Record(int type) const { return NodeRecord::New(type, freePorts); }

    FreePortTable freePorts = FreePortTable::AllFree();
    PortTable ports;
};

TEST_F(NodePropertiesDialogTest, ModemNodeShowsThePhoneThatKeepsOnlyDialCharactersAsTyped)
{
    CDlgNodeProperties dialog(Record(kChannelModem), freePorts, ports);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Свойства"));
    auto* phone = Child<QLineEdit>(dialog, "phone");
    ASSERT_TRUE(phone);
    EXPECT_TRUE(phone->isVisible());
    EXPECT_TRUE(Child<QComboBox>(dialog, "comPort")->isVisible());
    EXPECT_TRUE(Child<QComboBox>(dialog, "baudRate")->isVisible());
    EXPECT_FALSE(Child<QLineEdit>(dialog, "ipAddress")->isVisible());
    EXPECT_FALSE(Child<QComboBox>(dialog, "ipProtocol")->isVisible());

    Type(phone, QStringLiteral("8-495"));
    EXPECT_EQ(phone->text(), QStringLiteral("8495"));
    Type(phone, QStringLiteral("Жw,1"));
    EXPECT_EQ(phone->text(), QStringLiteral("8495w,1"));
    // A character typed in the middle goes, the caret stays where it was.
    phone->setCursorPosition(1);
    Type(phone, QStringLiteral("+"));
    EXPECT_EQ(phone->text(), QStringLiteral("8495w,1"));
    EXPECT_EQ(phone->cursorPosition(), 1);

    ClickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Record().PhoneNumber(), QStringLiteral("8495w,1"));
    EXPECT_EQ(dialog.Record().RepeatTimeoutSec(), 7);
}

TEST_F(NodePropertiesDialogTest, NumbersKeepTheirDigitsAndANetworkAddressOf256IsCut)
{
    NodeRecord record = Record(kChannelDirect);
    record.SetIpProtocol(NodeRecord::kIpProtocolUdp);
    CDlgNodeProperties dialog(record, freePorts, ports);
    dialog.show();
    EXPECT_FALSE(Child<QLineEdit>(dialog, "phone")->isVisible());
    auto* address = Child<QLineEdit>(dialog, "networkAddress");
    auto* timeout = Child<QLineEdit>(dialog, "timeout");
    auto* attempts = Child<QLineEdit>(dialog, "attempts");
    auto* name = Child<QLineEdit>(dialog, "name");
    ASSERT_TRUE(address && timeout && attempts && name);
    EXPECT_EQ(address->text(), QStringLiteral("0"));

    address->clear();
    Type(address, QStringLiteral("2х5"));
    EXPECT_EQ(address->text(), QStringLiteral("25"));
    Type(address, QStringLiteral("6"));
    EXPECT_EQ(address->text(), QStringLiteral("25"));
    Type(address, QStringLiteral("5"));
    EXPECT_EQ(address->text(), QStringLiteral("255"));
    Type(address, QStringLiteral("1"));
    EXPECT_EQ(address->text(), QStringLiteral("255"));
    timeout->clear();
    Type(timeout, QStringLiteral("12"));
    attempts->clear();
    Type(attempts, QStringLiteral("3a"));
    name->clear();
    Type(name, QString(64, u'Ж'));
    EXPECT_EQ(name->text(), QString(63, u'Ж'));

    ClickOk(dialog);
    const NodeRecord& edited = dialog.Record();
    EXPECT_EQ(edited.NetworkAddress(), 255);
    EXPECT_EQ(edited.RepeatTimeoutSec(), 12);
    EXPECT_EQ(edited.RepeatCount(), 3);
    EXPECT_EQ(edited.Name(), QString(63, u'Ж'));
    EXPECT_EQ(edited.IpProtocol(), NodeRecord::kIpProtocolTcp);
}

TEST_F(NodePropertiesDialogTest, IpNodeRefusesAnIncompleteAddressAndStoresADottedQuad)
{
    RecordedMessageBoxes boxes;
    CDlgNodeProperties dialog(Record(kChannelIp), freePorts, ports);
    dialog.show();
    auto* ip = Child<QLineEdit>(dialog, "ipAddress");
    auto* port = Child<QLineEdit>(dialog, "ipPort");
    ASSERT_TRUE(ip && port);
    EXPECT_TRUE(ip->isVisible());
    EXPECT_TRUE(port->isVisible());
    EXPECT_FALSE(Child<QComboBox>(dialog, "comPort")->isVisible());
    EXPECT_FALSE(Child<QComboBox>(dialog, "baudRate")->isVisible());
    EXPECT_EQ(ip->text(), QStringLiteral("192.168.1.1"));
    EXPECT_EQ(port->text(), QStringLiteral("5001"));

    ip->clear();
    Type(ip, QStringLiteral("10.0.0"));
    ClickOk(dialog);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Ошибка при вызове inet_ntoa!"));
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Информация"));
    EXPECT_TRUE(dialog.isVisible());

    Type(ip, QStringLiteral(".07x"));
    EXPECT_EQ(ip->text(), QStringLiteral("10.0.0.07"));
    port->clear();
    Type(port, QStringLiteral("502:11"));
    EXPECT_EQ(port->text(), QStringLiteral("50211"));
    ClickOk(dialog);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Record().IpAddress(), QStringLiteral("10.0.0.7"));
    EXPECT_EQ(dialog.Record().IpPort(), 50211);
}

TEST_F(NodePropertiesDialogTest, EmptyOrZeroPortTimeOutAndRepeatsAreRefusedByName)
{
    RecordedMessageBoxes boxes;
    CDlgNodeProperties dialog(Record(kChannelIp), freePorts, ports);
    dialog.show();
    auto* port = Child<QLineEdit>(dialog, "ipPort");
    auto* timeout = Child<QLineEdit>(dialog, "timeout");
    auto* attempts = Child<QLineEdit>(dialog, "attempts");
    ASSERT_TRUE(port && timeout && attempts);

    port->clear();
    ClickOk(dialog);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Поле \"IP порт\" должно содержать число от 1 до 65535!"));
    EXPECT_TRUE(dialog.isVisible());
    Type(port, QStringLiteral("99999"));
    ClickOk(dialog);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, boxes.shown[0].text);
    port->clear();
    Type(port, QStringLiteral("502"));

    timeout->clear();
    Type(timeout, QStringLiteral("0"));
    ClickOk(dialog);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].text,
              QStringLiteral("Поле \"Тайм-аут на повтор (сек.)\" должно содержать число от 1 до 255!"));
    Type(timeout, QStringLiteral("5"));  // "05"

    attempts->clear();
    ClickOk(dialog);
    ASSERT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(boxes.shown[3].text, QStringLiteral("Поле \"Кол-во повторов\" должно содержать число от 1 до 255!"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    Type(attempts, QStringLiteral("2"));
    ClickOk(dialog);
    EXPECT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Record().IpPort(), 502);
    EXPECT_EQ(dialog.Record().RepeatTimeoutSec(), 5);
    EXPECT_EQ(dialog.Record().RepeatCount(), 2);
}

TEST_F(NodePropertiesDialogTest, PortsComeFromTheTableAndValuesOutsideTheListsStayAsTheyWere)
{
    ports.Assign(3, QStringLiteral("/dev/ttyUSB0"));
    freePorts.SetFree(1, false);
    NodeRecord record = Record(kChannelDirect);
    EXPECT_EQ(record.ComPort(), 2);
    {
        CDlgNodeProperties dialog(record, freePorts, ports);
        auto* list = Child<QComboBox>(dialog, "comPort");
        ASSERT_TRUE(list);
        EXPECT_EQ(list->count(), 31);
        EXPECT_EQ(list->itemText(0), QStringLiteral("COM2"));
        EXPECT_EQ(list->itemText(1), QStringLiteral("COM3 (/dev/ttyUSB0)"));
        EXPECT_EQ(list->currentText(), QStringLiteral("COM2"));
        list->setCurrentIndex(1);
        dialog.accept();
        EXPECT_EQ(dialog.Record().ComPort(), 3);
    }

    record.SetComPort(1);  // taken: not offered
    record.SetBaudRate(300);
    record.SetScheduleEnabled(7);
    record.SetScheduleStart({30, 15, 61});
    CDlgNodeProperties dialog(record, freePorts, ports);
    EXPECT_EQ(Child<QComboBox>(dialog, "comPort")->currentIndex(), -1);
    EXPECT_EQ(Child<QComboBox>(dialog, "baudRate")->currentIndex(), -1);
    dialog.accept();
    EXPECT_EQ(dialog.Record().ComPort(), 1);
    EXPECT_EQ(dialog.Record().BaudRate(), 300);
    EXPECT_EQ(dialog.Record().ScheduleEnabled(), 1);
    EXPECT_EQ(dialog.Record().ScheduleStart().hour, 0);
    EXPECT_EQ(dialog.Record().ScheduleStart().minute, 15);
    EXPECT_EQ(dialog.Record().ScheduleStart().second, 0);
}

}  // namespace
