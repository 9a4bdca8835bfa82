#include "gui_rigs/wi_page_host.h"

#include "sim/identity_area.h"
#include "sim/meter_image.h"

#include <QDir>

WiPageHost::WiPageHost(int model)
{
    m_environment = std::make_unique<AppEnvironment>(QDir(m_folder.path()).filePath(QStringLiteral("settings.ini")),
                                                     WorkFolder(m_folder.path()));
    if (model != SimIdentity().model) {
        SimIdentity identity;
        identity.model = std::uint8_t(model);
        rig.WithImage([&](MeterImage& image) { WriteIdentity(image, identity); });
    }
}

bool WiPageHost::Connect()
{
    return rig.Start() && rig.Run(kCommandConnect) && rig.driver.IsDeviceConnected();
}

bool WiPageHost::WriteToMeter()
{
    return rig.Run(kCommandWriteConfiguration)
        && rig.LastOperationText() == QStringLiteral("Операция успешно завершена!");
}

QStringList WiPageHost::MessageTexts() const
{
    QStringList texts;
    for (const UserMessage& message : messages)
        texts << message.text;
    return texts;
}

int WiPageHost::ShowMessage(const QString& text, const QString& caption, unsigned style)
{
    messages.push_back({text, caption, style});
    if (answers.empty())
        return MessageAnswer::kOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}
