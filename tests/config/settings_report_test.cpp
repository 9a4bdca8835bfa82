// The settings report: a known configuration against a file written by hand from the report's rules,
// and the rules that change the report's shape.

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "base/checksums.h"
#include "base/text_codec.h"
#include "config/open_settings_text.h"
#include "config/settings_report.h"
#include "config/settings_report_output.h"
#include "config/tunes_defaults.h"
#include "support/file_bytes.h"
#include "support/known_configuration.h"
#include "support/qt_printers.h"
#include "support/recording_message_host.h"
#include "support/recording_viewer.h"

namespace {

const QDateTime kFormed(QDate(2024, 3, 5), QTime(14, 7, 9));

QByteArray ExpectedFile()
{
    return ReadAll(QStringLiteral(ZT5_TEST_SOURCE_DIR "/config/data/settings_report_expected.xls"));
}

// The first line where two windows-1251 texts differ, for a readable failure.
QString FirstDifference(const QByteArray& actual, const QByteArray& expected)
{
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), e.size()); ++i) {
        const QByteArray left = i < a.size() ? a[i] : "(none)";
        const QByteArray right = i < e.size() ? e[i] : "(none)";
        if (left != right)
            return QStringLiteral("line %1: got [%2] expected [%3]")
                .arg(i + 1)
                .arg(DecodeWindows1251(left), DecodeWindows1251(right));
    }
    return {};
}

QString PreBlock(const QString& report)
{
    return report.left(report.indexOf(QStringLiteral("</PRE>")));
}

TEST(SettingsReport, KnownConfigurationGivesTheExpectedFile)
{
    ConfigurationBlocks blocks = KnownConfiguration();
    RecordingMessageHost checks;
    RecordingViewer viewer;
    QTemporaryDir folder;
    ASSERT_TRUE(ShowSettingsReport(blocks, checks, viewer, {folder.path(), 0x2A, nullptr}, kFormed))
        << checks.LastText().toStdString();
    EXPECT_TRUE(checks.shown.empty());
    ASSERT_EQ(viewer.shown.size(), 1u);
    EXPECT_EQ(viewer.shown[0].saveFolder, folder.path());

    const QByteArray expected = ExpectedFile();
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_TRUE(viewer.shown[0].bytes == expected) << FirstDifference(viewer.shown[0].bytes, expected).toStdString();
    EXPECT_TRUE(QDir(folder.path()).isEmpty()) << "the temporary files are removed when the viewer returns";
}

