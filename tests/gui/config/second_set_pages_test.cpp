// The second parameter set taken into use on the demo meter: its input pages open in the tree, a scheme is
// chosen for its first input, the configuration passes the checks, is written to the meter and read back.

#include "gui_rigs/config_window_helpers.h"
#include "gui_rigs/wi_page_driving.h"

#include "gui/config/input_scheme_page.h"

#include <QTreeWidget>

namespace {

QTreeWidgetItem* TreeItem(const MainDialog& window, int pageId)
{
    const PageEntry* entry = window.Pages()->Find(pageId);
    return entry ? entry->item : nullptr;
}

// Clicks the page's entry in the page tree as a user does.
void ClickTreeEntry(MainDialog& window, int pageId)
{
    QTreeWidget* tree = window.Pages()->Tree();
    QTreeWidgetItem* item = TreeItem(window, pageId);
    ASSERT_NE(item, nullptr);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

}  // namespace

TEST(SecondSetPages, TakenIntoUseItsInputsAreSetWrittenAndReadBack)
{
    DemoMeter demo;
    QString error;
    ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    window->resize(1200, 800);
    ASSERT_TRUE(ConnectToDemo(*window, demo));
    ASSERT_FALSE(window->Driver().Configuration().tunes.Db2Used());
    const int schemePage = ConfigPageIds::InputScheme(1, 0);
    EXPECT_TRUE(TreeItem(*window, schemePage)->isDisabled());

    window->SelectPage(ConfigPageIds::kSystem);
    ASSERT_TRUE(PickComboText(NamedChild<QComboBox>(*CommonPage(*window), QStringLiteral("db2UseCombo")),
                              QStringLiteral("Да")));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::SetNode(1)), QStringLiteral("БД2"));
    EXPECT_FALSE(TreeItem(*window, schemePage)->isDisabled());

    // Reached by a click in the tree, like any other page.
    ClickTreeEntry(*window, schemePage);
    ASSERT_EQ(window->Pages()->CurrentPageId(), schemePage);
    auto* page = qobject_cast<CDlgMainConfigWiScheme*>(window->Pages()->Find(schemePage)->page);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isEnabled());
    ASSERT_TRUE(RunPicker(*page, [](CSchemePickerDialog& picker) {
        PickScheme(picker, 6);
        PickCombination(picker, 0, 1);
        PressOk(picker);
    }));
    EXPECT_EQ(+window->Driver().Configuration().tunes.db[1].inputs[0].scheme, 6);
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::InputNode(1, 0)), QStringLiteral("ТВ1 (СИ=6)"));

    // The demo meter's first set has no input in use either: one gets a scheme the same way.
    const int firstSetPage = ConfigPageIds::InputScheme(0, 0);
    ClickTreeEntry(*window, firstSetPage);
    ASSERT_EQ(window->Pages()->CurrentPageId(), firstSetPage);
    auto* first = qobject_cast<CDlgMainConfigWiScheme*>(window->Pages()->Find(firstSetPage)->page);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(RunPicker(*first, [](CSchemePickerDialog& picker) {
        PickScheme(picker, 6);
        PickCombination(picker, 0, 1);
        PressOk(picker);
    }));

    rig.presenter.messages.clear();
    EXPECT_TRUE(window->MainConfig()->CheckConfiguration()) << rig.presenter.messages.value(0).text.toStdString();
    EXPECT_EQ(ClickForCommand(*window, NamedChild<QPushButton>(*window->MainConfig(), QStringLiteral("writeButton"))),
              kSucceeded)
        << rig.presenter.messages.value(0).text.toStdString();

    // Spoil the copy on screen; the meter's own record comes back.
    window->Driver().Configuration().tunes.db[1].inputs[0].scheme = 0;
    window->Driver().Configuration().tunes.SetDb2Used(false);
    EXPECT_EQ(ClickForCommand(*window, NamedChild<QPushButton>(*window->MainConfig(), QStringLiteral("readButton"))),
              kSucceeded);
    EXPECT_TRUE(window->Driver().Configuration().tunes.Db2Used());
    EXPECT_EQ(+window->Driver().Configuration().tunes.db[1].inputs[0].scheme, 6);
    EXPECT_FALSE(TreeItem(*window, schemePage)->isDisabled());

    // Out of use again: the entry closes.
    window->SelectPage(ConfigPageIds::kSystem);
    ASSERT_TRUE(PickComboText(NamedChild<QComboBox>(*CommonPage(*window), QStringLiteral("db2UseCombo")),
                              QStringLiteral("Нет")));
    EXPECT_TRUE(TreeItem(*window, schemePage)->isDisabled());
}
