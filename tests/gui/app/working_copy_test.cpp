// The configuration being edited against a connect that reads the meter's: asked before it is replaced,
// kept on No; and the frame's status lines after a break and after a check, on the demo meter.

#include "gui_rigs/config_window_helpers.h"

#include "config/tunes_file.h"
#include "support/known_configuration.h"
#include "support/recording_message_host.h"

#include <cstring>

namespace {

const QString kReplaceQuestion = QStringLiteral(
    "Настройки, измененные или открытые из файла, будут заменены прочитанными из прибора. Продолжить?");

std::uint8_t NetworkAddress(MainDialog& window)
{
    return window.Driver().Configuration().open.networkAddress;
}

// "Разорвать связь" on the frame; true once the connection is gone and the driver idle.
bool Break(MainDialog& window)
{
    QTest::mouseClick(window.MainConfig()->BreakButton(), Qt::LeftButton);
    return QTest::qWaitFor([&] { return !window.Driver().IsDeviceConnected() && window.Driver().WaitUntilIdle(0); },
                           kCommandArrivesMs);
}

// "Установить связь" with the demo node chosen; the result text.
QString Reconnect(MainDialog& window)
{
    ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
    return RunFrameCommand(window, [&] { QTest::mouseClick(window.MainConfig()->ConnectButton(), Qt::LeftButton); });
}

int Questions(const MainWindowRig& rig)
{
    int count = 0;
    for (const PresentedMessage& message : rig.presenter.messages)
        count += message.text == kReplaceQuestion ? 1 : 0;
    return count;
}

}  // namespace

TEST(WorkingCopy, ConnectAsksBeforeReplacingEditsOrAFilesSettingsAndNoKeepsThem)
{
    DemoMeter demo;
    QString error;
    ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    ASSERT_TRUE(ConnectToDemo(*window, demo));
    EXPECT_EQ(Questions(rig), 0) << "nothing edited yet";
    const std::uint8_t meterAddress = NetworkAddress(*window);

    // The break leaves no "Связь установлена" beside its own text.
    ASSERT_TRUE(Break(*window));
    EXPECT_EQ(window->MainConfig()->ConnectionText(), QString());

    // Unchanged: connecting again asks nothing.
    EXPECT_EQ(Reconnect(*window), kSucceeded);
    EXPECT_EQ(Questions(rig), 0);

    // Edited on the page: asked; No connects and keeps the edit.
    window->SelectPage(ConfigPageIds::kSystem);
    auto* address = NamedChild<QLineEdit>(*CommonPage(*window), QStringLiteral("networkAddressEdit"));
    const int edited = meterAddress == 17 ? 18 : 17;
    address->selectAll();
    QTest::keyClicks(address, QString::number(edited));
    ASSERT_EQ(NetworkAddress(*window), edited);
    ASSERT_TRUE(Break(*window));
    rig.presenter.answer = MessageAnswer::kNo;
    EXPECT_EQ(Reconnect(*window), kSucceeded);
    EXPECT_EQ(Questions(rig), 1);
    EXPECT_TRUE(window->Driver().IsDeviceConnected());
    EXPECT_EQ(NetworkAddress(*window), edited);
    EXPECT_EQ(address->text().toInt(), edited);

    // Still not written: asked again; Yes reads the meter's over it.
    ASSERT_TRUE(Break(*window));
    rig.presenter.answer = MessageAnswer::kYes;
    EXPECT_EQ(Reconnect(*window), kSucceeded);
    EXPECT_EQ(Questions(rig), 2);
    EXPECT_EQ(NetworkAddress(*window), meterAddress);
    EXPECT_EQ(address->text().toInt(), meterAddress);

    // Opened from a file: asked even though nothing was touched since.
    const QString file = QDir(rig.Folder()).filePath(QStringLiteral("known.zt5"));
    RecordingMessageHost quiet;  // answers OK to everything
    ASSERT_TRUE(SaveTunesFile(file, KnownConfiguration(), quiet));
    ASSERT_TRUE(window->OpenSettingsFileNamed(file));
    const ConfigurationBlocks opened = window->Driver().Configuration();
    ASSERT_TRUE(Break(*window));
    rig.presenter.answer = MessageAnswer::kNo;
    EXPECT_EQ(Reconnect(*window), kSucceeded);
    EXPECT_EQ(Questions(rig), 3);
    EXPECT_EQ(std::memcmp(&window->Driver().Configuration().tunes, &opened.tunes, sizeof opened.tunes), 0);

    // Written to the meter, the copy is the meter's: no question any more.
    EXPECT_EQ(ClickForCommand(*window, NamedChild<QPushButton>(*window->MainConfig(), QStringLiteral("writeButton"))),
              kSucceeded);
    ASSERT_TRUE(Break(*window));
    EXPECT_EQ(Reconnect(*window), kSucceeded);
    EXPECT_EQ(Questions(rig), 3);
}

TEST(WorkingCopy, ACheckReplacesTheLastResultLineWithItsOwn)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    CDlgMainConfig* frame = window->MainConfig();
    frame->SetOperationText(kFailed);  // what a failed command left

    // The second set in use without any input in it fails the check.
    window->Driver().Configuration() = KnownConfiguration();
    TunesRecord& tunes = window->Driver().Configuration().tunes;
    tunes.SetDb2Used(true);
    for (InputSettings& input : tunes.db[1].inputs)
        input.scheme = 0;
    EXPECT_FALSE(frame->CheckConfiguration());
    EXPECT_EQ(frame->OperationText(), QStringLiteral("Проверка настроек: найдены ошибки!"));
    ASSERT_FALSE(rig.presenter.messages.isEmpty());

    window->Driver().Configuration() = KnownConfiguration();
    rig.presenter.messages.clear();
    EXPECT_TRUE(frame->CheckConfiguration()) << rig.presenter.messages.value(0).text.toStdString();
    EXPECT_EQ(frame->OperationText(), QStringLiteral("Проверка настроек: ошибок не найдено."));
}
