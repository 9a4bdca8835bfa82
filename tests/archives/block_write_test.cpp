// The block writes into SQLite (PostgreSQL: postgresql_export_test.cpp): exact values through the SQL
// text, overlapping writers, and the round trips a block costs counted on the server's side there.

#include "archives/database_literals.h"
#include "support/block_write_checks.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

DatabaseTarget SqliteFile(const QTemporaryDir& folder)
{
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    return target;
}

TEST(BlockWrites, SqliteValuesReadBackExactly)
{
    QTemporaryDir folder;
    ExpectBlockValuesReadBackExactly(SqliteFile(folder));
}

TEST(BlockWrites, SqliteOverlappingBlocksStoreEachRowOnce)
{
    QTemporaryDir folder;
    ExpectOverlappingBlocksStoreEachRowOnce(SqliteFile(folder));
}

TEST(BlockWrites, LiteralsOfEachEngine)
{
    using E = DatabaseTarget::Engine;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(SqlLiteral(nan, E::kPostgresql), QStringLiteral("'NaN'"));
    EXPECT_EQ(SqlLiteral(nan, E::kSqlite), QStringLiteral("NULL"));
    EXPECT_EQ(SqlLiteral(-inf, E::kPostgresql), QStringLiteral("'-Infinity'"));
    EXPECT_EQ(SqlLiteral(inf, E::kSqlite), QStringLiteral("9e999"));
    EXPECT_EQ(SqlLiteral(QVariant(), E::kSqlite), QStringLiteral("NULL"));
    EXPECT_EQ(SqlLiteral(-25536, E::kSqlite), QStringLiteral("-25536"));
    EXPECT_EQ(SqlLiteral(QStringLiteral("it's"), E::kPostgresql), QStringLiteral("'it''s'"));
    const QStringList types{QStringLiteral("INTEGER"), QStringLiteral("TIMESTAMP"), QStringLiteral("REAL"),
                            QStringLiteral("DOUBLE PRECISION")};
    const std::vector<QVariantList> rows{{1, QStringLiteral("2024-02-26 12:00:00"), nan, double(0.1f)},
                                         {-2, QStringLiteral("a\"b"), QVariant(), 0.1}};
    // The float 0.1f as its own shortest digits, the double 0.1f widened in full.
    EXPECT_EQ(InsertArraysSql(QStringLiteral("\"T\""), QStringLiteral("\"A\", \"B\", \"C\", \"D\""), types, rows),
              QStringLiteral("INSERT INTO \"T\" (\"A\", \"B\", \"C\", \"D\") SELECT * FROM unnest('{1,-2}'::INTEGER[], "
                             "'{\"2024-02-26 12:00:00\",\"a\\\"b\"}'::TIMESTAMP[], '{NaN,NULL}'::REAL[], "
                             "'{0.10000000149011612,0.1}'::DOUBLE PRECISION[]) ON CONFLICT DO NOTHING"));
}

}  // namespace
