// The main window on a folder of its own: start-up, choosing a node, placement and the page tree.

#include "gui_rigs/main_window_rig.h"

#include "base/message_style.h"
#include "base/setting_value.h"
#include "base/settings_sections.h"
#include "channel/channel_types.h"
#include "gui/app/status_strip.h"
#include "gui/config/configuration_frame_page.h"
#include "gui/nodes/communications_dialog.h"
#include "gui/widgets/page_base.h"
#include "gui/widgets/page_tree.h"
#include "gui_rigs/ui_test_helpers.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The settings file without the device list's own section, where the dialog keeps its tab and place.
QByteArray WithoutDeviceListSection(QByteArray ini)
{
    const QByteArray head = QByteArrayLiteral("[Settings\\Screen\\Base]");
    const qsizetype start = ini.indexOf(head);
    if (start < 0)
        return ini.trimmed();
    const qsizetype next = ini.indexOf("\n[", start + head.size());
    return ini.remove(start, (next < 0 ? ini.size() : next + 1) - start).trimmed();
}

// A window on a base of one node, "Котельная" at 127.0.0.1:4321.
std::unique_ptr<MainDialog> OpenOnOneNode(MainWindowRig& rig)
{
    NodeBase base;
    base.Append(TcpNode(QStringLiteral("Котельная"), 4321, 3, 111));
    EXPECT_TRUE(rig.WriteBase(base));
    return rig.OpenWindow();
}

void ClickConnect(MainDialog& window)
{
    QTest::mouseClick(window.MainConfig()->ConnectButton(), Qt::LeftButton);
}

}  // namespace

