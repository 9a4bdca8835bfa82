#include "config/settings_report.h"

#include <utility>

#include "base/checksums.h"
#include "config/config_texts.h"
#include "config/open_settings_text.h"
#include "config/settings_report_markup.h"

using namespace settings_report;

namespace {

const char* const kModelWord = "ЗТ5";

QString HighLow(std::uint16_t version)
{
    return QString::asprintf("%d.%d", version >> 8, version & 0xFF);
}

QString Header(const DeviceIdentity& identity, std::uint16_t checksum, const QDateTime& formed)
{
    QString text = QStringLiteral("<PRE>\r\n");
    text += QString::asprintf("ОТЧЕТ О НАСТРОЙКАХ ТЕПЛОВЫЧИСЛИТЕЛЯ %s\r\n", kModelWord);
    text += QString::asprintf("Модель            %s-%s  Заводской номер        %.6u\r\n", kModelWord,
                              qUtf8Printable(Enumerated(kModelNames, identity.modelIndex)),
                              unsigned(identity.serialNumber));
    // A configuration prepared without a meter has no software checksum and says nothing of versions.
    if (identity.softwareChecksum != 0) {
        text += QStringLiteral("Аппаратная версия АВ %1  Программная версия     ПВ %2\r\n")
                    .arg(HighLow(identity.hardwareVersion), HighLow(identity.softwareVersion));
        text += QString::asprintf("Контрольная сумма программного обеспечения       КСПО=%.4X\r\n",
                                  unsigned(identity.softwareChecksum));
    }
    text += QString::asprintf("Контрольная сумма настроек                       КСН=%.4X\r\n", unsigned(checksum));
    const QDate date = formed.date();
    const QTime time = formed.time();
    text += QString::asprintf("%s %.2d.%.2d.%.2d %.2d:%.2d:%.2d\r\n", "Дата формирования", date.day(), date.month(),
                              date.year(), time.hour(), time.minute(), time.second());
    return text + QStringLiteral("</PRE>\r\n");
}

// Rows of one group: the first carries the group heading spanning them all.
class Group {
public:
    Group(QString& out, const QString& name, int rows)
        : m_out(out), m_heading(Th(name, QStringLiteral("rowspan=%1").arg(rows)))
    {}

    // A value that is a decimal fraction carries its number for spreadsheets (FractionAttribute).
    void Add(const QString& label, const QString& value) { AddCell(label, value, FractionAttribute(value)); }
    // A value that only looks like a number: the start date "01.10" of a parameter set stays text.
    void AddText(const QString& label, const QString& value) { AddCell(label, value, QString()); }
    // The network address fills the three value columns alone.
    void AddWide(const QString& label, const QString& value)
    {
        Append({Label(label), Td(value, QStringLiteral("colspan=3"))});
    }

private:
    void AddCell(const QString& label, const QString& value, const QString& number)
    {
        Append({Label(label),
                Td(value, QStringLiteral("class=\"r\"") + (number.isEmpty() ? QString() : QLatin1Char(' ') + number)),
                Td(QLatin1String(kEmpty), QStringLiteral("class=\"lr\"")),
                Td(QLatin1String(kEmpty), QStringLiteral("class=\"l\""))});
    }
    static QString Label(const QString& label) { return Td(label, QStringLiteral("class=\"r\" colspan=3")); }
    void Append(QStringList cells)
    {
        if (!m_heading.isEmpty())
            cells.prepend(std::exchange(m_heading, QString()));
        AppendRow(m_out, cells);
    }

