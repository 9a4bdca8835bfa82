// The terminal bits behind each line setting, checked without a device (a pseudo-terminal keeps only
// some of them).

#include "channel/serial_termios.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

termios TermiosOf(const SerialLineSettings& settings, int& result, bool& customBaud)
{
    termios state{};
    state.c_iflag = IXON | IXOFF | IXANY | ICRNL;  // what a freshly booted port may carry
    state.c_cflag = CRTSCTS | HUPCL | PARENB | CS7;
    state.c_lflag = ICANON | ECHO | ISIG;
    result = EncodeLineSettings(state, settings, customBaud);
    return state;
}

TEST(SerialTermios, DataBitsParityAndStopBits)
{
    struct Case {
        SerialLineSettings settings;
        tcflag_t expected;  // CSIZE, PARENB, PARODD, CMSPAR and CSTOPB bits
    };
    const Case cases[] = {
        {{9600, 8, 0, 0}, CS8},
        {{9600, 7, 0, 1}, CS7 | PARENB | PARODD},
        {{9600, 7, 2, 2}, CS7 | PARENB | CSTOPB},
        {{9600, 8, 0, 3}, CS8 | PARENB | PARODD | CMSPAR},
        {{9600, 8, 2, 4}, CS8 | PARENB | CMSPAR | CSTOPB},
        {{9600, 6, 0, 0}, CS6},
        {{9600, 5, 1, 0}, CS5 | CSTOPB},  // a UART sends 1.5 stop bits here
    };
    for (const Case& c : cases) {
        int result = -1;
        bool custom = true;
        const termios state = TermiosOf(c.settings, result, custom);
        SCOPED_TRACE(testing::Message() << c.settings.byteSize << "/" << c.settings.parity << "/"
                                        << c.settings.stopBits);
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(custom);
        EXPECT_EQ(state.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.expected);
        // Raw, receiver on, modem-status lines ignored, no flow control of either kind.
        EXPECT_EQ(state.c_cflag & (CLOCAL | CREAD | CRTSCTS), tcflag_t(CLOCAL | CREAD));
        EXPECT_EQ(state.c_iflag & (IXON | IXOFF | IXANY | ICRNL), 0u);
        EXPECT_EQ(state.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(state.c_cc[VMIN], 1);
        EXPECT_EQ(cfgetospeed(&state), speed_t(B9600));
    }
}

TEST(SerialTermios, CombinationsTheLineCannotRun)
{
    const SerialLineSettings rejected[] = {
        {9600, 8, 1, 0},  // 1.5 stop bits only with 5 data bits
        {9600, 5, 2, 0},  // with 5 data bits the two-stop-bit setting gives 1.5
        {9600, 4, 0, 0}, {9600, 9, 0, 0},  {9600, 8, 3, 0}, {9600, 8, -1, 0},
        {9600, 8, 0, 5}, {9600, 8, 0, -1}, {0, 8, 0, 0},    {-9600, 8, 0, 0},
    };
    for (const SerialLineSettings& settings : rejected) {
        int result = 0;
        bool custom = false;
        TermiosOf(settings, result, custom);
        EXPECT_EQ(result, EINVAL) << settings.baudRate << " " << settings.byteSize << " " << settings.stopBits << " "
                                  << settings.parity;
    }
}

TEST(SerialTermios, SpeedsWithoutAConstantAreMarkedCustom)
{
    for (const int baud : {14400, 56000, 250000}) {
        int result = -1;
        bool custom = false;
        TermiosOf({baud, 8, 0, 0}, result, custom);
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(custom) << baud;
    }
    int result = -1;
    bool custom = true;
    const termios state = TermiosOf({115200, 8, 0, 0}, result, custom);
    EXPECT_FALSE(custom);
    EXPECT_EQ(cfgetispeed(&state), speed_t(B115200));
}

}  // namespace
