// The controls-and-alarms page over the driver's controls block: the control list and its editors,
// and the alarm check marks of each tab against the bits of its entry's event mask.

#include "gui/config/controls_and_alarms_page.h"

#include "config/ctrls_and_alarms_texts.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/pipes_pages_rig.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <cstring>

namespace {

QStringList RowTexts(const QTreeWidget& list, int row)
{
    QStringList cells;
    for (int column = 0; column < list.columnCount(); ++column)
        cells << list.topLevelItem(row)->text(column);
    return cells;
}

QStringList Choices(const QComboBox& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.itemText(i);
    return texts;
}

struct ControlEditors {
    explicit ControlEditors(const QWidget& page)
        : list(NamedChild<QTreeWidget>(page, QStringLiteral("controlList"))),
          kind(NamedChild<QComboBox>(page, QStringLiteral("controlKind"))),
          number(NamedChild<QComboBox>(page, QStringLiteral("controlNumber"))),
          parameter(NamedChild<QComboBox>(page, QStringLiteral("controlParameter"))),
          minimum(NamedChild<QLineEdit>(page, QStringLiteral("controlMinimum"))),
          maximum(NamedChild<QLineEdit>(page, QStringLiteral("controlMaximum")))
    {}
    void Select(int row) { list->setCurrentItem(list->topLevelItem(row)); }
    bool AllEnabled() const
    {
        return number->isEnabled() && parameter->isEnabled() && minimum->isEnabled() && maximum->isEnabled();
    }
    bool NoneEnabled() const
    {
        return !number->isEnabled() && !parameter->isEnabled() && !minimum->isEnabled() && !maximum->isEnabled();
    }

