#include "gui/nodes/communications_dialog.h"

#include "base/message_style.h"
#include "base/settings_sections.h"
#include "channel/channel_types.h"
#include "gui/nodes/node_list_page.h"
#include "gui/nodes/node_properties_dialog.h"
#include "gui/nodes/usb_device_page.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/window_placement_keeper.h"
#include "nodes/node_base.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const QString kWindowName = QStringLiteral("Base");

}  // namespace

CDlgCommunications::CDlgCommunications(NodeBase& base, SettingsStore& settings, const FreePortTable& freePorts,
                                       const PortTable& ports, UsbTransport* usb, QWidget* parent)
    : QDialog(parent),
      m_base(base),
      m_freePorts(freePorts),
      m_ports(ports),
      m_connectType(SettingsSection(settings, SettingsSections::kScreen)
                        .Child(kWindowName)
                        .Value(QStringLiteral("ConnectType"), 0)),
      m_placement(new WindowPlacementKeeper(this, settings, kWindowName, WindowPlacementKeeper::WhenMaximised::Store))
{
    setWindowTitle(QStringLiteral("Список приборов"));

    m_tabs = new QTabBar(this);
    m_tabs->setUsesScrollButtons(false);  // all four tabs in sight
    for (const char* title : {"USB", "Прямое", "Модем", "Ethernet/Internet"})
        m_tabs->addTab(QString::fromUtf8(title));
    m_pages = new QStackedWidget(this);
    m_usbPage = new UsbDevicePage(usb, m_pages);
    m_pages->addWidget(m_usbPage);
    for (int kind = kChannelDirect; kind < kPageCount; ++kind) {
        auto* page = new NodeListPage(kind, m_pages);
        page->Fill(m_base);
        m_nodePages.append(page);
        m_pages->addWidget(page);
    }

    auto* nodeButtons = new QHBoxLayout;
    nodeButtons->addWidget(NewButton(QStringLiteral("Добавить"), "add", [this] { AddNode(); }));
    nodeButtons->addWidget(NewButton(QStringLiteral("Удалить"), "delete", [this] { DeleteNode(); }));
    nodeButtons->addWidget(NewButton(QStringLiteral("Вверх"), "up", [this] { MoveNode(-1); }));
    nodeButtons->addWidget(NewButton(QStringLiteral("Вниз"), "down", [this] { MoveNode(+1); }));
    nodeButtons->addWidget(NewButton(QStringLiteral("Свойства"), "properties", [this] { EditNode(); }));
    nodeButtons->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgCommunications::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgCommunications::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_pages, 1);
    layout->addLayout(nodeButtons);
    layout->addWidget(buttons);

    const int stored = m_connectType.Get();
    ShowPage(stored >= 0 && stored < kPageCount ? stored : kChannelUsb, false);
    connect(m_tabs, &QTabBar::currentChanged, this, &CDlgCommunications::SelectPage);
    // While the tab-less page is shown a tab is still highlighted; a click on it changes nothing in
    // the bar, so it comes only as a click.
    connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int tab) {
        if (tab == m_tabs->currentIndex())
            SelectPage(tab);
    });
    m_placement->Restore();
}

QPushButton* CDlgCommunications::NewButton(const QString& text, const char* name, const std::function<void()>& action)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, action);
    m_nodeButtons.append(button);
    return button;
}

void CDlgCommunications::SelectPage(int page)
{
    ShowPage(page, true);
}

void CDlgCommunications::ShowNode(int baseIndex)
{
    if (!m_base.IsValidIndex(baseIndex))
        return;
    const int kind = m_base.At(baseIndex).record.ConnectionType();
    if (kind <= kChannelUsb || kind >= kPageCount)
        return;
    ShowPage(kind, false);
    NodeListPage* page = m_nodePages.at(kind - 1);
    for (int row = 0; row < page->RowCount(); ++row) {
        if (page->BaseIndex(row) == baseIndex)
            page->Fill(m_base, row);
    }
}

void CDlgCommunications::ShowPage(int page, bool remember)
{
    if (page < 0 || page >= kPageCount)
        return;
    if (page == m_current) {
        // A click on the tab already shown is a choice too (the dialog may have opened on it by itself).
        if (remember)
            m_connectType.Set(page);
        return;
    }
    m_current = page;
    if (page < m_tabs->count()) {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(page);
    }
    m_pages->setCurrentIndex(page);
    for (QPushButton* button : m_nodeButtons)
        button->setVisible(page != kChannelUsb);
    if (page == kChannelUsb && !m_usbPage->IsFilled())
        m_usbPage->Refresh();
    if (remember)
        m_connectType.Set(page);
}

