#include "gui/app/program_options_dialog.h"

#include "app/port_table_settings.h"
#include "app/program_options.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/ui_test_helpers.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

class ProgramOptionsDialogTest : public ::testing::Test {
protected:
    template <typename T>
    static T* Child(QWidget& dialog, const char* name)
    {
        return NamedChild<T>(dialog, QString::fromLatin1(name));
    }

    static void Click(QDialog& dialog, QDialogButtonBox::StandardButton which) { ClickStandardButton(dialog, which); }

    // What is on disk, not what the dialog's store holds in memory.
    ProgramOptions StoredOptions() const
    {
        SettingsStore onDisk(settingsFile);
        return ReadProgramOptions(onDisk);
    }

    QTemporaryDir folder;
    const QString settingsFile = folder.filePath(QStringLiteral("settings.ini"));
    const QString programFolder = folder.filePath(QStringLiteral("program"));
    AppEnvironment env{settingsFile, WorkFolder(programFolder)};
    PortTable ports;
    QTemporaryDir devices;  // the serial devices the dialog finds as it opens: none unless a test adds one
};

TEST_F(ProgramOptionsDialogTest, OkRefusesAFolderThatIsNotThereAndWritesBothKeysForOneThatIs)
{
    RecordedMessageBoxes boxes;
    ProgramOptionsDialog dialog(env, nullptr, ports, devices.path());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Параметры"));
    dialog.open();
    auto* useProgram = Child<QCheckBox>(dialog, "useProgramFolder");
    auto* other = Child<QLineEdit>(dialog, "otherFolder");
    ASSERT_TRUE(useProgram && other);
    EXPECT_TRUE(useProgram->isChecked());
    EXPECT_FALSE(other->isEnabled());
    EXPECT_EQ(other->text(), programFolder);

    QTest::mouseClick(useProgram, Qt::LeftButton, {}, QPoint(4, useProgram->height() / 2));
    EXPECT_FALSE(useProgram->isChecked());
    EXPECT_TRUE(other->isEnabled());
    EXPECT_EQ(other->text(), QString());

    QFile plainFile(folder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    const QString missing = folder.filePath(QStringLiteral("нет такой"));
    for (const QString& refused : {missing, plainFile.fileName(), QStringLiteral("relative"), QString()}) {
        other->setText(refused);
        Click(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog.isVisible()) << refused.toStdString();
        ASSERT_FALSE(boxes.shown.empty());
        EXPECT_EQ(boxes.shown.back().text, QStringLiteral("Указанная папка \"%1\" не найдена!").arg(refused));
        EXPECT_EQ(boxes.shown.back().caption, QStringLiteral("Информация"));
    }
    EXPECT_EQ(boxes.shown.size(), 4u);
    EXPECT_FALSE(QFile::exists(settingsFile));

    other->setText(folder.path());
    Click(dialog, QDialogButtonBox::Ok);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(boxes.shown.size(), 4u);
    const ProgramOptions stored = StoredOptions();
    EXPECT_EQ(stored.useWorkFolder, 0);
    EXPECT_EQ(stored.workFolderPath, folder.path());
}

TEST_F(ProgramOptionsDialogTest, TheCheckboxShowsTheProgramFolderAndKeepsTheOtherOne)
{
    WriteProgramOptions(env.Settings(), {0, folder.path()});
    ProgramOptionsDialog dialog(env, nullptr, ports, devices.path());
    dialog.open();
    auto* useProgram = Child<QCheckBox>(dialog, "useProgramFolder");
    auto* other = Child<QLineEdit>(dialog, "otherFolder");
    ASSERT_TRUE(useProgram && other);
    EXPECT_FALSE(useProgram->isChecked());
    EXPECT_EQ(other->text(), folder.path());

    other->setText(folder.filePath(QStringLiteral("typed")));
    useProgram->setChecked(true);
    EXPECT_EQ(other->text(), programFolder);
    useProgram->setChecked(false);
    EXPECT_EQ(other->text(), folder.filePath(QStringLiteral("typed")));
    other->setText(folder.path());
    useProgram->setChecked(true);

    // With the program folder chosen, the other folder is kept for next time and not checked.
    Click(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ProgramOptions stored = StoredOptions();
    EXPECT_EQ(stored.useWorkFolder, 1);
    EXPECT_EQ(stored.workFolderPath, folder.path());
}

TEST_F(ProgramOptionsDialogTest, APortAssignedByHandIsStoredOnOkAndCancelWritesNothing)
{
    ports.Assign(1, QStringLiteral("/dev/ttyS0"));
    {
        ProgramOptionsDialog dialog(env, nullptr, ports, devices.path());
        dialog.open();
        auto* rows = Child<QTableWidget>(dialog, "portRows");
        auto* device = Child<QComboBox>(dialog, "devicePath");
        auto* assign = Child<QPushButton>(dialog, "assignPort");
        ASSERT_TRUE(rows && device && assign);
        EXPECT_EQ(rows->rowCount(), 32);
        EXPECT_EQ(rows->item(0, 1)->text(), QStringLiteral("/dev/ttyS0"));
        rows->selectRow(4);
        device->setEditText(QStringLiteral("/dev/pts/77"));
        QTest::mouseClick(assign, Qt::LeftButton);
        EXPECT_EQ(rows->item(4, 1)->text(), QStringLiteral("/dev/pts/77"));
        Click(dialog, QDialogButtonBox::Cancel);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_FALSE(QFile::exists(settingsFile));
    EXPECT_EQ(ports.DevicePath(5), QString());

    ProgramOptionsDialog dialog(env, nullptr, ports, devices.path());
    dialog.open();
    auto* rows = Child<QTableWidget>(dialog, "portRows");
    auto* device = Child<QComboBox>(dialog, "devicePath");
    ASSERT_TRUE(rows && device);
    rows->selectRow(4);
    device->setEditText(QStringLiteral("/dev/pts/77"));
    QTest::mouseClick(Child<QPushButton>(dialog, "assignPort"), Qt::LeftButton);
    // The same path under another number leaves the first one; clearing empties a number.
    rows->selectRow(1);
    QTest::mouseClick(Child<QPushButton>(dialog, "assignPort"), Qt::LeftButton);
    EXPECT_EQ(rows->item(4, 1)->text(), QString());
    rows->selectRow(0);
    QTest::mouseClick(Child<QPushButton>(dialog, "clearPort"), Qt::LeftButton);
    Click(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const QMap<int, QString> expected{{2, QStringLiteral("/dev/pts/77")}};
    EXPECT_EQ(ports.Entries(), expected);
    SettingsStore onDisk(settingsFile);
    PortTable stored;
    LoadPortTable(onDisk, stored);
    EXPECT_EQ(stored.Entries(), expected);
    EXPECT_EQ(StoredOptions().useWorkFolder, 1);
}

}  // namespace

TEST_F(ProgramOptionsDialogTest, AnAdapterPluggedInWhileTheProgramRunsIsNumberedWhenTheDialogOpens)
{
    ports.Assign(1, QStringLiteral("/dev/pts/3"));
    ports.Assign(3, devices.filePath(QStringLiteral("ttyUSB0")));
    QFile plugged(devices.filePath(QStringLiteral("ttyUSB0")));
    ASSERT_TRUE(plugged.open(QIODevice::WriteOnly));
    plugged.close();
    {
        ProgramOptionsDialog dialog(env, nullptr, ports, devices.path());
        // Known devices keep their numbers; nothing new, nothing written.
        EXPECT_EQ(ports.NumberFor(devices.filePath(QStringLiteral("ttyUSB0"))), 3);
        EXPECT_FALSE(QFile::exists(settingsFile));
    }

    QFile second(devices.filePath(QStringLiteral("ttyACM0")));
    ASSERT_TRUE(second.open(QIODevice::WriteOnly));
    second.close();
    ProgramOptionsDialog dialog(env, nullptr, ports, devices.path());
    dialog.open();
    // The lowest free number, shown in the table at once and kept in the store.
    auto* rows = Child<QTableWidget>(dialog, "portRows");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->item(1, 1)->text(), devices.filePath(QStringLiteral("ttyACM0")));
    EXPECT_EQ(rows->item(2, 1)->text(), devices.filePath(QStringLiteral("ttyUSB0")));
    SettingsStore onDisk(settingsFile);
    PortTable stored;
    LoadPortTable(onDisk, stored);
    EXPECT_EQ(stored.NumberFor(devices.filePath(QStringLiteral("ttyACM0"))), 2);
    EXPECT_EQ(stored.NumberFor(QStringLiteral("/dev/pts/3")), 1);
    Click(dialog, QDialogButtonBox::Cancel);
}
