#include "base/checksums.h"
#include "channel/channel_types.h"
#include "channel/wire_framing.h"
#include "support/crc_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ByteVector = std::vector<std::uint8_t>;

// 01 03 00 00 00 0A with its CRC: read 10 registers from register 0 of device 1.
const ByteVector kRead10Bytes = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};

ByteVector Text(const std::string& text)
{
    return ByteVector(text.begin(), text.end());
}

ByteVector Concat(ByteVector a, const ByteVector& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Encoded {
    EncodeStatus status;
    ByteVector bytes;
};

Encoded Encode(int framing, const ByteVector& unit, int flagPlacement = kFlagsBoth,
               std::uint16_t* transaction = nullptr)
{
    std::uint8_t out[kExchangeBufferSize];
    std::uint16_t localTransaction = 0;
    int length = -1;
    const EncodeStatus status = EncodeWireFrame(framing, unit.data(), static_cast<int>(unit.size()), out,
                                                kExchangeBufferSize, flagPlacement,
                                                transaction ? *transaction : localTransaction, length);
    return {status, status == EncodeStatus::kOk ? ByteVector(out, out + length) : ByteVector{}};
}

EncodeStatus EncodeStatusForLength(int framing, int length)
{
    return Encode(framing, ByteVector(static_cast<std::size_t>(length), 0x41)).status;
}

struct Recognised {
    Recognition result;
    ByteVector answer;
};

Recognised Recognise(int framing, const ByteVector& received, const ByteVector& sent, bool lengthCheck = true)
{
    std::uint8_t out[kExchangeBufferSize] = {};
    int length = -1;
    const Recognition result = RecogniseAnswer(framing, received.data(), static_cast<int>(received.size()), sent.data(),
                                               static_cast<int>(sent.size()), lengthCheck, out, kExchangeBufferSize,
                                               length);
    return {result, result == Recognition::kComplete ? ByteVector(out, out + length) : ByteVector{}};
}

// An answer to kRead10Bytes with `registers` registers of data (valid CRC whatever the count).
ByteVector ReadAnswerBytes(int registers)
{
    ByteVector frame = {0x01, 0x03, static_cast<std::uint8_t>(2 * registers)};
    for (int i = 0; i < 2 * registers; ++i)
        frame.push_back(static_cast<std::uint8_t>(i));
    return WithModbusCrc(frame);
}

}  // namespace

TEST(WireFramingEncode, RtuAndX25)
{
    EXPECT_EQ(Encode(kFramingRtu, kRead10Bytes).bytes, kRead10Bytes);

    // The X.25 check of "123456789" is 0x906E; it replaces whatever the last two bytes held.
    const Encoded x25 = Encode(kFramingRtuX25, Concat(Text("123456789"), {0xC5, 0xCD}));
    EXPECT_EQ(x25.bytes, Concat(Text("123456789"), {0x6E, 0x90}));

    for (int framing : {kFramingRtu, kFramingRtuX25}) {
        EXPECT_EQ(EncodeStatusForLength(framing, kExchangeBufferSize), EncodeStatus::kOk);
        EXPECT_EQ(EncodeStatusForLength(framing, kExchangeBufferSize + 1), EncodeStatus::kTooLong);
        EXPECT_EQ(EncodeStatusForLength(framing, 1), EncodeStatus::kTooShort);
    }
    EXPECT_EQ(EncodeStatusForLength(9, 8), EncodeStatus::kUnknownFraming);
    EXPECT_EQ(EncodeStatusForLength(-1, 8), EncodeStatus::kUnknownFraming);
}

TEST(WireFramingEncode, AsciiDropsCrcAndAddsLrc)
{
    EXPECT_EQ(Encode(kFramingAscii, kRead10Bytes).bytes, Text(":01030000000AF2\r\n"));
    // Upper-case digits, high nibble first.
    EXPECT_EQ(Encode(kFramingAscii, {0xAB, 0x0F, 0x00, 0x00}).bytes, Text(":AB0F46\r\n"));

    // 1073 bytes take 2147 characters: the most a 2148-byte buffer holds.
    const Encoded longest = Encode(kFramingAscii, ByteVector(1073, 0x41));
    ASSERT_EQ(longest.status, EncodeStatus::kOk);
    EXPECT_EQ(longest.bytes.size(), 2147u);
    EXPECT_EQ(EncodeStatusForLength(kFramingAscii, 1074), EncodeStatus::kTooLong);
    EXPECT_EQ(EncodeStatusForLength(kFramingAscii, 0), EncodeStatus::kTooShort);
}

