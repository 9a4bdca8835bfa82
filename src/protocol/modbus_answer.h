#pragma once
// Checking a Modbus answer against the request it answers, and the texts of the exception codes.
//
// Answer to 0x48:  0 address | 1 0x48 | 2..3 not interpreted | 4..5 sequence number | 6.. registers | CRC
// Exception:       0 address | 1 function | 0x80 | 2 code (0xC8: byte 3 when byte 2 is 0) | ...
//
// The answer arrives as the channel took it out of its frame: RTU and PPP keep two CRC bytes, ASCII one
// LRC byte, Modbus TCP none; the expected length is corrected accordingly.

#include <QString>
#include <cstdint>

enum AnswerVerdict : int {
    kAnswerReject = 0,
    kAnswerAccept = 1,
    kAnswerSequenceMismatch = 2,  // 0x48 only: the answer belongs to another request
};

struct AnswerCheck {
    int verdict = kAnswerReject;
    QString message;         // set for every rejection; to be logged and shown
    bool exception = false;  // the meter answered and refused: an exception answer
};

// The text for a Modbus exception code, or the "unknown code" text with the number.
QString ExceptionCodeText(int code);

// `framing` is the channel's TransportProtocol.
AnswerCheck AnalyseAnswer(const std::uint8_t* request, int requestLength, const std::uint8_t* answer, int answerLength,
                          int framing);
