#include "archives/database_columns.h"
#include "archives/record_bytes.h"
#include "support/record_bytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

QStringList Names(const std::vector<ArchiveColumn>& columns)
{
    QStringList names;
    for (const auto& column : columns)
        names << column.name;
    return names;
}

const ArchiveColumn& Column(const std::vector<ArchiveColumn>& columns, const char* name)
{
    for (const auto& column : columns) {
        if (column.name == QLatin1String(name))
            return column;
    }
    ADD_FAILURE() << "no column " << name;
    static const ArchiveColumn none{QString(), ColumnSource::NotFilled, 0};
    return none;
}

}  // namespace

TEST(DatabaseColumns, NamesInTableOrder)
{
    const QString values = QStringLiteral(
        "Serial Date t1_1 t1_2 t1_3 t2_1 t2_2 t2_3 P1_1 P1_2 P1_3 P2_1 P2_2 P2_3 V1_1 V1_2 V1_3 V2_1 V2_2 V2_3 "
        "M1_1 M1_2 M1_3 M2_1 M2_2 M2_3 Pipe_Ns1_1 Pipe_Ns1_2 Pipe_Ns1_3 Pipe_Ns2_1 Pipe_Ns2_2 Pipe_Ns2_3 ta_1 ta_2 "
        "tx_1 tx_2 Px_1 Px_2 dT_1 dT_2 dM_1 dM_2 Qwi_1 Qwi_2 Qo_1 Qo_2 Qg_1 Qg_2 VNR_1 VNR_2 VOS_1 VOS_2 Wi_Ns_1 "
        "Wi_Ns_2 SI_1 SI_2 KT3_1 KT3_2 FT_1 FT_2 DP DP_Ns Events AbstractCtrl MdbTotalCnt DsplCnt NoPwrCnt ActiveBd "
        "ResBits");
    const QString totals = QStringLiteral(
        "Serial Date V1_1 V1_2 V1_3 V2_1 V2_2 V2_3 M1_1 M1_2 M1_3 M2_1 M2_2 M2_3 dM_1 dM_2 Qwi_1 Qwi_2 Qo_1 Qo_2 "
        "Qg_1 Qg_2 VNR_1 VNR_2 VOS_1 VOS_2 TVmin_1 TVmin_2 TVmax_1 TVmax_2 Tdt_1 Tdt_2 Tnopwr_1 Tnopwr_2 SI_1 SI_2 "
        "KT3_1 KT3_2 FT_1 FT_2 DP MdbTotalCnt DsplCnt NoPwrCnt ActiveBd ResBits");
    EXPECT_EQ(Names(ValueArchiveColumns()), values.split(QLatin1Char(' ')));
    EXPECT_EQ(Names(TotalsArchiveColumns()), totals.split(QLatin1Char(' ')));
    EXPECT_EQ(ValueArchiveColumns().size(), 69u);
    EXPECT_EQ(TotalsArchiveColumns().size(), 46u);
    EXPECT_EQ(&ColumnsOf(kArchiveDaily), &ValueArchiveColumns());
    EXPECT_EQ(&ColumnsOf(kArchiveTotals), &TotalsArchiveColumns());

    EXPECT_EQ(ArchiveTableName(kArchiveHourly), QStringLiteral("ZT5_Arch_Values_Hour"));
    EXPECT_EQ(ArchiveTableName(kArchiveDaily), QStringLiteral("ZT5_Arch_Values_Day"));
    EXPECT_EQ(ArchiveTableName(kArchiveMonthly), QStringLiteral("ZT5_Arch_Values_Month"));
    EXPECT_EQ(ArchiveTableName(kArchiveTotals), QStringLiteral("ZT5_Arch_Values_Itog"));
    EXPECT_TRUE(ArchiveTableName(kArchiveCurrentValues).isEmpty());
}

