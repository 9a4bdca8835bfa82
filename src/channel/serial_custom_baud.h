#pragma once
// Speeds without a standard constant (14400, 56000, 250000 ...) go through the kernel's termios2
// interface. Its header clashes with <termios.h>, hence a file of its own.

// Sets input and output speed of the open terminal `fd` to `baudRate`. Returns 0 or errno.
int SetCustomBaudRate(int fd, int baudRate);
// The output speed `fd` runs at in bits per second, or -1 with errno set.
int CurrentBaudRate(int fd);
