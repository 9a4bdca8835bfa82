#include "gui/app/gui_driver_host.h"

#include "base/message_style.h"
#include "gui/widgets/message_presenter.h"
#include "protocol/driver_commands.h"
#include "protocol/rovo_redod.h"

#include <QEventLoop>
#include <QThread>

#include <thread>

GuiDriverHost::GuiDriverHost(MessagePresenter& presenter, QObject* parent) : QObject(parent), m_presenter(presenter) {}

template <class Call>
void GuiDriverHost::OnGuiThread(Call call)
{
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

void GuiDriverHost::ShutDown(CRovoRedod& driver)
{
    m_shuttingDown.store(true);
    // The join runs beside the event loop: a worker blocked in a notification gets its answer from
    // this loop and can then see the quit request.
    QEventLoop loop;
    std::atomic<bool> joined{false};
    std::thread joiner([&] {
        driver.StopThreads();
        joined.store(true);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    if (!joined.load())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    joiner.join();
}

int GuiDriverHost::ShowMessageBox(const QString& text, const QString& caption, unsigned style)
{
    int answer = MessageAnswer::kCancel;
    OnGuiThread([&] {
        if (!m_shuttingDown.load())
            answer = m_presenter.Present(m_dialogParent, text, caption, style);
    });
    return answer;
}

void GuiDriverHost::AppendLogLine(const QString& line)
{
    OnGuiThread([&] { emit logLine(line); });
}

void GuiDriverHost::SetConnectionText(const QString& text)
{
    OnGuiThread([&] { emit connectionText(text); });
}

void GuiDriverHost::SetOperationText(const QString& text)
{
    OnGuiThread([&] { emit operationText(text); });
}

void GuiDriverHost::SetDetailText(const QString& text)
{
    OnGuiThread([&] { emit detailText(text); });
}

void GuiDriverHost::BusyChanged()
{
    OnGuiThread([&] { emit busyChanged(); });
}

void GuiDriverHost::SetDeviceInformation(const QString& text)
{
    OnGuiThread([&] { emit deviceInformation(text); });
}

void GuiDriverHost::FlashLamp(Lamp lamp)
{
    // The lamp needs no answer: the worker posts it and goes on with the exchange.
    const int which = lamp;
    QMetaObject::invokeMethod(
        this, [this, which] { emit lampFlashed(which); }, Qt::QueuedConnection);
}

void GuiDriverHost::RefreshConfigurationPages()
{
    OnGuiThread([&] { emit configurationRead(); });
}

void GuiDriverHost::RefreshCommandStates(CommandRequester* requester)
{
    OnGuiThread([&] {
        if (requester && !m_shuttingDown.load())
            requester->RefreshCommandStates();
    });
}

void GuiDriverHost::CommandFinished(CommandRequester* requester, int code)
{
    OnGuiThread([&] {
        if (requester && !m_shuttingDown.load())
            requester->CommandFinished(code);
    });
}
