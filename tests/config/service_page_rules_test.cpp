// What the maker's page refuses before writing.

#include "config/service_page_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ServicePageRules, Model041NeedsLevel524)
{
    EXPECT_FALSE(MakerModelFitsMeter(4, 523));
    EXPECT_TRUE(MakerModelFitsMeter(4, 524));
    EXPECT_TRUE(MakerModelFitsMeter(3, 400));
    EXPECT_FALSE(MakerModelFitsMeter(5, 1000));
    EXPECT_FALSE(MakerModelFitsMeter(-1, 1000));
    EXPECT_EQ(MakerModelRefusal(), QStringLiteral("Недопустимый номер модели для данного прибора!"));
}

}  // namespace
