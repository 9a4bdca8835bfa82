#include "channel/serial_termios.h"

#include <cerrno>
#include <iterator>

namespace {

struct StandardSpeed {
    int baud;
    speed_t code;
};

constexpr StandardSpeed kStandardSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

const StandardSpeed* FindStandardSpeed(int baud)
{
    for (const StandardSpeed& speed : kStandardSpeeds) {
        if (speed.baud == baud)
            return &speed;
    }
    return nullptr;
}

tcflag_t DataBitsFlag(int byteSize)
{
    switch (byteSize) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

bool StopBitsValid(int stopBits, int byteSize)
{
    switch (stopBits) {
        case 0:
            return true;
        case 1:
            return byteSize == 5;
        case 2:
            return byteSize != 5;
        default:
            return false;
    }
}

// Parity 0 none, 1 odd, 2 even, 3 mark, 4 space. Mark and space are "stick" parity: CMSPAR with
// PARODD sending a 1 bit, without it a 0 bit.
tcflag_t ParityFlags(int parity)
{
    switch (parity) {
        case 1:
            return PARENB | PARODD;
        case 2:
            return PARENB;
        case 3:
            return PARENB | CMSPAR | PARODD;
        case 4:
            return PARENB | CMSPAR;
        default:
            return 0;
    }
}

}  // namespace

void MakeRawLineState(termios& state)
{
    cfmakeraw(&state);
    state.c_cflag |= CLOCAL | CREAD;
    state.c_cflag &= ~CRTSCTS;
    state.c_iflag &= ~(IXON | IXOFF | IXANY);
    state.c_cc[VMIN] = 1;  // with a non-blocking descriptor: "nothing there" is EAGAIN, not end of file
    state.c_cc[VTIME] = 0;
}

int EncodeLineSettings(termios& state, const SerialLineSettings& settings, bool& customBaud)
{
    customBaud = false;
    if (settings.baudRate <= 0 || settings.byteSize < 5 || settings.byteSize > 8 || settings.parity < 0
        || settings.parity > 4 || !StopBitsValid(settings.stopBits, settings.byteSize))
        return EINVAL;

    MakeRawLineState(state);
    state.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    state.c_cflag |= DataBitsFlag(settings.byteSize) | ParityFlags(settings.parity);
    if (settings.stopBits != 0)
        state.c_cflag |= CSTOPB;

    const StandardSpeed* speed = FindStandardSpeed(settings.baudRate);
    customBaud = speed == nullptr;
    const speed_t code = customBaud ? B38400 : speed->code;
    cfsetispeed(&state, code);
    cfsetospeed(&state, code);
    return 0;
}
