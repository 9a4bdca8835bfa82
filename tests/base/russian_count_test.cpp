#include "base/russian_count.h"

#include <gtest/gtest.h>

TEST(RussianCount, NounFollowsTheLastDigitsAndTheTeensTakeTheManyForm)
{
    const std::pair<long long, const char*> cases[] = {
        {0, "0 попыток"},   {1, "1 попытка"},     {2, "2 попытки"},     {4, "4 попытки"},      {5, "5 попыток"},
        {11, "11 попыток"}, {12, "12 попыток"},   {14, "14 попыток"},   {21, "21 попытка"},    {22, "22 попытки"},
        {25, "25 попыток"}, {101, "101 попытка"}, {111, "111 попыток"}, {1002, "1002 попытки"}};
    for (const auto& [count, text] : cases)
        EXPECT_EQ(CountText(count, kAttemptsForms), QString::fromUtf8(text)) << count;
}
