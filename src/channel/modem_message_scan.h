#pragma once
// The unsolicited messages a modem sends when the data connection drops ("\r\nNO CARRIER" and the
// like), found in the bytes a channel has gathered.

#include <cstdint>

// The Russian text of the first modem message that follows a CR LF in `bytes`, or nullptr.
const char* FindModemMessage(const std::uint8_t* bytes, int length);
