// A decimal comma typed key by key into the numeric fields of each kind, as a Russian keyboard gives it:
// the value that reaches the record (and the meter) is the typed one, never the digits run together. A
// text pasted whole that the field would turn into another number is refused, the field keeps its own.

#include "gui_rigs/config_window_helpers.h"

#include "channel/channel_types.h"
#include "gui/config/tab_ctrl_with_disable.h"
#include "gui/nodes/node_properties_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Pastes `text` at the end of the field with Ctrl+V, as a user does.
void PasteAtItsEnd(QLineEdit* edit, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

void PasteOverAll(QLineEdit* edit, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

QLineEdit* NamedEdit(const QWidget& parent, const char* name)
{
    return NamedChild<QLineEdit>(parent, QString::fromLatin1(name));
}

}  // namespace

TEST(DecimalComma, TypedIntoEachKindOfFieldReachesTheRecordAsTheTypedNumber)
{
    DemoMeter demo;
    QString error;
    ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
    // The service tab's parameter change wants the set reachable from the PC with the password.
    PutKnownTunes(demo, [](TunesRecord& tunes) { tunes.SetPcAccess(1); });
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    ASSERT_TRUE(ConnectToDemo(*window, demo));
    ConfigurationBlocks& blocks = window->Driver().Configuration();

    // A whole number ("Сетевой адрес:"): the point ends it, 6 and not 65.
    window->SelectPage(ConfigPageIds::kSystem);
    QLineEdit* address = NamedEdit(*CommonPage(*window), "networkAddressEdit");
    Retype(address, QStringLiteral("6,5"));
    EXPECT_EQ(address->text(), QStringLiteral("6."));
    EXPECT_EQ(blocks.open.networkAddress, 6);

    // A float ("Vдог.") and one that may be negative ("Pп"), on the pipes page.
    window->SelectPage(ConfigPageIds::InputPipes(0, 0));
    const PageEntry* pipesEntry = window->Pages()->Find(ConfigPageIds::InputPipes(0, 0));
    ASSERT_TRUE(pipesEntry && pipesEntry->page);
    const QWidget& pipesPage = *pipesEntry->page;
    QLineEdit* volume = NamedEdit(pipesPage, "volumeContract1");
    QLineEdit* height = NamedEdit(pipesPage, "heightCorrection1");
    ASSERT_TRUE(volume->isEnabled() && height->isEnabled());
    Retype(volume, QStringLiteral("6,5"));
    Retype(height, QStringLiteral("-6,5"));
    EXPECT_EQ(volume->text(), QStringLiteral("6.5"));
    EXPECT_EQ(height->text(), QStringLiteral("-6.5"));
    const PipeSettings& pipe = blocks.tunes.db[0].pipes[0][0];
    EXPECT_FLOAT_EQ(pipe.hourlyVolumeContract, 6.5f);
    EXPECT_FLOAT_EQ(pipe.heightCorrection, -6.5f);

    // Pasted: a sign the field cannot hold, a blank or a second point in the middle are refused whole;
    // a number the field can hold is taken, its comma as the point.
    for (const char* refused : {"-500,5", "1 000,5", "1.000,5"}) {
        PasteOverAll(volume, QString::fromUtf8(refused));
        EXPECT_EQ(volume->text(), QStringLiteral("6.5")) << refused;
        EXPECT_FLOAT_EQ(pipe.hourlyVolumeContract, 6.5f) << refused;
    }
    PasteAtItsEnd(volume, QStringLiteral("25"));
    EXPECT_EQ(volume->text(), QStringLiteral("6.525"));
    PasteOverAll(volume, QStringLiteral("500,5"));
    EXPECT_EQ(volume->text(), QStringLiteral("500.5"));
    EXPECT_FLOAT_EQ(pipe.hourlyVolumeContract, 500.5f);

    // The service tab's "Значение:" reaches the meter as 6.5.
    window->SelectPage(ConfigPageIds::kSystem);
    window->ConfigPages()->System()->Tabs()->setCurrentIndex(1);
    CDlgMainConfigServiceUser* service = ServiceUserPage(*window);
    ASSERT_TRUE(
        PickComboText(NamedChild<QComboBox>(*service, QStringLiteral("parameterCombo")), QStringLiteral("tхд ТВ1")));
    TypeText(NamedEdit(*service, "parameterPasswordEdit"), QStringLiteral("12345"));
    QLineEdit* value = NamedEdit(*service, "parameterValueEdit");
    Retype(value, QStringLiteral("6,5"));
    EXPECT_EQ(value->text(), QStringLiteral("6.5"));
    EXPECT_EQ(ClickForCommand(*window, NamedChild<QPushButton>(*service, QStringLiteral("writeParameterButton"))),
              kSucceeded);
    {
        std::lock_guard<std::mutex> lock(demo.Meter().Lock());
        EXPECT_FLOAT_EQ(
            demo.Meter().Configuration().Tunes(demo.Meter().Image()).db[0].inputs[0].contractColdTemperature, 6.5f);
    }

    // The node's "Свойства": whole numbers too, and a pasted 300 (cut to 30 as typed) is refused.
    FreePortTable freePorts = FreePortTable::AllFree();
    PortTable ports;
    CDlgNodeProperties dialog(NodeRecord::New(kChannelIp, freePorts), freePorts, ports);
    dialog.show();
    QLineEdit* attempts = NamedEdit(dialog, "attempts");
    QLineEdit* port = NamedEdit(dialog, "ipPort");
    Retype(attempts, QStringLiteral("6,5"));
    EXPECT_EQ(attempts->text(), QStringLiteral("6."));
    Retype(NamedEdit(dialog, "timeout"), QStringLiteral("2,5"));
    PasteOverAll(NamedEdit(dialog, "networkAddress"), QStringLiteral("300"));
    EXPECT_EQ(NamedEdit(dialog, "networkAddress")->text(), QStringLiteral("0"));
    PasteOverAll(port, QStringLiteral("5001,0"));
    EXPECT_EQ(port->text(), QStringLiteral("5001."));
    ClickStandardButton(dialog, QDialogButtonBox::Ok);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Record().RepeatCount(), 6);
    EXPECT_EQ(dialog.Record().RepeatTimeoutSec(), 2);
    EXPECT_EQ(dialog.Record().NetworkAddress(), 0);
    EXPECT_EQ(dialog.Record().IpPort(), 5001);
}