TEST(DatabaseColumns, ValueArchiveColumnsReadTheirFields)
{
    // Values placed at the record offsets of the value-archive table.
    std::vector<std::uint8_t> bytes(218, 0);
    Put<float>(bytes, 4 + 16 * 3, 55.5f);        // t2_1: pipe 4 t
    Put<float>(bytes, 16 + 16 * 2, 7.25f);       // M1_3: pipe 3 M
    Put<std::uint8_t>(bytes, 176 + 4, 0x21);     // Pipe_Ns2_2
    Put<float>(bytes, 100 + 36, -12.5f);         // ta_2: input 2 tнв
    Put<float>(bytes, 128, 3.0f);                // Qg_1
    Put<std::uint16_t>(bytes, 132 + 36, 40000);  // VNR_2, beyond the signed range
    Put<std::uint16_t>(bytes, 184, 0x0141);      // Wi_Ns_2
    Put<std::uint8_t>(bytes, 205, 9);            // FT_2
    Put<float>(bytes, 172, 1.5f);                // DP
    Put<std::uint8_t>(bytes, 186, 2);            // DP_Ns
    Put<std::uint16_t>(bytes, 190, 0xBEEF);      // AbstractCtrl
    Put<std::uint16_t>(bytes, 194, 61);          // DsplCnt
    Put<std::uint8_t>(bytes, 198, 1);            // ActiveBd
    const auto record = RecordFromBytes<ArchiveRecord>(bytes);
    const auto& columns = ValueArchiveColumns();

    EXPECT_EQ(ColumnValue(Column(columns, "t2_1"), record), QVariant(55.5));
    EXPECT_EQ(ColumnValue(Column(columns, "M1_3"), record), QVariant(7.25));
    EXPECT_EQ(ColumnValue(Column(columns, "Pipe_Ns2_2"), record), QVariant(0x21u));
    EXPECT_EQ(ColumnValue(Column(columns, "ta_2"), record), QVariant(-12.5));
    EXPECT_EQ(ColumnValue(Column(columns, "Qg_1"), record), QVariant(3.0));
    EXPECT_EQ(ColumnValue(Column(columns, "VNR_2"), record), QVariant(40000u));
    EXPECT_EQ(ColumnValue(Column(columns, "Wi_Ns_2"), record), QVariant(0x0141u));
    EXPECT_EQ(ColumnValue(Column(columns, "FT_2"), record), QVariant(9u));
    EXPECT_EQ(ColumnValue(Column(columns, "DP"), record), QVariant(1.5));
    EXPECT_EQ(ColumnValue(Column(columns, "DP_Ns"), record), QVariant(2u));
    EXPECT_EQ(ColumnValue(Column(columns, "AbstractCtrl"), record), QVariant(0xBEEFu));
    EXPECT_EQ(ColumnValue(Column(columns, "DsplCnt"), record), QVariant(61u));
    EXPECT_EQ(ColumnValue(Column(columns, "ActiveBd"), record), QVariant(1u));
    // Serial and Date come from the caller, ResBits from nobody.
    EXPECT_FALSE(ColumnValue(Column(columns, "Serial"), record).isValid());
    EXPECT_FALSE(ColumnValue(Column(columns, "Date"), record).isValid());
    EXPECT_FALSE(ColumnValue(Column(columns, "ResBits"), record).isValid());
    // A field beyond the bytes given is no value, not a read past them.
    EXPECT_FALSE(ColumnValue(Column(columns, "ActiveBd"), std::span(bytes).first(198)).isValid());
    EXPECT_TRUE(ColumnValue(Column(columns, "ActiveBd"), std::span(bytes).first(199)).isValid());
}

TEST(DatabaseColumns, TotalsColumnsReadTheirFields)
{
    std::vector<std::uint8_t> bytes(232, 0);
    Put<double>(bytes, 4 + 16 * 5, 123456.789);  // V2_3
    Put<double>(bytes, 12, 0.125);               // M1_1
    Put<double>(bytes, 108 + 46, 98.5);          // Qwi_2
    Put<std::uint16_t>(bytes, 142 + 46, 15);     // Tnopwr_2
    Put<std::uint16_t>(bytes, 144, 999);         // НС tнеиспр. of input 1: no column
    Put<double>(bytes, 192, 4.75);               // DP
    Put<std::uint32_t>(bytes, 208, 70000);       // NoPwrCnt, a 32-bit counter
    Put<std::uint8_t>(bytes, 213, 4);            // SI_1
    Put<std::uint8_t>(bytes, 219, 6);            // FT_2
    const auto record = RecordFromBytes<TotalsRecord>(bytes);
    const auto& columns = TotalsArchiveColumns();

    EXPECT_EQ(ColumnValue(Column(columns, "V2_3"), record), QVariant(123456.789));
    EXPECT_EQ(ColumnValue(Column(columns, "M1_1"), record), QVariant(0.125));
    EXPECT_EQ(ColumnValue(Column(columns, "Qwi_2"), record), QVariant(98.5));
    EXPECT_EQ(ColumnValue(Column(columns, "Tnopwr_2"), record), QVariant(15u));
    EXPECT_EQ(ColumnValue(Column(columns, "DP"), record), QVariant(4.75));
    EXPECT_EQ(ColumnValue(Column(columns, "NoPwrCnt"), record), QVariant(70000u));
    EXPECT_EQ(ColumnValue(Column(columns, "SI_1"), record), QVariant(4u));
    EXPECT_EQ(ColumnValue(Column(columns, "FT_2"), record), QVariant(6u));
    for (const auto& column : columns)
        EXPECT_NE(ColumnValue(column, record), QVariant(999u)) << column.name.toStdString();
}
