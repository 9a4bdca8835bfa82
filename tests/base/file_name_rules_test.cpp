// How the names chosen in the save dialogs are completed with their extensions.

#include "base/file_name_rules.h"

#include <gtest/gtest.h>

TEST(FileNameRules, AKnownExtensionTypedStaysAndAnyOtherNameGetsTheFirstOnce)
{
    const QStringList report{QStringLiteral("xls"), QStringLiteral("html"), QStringLiteral("htm")};
    EXPECT_EQ(WithKnownExtension(QStringLiteral("/tmp/trend.html"), report), QStringLiteral("/tmp/trend.html"));
    EXPECT_EQ(WithKnownExtension(QStringLiteral("/tmp/trend.HTM"), report), QStringLiteral("/tmp/trend.HTM"));
    EXPECT_EQ(WithKnownExtension(QStringLiteral("/tmp/trend.xls"), report), QStringLiteral("/tmp/trend.xls"));
    EXPECT_EQ(WithKnownExtension(QStringLiteral("/tmp/trend"), report), QStringLiteral("/tmp/trend.xls"));
    EXPECT_EQ(WithKnownExtension(QStringLiteral("/tmp/trend.txt"), report), QStringLiteral("/tmp/trend.txt.xls"));
    // A name that is only the extension, or a folder named like one, is no file with that extension.
    EXPECT_EQ(WithKnownExtension(QStringLiteral("/tmp/.html"), report), QStringLiteral("/tmp/.html.xls"));
    EXPECT_EQ(WithKnownExtension(QStringLiteral("/tmp/a.html/week"), report), QStringLiteral("/tmp/a.html/week.xls"));
    EXPECT_EQ(WithKnownExtension(QStringLiteral("week"), {}), QStringLiteral("week"));
}