    QString& m_out;
    QString m_heading;
};

QString YesNo(bool on)
{
    return on ? QStringLiteral("Да") : QStringLiteral("Нет");
}

void AppendIdentification(QString& out, const OpenSettings& open)
{
    Group group(out, QStringLiteral("Идентификация"), 3);
    group.AddWide(QStringLiteral("Сетевой адрес:"), QString::number(open.networkAddress));
    group.Add(QStringLiteral("Код организации:"), OrganisationCode(open).toHtmlEscaped());
    group.Add(QStringLiteral("Договор:"), ContractText(open).toHtmlEscaped());
}

void AppendSystem(QString& out, const TunesRecord& tunes)
{
    Group group(out, QStringLiteral("Системные"), 5);
    group.Add(QStringLiteral("Час отчета:"), QString::number(tunes.reportHour));
    group.Add(QStringLiteral("Дата отчета:"), QString::number(tunes.reportDay));
    group.Add(QStringLiteral("Система единиц:"), Enumerated(kUnitSystemTexts, tunes.UnitSystem()));
    group.Add(QStringLiteral("Термопреобр.:"), Enumerated(kSensorTypeTexts, tunes.SensorType()));
    group.Add(QStringLiteral("Переход зимнее/летнее время:"), YesNo(tunes.AutoDaylightSaving()));
}

constexpr unsigned kExtraPulses = 2;
constexpr unsigned kExtraAlarm = 3;

void AppendExtraInput(QString& out, const ExtraInputSettings& extra)
{
    const unsigned use = extra.Use();
    Group group(out, QStringLiteral("Доп.имп.вход"), use == kExtraPulses ? 5 : use == kExtraAlarm ? 3 : 1);
    group.Add(QStringLiteral("Назначение:"), Enumerated(kExtraUseTexts, use));
    if (use == kExtraAlarm) {
        group.Add(QStringLiteral("Уровень:"), Enumerated(kAlarmLevelTexts, extra.AlarmLevel()));
        group.Add(QStringLiteral("Tподтв.(сек.):"), QString::asprintf("%.1f", double(extra.weightOrConfirmation)));
    } else if (use == kExtraPulses) {
        group.Add(QStringLiteral("Вес имп.(л/имп.):"), Decimal(extra.weightOrConfirmation, 4, 11));
        group.Add(QStringLiteral("ДПmin:"), Decimal(extra.hourlyMin, 4, 11));
        group.Add(QStringLiteral("ДПmax:"), Decimal(extra.hourlyMax, 4, 11));
        group.Add(QStringLiteral("Ед.изм.:"), Enumerated(kExtraUnitsTexts, extra.Units()));
    }
}

QString StartDate(const DbStartDate& start, bool withHour)
{
    return withHour ? QString::asprintf("%.2d.%.2d %.2d", start.day, start.month, start.hour)
                    : QString::asprintf("%.2d.%.2d", start.day, start.month);
}

constexpr unsigned kChangeByDate = 1;

void AppendDbControl(QString& out, const TunesRecord& tunes, const DeviceIdentity& identity)
{
    const bool db2 = tunes.Db2Used();
    Group group(out, QStringLiteral("Управление БД"), db2 ? 4 : 1);
    group.Add(QStringLiteral("Использование БД2:"), Enumerated(kDb2UseTexts, db2 ? 1 : 0));
    if (!db2)
        return;
    group.Add(QStringLiteral("Способ изм.акт.БД:"), Enumerated(kDbChangeMethodTexts, tunes.DbChangeMethod()));
    if (tunes.DbChangeMethod() == kChangeByDate) {
        for (int k = 0; k < kDbCount; ++k)
            group.AddText(QString::asprintf("БД%d с:", k + 1), StartDate(tunes.dbStart[k], identity.DbStartHasHour()));
    } else {
        group.Add(QStringLiteral("С клав.:"), Enumerated(kDbAccessTexts, tunes.KeyboardAccess()));
        group.Add(QStringLiteral("С ПК.:"), Enumerated(kDbAccessTexts, tunes.PcAccess()));
    }
}

}  // namespace

std::uint16_t SettingsChecksum(const TunesRecord& tunes)
{
    return Crc16Modbus(reinterpret_cast<const std::uint8_t*>(&tunes), sizeof tunes);
}

QString MakeSettingsReport(const ConfigurationBlocks& blocks, const QDateTime& formed)
{
    QString text = Header(blocks.identity, SettingsChecksum(blocks.tunes), formed);
    text += QStringLiteral("<table>\r\n");
    AppendTitleRow(text, QStringLiteral("Общие"));
    AppendIdentification(text, blocks.open);
    AppendSystem(text, blocks.tunes);
    AppendExtraInput(text, blocks.tunes.extra);
    AppendDbControl(text, blocks.tunes, blocks.identity);
    text += SettingsReportSection(blocks, 0);
    if (blocks.tunes.Db2Used()) {
        // A page break between tables: inside a table the browser would move it in front of the table.
        text += QStringLiteral("</table>\r\n");
        text += QStringLiteral("\r\n<P style=\"page-break-after: always;\"></P>\r\n\r\n");
        text += QStringLiteral("<table>\r\n");
        text += SettingsReportSection(blocks, 1);
    }
    return text + QStringLiteral("</table>\r\n");
}
