#include "app/port_table_settings.h"

#include "base/settings_sections.h"

#include <QMap>
#include <QRegularExpression>

namespace {

QString KeyFor(int number)
{
    return QStringLiteral("COM%1").arg(number);
}

// The number in "COM3", or 0.
int NumberOf(const QString& key)
{
    static const QRegularExpression pattern(QStringLiteral("^COM([1-9][0-9]?)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(key);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

}  // namespace

void LoadPortTable(const SettingsStore& store, PortTable& table)
{
    const QString section = SettingsSections::kPorts;
    QMap<int, QString> entries;
    for (const QString& key : store.Keys(section)) {
        if (const int number = NumberOf(key); number != 0)
            entries.insert(number, store.GetString(section, key));
    }
    table.Load(entries);
}

bool SavePortTable(SettingsStore& store, const PortTable& table)
{
    const QString section = SettingsSections::kPorts;
    SettingsStore::Batch batch(store);
    store.RemoveSection(section);
    const QMap<int, QString> entries = table.Entries();
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        store.SetString(section, KeyFor(it.key()), it.value());
    return batch.Commit();
}

bool RefreshPortTable(SettingsStore& store, PortTable& table, const QString& deviceFolder)
{
    LoadPortTable(store, table);
    return RescanPortTable(store, table, deviceFolder);
}

bool RescanPortTable(SettingsStore& store, PortTable& table, const QString& deviceFolder)
{
    const QMap<int, QString> stored = table.Entries();
    table.ScanSystemPorts(deviceFolder);
    return table.Entries() == stored || SavePortTable(store, table);
}
