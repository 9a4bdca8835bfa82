#pragma once
// The modem dialogue of channel kind 2 (initialise, dial, back to command mode, hang up), as the
// channel drives it. The dialogue itself talks AT commands over the channel's serial port and plugs in
// behind this interface; without one a modem channel cannot connect.

class CCommPortClass;
class ChannelOwner;
struct ChannelSettings;

// What one step of the dialogue works with: the port it talks over, the channel's settings (phone
// number, modem type, init string, dial mode, connection time-out, speed) and the owner that logs,
// shows and may ask to stop. Any of them may be null.
struct ModemContext {
    CCommPortClass* port = nullptr;
    const ChannelSettings* settings = nullptr;
    ChannelOwner* owner = nullptr;
};

class ModemControl {
public:
    virtual ~ModemControl() = default;
    // Each returns 0 on success, else the reason (already logged or reported by the dialogue).
    virtual int Initialise(const ModemContext& line) = 0;
    virtual int Dial(const ModemContext& line) = 0;
    virtual int ToCommandMode(const ModemContext& line) = 0;
    virtual int HangUp(const ModemContext& line) = 0;
};