TEST(MainWindow, FirstRunOnAnEmptyFolderCreatesTheBaseAndTheSettingsFile)
{
    MainWindowRig rig;
    {
        auto window = rig.OpenWindow();
        EXPECT_EQ(window->objectName(), QStringLiteral("MainDialog"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ЗТ5 Конфигуратор"));
        // Nothing stored: the first size, or most of a smaller screen, never below the minimum.
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        EXPECT_EQ(window->size(),
                  MainDialog::kFirstWindowSize.boundedTo(screen * 9 / 10).expandedTo(MainDialog::kMinimumWindowSize));
        EXPECT_EQ(window->minimumSize(), MainDialog::kMinimumWindowSize);
        EXPECT_TRUE(QFileInfo(QDir(rig.Folder()).filePath(QStringLiteral("Base"))).isDir());
        EXPECT_TRUE(QFileInfo::exists(QDir(rig.Folder()).filePath(QStringLiteral("Base/Objects.bin"))));
        window->close();
    }
    const QByteArray ini = ReadAll(rig.SettingsFile());
    EXPECT_TRUE(ini.contains("[Settings\\Screen\\MainDialog]")) << ini.constData();
    EXPECT_TRUE(ini.contains("SplitterPosition=0")) << ini.constData();
    EXPECT_TRUE(rig.presenter.messages.isEmpty());
}

TEST(MainWindow, MenusAndTheFirstPage)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    QStringList menus;
    for (QAction* menu : window->menuBar()->actions()) {
        QStringList items;
        for (QAction* item : menu->menu()->actions())
            items << item->text();
        menus << menu->text() + QStringLiteral(": ") + items.join(QStringLiteral(" | "));
    }
    EXPECT_EQ(menus,
              QStringList({
                  QStringLiteral("Файл: Открыть настройки из файла... | Сохранить настройки в файл... |  | Выход"),
                  QStringLiteral("Вид: Монитор обменов..."),
                  QStringLiteral("Настройки программы: Параметры программы... | База данных архивов..."),
                  QStringLiteral("Справка: Справка... | О программе... | Лицензионное соглашение..."),
              }));
    EXPECT_EQ(window->Pages()->CurrentPageId(), CDlgMainConfig::kPageId);
    EXPECT_EQ(window->Pages()->TitleStrip()->text(), QStringLiteral("Конфигурирование"));
    const QFont title = window->Pages()->TitleStrip()->font();
    EXPECT_EQ(title.family(), QStringLiteral("Verdana"));
    EXPECT_EQ(title.weight(), QFont::Bold);
    EXPECT_EQ(window->MainConfig()->ConnectButton()->toolTip(), QStringLiteral("Установить связь"));
    EXPECT_EQ(window->MainConfig()->BreakButton()->toolTip(), QStringLiteral("Разорвать связь"));
    EXPECT_EQ(window->MainConfig()->StopButton()->toolTip(), QStringLiteral("Остановить процесс"));
    // Nothing runs: connect is offered, stop is not.
    EXPECT_TRUE(window->MainConfig()->ConnectButton()->isEnabled());
    EXPECT_FALSE(window->MainConfig()->StopButton()->isEnabled());
    // "Выход" closes the window as its close button does.
    window->menuBar()->actions().first()->menu()->actions().last()->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST(MainWindow, WorkFolderThatIsAFileIsReportedWhenANodeIsChosen)
{
    MainWindowRig rig;
    const QString file = QDir(rig.Folder()).filePath(QStringLiteral("not-a-folder"));
    {
        QFile plain(file);
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.write("x");
    }
    const SettingsSection program(rig.environment->Settings(), SettingsSections::kProgram);
    ASSERT_TRUE(program.Value(QStringLiteral("UseWorkFolder"), 1).Set(0));
    ASSERT_TRUE(program.Value(QStringLiteral("WorkFolderPath"), QString()).Set(file));

    auto window = rig.OpenWindow();
    // The start-up check is silent and leaves the base empty.
    EXPECT_TRUE(rig.presenter.messages.isEmpty());
    EXPECT_TRUE(window->Nodes().IsEmpty());

    ModalHandler chooser([](QDialog& dialog) { dialog.reject(); });
    ClickConnect(*window);
    EXPECT_EQ(chooser.Handled(), 0);  // no chooser on a work folder that is not usable
    ASSERT_EQ(rig.presenter.messages.size(), 1);
    EXPECT_EQ(rig.presenter.messages[0].text,
              QStringLiteral("Указанная папка \"%1\" для сохранения служебной информации не найдена!!").arg(file));
    EXPECT_EQ(rig.presenter.messages[0].caption, QStringLiteral("Информация"));
    EXPECT_TRUE(window->StatusText().isEmpty());
}

TEST(MainWindow, ChoosingANodeSetsTheChannelTheAddressAndTheStatusLine)
{
    MainWindowRig rig;
    NodeBase base;
    base.Append(TcpNode(QStringLiteral("Котельная"), 1, 3, 111));
    base.Append(TcpNode(QStringLiteral("Школа №2"), 1, 7, 204512));
    ASSERT_TRUE(rig.WriteBase(base));
    auto window = rig.OpenWindow();

    {
        ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 1); });
        ASSERT_TRUE(window->SelectNode());
    }
    EXPECT_EQ(window->StatusText(), QStringLiteral("Узел учета - Школа №2; серийный N - 204512; сет. адрес - 7"));
    const ChannelSettings& channel = window->Driver().TransmitChanel().Settings();
    EXPECT_EQ(channel.kind, kChannelIp);
    EXPECT_EQ(channel.ipAddress, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(channel.ipPort, 1);
    EXPECT_EQ(channel.attempts, 1);
    EXPECT_EQ(window->Driver().DeviceAddress(), 7);
    EXPECT_TRUE(rig.presenter.messages.isEmpty());

    // The device list opens on the page chosen last.
    int openedOn = -1;
    ModalHandler again([&](QDialog& dialog) {
        openedOn = qobject_cast<CDlgCommunications*>(&dialog)->CurrentPage();
        dialog.reject();
    });
    EXPECT_FALSE(window->SelectNode());
    EXPECT_EQ(openedOn, kChannelIp);
}

TEST(MainWindow, CancellingTheChooserChangesNothing)
{
    MainWindowRig rig;
    auto window = OpenOnOneNode(rig);
    window->SetStatusText(QStringLiteral("прежний узел"));
    const ChannelSettings before = window->Driver().TransmitChanel().Settings();
    const QByteArray iniBefore = WithoutDeviceListSection(ReadAll(rig.SettingsFile()));
    const QByteArray baseBefore = ReadAll(NodeBase::FilePath(rig.Folder()));

    ModalHandler chooser([](QDialog& dialog) { dialog.reject(); });
    ClickConnect(*window);
    EXPECT_EQ(chooser.Handled(), 1);
    EXPECT_EQ(window->StatusText(), QStringLiteral("прежний узел"));
    const ChannelSettings& after = window->Driver().TransmitChanel().Settings();
    EXPECT_EQ(after.kind, before.kind);
    EXPECT_EQ(after.ipAddress, before.ipAddress);
    EXPECT_EQ(after.ipPort, before.ipPort);
    EXPECT_EQ(window->Driver().DeviceAddress(), 1);
    EXPECT_EQ(WithoutDeviceListSection(ReadAll(rig.SettingsFile())), iniBefore);
    EXPECT_EQ(ReadAll(NodeBase::FilePath(rig.Folder())), baseBefore);
    EXPECT_FALSE(window->Driver().IsBusy());  // no connect was queued
    EXPECT_TRUE(rig.presenter.messages.isEmpty());
}

