#pragma once
// How a Modbus RTU unit (address, function, data, CRC-16 low byte first) travels on the wire, in both
// directions. Pure functions over caller-owned buffers: the master channel and the simulated meter use
// the same encoders and scanners, and nothing here allocates.
//
//   0 RTU          | addr | func | data ... | crc lo | crc hi |                      sent unchanged
//   1 ASCII        ':' hex(addr func data ...) hex(LRC) CR LF                         CRC not sent
//   2 stuffed      0x7E  stuff(addr func data ... crc lo crc hi)  0x7F                flags per placement
//                  stuff: b < 0x20, 0x7D, 0x7E, 0x7F -> 0x7D, b ^ 0x20
//   3 transparent  bytes as they are, no frame check
//   4 MBAP         | transaction (BE) | protocol 0 (BE) | length (BE) | addr func data ... |  CRC dropped
//   5 RTU/X.25     RTU layout, last two bytes CRC-16/X-25 (low byte first) instead of the Modbus CRC

#include <cstdint>

// Where the stuffed framing puts its flags (0x7E opens, 0x7F closes).
enum StuffedFlagPlacement : int {
    kFlagsBoth = 0,
    kFlagOpenOnly = 1,
    kFlagCloseOnly = 2,
};

enum class EncodeStatus {
    kOk,
    kTooLong,  // the unit cannot fit the wire buffer in this framing
    kTooShort,
    kUnknownFraming,
};

// Puts the RTU unit `unit` (length bytes, its CRC included) into `out` in the given framing. `capacity`
// bounds the wire bytes: a unit whose worst-case wire form would not fit is refused as too long, so with
// a 2148-byte buffer ASCII and stuffed frames take at most 1073 bytes. `mbapTransaction` is used and
// then incremented by framing 4 only. On success `outLength` holds the wire length.
EncodeStatus EncodeWireFrame(int framing, const std::uint8_t* unit, int length, std::uint8_t* out, int capacity,
                             int flagPlacement, std::uint16_t& mbapTransaction, int& outLength);

// --- Scanners: find and check one frame in the bytes gathered so far (shared by master and slave). ---

// Position of a frame's delimiters inside a byte run.
struct FrameBounds {
    int start = -1;  // ':' or 0x7E
    int end = -1;    // LF or 0x7F
};

// ASCII: the last ':' starts a frame; CR then LF after it end it. True when a frame is closed.
bool FindAsciiFrame(const std::uint8_t* bytes, int length, FrameBounds& bounds);
// Decodes the hex pairs between the bounds (either case) into out, the LRC byte included, and checks
// the LRC. False for a non-hex character, a missing LRC, a wrong LRC or too little room.
bool DecodeAsciiFrame(const std::uint8_t* bytes, FrameBounds bounds, std::uint8_t* out, int capacity, int& outLength);

// Stuffed: the last 0x7E starts a frame, the next 0x7F ends it. True when a frame is closed.
bool FindStuffedFrame(const std::uint8_t* bytes, int length, FrameBounds& bounds);
// Unstuffs the bytes between the flags into out (CRC included) and checks the Modbus CRC. False for a
// dangling escape, fewer than two bytes, a wrong CRC or too little room.
bool UnstuffFrame(const std::uint8_t* bytes, FrameBounds bounds, std::uint8_t* out, int capacity, int& outLength);

// RTU: the last two bytes carry the CRC-16/MODBUS (or CRC-16/X-25) of the others, low byte first.
bool RtuChecksumOk(const std::uint8_t* bytes, int length, bool x25);

// MBAP: the payload length P when the header and all P bytes behind it are there, else -1.
int MbapPayloadLength(const std::uint8_t* bytes, int length);

// --- Master side: what answer a request expects. ---

// Length of a normal (non-exception) RTU answer to `request`, or -1 when the function has no rule:
// 3 and 4 -> 5 + 2 * count, 16 -> 8, 0x48 -> 8 + 2 * read count.
int ExpectedRtuAnswerLength(const std::uint8_t* request, int requestLength);

enum class Recognition {
    kNotYet,  // read more
    kComplete,
    kUnknownFraming,
};

// Whether as much has come (after any echo of the request) as a whole answer to `sent` takes: the
// length the request expects, or an exception answer's (RTU); a closed frame (ASCII, stuffed). When
// that much is there and still no answer is recognised, the frame is damaged once nothing more follows.
// False where the length cannot be known (other framings, a function without a rule).
bool AnswerLengthReached(int framing, const std::uint8_t* received, int receivedLength, const std::uint8_t* sent,
                         int sentLength);

// The answer recogniser of the channel. `received` holds everything read for this exchange, `sent` the
// wire bytes of the request (an echo of them at the start of `received` is skipped). With `lengthCheck`
// an RTU answer must have the length the request expects, exception answers excepted. On kComplete the
// answer's bytes are in out (RTU and stuffed with their CRC, ASCII with its LRC, MBAP payload only).
Recognition RecogniseAnswer(int framing, const std::uint8_t* received, int receivedLength, const std::uint8_t* sent,
                            int sentLength, bool lengthCheck, std::uint8_t* out, int capacity, int& outLength);
