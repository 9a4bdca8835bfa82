#pragma once
// The modem dialogue of channel kind 2 (initialise, dial, back to command mode, hang up), as the
// channel drives it. The dialogue itself talks AT commands over the owner's serial port (owner slot 22)
// and plugs in behind this interface; without one a modem channel cannot connect.

class ChannelOwner;

class ModemControl {
public:
    virtual ~ModemControl() = default;
    // Each returns 0 on success, else the reason (already logged or reported by the dialogue).
    virtual int Initialise(ChannelOwner* owner) = 0;
    virtual int Dial(ChannelOwner* owner) = 0;
    virtual int ToCommandMode(ChannelOwner* owner) = 0;
    virtual int HangUp(ChannelOwner* owner) = 0;
};