TEST(MainWindow, NodesDeletedInTheDeviceListStayDeletedAfterCancel)
{
    MainWindowRig rig;
    auto window = OpenOnOneNode(rig);
    // The question comes first; No keeps the node, Yes deletes it.
    std::vector<UserMessage> asked;
    int rowsAfterNo = -1;
    ModalHandler chooser([&](QDialog& dialog) {
        auto* list = qobject_cast<CDlgCommunications*>(&dialog);
        list->SelectPage(kChannelIp);
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("nodeList%1").arg(kChannelIp));
        table->selectRow(0);
        {
            RecordedMessageBoxes no(MessageAnswer::kNo);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("delete")), Qt::LeftButton);
            asked.insert(asked.end(), no.shown.begin(), no.shown.end());
        }
        rowsAfterNo = table->rowCount();
        {
            RecordedMessageBoxes yes(MessageAnswer::kYes);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("delete")), Qt::LeftButton);
            asked.insert(asked.end(), yes.shown.begin(), yes.shown.end());
        }
        dialog.reject();
    });
    EXPECT_FALSE(window->SelectNode());
    EXPECT_EQ(rowsAfterNo, 1);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_TRUE(asked[0].text.startsWith(QStringLiteral("Удалить прибор"))) << asked[0].text.toStdString();
    EXPECT_EQ(asked[0].style & MessageStyle::kButtonMask, MessageStyle::kYesNo);
    EXPECT_TRUE(asked[0].style & MessageStyle::kDefaultButton2);
    EXPECT_TRUE(window->Nodes().IsEmpty());
    NodeBase onDisk;
    UserMessage failure;
    ASSERT_TRUE(onDisk.Load(rig.Folder(), &failure));
    EXPECT_TRUE(onDisk.IsEmpty());
    EXPECT_TRUE(rig.presenter.messages.isEmpty());
}