TEST(SettingsReport, FailedChecksGiveNoReport)
{
    ConfigurationBlocks blocks;
    MakeDefaultConfiguration(blocks);  // no input has a scheme
    RecordingMessageHost checks;
    RecordingViewer viewer;
    QTemporaryDir folder;
    EXPECT_FALSE(ShowSettingsReport(blocks, checks, viewer, {folder.path(), 1, nullptr}, kFormed));
    EXPECT_EQ(checks.LastText(), QStringLiteral("В БД1 тепловые вводы не задействованы!"));
    EXPECT_TRUE(viewer.shown.empty());
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST(SettingsReport, HeaderWithoutSoftwareChecksumHasNoVersions)
{
    ConfigurationBlocks blocks = KnownConfiguration();
    blocks.identity.softwareChecksum = 0;
    blocks.identity.modelIndex = 4;
    blocks.identity.serialNumber = 4000000000u;
    const QString checksum = QString::asprintf("%.4X", unsigned(SettingsChecksum(blocks.tunes)));
    EXPECT_EQ(PreBlock(MakeSettingsReport(blocks, QDateTime(QDate(2031, 12, 9), QTime(0, 0, 5)))),
              QStringLiteral("<PRE>\r\n"
                             "ОТЧЕТ О НАСТРОЙКАХ ТЕПЛОВЫЧИСЛИТЕЛЯ ЗТ5\r\n"
                             "Модель            ЗТ5-04.1  Заводской номер        4000000000\r\n"
                             "Контрольная сумма настроек                       КСН=")
                  + checksum + QStringLiteral("\r\nДата формирования 09.12.2031 00:00:05\r\n"));
}

TEST(SettingsReport, ChecksumCoversTheRecordOnly)
{
    ConfigurationBlocks blocks = KnownConfiguration();
    const std::uint16_t before = SettingsChecksum(blocks.tunes);
    EXPECT_EQ(before, Crc16Modbus(reinterpret_cast<const std::uint8_t*>(&blocks.tunes), 510));
    auto* bytes = reinterpret_cast<std::uint8_t*>(&blocks.tunes);
    for (std::size_t i = 0; i < sizeof blocks.tunes; ++i) {
        bytes[i] ^= 0x10;
        EXPECT_NE(SettingsChecksum(blocks.tunes), before) << "byte " << i;
        bytes[i] ^= 0x10;
    }

    const QString header = PreBlock(MakeSettingsReport(blocks, kFormed));
    blocks.open.networkAddress = 200;
    SetContractText(blocks.open, QStringLiteral("другой"));
    blocks.controls.controls[2].SetKind(kControlInput);
    blocks.controls.alarms[1].eventMask = 0x1FFFFFF;
    EXPECT_EQ(PreBlock(MakeSettingsReport(blocks, kFormed)), header);
}

TEST(SettingsReport, SecondSetUnusedLeavesOneTableWithoutPageBreak)
{
    ConfigurationBlocks blocks = KnownConfiguration();
    blocks.tunes.SetDb2Used(false);
    const QString report = MakeSettingsReport(blocks, kFormed);
    EXPECT_TRUE(
        report.contains(QStringLiteral("  <th rowspan=1>Управление БД</th>\r\n"
                                       "  <td class=\"r\" colspan=3>Использование БД2:</td>\r\n"
                                       "  <td class=\"r\">Нет</td>\r\n")));
    EXPECT_FALSE(report.contains(QStringLiteral("Способ изм.акт.БД:")));
    EXPECT_FALSE(report.contains(QStringLiteral("Настройки БД2")));
    EXPECT_FALSE(report.contains(QStringLiteral("page-break")));
    EXPECT_EQ(report.count(QStringLiteral("<table>")), 1);
    EXPECT_TRUE(report.endsWith(QStringLiteral(" </tr>\r\n</table>\r\n")));
}

TEST(SettingsReport, GroupsFollowTheirSettings)
{
    ConfigurationBlocks blocks = KnownConfiguration();
    TunesRecord& tunes = blocks.tunes;
    tunes.extra.SetUse(3);
    tunes.extra.SetAlarmLevel(1);
    tunes.extra.weightOrConfirmation = 7.04f;
    tunes.SetDbChangeMethod(0);
    tunes.SetKeyboardAccess(0);
    tunes.SetPcAccess(2);
    QString report = MakeSettingsReport(blocks, kFormed);
    const auto row = [](const char* label, const char* value) {
        return QStringLiteral("  <td class=\"r\" colspan=3>%1</td>\r\n  <td class=\"r\">%2</td>\r\n")
            .arg(QString::fromUtf8(label), QString::fromUtf8(value));
    };
    // A fraction carries its value for spreadsheets; a start date that looks like one does not.
    const auto numberRow = [](const char* label, const char* value) {
        return QStringLiteral(
                   "  <td class=\"r\" colspan=3>%1</td>\r\n  <td class=\"r\" x:num=\"%2\" sdval=\"%2\" "
                   "sdnum=\"1033;\">%2</td>\r\n")
            .arg(QString::fromUtf8(label), QString::fromUtf8(value));
    };
    EXPECT_TRUE(report.contains(QStringLiteral("<th rowspan=3>Доп.имп.вход</th>")));
    EXPECT_TRUE(report.contains(row("Уровень:", "НЗ")));
    EXPECT_TRUE(report.contains(numberRow("Tподтв.(сек.):", "7.0")));
    EXPECT_FALSE(report.contains(QStringLiteral("ДПmin:")));
    EXPECT_TRUE(report.contains(row("С клав.:", "Запрет")));
    EXPECT_TRUE(report.contains(row("С ПК.:", "С Доступом")));
    EXPECT_FALSE(report.contains(QStringLiteral("БД1 с:")));

    tunes.extra.SetUse(5);  // outside its list
    tunes.SetDbChangeMethod(1);
    blocks.identity.firmwareLevel = 1024;  // start dates without an hour
    report = MakeSettingsReport(blocks, kFormed);
    EXPECT_TRUE(report.contains(QStringLiteral("<th rowspan=1>Доп.имп.вход</th>")));
    EXPECT_TRUE(report.contains(row("Назначение:", "недоп.значение")));
    EXPECT_TRUE(report.contains(row("БД1 с:", "01.10")));
    EXPECT_TRUE(report.contains(row("БД2 с:", "15.04")));
}

// The cells of a table row that starts with `label`, without the label.
QStringList RowCells(const QString& report, const QString& label, int occurrence = 0)
{
    qsizetype at = -1;
    for (int i = 0; i <= occurrence; ++i)
        at = report.indexOf(QStringLiteral("<td>%1</td>").arg(label), at + 1);
    if (at < 0)
        return {};
    const QString row = report.mid(at, report.indexOf(QStringLiteral(" </tr>"), at) - at);
    QStringList cells;
    for (const QString& line : row.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1))
        cells << line.trimmed();
    return cells;
}

