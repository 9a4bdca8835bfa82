#include "channel/wire_framing.h"

#include "base/checksums.h"
#include "channel/channel_types.h"
#include "channel/modbus_functions.h"

#include <cstring>

namespace {

constexpr std::uint8_t kAsciiStart = ':';
constexpr std::uint8_t kCr = '\r';
constexpr std::uint8_t kLf = '\n';
constexpr std::uint8_t kFlagOpen = 0x7E;
constexpr std::uint8_t kFlagClose = 0x7F;
constexpr std::uint8_t kEscape = 0x7D;
constexpr std::uint8_t kEscapeXor = 0x20;
constexpr int kMbapHeaderSize = 6;
constexpr int kCrcSize = 2;
constexpr int kMinRtuAnswer = 5;     // address, function, one byte, CRC
constexpr int kMinDelimitedRun = 4;  // the shortest run worth scanning for ASCII and stuffed frames

bool NeedsEscape(std::uint8_t byte)
{
    return byte < 0x20 || byte == kEscape || byte == kFlagOpen || byte == kFlagClose;
}

void PutHexByte(std::uint8_t* where, std::uint8_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    where[0] = static_cast<std::uint8_t>(kDigits[value >> 4]);
    where[1] = static_cast<std::uint8_t>(kDigits[value & 0x0F]);
}

int HexDigitValue(std::uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

EncodeStatus EncodeRtu(const std::uint8_t* unit, int length, std::uint8_t* out, int capacity, bool x25, int& outLength)
{
    if (length > capacity)
        return EncodeStatus::kTooLong;
    if (length < kCrcSize)
        return EncodeStatus::kTooShort;
    std::memcpy(out, unit, static_cast<std::size_t>(length));
    if (x25)
        PutLittleEndian16(out + length - kCrcSize, Crc16X25(unit, static_cast<std::size_t>(length - kCrcSize)));
    outLength = length;
    return EncodeStatus::kOk;
}

// ':' + two digits per byte + CR LF; the CRC pair is replaced by the one LRC byte, so a unit of
// length >= 2 takes 2 * length + 1 bytes.
EncodeStatus EncodeAscii(const std::uint8_t* unit, int length, std::uint8_t* out, int capacity, int& outLength)
{
    if (length < 1)
        return EncodeStatus::kTooShort;
    const int dataLength = length > kCrcSize ? length - kCrcSize : 0;
    if (2 * dataLength + 5 > capacity)
        return EncodeStatus::kTooLong;
    int pos = 0;
    out[pos++] = kAsciiStart;
    for (int i = 0; i < dataLength; ++i, pos += 2)
        PutHexByte(out + pos, unit[i]);
    PutHexByte(out + pos, Lrc8(unit, static_cast<std::size_t>(dataLength)));
    pos += 2;
    out[pos++] = kCr;
    out[pos++] = kLf;
    outLength = pos;
    return EncodeStatus::kOk;
}

// Worst case every byte is escaped and both flags are written: 2 * length + 2.
EncodeStatus EncodeStuffed(const std::uint8_t* unit, int length, int flagPlacement, std::uint8_t* out, int capacity,
                           int& outLength)
{
    if (2 * length + 2 > capacity)
        return EncodeStatus::kTooLong;
    if (length < kCrcSize)
        return EncodeStatus::kTooShort;
    int pos = 0;
    if (flagPlacement == kFlagsBoth || flagPlacement == kFlagOpenOnly)
        out[pos++] = kFlagOpen;
    for (int i = 0; i < length; ++i) {
        if (NeedsEscape(unit[i])) {
            out[pos++] = kEscape;
            out[pos++] = static_cast<std::uint8_t>(unit[i] ^ kEscapeXor);
        } else {
            out[pos++] = unit[i];
        }
    }
    if (flagPlacement == kFlagsBoth || flagPlacement == kFlagCloseOnly)
        out[pos++] = kFlagClose;
    outLength = pos;
    return EncodeStatus::kOk;
}

EncodeStatus EncodeTransparent(const std::uint8_t* unit, int length, std::uint8_t* out, int capacity, int& outLength)
{
    if (length > capacity)
        return EncodeStatus::kTooLong;
    if (length > 0)
        std::memcpy(out, unit, static_cast<std::size_t>(length));
    outLength = length;
    return EncodeStatus::kOk;
}

// The six header bytes replace the two CRC bytes: length + 4 on the wire.
EncodeStatus EncodeMbap(const std::uint8_t* unit, int length, std::uint16_t& transaction, std::uint8_t* out,
                        int capacity, int& outLength)
{
    if (length + kMbapHeaderSize - kCrcSize > capacity)
        return EncodeStatus::kTooLong;
    if (length < kCrcSize)
        return EncodeStatus::kTooShort;
    const int pduLength = length - kCrcSize;
    PutBigEndian16(out, transaction++);
    PutBigEndian16(out + 2, 0);
    PutBigEndian16(out + 4, static_cast<std::uint16_t>(pduLength));
    if (pduLength > 0)
        std::memcpy(out + kMbapHeaderSize, unit, static_cast<std::size_t>(pduLength));
    outLength = kMbapHeaderSize + pduLength;
    return EncodeStatus::kOk;
}

bool CopyOut(const std::uint8_t* bytes, int length, std::uint8_t* out, int capacity, int& outLength)
{
    if (length > capacity)
        return false;
    if (length > 0)
        std::memcpy(out, bytes, static_cast<std::size_t>(length));
    outLength = length;
    return true;
}

// An RTU answer is complete when its checksum holds and, unless it is an exception answer, its length
// is the one the request asks for.
bool RtuAnswerComplete(const std::uint8_t* answer, int length, const std::uint8_t* request, int requestLength, bool x25,
                       bool lengthCheck)
{
    if (length < kMinRtuAnswer || !RtuChecksumOk(answer, length, x25))
        return false;
    const bool exception = (answer[1] & Modbus::kExceptionBit) != 0;
    if (!lengthCheck || exception)
        return true;
    const int expected = ExpectedRtuAnswerLength(request, requestLength);
    return expected < 0 || expected == length;
}

int EchoLength(const std::uint8_t* received, int receivedLength, const std::uint8_t* sent, int sentLength)
{
    if (sentLength <= 0 || receivedLength < sentLength)
        return 0;
    return std::memcmp(received, sent, static_cast<std::size_t>(sentLength)) == 0 ? sentLength : 0;
}

}  // namespace

EncodeStatus EncodeWireFrame(int framing, const std::uint8_t* unit, int length, std::uint8_t* out, int capacity,
                             int flagPlacement, std::uint16_t& mbapTransaction, int& outLength)
{
    outLength = 0;
    switch (framing) {
        case kFramingRtu:
            return EncodeRtu(unit, length, out, capacity, false, outLength);
        case kFramingRtuX25:
            return EncodeRtu(unit, length, out, capacity, true, outLength);
        case kFramingAscii:
            return EncodeAscii(unit, length, out, capacity, outLength);
        case kFramingPpp:
            return EncodeStuffed(unit, length, flagPlacement, out, capacity, outLength);
        case kFramingTransparent:
            return EncodeTransparent(unit, length, out, capacity, outLength);
        case kFramingModbusTcp:
            return EncodeMbap(unit, length, mbapTransaction, out, capacity, outLength);
        default:
            return EncodeStatus::kUnknownFraming;
    }
}

bool FindAsciiFrame(const std::uint8_t* bytes, int length, FrameBounds& bounds)
{
    enum { kIdle, kInFrame, kAfterCr, kEnded } state = kIdle;
    bounds = FrameBounds{};
    for (int i = 0; i < length; ++i) {
        const std::uint8_t c = bytes[i];
        if (c == kAsciiStart) {
            state = kInFrame;
            bounds.start = i;
            bounds.end = -1;
        } else if (state == kInFrame && c == kCr) {
            state = kAfterCr;
        } else if (state == kAfterCr && c == kLf) {
            state = kEnded;
            bounds.end = i;
        } else if (state == kAfterCr && c != kCr) {
            state = kInFrame;  // a lone CR inside the frame; the frame goes on
        }
    }
    return state == kEnded && bounds.start < bounds.end;
}

bool DecodeAsciiFrame(const std::uint8_t* bytes, FrameBounds bounds, std::uint8_t* out, int capacity, int& outLength)
{
    outLength = 0;
    // The pairs between ':' and LF; integer division leaves the CR out.
    const int count = (bounds.end - bounds.start - 1) / 2;
    if (count < 1 || count > capacity)
        return false;
    const std::uint8_t* digits = bytes + bounds.start + 1;
    for (int i = 0; i < count; ++i) {
        const int high = HexDigitValue(digits[2 * i]);
        const int low = HexDigitValue(digits[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        out[i] = static_cast<std::uint8_t>((high << 4) | low);
    }
    if (Lrc8(out, static_cast<std::size_t>(count - 1)) != out[count - 1])
        return false;
    outLength = count;
    return true;
}

bool FindStuffedFrame(const std::uint8_t* bytes, int length, FrameBounds& bounds)
{
    bounds = FrameBounds{};
    for (int i = 0; i < length; ++i) {
        if (bytes[i] == kFlagOpen) {
            bounds.start = i;
            bounds.end = -1;
        } else if (bytes[i] == kFlagClose && bounds.start >= 0 && bounds.end < 0) {
            bounds.end = i;
        }
    }
    return bounds.start >= 0 && bounds.end > bounds.start;
}

bool UnstuffFrame(const std::uint8_t* bytes, FrameBounds bounds, std::uint8_t* out, int capacity, int& outLength)
{
    outLength = 0;
    int count = 0;
    for (int i = bounds.start + 1; i < bounds.end; ++i) {
        if (count >= capacity)
            return false;
        if (bytes[i] == kEscape) {
            if (++i >= bounds.end)
                return false;  // an escape with nothing behind it
            out[count++] = static_cast<std::uint8_t>(bytes[i] ^ kEscapeXor);
        } else {
            out[count++] = bytes[i];
        }
    }
    if (count < kCrcSize || !RtuChecksumOk(out, count, false))
        return false;
    outLength = count;
    return true;
}

bool RtuChecksumOk(const std::uint8_t* bytes, int length, bool x25)
{
    if (length < kCrcSize)
        return false;
    const auto dataLength = static_cast<std::size_t>(length - kCrcSize);
    const std::uint16_t crc = x25 ? Crc16X25(bytes, dataLength) : Crc16Modbus(bytes, dataLength);
    return crc == GetLittleEndian16(bytes + dataLength);
}

int MbapPayloadLength(const std::uint8_t* bytes, int length)
{
    if (length < kMbapHeaderSize)
        return -1;
    const int payload = GetBigEndian16(bytes + 4);
    return length >= kMbapHeaderSize + payload ? payload : -1;
}

int ExpectedRtuAnswerLength(const std::uint8_t* request, int requestLength)
{
    if (requestLength < 6)
        return -1;
    const int count = GetBigEndian16(request + 4);
    switch (request[1]) {
        case Modbus::kReadHoldingRegisters:
        case Modbus::kReadInputRegisters:
            return 5 + 2 * count;
        case Modbus::kWriteMultipleRegisters:
            return 8;
        case Modbus::kReadWrite48:
            return 8 + 2 * count;
        default:
            return -1;
    }
}

bool AnswerLengthReached(int framing, const std::uint8_t* received, int receivedLength, const std::uint8_t* sent,
                         int sentLength)
{
    const int echo = EchoLength(received, receivedLength, sent, sentLength);
    const std::uint8_t* candidate = received + echo;
    const int length = receivedLength - echo;
    FrameBounds bounds;
    switch (framing) {
        case kFramingRtu:
        case kFramingRtuX25: {
            if (length >= kMinRtuAnswer && (candidate[1] & Modbus::kExceptionBit) != 0)
                return true;
            const int expected = ExpectedRtuAnswerLength(sent, sentLength);
            return expected > 0 && length >= expected;
        }
        case kFramingAscii:
            return length >= kMinDelimitedRun && FindAsciiFrame(candidate, length, bounds);
        case kFramingPpp:
            return length >= kMinDelimitedRun && FindStuffedFrame(candidate, length, bounds);
        default:
            return false;
    }
}

Recognition RecogniseAnswer(int framing, const std::uint8_t* received, int receivedLength, const std::uint8_t* sent,
                            int sentLength, bool lengthCheck, std::uint8_t* out, int capacity, int& outLength)
{
    outLength = 0;
    const int echo = EchoLength(received, receivedLength, sent, sentLength);
    const std::uint8_t* candidate = received + echo;
    const int length = receivedLength - echo;
    FrameBounds bounds;
    bool complete = false;
    switch (framing) {
        case kFramingRtu:
        case kFramingRtuX25:
            complete = RtuAnswerComplete(candidate, length, sent, sentLength, framing == kFramingRtuX25, lengthCheck)
                && CopyOut(candidate, length, out, capacity, outLength);
            break;
        case kFramingAscii:
            complete = length >= kMinDelimitedRun && FindAsciiFrame(candidate, length, bounds)
                && DecodeAsciiFrame(candidate, bounds, out, capacity, outLength);
            break;
        case kFramingPpp:
            complete = length >= kMinDelimitedRun && FindStuffedFrame(candidate, length, bounds)
                && UnstuffFrame(candidate, bounds, out, capacity, outLength);
            break;
        case kFramingTransparent:
            // Whatever arrives first is the answer; an echo alone is not.
            complete = length > 0 && CopyOut(candidate, length, out, capacity, outLength);
            break;
        case kFramingModbusTcp: {
            // The header sits at the very start: a TCP peer never echoes.
            const int payload = MbapPayloadLength(received, receivedLength);
            complete = payload >= 0 && CopyOut(received + kMbapHeaderSize, payload, out, capacity, outLength);
            break;
        }
        default:
            return Recognition::kUnknownFraming;
    }
    return complete ? Recognition::kComplete : Recognition::kNotYet;
}
