#include "gui/config/alarms_check_lists.h"

#include "config/ctrls_and_alarms_texts.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include "gui/config/tab_ctrl_with_disable.h"

AlarmsCheckLists::AlarmsCheckLists(std::function<ControlsBlock&()> controls, const bool& loading, QWidget* parent)
    : QGroupBox(QStringLiteral("Алармы:"), parent), m_controls(std::move(controls)), m_loading(loading)
{
    m_tabs = new CTabCtrlWithDisable(this);
    m_tabs->setObjectName(QStringLiteral("alarmTabs"));
    // The tab index is the index of the alarm entry it edits.
    for (int entry = 0; entry < kAlarmEntryCount; ++entry) {
        m_lists[entry] = MakeList(entry);
        m_tabs->addTab(m_lists[entry], AlarmTabTitle(entry));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
}

QTreeWidget* AlarmsCheckLists::MakeList(int entry)
{
    auto* list = new QTreeWidget;
    list->setObjectName(QStringLiteral("alarmList%1").arg(entry));
    list->setRootIsDecorated(false);
    list->setHeaderLabels(AlarmListColumns());
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    for (int row = 1; row <= kAlarmEventCount; ++row) {
        auto* item = new QTreeWidgetItem(list, {QString::asprintf("%.2d", row), AlarmEventName(row)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    connect(list, &QTreeWidget::itemChanged, this, [this, list, entry](QTreeWidgetItem* item, int column) {
        if (m_loading || column != 0)
            return;
        const int event = list->indexOfTopLevelItem(item);
        m_controls().alarms[entry].SetEventOn(event, item->checkState(0) == Qt::Checked);
    });
    return list;
}

void AlarmsCheckLists::Load()
{
    for (int entry = 0; entry < kAlarmEntryCount; ++entry) {
        const AlarmEntry& alarm = m_controls().alarms[entry];
        for (int event = 0; event < kAlarmEventCount; ++event)
            m_lists[entry]->topLevelItem(event)->setCheckState(0, alarm.EventOn(event) ? Qt::Checked : Qt::Unchecked);
    }
}