TEST(MainWindow, AFailedSaveOfTheBaseLeavesTheChannelAsItWas)
{
    MainWindowRig rig;
    auto window = OpenOnOneNode(rig);
    const int portBefore = window->Driver().TransmitChanel().Settings().ipPort;

    // While the chooser is open the "Base" folder turns into a file: it can be neither used nor made.
    const QString baseFolder = QDir(rig.Folder()).filePath(QStringLiteral("Base"));
    ModalHandler chooser([&](QDialog& dialog) {
        QDir(baseFolder).removeRecursively();
        QFile blocker(baseFolder);
        blocker.open(QIODevice::WriteOnly);
        ChooseNodeRow(dialog, 0);
    });
    EXPECT_FALSE(window->SelectNode());
    ASSERT_EQ(rig.presenter.messages.size(), 1);
    EXPECT_TRUE(rig.presenter.messages[0].text.startsWith(QStringLiteral("Невозможно создать папку настроек \"")))
        << rig.presenter.messages[0].text.toStdString();
    EXPECT_EQ(rig.presenter.messages[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(window->Driver().TransmitChanel().Settings().ipPort, portBefore);
    EXPECT_TRUE(window->StatusText().isEmpty());
}

TEST(MainWindow, PlacementAndSplitterOutliveTheWindow)
{
    MainWindowRig rig;
    {
        auto window = rig.OpenWindow();
        window->resize(1150, 760);
        QSplitter* splitter = window->Splitter();
        const QList<int> sizes = splitter->sizes();
        ASSERT_EQ(sizes.value(0), MainDialog::kDesignedTreeWidth);
        splitter->setSizes({sizes[0] + 40, sizes[1] - 40});
        window->close();
    }
    EXPECT_EQ(rig.environment->Settings().GetInt(QStringLiteral("Settings\\Screen\\MainDialog"),
                                                 QStringLiteral("SplitterPosition"), -1000),
              40);
    auto window = rig.OpenWindow();
    EXPECT_EQ(window->size(), QSize(1150, 760));
    EXPECT_EQ(window->Splitter()->sizes().value(0), MainDialog::kDesignedTreeWidth + 40);
}

TEST(MainWindow, SplitterPositionThatWouldSqueezeAPaneIsIgnored)
{
    MainWindowRig rig;
    rig.environment->Settings().SetInt(QStringLiteral("Settings\\Screen\\MainDialog"),
                                       QStringLiteral("SplitterPosition"), -1000);
    auto window = rig.OpenWindow();
    EXPECT_EQ(window->Splitter()->sizes().value(0), MainDialog::kDesignedTreeWidth);
}

namespace {

class PlainPage : public CDlgParentWithMyProperty {
public:
    PlainPage(PageHost& host, bool enabled) : CDlgParentWithMyProperty(host) { SetPageEnabled(enabled); }
    void OnPageShown() override { ++shown; }
    int shown = 0;
};

}  // namespace

TEST(MainWindow, PagesNestSelectAndTakeCaptions)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    auto* system = new PlainPage(*window, true);
    auto* disabled = new PlainPage(*window, false);
    // Ids the configuration pages below the frame leave free.
    constexpr int kPlain = 300;
    constexpr int kDisabled = 301;
    PageTree* pages = window->Pages();
    // The first page brings the maker's service page (id 100) along.
    ASSERT_NE(pages->Find(100), nullptr);
    EXPECT_EQ(pages->Find(100)->item->parent(), pages->Find(CDlgMainConfig::kPageId)->item);
    const qsizetype before = pages->Entries().size();
    window->AddPage(QStringLiteral("Система"), system, CDlgMainConfig::kPageId, kPlain);
    window->AddPage(QStringLiteral("БД2 (не исп.)"), disabled, CDlgMainConfig::kPageId, kDisabled);
    ASSERT_EQ(pages->Entries().size(), before + 2);
    EXPECT_EQ(pages->Find(kPlain)->item->parent(), pages->Find(CDlgMainConfig::kPageId)->item);
    EXPECT_TRUE(pages->Find(kDisabled)->item->isDisabled());
    EXPECT_FALSE(pages->Find(kPlain)->item->isDisabled());

    window->SelectPage(kPlain);
    EXPECT_EQ(pages->CurrentPageId(), kPlain);
    EXPECT_EQ(pages->Pane()->currentWidget(), system);
    EXPECT_EQ(pages->TitleStrip()->text(), QStringLiteral("Система"));
    EXPECT_EQ(system->shown, 1);

    // Long captions are cut to 252 characters; the title strip of the page in view follows.
    pages->SetPageCaption(pages->Find(kPlain)->item, QString(254, QChar(u'Ж')));
    EXPECT_EQ(pages->Find(kPlain)->item->text(0), QString(252, QChar(u'Ж')));
    EXPECT_EQ(system->Caption(), QString(252, QChar(u'Ж')));
    EXPECT_EQ(pages->TitleStrip()->text(), QString(252, QChar(u'Ж')));
    pages->SetPageCaption(pages->Find(kPlain)->item, QString(253, QChar(u'Ж')));
    EXPECT_EQ(pages->Find(kPlain)->item->text(0).size(), 253);
}

TEST(MainWindow, MonitorCommandTogglesTheStoredState)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    EXPECT_FALSE(window->IsMonitorShown());
    QAction* monitor = window->menuBar()->actions().value(1)->menu()->actions().value(0);
    ASSERT_NE(monitor, nullptr);
    const SettingValue<int> show = SettingsSection(rig.environment->Settings(), SettingsSections::kIoMonitor)
                                       .Value(QStringLiteral("Show"), 0);
    monitor->trigger();
    EXPECT_EQ(show.Get(), 1);
    EXPECT_TRUE(window->IsMonitorShown());
    monitor->trigger();
    EXPECT_EQ(show.Get(), 0);
    EXPECT_FALSE(window->IsMonitorShown());
    monitor->trigger();
    window.reset();
    // A window opened after the monitor was left open shows it again.
    window = rig.OpenWindow();
    EXPECT_TRUE(window->IsMonitorShown());
}
