#include "gui/config/tunes_file_dialogs.h"

#include "base/setting_value.h"
#include "base/settings_sections.h"
#include "config/tunes_file.h"
#include "config/tunes_validation.h"

#include <QFileDialog>

namespace {

QString FileFilter()
{
    return QStringLiteral("Настройки %1 (*.%2)").arg(QStringLiteral("ЗТ5"), QString::fromLatin1(kTunesFileExtension));
}

SettingValue<QString> FolderSetting(SettingsStore& store, const char* key)
{
    return SettingsSection(store, SettingsSections::kFile).Value(QString::fromLatin1(key), QString());
}

}  // namespace

QString AskTunesFileToOpen(QWidget* parent, SettingsStore& store)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть..."), FolderSetting(store, "OpenPath").Get(),
                                        FileFilter());
}

bool OpenTunesFileAndRemember(const QString& name, SettingsStore& store, ConfigurationBlocks& blocks,
                              ConfigMessageHost& host, QString* missing)
{
    if (name.isEmpty() || !OpenTunesFile(name, blocks, host, missing))
        return false;
    FolderSetting(store, "OpenPath").Set(TunesFileFolder(name));
    return true;
}

bool SaveTunesFileFromUser(QWidget* parent, SettingsStore& store, ConfigurationBlocks& blocks, ConfigMessageHost& host)
{
    if (!ValidateTunes(blocks, host))
        return false;
    const SettingValue<QString> folder = FolderSetting(store, "SavePath");
    const QString name = QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить..."), folder.Get(),
                                                      FileFilter());
    QString savedAs;
    if (name.isEmpty() || !SaveTunesFile(name, blocks, host, &savedAs))
        return false;
    folder.Set(TunesFileFolder(savedAs));
    return true;
}