// A one-column value cell holding a decimal fraction, as the report writes it.
QString Number(const char* value)
{
    return QStringLiteral("<td x:num=\"%1\" sdval=\"%1\" sdnum=\"1033;\">%1</td>").arg(QString::fromUtf8(value));
}

TEST(SettingsReport, ValuesFollowUnitsFirmwareAndLists)
{
    ConfigurationBlocks blocks = KnownConfiguration();
    blocks.tunes.SetUnitSystem(0);  // СИ: pressures in MPa as stored
    PipeSettings& pipe = blocks.tunes.db[0].pipes[0][0];
    pipe.SetVolumeControl(5);
    pipe.contractPressure = 2.5f;
    QString report = MakeSettingsReport(blocks, kFormed);
    EXPECT_EQ(RowCells(report, QStringLiteral("Pxд (МПа):")),
              QStringList(
                  {"<td colspan=3 x:num=\"0.3\" sdval=\"0.3\" sdnum=\"1033;\">0.3</td>", "<td colspan=3>&nbsp;</td>"}));
    EXPECT_EQ(RowCells(report, QStringLiteral("Pдог(МПа)")).mid(0, 2), QStringList({Number("2.5"), Number("0.6")}));
    EXPECT_EQ(RowCells(report, QStringLiteral("Контр.V")).first(), QStringLiteral("<td>недоп.значение</td>"));

    // КТ3 1 gives pipe 3 its volume; its contract pressure counts only from firmware level 517.
    DbSettings& db = blocks.tunes.db[1];
    db.inputs[0].SetKt3(1);
    EXPECT_EQ(RowCells(report = MakeSettingsReport(blocks, kFormed), QStringLiteral("Pдог(МПа)"), 1).at(2),
              Number("0.6"));
    EXPECT_EQ(RowCells(report, QStringLiteral("Vдог (м3)"), 1).at(2), Number("20.0"));
    blocks.identity.firmwareLevel = 516;
    EXPECT_EQ(RowCells(MakeSettingsReport(blocks, kFormed), QStringLiteral("Pдог(МПа)"), 1).at(2),
              QStringLiteral("<td>&nbsp;</td>"));

    // A pair no row of the scheme has is judged by the first row: scheme 6 row 1 offers dt, not dM.
    db.inputs[1].SetFrt(9);
    report = MakeSettingsReport(blocks, kFormed);
    EXPECT_EQ(RowCells(report, QStringLiteral("Контр.dt:"), 1).at(1), QStringLiteral("<td colspan=3>С подст.</td>"));
    EXPECT_EQ(RowCells(report, QStringLiteral("Контр.dM:"), 1).at(1), QStringLiteral("<td colspan=3>&nbsp;</td>"));
    EXPECT_EQ(RowCells(report, QStringLiteral("Исп.tx"), 1).at(1), QStringLiteral("<td colspan=3>&nbsp;</td>"));
}

}  // namespace
