#include "gui/archives/archives_frame_page.h"

#include "gui/widgets/connection_toolbar.h"
#include "gui/widgets/driver_progress_texts.h"
#include "protocol/driver_access.h"

#include <QVBoxLayout>

CDlgReadData::CDlgReadData(PageHost& host, QWidget* parent)
    : CDlgParentWithMyProperty(host, parent),
      m_toolbar(new ConnectionToolbar(host, this, ConnectionToolbar::EnableRule::kWhileDisconnected, this)),
      m_texts(new DriverProgressTexts(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_texts);
    layout->addStretch(1);
}

CDlgReadData::~CDlgReadData()
{
    Host().Driver().ForgetRequester(this);
}

void CDlgReadData::UpdateStates()
{
    m_toolbar->Update();
}
