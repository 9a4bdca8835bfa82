// Pictures of the node base dialogs, the program options and the archive database for the help and
// docs/screenshots.

#include "screenshots/screenshot_folder.h"

#include "app/port_table_settings.h"
#include "channel/channel_types.h"
#include "gui/app/program_options_dialog.h"
#include "gui/archives/archive_database_dialog.h"
#include "gui/nodes/communications_dialog.h"
#include "gui/nodes/node_properties_dialog.h"
#include "nodes/demo_node.h"
#include "nodes/node_base.h"
#include "support/scoped_environment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

class DialogScreenshots : public ::testing::Test {
protected:
    void SetUp() override
    {
        base.Append({DemoNodeRecord(DemoMeterAddress{5001, 1, 170001})});
        base.Append({Node(QStringLiteral("Котельная №1"), QStringLiteral("ул. Заводская, 12"),
                          QStringLiteral("192.168.1.20"))});
        base.Append({Node(QStringLiteral("ЦТП-4"), QStringLiteral("пр. Мира, 40"), QStringLiteral("10.0.5.14"))});
    }

    NodeRecord Node(const QString& name, const QString& address, const QString& ip) const
    {
        NodeRecord record = NodeRecord::New(kChannelIp, freePorts);
        record.SetName(name);
        record.SetAddress(address);
        record.SetIpAddress(ip);
        record.SetIpPort(502);
        return record;
    }

    static void Save(QWidget& window, const char* name)
    {
        window.show();
        const QImage image = window.grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(QDir(ScreenshotFolder()).filePath(QLatin1String(name))));
    }

    QTemporaryDir folder;
    SettingsStore settings{folder.filePath(QStringLiteral("settings.ini"))};
    NodeBase base;
    FreePortTable freePorts = FreePortTable::AllFree();
    PortTable ports;
};

TEST_F(DialogScreenshots, NodeListAndNodeProperties)
{
    settings.SetInt(QStringLiteral("Settings\\Screen\\Base"), QStringLiteral("ConnectType"), kChannelIp);
    CDlgCommunications list(base, settings, freePorts, ports, nullptr);
    list.resize(640, 360);
    Save(list, "communications.png");

    CDlgNodeProperties properties(base.At(1).record, freePorts, ports);
    Save(properties, "node-properties.png");
}

TEST_F(DialogScreenshots, ProgramOptions)
{
    // The folder the installed program would show; the dialog only displays it.
    AppEnvironment env(settings.FilePath(), WorkFolder(QStringLiteral("/home/operator/.local/share/zt5-configurator")));
    ProgramOptionsDialog dialog(env, nullptr, ports);
    Save(dialog, "options.png");
}

TEST_F(DialogScreenshots, ArchiveDatabase)
{
    const ScopedEnvironmentVariable noPassword("PGPASSWORD", QByteArray());
    const ScopedEnvironmentVariable noFile("PGPASSFILE", QByteArrayLiteral("/nonexistent/pgpass"));
    AppEnvironment env(settings.FilePath(), WorkFolder(QStringLiteral("/home/operator/.local/share/zt5-configurator")));
    ArchiveDatabaseDialog dialog(env);
    dialog.findChild<QRadioButton*>(QStringLiteral("postgresqlChoice"))->click();
    dialog.findChild<QLineEdit*>(QStringLiteral("host"))->setText(QStringLiteral("db.local"));
    dialog.findChild<QLineEdit*>(QStringLiteral("database"))->setText(QStringLiteral("zt5_archives"));
    dialog.findChild<QLineEdit*>(QStringLiteral("user"))->setText(QStringLiteral("zt5"));
    Save(dialog, "database.png");
}

}  // namespace