TEST(WireFramingEncode, StuffedFrameEscapesAndFlagPlacement)
{
    // 01 7E 10 with its CRC 00 6C: 0x01, 0x7E, 0x10 and 0x00 are all escaped, 0x6C is not.
    const ByteVector unit = {0x01, 0x7E, 0x10, 0x00, 0x6C};
    const ByteVector body = {0x7D, 0x21, 0x7D, 0x5E, 0x7D, 0x30, 0x7D, 0x20, 0x6C};
    EXPECT_EQ(Encode(kFramingPpp, unit, kFlagsBoth).bytes, Concat(Concat({0x7E}, body), {0x7F}));
    EXPECT_EQ(Encode(kFramingPpp, unit, kFlagOpenOnly).bytes, Concat({0x7E}, body));
    EXPECT_EQ(Encode(kFramingPpp, unit, kFlagCloseOnly).bytes, Concat(body, {0x7F}));

    EXPECT_EQ(Encode(kFramingPpp, {0x7D, 0x7F, 0x20, 0x80}).bytes,
              ByteVector({0x7E, 0x7D, 0x5D, 0x7D, 0x5F, 0x20, 0x80, 0x7F}));

    // Worst case every byte doubles: 1073 bytes plus both flags fill 2148 exactly.
    const Encoded allEscaped = Encode(kFramingPpp, ByteVector(1073, 0x7E));
    ASSERT_EQ(allEscaped.status, EncodeStatus::kOk);
    EXPECT_EQ(allEscaped.bytes.size(), 2148u);
    EXPECT_EQ(EncodeStatusForLength(kFramingPpp, 1074), EncodeStatus::kTooLong);
    EXPECT_EQ(EncodeStatusForLength(kFramingPpp, 1), EncodeStatus::kTooShort);
}

TEST(WireFramingEncode, MbapHeaderCountsTransactions)
{
    std::uint16_t transaction = 0;
    const Encoded first = Encode(kFramingModbusTcp, kRead10Bytes, kFlagsBoth, &transaction);
    EXPECT_EQ(first.bytes, ByteVector({0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}));
    const Encoded second = Encode(kFramingModbusTcp, kRead10Bytes, kFlagsBoth, &transaction);
    EXPECT_EQ(second.bytes[1], 0x01);
    EXPECT_EQ(transaction, 2);

    transaction = 0xFFFF;
    EXPECT_EQ(Encode(kFramingModbusTcp, kRead10Bytes, kFlagsBoth, &transaction).bytes[0], 0xFF);
    EXPECT_EQ(transaction, 0);

    // The header replaces the CRC with four more bytes: 2144 is the longest unit that fits.
    EXPECT_EQ(EncodeStatusForLength(kFramingModbusTcp, 2144), EncodeStatus::kOk);
    EXPECT_EQ(EncodeStatusForLength(kFramingModbusTcp, 2145), EncodeStatus::kTooLong);
    EXPECT_EQ(EncodeStatusForLength(kFramingModbusTcp, 1), EncodeStatus::kTooShort);
    // A refused frame does not use up a transaction number.
    transaction = 5;
    Encode(kFramingModbusTcp, ByteVector(2145, 0), kFlagsBoth, &transaction);
    EXPECT_EQ(transaction, 5);
}

TEST(WireFramingEncode, TransparentCopiesWithinTheBuffer)
{
    EXPECT_EQ(Encode(kFramingTransparent, {0x3A, 0x7E, 0x00}).bytes, ByteVector({0x3A, 0x7E, 0x00}));
    EXPECT_EQ(EncodeStatusForLength(kFramingTransparent, 0), EncodeStatus::kOk);
    EXPECT_EQ(EncodeStatusForLength(kFramingTransparent, kExchangeBufferSize + 1), EncodeStatus::kTooLong);
}

