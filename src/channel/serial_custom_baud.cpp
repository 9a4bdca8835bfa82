#include "channel/serial_custom_baud.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <cerrno>

int SetCustomBaudRate(int fd, int baudRate)
{
    termios2 state{};
    if (::ioctl(fd, TCGETS2, &state) != 0)
        return errno;
    state.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    state.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    state.c_ispeed = static_cast<speed_t>(baudRate);
    state.c_ospeed = static_cast<speed_t>(baudRate);
    if (::ioctl(fd, TCSETS2, &state) != 0)
        return errno;
    return 0;
}

int CurrentBaudRate(int fd)
{
    termios2 state{};
    if (::ioctl(fd, TCGETS2, &state) != 0)
        return -1;
    return static_cast<int>(state.c_ospeed);
}