NodeListPage* CDlgCommunications::CurrentNodePage() const
{
    return m_current > kChannelUsb ? m_nodePages.at(m_current - 1) : nullptr;
}

bool CDlgCommunications::RunProperties(NodeRecord& record)
{
    if (m_rescanPorts)
        m_rescanPorts();
    CDlgNodeProperties properties(record, m_freePorts, m_ports, this);
    if (properties.exec() != QDialog::Accepted)
        return false;
    record = properties.Record();
    return true;
}

void CDlgCommunications::AddNode()
{
    NodeListPage* page = CurrentNodePage();
    if (page == nullptr)
        return;
    NodeEntry entry;
    entry.record = NodeRecord::New(page->ConnectionType(), m_freePorts);
    if (!RunProperties(entry.record))
        return;
    const int newRow = page->RowCount();
    m_base.Append(entry);
    page->Fill(m_base, newRow);
}

void CDlgCommunications::DeleteNode()
{
    NodeListPage* page = CurrentNodePage();
    const int row = page ? page->SelectedRow() : -1;
    if (row < 0)
        return;
    // "Отмена" of the list keeps what was deleted: the question comes first.
    const int index = page->BaseIndex(row);
    const UserMessage question{QStringLiteral("Удалить прибор \"%1\" из списка?").arg(m_base.At(index).record.Name()),
                               QString::fromUtf8(kCaptionQuestion),
                               MessageStyle::kYesNo | MessageStyle::kIconQuestion | MessageStyle::kDefaultButton2};
    if (ShowMessageBox(this, question) != MessageAnswer::kYes || !m_base.Remove(index))
        return;
    page->Fill(m_base, row);
}

void CDlgCommunications::MoveNode(int step)
{
    NodeListPage* page = CurrentNodePage();
    const int row = page ? page->SelectedRow() : -1;
    if (row < 0)
        return;
    const int index = page->BaseIndex(row);
    if (!(step < 0 ? m_base.MoveUp(index) : m_base.MoveDown(index)))
        return;
    page->Fill(m_base, row + step);
}

void CDlgCommunications::EditNode()
{
    NodeListPage* page = CurrentNodePage();
    const int row = page ? page->SelectedRow() : -1;
    const int index = row < 0 ? -1 : page->BaseIndex(row);
    if (!m_base.IsValidIndex(index))
        return;
    NodeEntry entry = m_base.At(index);
    if (!RunProperties(entry.record))
        return;
    m_base.Replace(index, entry);
    page->Fill(m_base, row);
}

void CDlgCommunications::Refuse(const QString& text)
{
    ShowMessageBox(this, UserMessage::Information(text));
}

bool CDlgCommunications::AcceptUsb()
{
    if (m_usbPage->RowCount() == 0) {
        Refuse(QStringLiteral("Приборы с USB подключением отсутствуют!"));
        return false;
    }
    const int row = m_usbPage->SelectedRow();
    if (row < 0) {
        Refuse(QStringLiteral("Не выбран прибор с USB подключением!"));
        return false;
    }
    m_usbDeviceIndex = row;
    return true;
}

bool CDlgCommunications::AcceptNode()
{
    const NodeListPage* page = CurrentNodePage();
    // The tab-less shared-memory page is not refused for being empty: OK there gives a new link record.
    if (page->ConnectionType() != kChannelSharedMemory && page->RowCount() == 0) {
        Refuse(QStringLiteral("Не задан ни один узел учета!"));
        return false;
    }
    const int row = page->SelectedRow();
    if (row < 0)
        return true;
    const int index = page->BaseIndex(row);
    if (!m_base.IsValidIndex(index)) {
        Refuse(QStringLiteral("Ошибка выполнения CDlgCommunications::OnOK!"));
        return false;
    }
    m_result = m_base.At(index);
    m_resultBaseIndex = index;
    return true;
}

void CDlgCommunications::accept()
{
    m_result = NodeEntry{};
    m_result.record = NodeRecord::New(m_current, m_freePorts);
    m_resultBaseIndex = -1;
    m_usbDeviceIndex = -1;
    const bool chosen = m_current == kChannelUsb ? AcceptUsb() : AcceptNode();
    if (chosen)
        QDialog::accept();
}
