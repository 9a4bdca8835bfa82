// What the read buttons of the archives page ask of the meter: the request block, the command, the
// stepped date and the limited entry count; and what the page remembers in "Settings\ReadArch".

#include "archives/archive_read_plan.h"
#include "archives/read_arch_settings.h"
#include "protocol/driver_commands.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr ReportTime kReportTime{10, 31};

TChronoArch Date(int day, int month, int year, int hour)
{
    return TChronoArch{std::uint8_t(day), std::uint8_t(month), std::uint8_t(year - 2000), std::uint8_t(hour)};
}

ArchiveReadForm Form(int type, TChronoArch date = Date(1, 1, 2024, 0))
{
    ArchiveReadForm form;
    form.dataType = type;
    form.date = date;
    form.periodText = QStringLiteral("6");
    form.recordText = QStringLiteral("0");
    form.countText = QStringLiteral("1");
    return form;
}

}  // namespace

TEST(ArchiveReadPlan, FieldTextsReadAsTheirLeadingNumber)
{
    EXPECT_EQ(FieldNumber(QStringLiteral("12")), 12);
    EXPECT_EQ(FieldNumber(QStringLiteral("  -3x")), -3);
    EXPECT_EQ(FieldNumber(QStringLiteral("+7")), 7);
    EXPECT_EQ(FieldNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(FieldNumber(QString()), 0);
    EXPECT_EQ(FieldNumber(QStringLiteral("4 5")), 4);
    EXPECT_EQ(FieldNumber(QStringLiteral("99999999999999")), std::numeric_limits<int>::max());
    EXPECT_EQ(FieldNumber(QStringLiteral("-99999999999999")), std::numeric_limits<int>::min());
}

TEST(ArchiveReadPlan, ValueArchivesStepWithTheReportTime)
{
    // "Прочитать" asks for the date as shown, minute and second 0.
    ArchiveReadPlan plan = PlanArchiveRead(Form(kDataHourly, Date(1, 1, 2024, 0)), 0, kReportTime);
    EXPECT_EQ(plan.command, kCommandReadArchiveValues);
    EXPECT_EQ(plan.request.date, Date(1, 1, 2024, 0));
    EXPECT_EQ(plan.request.kind, kArchiveHourly);
    EXPECT_EQ(plan.request.minute, 0);
    EXPECT_EQ(plan.request.recordNumber, 0);
    EXPECT_EQ(plan.request.count, 0);

    // The hour before New Year's midnight is in the old year.
    plan = PlanArchiveRead(Form(kDataHourly, Date(1, 1, 2024, 0)), -1, kReportTime);
    EXPECT_EQ(plan.date, Date(31, 12, 2023, 23));
    EXPECT_EQ(plan.request.date, plan.date);

    // Daily and totals records close at the report hour.
    plan = PlanArchiveRead(Form(kDataDaily, Date(28, 2, 2023, 3)), +1, kReportTime);
    EXPECT_EQ(plan.date, Date(1, 3, 2023, 10));
    plan = PlanArchiveRead(Form(kDataTotals, Date(1, 3, 2024, 3)), -1, kReportTime);
    EXPECT_EQ(plan.date, Date(29, 2, 2024, 10));
    EXPECT_EQ(plan.request.kind, kArchiveTotals);

    // Monthly records on the report day, lowered to the month's length; the hour stays.
    plan = PlanArchiveRead(Form(kDataMonthly, Date(31, 1, 2024, 7)), +1, kReportTime);
    EXPECT_EQ(plan.date, Date(29, 2, 2024, 7));
    plan = PlanArchiveRead(Form(kDataMonthly, Date(31, 1, 2023, 7)), +1, kReportTime);
    EXPECT_EQ(plan.date, Date(28, 2, 2023, 7));
    plan = PlanArchiveRead(Form(kDataMonthly, Date(15, 1, 2023, 7)), -1, ReportTime{10, 25});
    EXPECT_EQ(plan.date, Date(25, 12, 2022, 7));
    EXPECT_EQ(plan.request.kind, kArchiveMonthly);
}

TEST(ArchiveReadPlan, EventLogCountIsLimitedToSixteen)
{
    ArchiveReadForm form = Form(kDataAdministrative);
    form.recordText = QStringLiteral("300");
    form.countText = QStringLiteral("40");
    ArchiveReadPlan plan = PlanArchiveRead(form, 0, kReportTime);
    EXPECT_EQ(plan.command, kCommandReadEventLog);
    EXPECT_EQ(plan.request.kind, kEventLogAdministrative);
    EXPECT_EQ(plan.request.recordNumber, 300);
    EXPECT_EQ(plan.request.count, 16);
    EXPECT_EQ(plan.countText, QStringLiteral("16"));
    EXPECT_EQ(plan.request.date, TChronoArch{});

    // Negative counts are over the limit too (compared unsigned); what is within it stays as typed.
    form.countText = QStringLiteral("-1");
    EXPECT_EQ(PlanArchiveRead(form, 0, kReportTime).countText, QStringLiteral("16"));
    form.countText = QStringLiteral("05");
    plan = PlanArchiveRead(form, 0, kReportTime);
    EXPECT_EQ(plan.countText, QStringLiteral("05"));
    EXPECT_EQ(plan.request.count, 5);
    form.countText = QStringLiteral("16");
    EXPECT_EQ(PlanArchiveRead(form, 0, kReportTime).request.count, 16);
    form.countText = QStringLiteral("17");
    EXPECT_EQ(PlanArchiveRead(form, 0, kReportTime).request.count, 16);
    form.countText = QStringLiteral("много");
    plan = PlanArchiveRead(form, 0, kReportTime);
    EXPECT_EQ(plan.request.count, 0);
    EXPECT_EQ(plan.countText, QStringLiteral("много"));

    form.dataType = kDataDiagnostics;
    EXPECT_EQ(PlanArchiveRead(form, 0, kReportTime).request.kind, kEventLogDiagnostics);
    // A step means nothing to an event log.
    form.dataType = kDataDbChanges;
    form.date = Date(5, 5, 2024, 5);
    plan = PlanArchiveRead(form, +1, kReportTime);
    EXPECT_EQ(plan.request.kind, kEventLogDbChanges);
    EXPECT_EQ(plan.date, form.date);
}

TEST(ArchiveReadPlan, CurrentValuesCarryTheCyclicFlagAndPeriod)
{
    ArchiveReadForm form = Form(kDataCurrentTotals, Date(9, 9, 2024, 9));
    form.cyclic = true;
    form.periodText = QStringLiteral("6");
    ArchiveReadPlan plan = PlanArchiveRead(form, 0, kReportTime);
    EXPECT_EQ(plan.command, kCommandReadCurrentValues);
    EXPECT_EQ(plan.request.kind, kArchiveCurrentTotals);
    EXPECT_EQ(plan.request.date, TChronoArch{});
    EXPECT_TRUE(plan.cyclic);
    EXPECT_EQ(plan.periodMs, 6000);

    form.dataType = kDataCurrentValues;
    form.cyclic = false;
    form.periodText = QStringLiteral("x");
    plan = PlanArchiveRead(form, 0, kReportTime);
    EXPECT_EQ(plan.request.kind, kArchiveCurrentValues);
    EXPECT_FALSE(plan.cyclic);
    EXPECT_EQ(plan.periodMs, 1000);  // whatever is typed, a cyclic read never comes more than once a second
    // No overflow into a negative period from a huge number of seconds.
    form.periodText = QStringLiteral("99999999");
    EXPECT_EQ(PlanArchiveRead(form, 0, kReportTime).periodMs, std::numeric_limits<int>::max());
}

TEST(ArchiveReadPlan, DataTypesAndTheirInputs)
{
    const QStringList names = ArchiveDataTypeNames();
    ASSERT_EQ(names.size(), kArchiveDataTypeCount);
    EXPECT_EQ(names.first(), QStringLiteral("Часовой"));
    EXPECT_EQ(names[5], QStringLiteral("Текущие итоги"));
    EXPECT_EQ(names.last(), QStringLiteral("Архив диагн."));
    for (int type = 0; type < kArchiveDataTypeCount; ++type) {
        const int uses = int(DataTypeUsesDate(type)) + int(DataTypeUsesPeriod(type)) + int(DataTypeUsesRecords(type));
        EXPECT_EQ(uses, 1) << type;
    }
    EXPECT_TRUE(DataTypeUsesDate(kDataTotals));
    EXPECT_TRUE(DataTypeUsesPeriod(kDataCurrentValues));
    EXPECT_TRUE(DataTypeUsesRecords(kDataDbChanges));
}

TEST(ReadArchSettings, DefaultsStoredDatesAndDamagedValues)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("settings.ini"));
    {
        SettingsStore store(file);
        ReadArchSettings settings(store);
        EXPECT_EQ(settings.ArchiveDate(), Date(1, 1, 2011, 23));
        EXPECT_EQ(settings.checkReadPeriod.Get(), 0);
        EXPECT_EQ(settings.readPeriod.Get(), QStringLiteral("6"));
        EXPECT_EQ(settings.record.Get(), QStringLiteral("0"));
        EXPECT_EQ(settings.recordCount.Get(), QStringLiteral("1"));
        EXPECT_EQ(settings.flashPage.Get(), QStringLiteral("2"));
        settings.StoreArchiveDate(Date(31, 12, 2023, 23));
        settings.recordCount.Set(QStringLiteral("16"));
    }
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("[Settings\\ReadArch]"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Year=2023")));
    EXPECT_TRUE(text.contains(QStringLiteral("Day=31")));
    EXPECT_TRUE(text.contains(QStringLiteral("RecCnt=16")));
    {
        SettingsStore store(file);
        EXPECT_EQ(ReadArchSettings(store).ArchiveDate(), Date(31, 12, 2023, 23));
        // A hand-edited file: 31 February, hour 30, a year before the meter's calendar.
        store.SetInt(QStringLiteral("Settings\\ReadArch"), QStringLiteral("Month"), 2);
        store.SetInt(QStringLiteral("Settings\\ReadArch"), QStringLiteral("Hour"), 30);
        EXPECT_EQ(ReadArchSettings(store).ArchiveDate(), Date(28, 2, 2023, 23));
        store.SetInt(QStringLiteral("Settings\\ReadArch"), QStringLiteral("Year"), 1999);
        store.SetInt(QStringLiteral("Settings\\ReadArch"), QStringLiteral("Month"), 13);
        EXPECT_EQ(ReadArchSettings(store).ArchiveDate(), Date(31, 12, 2000, 23));
    }
}