    QTreeWidget* list;
    QComboBox* kind;
    QComboBox* number;
    QComboBox* parameter;
    QLineEdit* minimum;
    QLineEdit* maximum;
};

TEST(CtrlsAndAlarmsPage, ControlEditorsFollowTheElementKind)
{
    PipesPagesRig host;
    ControlsBlock& block = host.Blocks().controls;
    block.controls[1].SetKind(kControlInput);
    block.controls[1].SetNumber(1);
    block.controls[1].SetParameter(3);
    block.controls[1].minimum = 1.5f;
    block.controls[1].maximum = 80.0f;
    block.controls[2].word = 0xFE00;  // an unused control with its reserved bits set
    CDlgMainConfigCtrlsAndAlarms page(host);
    page.OnPageShown();
    ControlEditors editors(page);

    EXPECT_EQ(editors.list->topLevelItemCount(), kControlCount);
    EXPECT_EQ(RowTexts(*editors.list, 1), (QStringList{"2", "ТВ", "2", "Q12ч.", "1.500", "80.000"}));
    EXPECT_EQ(RowTexts(*editors.list, 0), (QStringList{"1", "Не используется", "", "", "", ""}));
    // Control 1 is not used: its editors are empty and closed.
    EXPECT_EQ(editors.kind->currentText(), QStringLiteral("Не используется"));
    EXPECT_TRUE(editors.NoneEnabled());
    EXPECT_EQ(editors.number->count(), 0);
    EXPECT_TRUE(editors.minimum->text().isEmpty());

    editors.Select(1);
    EXPECT_TRUE(editors.AllEnabled());
    EXPECT_EQ(Choices(*editors.number), (QStringList{"1", "2"}));
    EXPECT_EQ(editors.number->currentIndex(), 1);
    EXPECT_EQ(editors.parameter->currentText(), QStringLiteral("Q12ч."));
    EXPECT_EQ(editors.maximum->text(), QStringLiteral("80.000"));

    // Control 1 becomes a pipe control: the first pipe and parameter, limits typed in.
    editors.Select(0);
    editors.kind->setCurrentIndex(1);
    EXPECT_TRUE(editors.AllEnabled());
    EXPECT_EQ(block.controls[0].Kind(), unsigned(kControlPipe));
    EXPECT_EQ(Choices(*editors.number).size(), 6);
    editors.number->setCurrentIndex(4);
    editors.parameter->setCurrentIndex(6);
    editors.minimum->selectAll();
    TypeText(editors.minimum, QStringLiteral("-12.5a"));
    editors.maximum->selectAll();
    TypeText(editors.maximum, QStringLiteral("3-40.25"));
    EXPECT_EQ(editors.maximum->text(), QStringLiteral("340.25"));
    EXPECT_EQ(block.controls[0].Number(), 4u);
    EXPECT_EQ(block.controls[0].Parameter(), 6u);
    EXPECT_FLOAT_EQ(+block.controls[0].minimum, -12.5f);
    EXPECT_FLOAT_EQ(+block.controls[0].maximum, 340.25f);
    EXPECT_EQ(RowTexts(*editors.list, 0), (QStringList{"1", "Труба", "ТВ2 Труба 2", "Vч.", "-12.500", "340.250"}));

    // The extra input has one number and two parameters; back to "Не используется" closes the editors.
    editors.Select(3);
    editors.kind->setCurrentIndex(3);
    EXPECT_EQ(Choices(*editors.number), QStringList{"1"});
    EXPECT_EQ(Choices(*editors.parameter), (QStringList{"Зн.тек.", "Зн.ч."}));
    editors.kind->setCurrentIndex(0);
    EXPECT_EQ(block.controls[3].Kind(), unsigned(kControlUnused));
    EXPECT_TRUE(editors.NoneEnabled());
    EXPECT_TRUE(editors.maximum->text().isEmpty());
    EXPECT_EQ(RowTexts(*editors.list, 3), (QStringList{"4", "Не используется", "", "", "", ""}));

    // Nothing was written to controls not edited.
    EXPECT_EQ(+block.controls[2].word, 0xFE00);
    EXPECT_EQ(block.controls[1].Parameter(), 3u);
}

TEST(CtrlsAndAlarmsPage, CheckMarksAreTheBitsOfEachTabsEntry)
{
    PipesPagesRig host;
    ControlsBlock& block = host.Blocks().controls;
    for (int entry = 0; entry < kAlarmEntryCount; ++entry) {
        block.alarms[entry].word = std::uint16_t(0xA500 + entry);
        block.alarms[entry].eventMask = (1u << entry) | (1u << (24 - entry)) | 0xFE000000u;
    }
    CDlgMainConfigCtrlsAndAlarms page(host);
    page.OnPageShown();
    auto* tabs = NamedChild<QTabWidget>(page, QStringLiteral("alarmTabs"));
    ASSERT_EQ(tabs->count(), kAlarmEntryCount);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("COM1 - Сервер №1"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("COM2 - Сервер №2"));

    for (int entry = 0; entry < kAlarmEntryCount; ++entry) {
        tabs->setCurrentIndex(entry);
        auto* list = NamedChild<QTreeWidget>(page, QStringLiteral("alarmList%1").arg(entry));
        ASSERT_EQ(list->topLevelItemCount(), kAlarmEventCount);
        EXPECT_EQ(tabs->currentWidget(), list);
        EXPECT_EQ(RowTexts(*list, 0), (QStringList{"01", "ТВ1 Труба 1, НС по t"}));
        EXPECT_EQ(RowTexts(*list, 24), (QStringList{"25", "Контроль 4"}));
        for (int row = 0; row < kAlarmEventCount; ++row) {
            const bool on = row == entry || row == 24 - entry;
            EXPECT_EQ(list->topLevelItem(row)->checkState(0), on ? Qt::Checked : Qt::Unchecked)
                << "tab " << entry << " row " << row + 1;
        }
    }

    // Space on row 8 of the third tab ("COM2 - Сервер №1") sets bit 7 of entry 2 and nothing else;
    // a second press clears it again.
    tabs->setCurrentIndex(2);
    auto* list = NamedChild<QTreeWidget>(page, QStringLiteral("alarmList2"));
    list->setCurrentItem(list->topLevelItem(7));
    const ControlsBlock before = block;
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(unsigned(+block.alarms[2].eventMask), +before.alarms[2].eventMask | (1u << 7));
    for (int entry : {0, 1, 3})
        EXPECT_EQ(+block.alarms[entry].eventMask, +before.alarms[entry].eventMask);
    list->topLevelItem(22)->setCheckState(0, Qt::Unchecked);  // row 23 was checked: 24 - 2 = 22
    EXPECT_EQ(+block.alarms[2].eventMask, (+before.alarms[2].eventMask | (1u << 7)) & ~(1u << 22));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(block.alarms[2].EventOn(7));
    // The word before each mask and the bits above 24 are the meter's own.
    for (int entry = 0; entry < kAlarmEntryCount; ++entry) {
        EXPECT_EQ(+block.alarms[entry].word, 0xA500 + entry);
        EXPECT_EQ(+block.alarms[entry].eventMask & 0xFE000000u, 0xFE000000u);
    }
    EXPECT_EQ(std::memcmp(block.controls, before.controls, sizeof before.controls), 0);

    // A configuration read anew is shown as it is.
    block.alarms[1].eventMask = 0x1FFFFFF;
    page.OnConfigurationReplaced();
    auto* second = NamedChild<QTreeWidget>(page, QStringLiteral("alarmList1"));
    for (int row = 0; row < kAlarmEventCount; ++row)
        EXPECT_EQ(second->topLevelItem(row)->checkState(0), Qt::Checked);
    EXPECT_EQ(+block.alarms[1].eventMask, 0x1FFFFFFu);
}

}  // namespace
