// When a modem's answer is whole and what it means, and the scripts the modem types run.

#include "channel/modem_answer_wait.h"
#include "channel/modem_step.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ModemAnswer, CompleteInEitherForm)
{
    // Verbose: CR LF, text, CR LF.
    EXPECT_TRUE(IsCompleteModemAnswer("\r\nOK\r\n"));
    EXPECT_FALSE(IsCompleteModemAnswer("\r\nOK\r"));
    EXPECT_FALSE(IsCompleteModemAnswer("\r\n"));
    EXPECT_TRUE(IsCompleteModemAnswer("\r\n\r\n"));
    // Numeric: a code and CR, without the CR LF in front.
    EXPECT_TRUE(IsCompleteModemAnswer("0\r"));
    EXPECT_FALSE(IsCompleteModemAnswer("\r"));
    EXPECT_FALSE(IsCompleteModemAnswer("0"));
    EXPECT_FALSE(IsCompleteModemAnswer(""));
    // A half-received echo is not an answer yet.
    EXPECT_FALSE(IsCompleteModemAnswer("AT"));
}

TEST(ModemAnswer, Meaning)
{
    EXPECT_EQ(ClassifyModemAnswer("\r\nOK\r\n", "\r\nOK\r\n", "0\r"), kModemOk);
    EXPECT_EQ(ClassifyModemAnswer("0\r", "\r\nOK\r\n", "0\r"), kModemOk);
    EXPECT_EQ(ClassifyModemAnswer("0\r", "\r\nOK\r\n", nullptr), kModemUnexpected);
    EXPECT_EQ(ClassifyModemAnswer("\r\nCONNECT 9600\r\n", "CONNECT", nullptr), kModemOk);
    EXPECT_EQ(ClassifyModemAnswer("\r\nBUSY\r\n", "CONNECT", nullptr), kModemUnexpected);
    EXPECT_EQ(ClassifyModemAnswer("\r\nERROR\r\n", "\r\nOK\r\n", "0\r"), kModemError);
    EXPECT_EQ(ClassifyModemAnswer("4\r", "\r\nOK\r\n", "0\r"), kModemError);
}

TEST(ModemStep, RecordsAndStandardScripts)
{
    const std::vector<ModemStep> gsm = StandardModemScript(kModemTypeGsm);
    ASSERT_EQ(gsm.size(), 4u);
    EXPECT_EQ(gsm[0].kind, kModemStepSpeedSearch);
    const struct {
        const char* command;
        const char* expected2;
        int attempts;
    } commands[] = {{"ATZ\r", "0\r", 3}, {"ATE0\r", "0\r", 2}, {"ATV1\r", nullptr, 2}};
    for (int i = 0; i < 3; ++i) {
        const ModemStep& step = gsm[static_cast<std::size_t>(i) + 1];
        EXPECT_EQ(step.kind, kModemStepCommand);
        EXPECT_STREQ(step.command, commands[i].command);
        EXPECT_STREQ(ModemAnswerString(step.expected1), "\r\nOK\r\n");
        EXPECT_STREQ(ModemAnswerString(step.expected2), commands[i].expected2);
        EXPECT_EQ(step.timeoutMs, 1500);
        EXPECT_EQ(step.attempts, commands[i].attempts);
    }
    EXPECT_TRUE(StandardModemScript(kModemTypeWired).empty());
    EXPECT_TRUE(StandardModemScript(kModemTypeUser).empty());

    // A speed step keeps its speed in the first four bytes; a long command is cut to fit its NUL.
    const ModemStep speed = MakeSetSpeedStep(57600);
    EXPECT_EQ(StepSpeed(speed), 57600);
    const ModemStep longCommand = MakeCommandStep("AT+CGDCONT=1,\"IP\",\"internet.example.org\"\r", 1, 0, 10, 1);
    EXPECT_EQ(std::strlen(longCommand.command), 39u);
    EXPECT_EQ(longCommand.command[39], '\0');
}
