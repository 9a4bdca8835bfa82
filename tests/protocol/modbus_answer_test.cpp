#include "channel/channel_types.h"
#include "protocol/modbus_answer.h"
#include "support/crc_frames.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ByteVector = std::vector<std::uint8_t>;

const ByteVector kRead10 = WithModbusCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A});

// A normal answer to a read of `registers` as the channel hands it over: `tail` check bytes after the data.
ByteVector ReadAnswer(int registers, int tail)
{
    ByteVector answer = {0x01, 0x03, static_cast<std::uint8_t>(2 * registers)};
    answer.resize(3 + 2 * registers + tail, 0x11);
    return answer;
}

ByteVector Request48(std::uint16_t readCount, std::uint16_t sequence)
{
    return WithModbusCrc({0x01, 0x48, 0x00, 0x00, static_cast<std::uint8_t>(readCount >> 8),
                          static_cast<std::uint8_t>(readCount), 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                          static_cast<std::uint8_t>(sequence >> 8), static_cast<std::uint8_t>(sequence)});
}

AnswerCheck Check(const ByteVector& request, const ByteVector& answer, int framing = kFramingRtu)
{
    return AnalyseAnswer(request.data(), static_cast<int>(request.size()), answer.data(),
                         static_cast<int>(answer.size()), framing);
}

}  // namespace

TEST(ModbusAnswer, ExpectedLengthFollowsTheFraming)
{
    EXPECT_EQ(Check(kRead10, ReadAnswer(10, 2)).verdict, kAnswerAccept);
    EXPECT_EQ(Check(kRead10, ReadAnswer(10, 2), kFramingPpp).verdict, kAnswerAccept);
    EXPECT_EQ(Check(kRead10, ReadAnswer(10, 1), kFramingAscii).verdict, kAnswerAccept);  // 24 bytes
    EXPECT_EQ(Check(kRead10, ReadAnswer(10, 0), kFramingModbusTcp).verdict, kAnswerAccept);

    const AnswerCheck asciiWithTwo = Check(kRead10, ReadAnswer(10, 2), kFramingAscii);
    EXPECT_EQ(asciiWithTwo.verdict, kAnswerReject);
    EXPECT_EQ(asciiWithTwo.message,
              QString::fromUtf8("Принято неверное количество байт данных (принято 25, ожидалось 24)!"));
    EXPECT_EQ(Check(kRead10, ReadAnswer(9, 2)).message,
              QString::fromUtf8("Принято неверное количество байт данных (принято 23, ожидалось 25)!"));
    // Too short to carry even a function byte.
    EXPECT_EQ(Check(kRead10, ByteVector{0x01}).message,
              QString::fromUtf8("Принято неверное количество байт данных (принято 1, ожидалось 25)!"));
}

TEST(ModbusAnswer, ExceptionAnswersGiveTheirCodesText)
{
    const AnswerCheck address = Check(kRead10, WithModbusCrc({0x01, 0x83, 0x02}));
    EXPECT_EQ(address.verdict, kAnswerReject);
    EXPECT_EQ(address.message, QString::fromUtf8("Недопустимый адрес в запросе!"));
    EXPECT_EQ(Check(kRead10, WithModbusCrc({0x01, 0x83, 133})).message,
              QString::fromUtf8("Нет данных за указанную дату!"));
    EXPECT_EQ(Check(kRead10, WithModbusCrc({0x01, 0x83, 200})).message,
              QString::fromUtf8("Устройство вернуло необрабатываемый код ошибки (код 200)!"));
    EXPECT_EQ(ExceptionCodeText(16), QString::fromUtf8("ошибка при обработке запроса!"));
    EXPECT_EQ(ExceptionCodeText(138), QString::fromUtf8("Остановить процесс передачи!"));
    EXPECT_EQ(ExceptionCodeText(17), QString::fromUtf8("Устройство вернуло необрабатываемый код ошибки (код 17)!"));

    // 0x48 exceptions carry the sequence number at 4 and the code in byte 3 when byte 2 is 0.
    const ByteVector request = Request48(4, 0x0102);
    EXPECT_EQ(Check(request, WithModbusCrc({0x01, 0xC8, 0x00, 133, 0x01, 0x02})).message,
              QString::fromUtf8("Нет данных за указанную дату!"));
    EXPECT_EQ(Check(request, WithModbusCrc({0x01, 0xC8, 0x09, 133, 0x01, 0x02})).message,
              QString::fromUtf8("Устройство не готово!"));
    EXPECT_EQ(Check(request, WithModbusCrc({0x01, 0xC8, 0x00, 133, 0x01, 0x01})).verdict, kAnswerSequenceMismatch);
}

TEST(ModbusAnswer, CombinedAnswerIsMatchedBySequenceNumber)
{
    const ByteVector request = Request48(3, 0xFFFF);
    ByteVector answer = {0x01, 0x48, 0xAB, 0xCD, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(Check(request, WithModbusCrc(answer)).verdict, kAnswerAccept);
    const AnswerCheck late = Check(request, WithModbusCrc({0x01, 0x48, 0xAB, 0xCD, 0xFF, 0xFE, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(late.verdict, kAnswerSequenceMismatch);
    EXPECT_TRUE(late.message.isEmpty());
    // Nothing read: exactly 8 bytes.
    EXPECT_EQ(Check(Request48(0, 7), WithModbusCrc({0x01, 0x48, 0, 0, 0x00, 0x07})).verdict, kAnswerAccept);
    EXPECT_EQ(Check(Request48(0, 7), WithModbusCrc({0x01, 0x48, 0, 0, 0x00, 0x07, 0, 0})).verdict, kAnswerReject);
    // A 0x48 answer to a function 3 request is foreign whatever its sequence bytes say.
    EXPECT_EQ(Check(kRead10, WithModbusCrc({0x01, 0x48, 0, 0, 0x55, 0x55})).message,
              QString::fromUtf8("Неправильный код функции в ответе!"));
}

TEST(ModbusAnswer, WriteAnswerMustEchoStartAndCount)
{
    const ByteVector request = WithModbusCrc({0x01, 0x10, 0x00, 0x69, 0x00, 0x02, 0x04, 1, 2, 3, 4});
    EXPECT_EQ(Check(request, WithModbusCrc({0x01, 0x10, 0x00, 0x69, 0x00, 0x02})).verdict, kAnswerAccept);
    EXPECT_EQ(Check(request, WithModbusCrc({0x01, 0x10, 0x00, 0x69, 0x00, 0x03})).message,
              QString::fromUtf8("Неправильный формат ответа для функции 0x10!"));
    EXPECT_EQ(Check(request, WithModbusCrc({0x01, 0x03, 0x02, 0x00, 0x00})).message,
              QString::fromUtf8("Неправильный код функции в ответе!"));
    EXPECT_EQ(Check(request, WithModbusCrc({0x01, 0x05, 0x00, 0x69, 0x00, 0x02})).message,
              QString::fromUtf8("Необрабатываемый код функции при анализе ответа!"));
    // Modbus TCP: six bytes and no check.
    EXPECT_EQ(Check(request, ByteVector{0x01, 0x10, 0x00, 0x69, 0x00, 0x02}, kFramingModbusTcp).verdict, kAnswerAccept);
}