TEST(WireFramingRecognise, RtuLengthRulesFollowTheRequest)
{
    // Ten registers: only 25 bytes will do, even with a good CRC.
    EXPECT_EQ(Recognise(kFramingRtu, ReadAnswerBytes(10), kRead10Bytes).answer.size(), 25u);
    const ByteVector full = ReadAnswerBytes(10);
    const ByteVector short24 = WithModbusCrc(ByteVector(full.begin(), full.begin() + 22));
    ASSERT_EQ(short24.size(), 24u);
    EXPECT_EQ(Recognise(kFramingRtu, short24, kRead10Bytes).result, Recognition::kNotYet);
    EXPECT_EQ(Recognise(kFramingRtu, ReadAnswerBytes(11), kRead10Bytes).result, Recognition::kNotYet);
    // Without the length check any frame with a good CRC is taken.
    EXPECT_EQ(Recognise(kFramingRtu, short24, kRead10Bytes, false).result, Recognition::kComplete);

    // An exception answer is taken at five bytes.
    const ByteVector exception = {0x01, 0x83, 0x02, 0xC0, 0xF1};
    EXPECT_EQ(Recognise(kFramingRtu, exception, kRead10Bytes).answer, exception);
    EXPECT_EQ(Recognise(kFramingRtu, ByteVector(exception.begin(), exception.end() - 1), kRead10Bytes).result,
              Recognition::kNotYet);

    ByteVector badCrc = ReadAnswerBytes(10);
    badCrc.back() ^= 0x01;
    EXPECT_EQ(Recognise(kFramingRtu, badCrc, kRead10Bytes).result, Recognition::kNotYet);

    // Function 16 answers are 8 bytes, function 0x48 answers 8 + 2 * read count, 8 when nothing is read.
    const ByteVector write16 = WithModbusCrc({0x01, 0x10, 0x00, 0x10, 0x00, 0x02, 0x04, 0x00, 0x01, 0x00, 0x02});
    EXPECT_EQ(Recognise(kFramingRtu, WithModbusCrc({0x01, 0x10, 0x00, 0x10, 0x00, 0x02}), write16).result,
              Recognition::kComplete);
    EXPECT_EQ(Recognise(kFramingRtu, WithModbusCrc({0x01, 0x10, 0x00, 0x10, 0x00, 0x02, 0x00}), write16).result,
              Recognition::kNotYet);
    const ByteVector rw48WriteOnly = WithModbusCrc(
        {0x01, 0x48, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x01, 0x00, 0x02, 0x00, 0x07, 0xAA, 0xBB});
    EXPECT_EQ(Recognise(kFramingRtu, WithModbusCrc({0x01, 0x48, 0x00, 0x00, 0x00, 0x07}), rw48WriteOnly).result,
              Recognition::kComplete);
    const ByteVector rw48Read3 = WithModbusCrc({0x01, 0x48, 0x00, 0x00, 0x00, 0x03, 0, 0, 0, 0, 0, 0, 0x00, 0x08});
    const ByteVector answer48 = WithModbusCrc({0x01, 0x48, 0x00, 0x00, 0x00, 0x08, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Recognise(kFramingRtu, answer48, rw48Read3).answer.size(), 14u);
    EXPECT_EQ(Recognise(kFramingRtu, WithModbusCrc({0x01, 0x48, 0x00, 0x00, 0x00, 0x08, 1, 2, 3, 4}), rw48Read3).result,
              Recognition::kNotYet);
    // Other functions have no length rule.
    EXPECT_EQ(Recognise(kFramingRtu, WithModbusCrc({0x01, 0x11, 0x01, 0x02}), WithModbusCrc({0x01, 0x11})).result,
              Recognition::kComplete);

    // X.25 framing checks the X.25 sequence, not the Modbus CRC.
    ByteVector x25Answer = ReadAnswerBytes(10);
    PutLittleEndian16(&x25Answer[23], Crc16X25(x25Answer.data(), 23));
    EXPECT_EQ(Recognise(kFramingRtuX25, x25Answer, kRead10Bytes).result, Recognition::kComplete);
    EXPECT_EQ(Recognise(kFramingRtu, x25Answer, kRead10Bytes).result, Recognition::kNotYet);
    EXPECT_EQ(Recognise(kFramingRtuX25, ReadAnswerBytes(10), kRead10Bytes).result, Recognition::kNotYet);
}

TEST(WireFramingRecognise, AnswerLengthReachedTellsWhenADamagedFrameIsWhole)
{
    const auto reached = [](int framing, const ByteVector& received, const ByteVector& sent) {
        return AnswerLengthReached(framing, received.data(), int(received.size()), sent.data(), int(sent.size()));
    };
    ByteVector badCrc = ReadAnswerBytes(10);
    badCrc.back() ^= 0x01;
    EXPECT_TRUE(reached(kFramingRtu, badCrc, kRead10Bytes));
    EXPECT_TRUE(reached(kFramingRtuX25, badCrc, kRead10Bytes));
    EXPECT_FALSE(reached(kFramingRtu, ByteVector(badCrc.begin(), badCrc.end() - 1), kRead10Bytes));
    // The echo does not count; an exception answer is whole at five bytes.
    EXPECT_FALSE(
        reached(kFramingRtu, Concat(kRead10Bytes, ByteVector(badCrc.begin(), badCrc.begin() + 17)), kRead10Bytes));
    EXPECT_TRUE(reached(kFramingRtu, Concat(kRead10Bytes, badCrc), kRead10Bytes));
    EXPECT_TRUE(reached(kFramingRtu, {0x01, 0x83, 0x02, 0x00, 0x00}, kRead10Bytes));
    // No rule for the function: never decided early.
    EXPECT_FALSE(reached(kFramingRtu, ByteVector(40, 0x11), WithModbusCrc({0x01, 0x11})));
    // Delimited framings: a closed frame.
    EXPECT_TRUE(reached(kFramingAscii, Text(":010302002AD1\r\n"), {}));
    EXPECT_FALSE(reached(kFramingAscii, Text(":010302002AD1\r"), {}));
    EXPECT_TRUE(reached(kFramingPpp, {0x7E, 0x01, 0x03, 0x02, 0x00, 0x2A, 0x00, 0x00, 0x7F}, {}));
    EXPECT_FALSE(reached(kFramingPpp, {0x7E, 0x01, 0x03, 0x02, 0x00, 0x2A}, {}));
    // Modbus TCP carries no checksum: nothing to decide.
    EXPECT_FALSE(reached(kFramingModbusTcp, ByteVector(40, 0x00), {}));
}

TEST(WireFramingRecognise, EchoOfTheRequestIsSkipped)
{
    EXPECT_EQ(Recognise(kFramingRtu, Concat(kRead10Bytes, ReadAnswerBytes(10)), kRead10Bytes).answer,
              ReadAnswerBytes(10));
    // The echo alone, or the echo and part of the answer, is not yet an answer.
    EXPECT_EQ(Recognise(kFramingRtu, kRead10Bytes, kRead10Bytes).result, Recognition::kNotYet);
    EXPECT_EQ(Recognise(kFramingTransparent, kRead10Bytes, kRead10Bytes).result, Recognition::kNotYet);
    EXPECT_EQ(Recognise(kFramingTransparent, Concat(kRead10Bytes, {0x55}), kRead10Bytes).answer, ByteVector({0x55}));

    const ByteVector asciiRequest = Text(":01030000000AF2\r\n");
    EXPECT_EQ(Recognise(kFramingAscii, Concat(asciiRequest, Text(":010302002AD0\r\n")), asciiRequest).answer,
              ByteVector({0x01, 0x03, 0x02, 0x00, 0x2A, 0xD0}));
}

TEST(WireFramingRecognise, AsciiScanAndLrc)
{
    const ByteVector answer = {0x01, 0x03, 0x02, 0x00, 0x2A, 0xD0};
    EXPECT_EQ(Recognise(kFramingAscii, Text(":010302002AD0\r\n"), {}).answer, answer);
    EXPECT_EQ(Recognise(kFramingAscii, Text(":010302002ad0\r\n"), {}).answer, answer);
    // Noise before the frame, and an earlier broken start, are passed over: the last ':' wins.
    EXPECT_EQ(Recognise(kFramingAscii, Text("\x13zz:0103:010302002AD0\r\n"), {}).answer, answer);

    EXPECT_EQ(Recognise(kFramingAscii, Text(":010302002AD1\r\n"), {}).result, Recognition::kNotYet);  // LRC
    EXPECT_EQ(Recognise(kFramingAscii, Text(":010302002AD0\r"), {}).result, Recognition::kNotYet);
    EXPECT_EQ(Recognise(kFramingAscii, Text(":010302002AD0\n"), {}).result, Recognition::kNotYet);
    EXPECT_EQ(Recognise(kFramingAscii, Text(":01030200G2AD0\r\n"), {}).result, Recognition::kNotYet);
    EXPECT_EQ(Recognise(kFramingAscii, Text(":01030\r\n"), {}).result, Recognition::kNotYet);  // odd digits
    EXPECT_EQ(Recognise(kFramingAscii, Text(":\r\n"), {}).result, Recognition::kNotYet);
    // A new frame starting after a complete one is waited for.
    EXPECT_EQ(Recognise(kFramingAscii, Text(":010302002AD0\r\n:01"), {}).result, Recognition::kNotYet);

    // The same scanner finds a request frame for the slave side.
    const ByteVector request = Text("xx:01030000000AF2\r\n");
    FrameBounds bounds;
    ASSERT_TRUE(FindAsciiFrame(request.data(), static_cast<int>(request.size()), bounds));
    EXPECT_EQ(bounds.start, 2);
    EXPECT_EQ(bounds.end, 18);
    std::uint8_t decoded[16];
    int decodedLength = 0;
    ASSERT_TRUE(DecodeAsciiFrame(request.data(), bounds, decoded, sizeof decoded, decodedLength));
    EXPECT_EQ(ByteVector(decoded, decoded + decodedLength), ByteVector({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xF2}));
    EXPECT_FALSE(DecodeAsciiFrame(request.data(), bounds, decoded, 6, decodedLength));  // no room
}

TEST(WireFramingRecognise, StuffedScanUnstuffAndCrc)
{
    // 01 03 04 7D 7E 7F 11 with CRC 62 7B.
    const ByteVector answer = {0x01, 0x03, 0x04, 0x7D, 0x7E, 0x7F, 0x11, 0x62, 0x7B};
    const ByteVector wire = Encode(kFramingPpp, answer).bytes;
    EXPECT_EQ(wire,
              ByteVector({0x7E, 0x7D, 0x21, 0x7D, 0x23, 0x7D, 0x24, 0x7D, 0x5D, 0x7D, 0x5E, 0x7D, 0x5F, 0x7D, 0x31,
                          0x62, 0x7B, 0x7F}));
    EXPECT_EQ(Recognise(kFramingPpp, wire, {}).answer, answer);
    EXPECT_EQ(Recognise(kFramingPpp, Concat({0x00, 0x7F, 0x7E, 0x55}, wire), {}).answer, answer);
    EXPECT_EQ(Recognise(kFramingPpp, ByteVector(wire.begin(), wire.end() - 1), {}).result, Recognition::kNotYet);

    ByteVector badCrc = wire;
    badCrc[15] ^= 0x01;
    EXPECT_EQ(Recognise(kFramingPpp, badCrc, {}).result, Recognition::kNotYet);
    // An escape right before the closing flag leaves nothing to unescape.
    EXPECT_EQ(Recognise(kFramingPpp, {0x7E, 0x01, 0x03, 0x7D, 0x7F}, {}).result, Recognition::kNotYet);

    // A sent stuffed request is skipped as echo.
    const ByteVector request = Encode(kFramingPpp, kRead10Bytes).bytes;
    EXPECT_EQ(Recognise(kFramingPpp, Concat(request, wire), request).answer, answer);
}

TEST(WireFramingRecognise, MbapWaitsForTheWholePayload)
{
    const ByteVector header = {0x00, 0x07, 0x00, 0x00, 0x00, 0x05};
    const ByteVector payload = {0x01, 0x03, 0x02, 0x12, 0x34};
    const ByteVector whole = Concat(header, payload);
    EXPECT_EQ(Recognise(kFramingModbusTcp, whole, {}).answer, payload);
    EXPECT_EQ(Recognise(kFramingModbusTcp, ByteVector(whole.begin(), whole.end() - 1), {}).result,
              Recognition::kNotYet);
    EXPECT_EQ(Recognise(kFramingModbusTcp, ByteVector(header.begin(), header.begin() + 5), {}).result,
              Recognition::kNotYet);
    // Bytes behind the payload do not matter; the header is read from the very start.
    EXPECT_EQ(Recognise(kFramingModbusTcp, Concat(whole, {0xEE}), whole).answer, payload);
    EXPECT_EQ(MbapPayloadLength(whole.data(), static_cast<int>(whole.size())), 5);

    EXPECT_EQ(Recognise(7, whole, {}).result, Recognition::kUnknownFraming);
}
