#pragma once
// Waiting for a modem's answer to an AT command on the serial port: the echo of the command is skipped,
// and the answer is taken once it is whole in either the verbose ("\r\nOK\r\n") or the numeric ("0\r")
// form.

#include <QByteArray>

class CCommPortClass;
class ChannelOwner;

// Results of the modem dialogue.
enum ModemResult : int {
    kModemOk = 0,
    kModemNoAnswer = 1,
    kModemChecksum = 2,  // not produced by the dialogue itself; kept so every code has its text
    kModemStopped = 3,
    kModemUnexpected = 4,
    kModemError = 5,        // the modem answered ERROR
    kModemPortFailure = 6,  // the serial port failed (already reported by the port)
};

// True when `answer` (what followed the echo) is complete: "\r\n...\r\n" longer than two bytes, or,
// not starting with CR LF, "...\r" longer than one byte.
bool IsCompleteModemAnswer(const QByteArray& answer);

// Which result a complete answer gives: kModemOk when it holds `expected1` or `expected2` (null: not
// asked for), kModemError when it holds the modem's ERROR in either form, else kModemUnexpected.
int ClassifyModemAnswer(const QByteArray& answer, const char* expected1, const char* expected2);

// Gathers what the port receives until a complete answer to `command` is there or `timeoutMs` has
// passed; `owner` (may be null) is asked for the stop request before every read. The complete answer
// goes to `answer` when given. Returns a ModemResult.
int WaitModemAnswer(CCommPortClass& port, const ChannelOwner* owner, const QByteArray& command, const char* expected1,
                    const char* expected2, int timeoutMs, QByteArray* answer);
