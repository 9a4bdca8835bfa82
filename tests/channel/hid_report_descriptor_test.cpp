// Report lengths taken from report descriptors.

#include "channel/hid_report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

HidReportLengths Parse(const std::vector<std::uint8_t>& descriptor, bool expectOk = true)
{
    HidReportLengths lengths;
    EXPECT_EQ(ParseReportLengths(descriptor.data(), static_cast<int>(descriptor.size()), lengths), expectOk);
    return lengths;
}

}  // namespace

TEST(HidReportDescriptor, MeterLayoutAndOthers)
{
    // A vendor page with report 0x3F: 63 bytes in, 63 bytes out.
    const std::vector<std::uint8_t> meter = {
        0x06, 0x00, 0xFF,        // usage page (vendor, 2 bytes)
        0x09, 0x01,              // usage
        0xA1, 0x01,              // collection (application)
        0x85, 0x3F,              // report id 0x3F
        0x75, 0x08,              // report size 8
        0x95, 0x3F,              // report count 63
        0x09, 0x01, 0x81, 0x02,  // input
        0x09, 0x01, 0x91, 0x02,  // output
        0xC0,                    // end collection
    };
    HidReportLengths lengths = Parse(meter);
    EXPECT_EQ(lengths.input, 64);
    EXPECT_EQ(lengths.output, 64);

    // The longest report counts, each id on its own; bits round up to bytes; push and pop restore the
    // size and count; a long item and a four-byte item are stepped over.
    const std::vector<std::uint8_t> mixed = {
        0x85, 0x01, 0x75, 0x01, 0x95, 0x05, 0x81, 0x02,  // id 1: 5 bits in
        0x75, 0x08, 0x95, 0x02, 0x81, 0x02,              // id 1: +16 bits in -> 3 bytes
        0xA4,                                            // push (size 8, count 2, id 1)
        0x85, 0x02, 0x96, 0x00, 0x01, 0x91, 0x02,        // id 2: 256 bytes out
        0xB4,                                            // pop: back to id 1
        0x91, 0x02,                                      // id 1: 2 bytes out
        0x27, 0xFF, 0xFF, 0x00, 0x00,                    // logical maximum, four bytes
        0xFE, 0x02, 0x10, 0xAA, 0xBB,                    // a long item
        0x85, 0x03, 0xB1, 0x02,                          // a feature report is neither
    };
    lengths = Parse(mixed);
    EXPECT_EQ(lengths.input, 4);
    EXPECT_EQ(lengths.output, 257);

    // A device without output reports; an empty descriptor.
    lengths = Parse({0x75, 0x08, 0x95, 0x08, 0x81, 0x02});
    EXPECT_EQ(lengths.input, 9);
    EXPECT_EQ(lengths.output, 0);
    lengths = Parse({});
    EXPECT_EQ(lengths.input, 0);

    // Cut off inside an item.
    Parse({0x75, 0x08, 0x96, 0x00}, false);
    Parse({0x81, 0x02, 0xFE, 0x05, 0x10}, false);
    Parse({0xFE}, false);
}
