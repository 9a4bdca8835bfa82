#include "channel/hid_report_descriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

// Item tags of the short items that matter here.
enum : int {
    kTypeMain = 0,
    kTypeGlobal = 1,
    kMainInput = 0x8,
    kMainOutput = 0x9,
    kGlobalReportSize = 0x7,
    kGlobalReportId = 0x8,
    kGlobalReportCount = 0x9,
    kGlobalPush = 0xA,
    kGlobalPop = 0xB,
    kLongItemPrefix = 0xFE,
};

struct GlobalState {
    std::uint32_t reportSize = 0;   // bits per field
    std::uint32_t reportCount = 0;  // fields
    std::uint32_t reportId = 0;
};

// Bits of every report, by report id.
struct ReportBits {
    std::map<std::uint32_t, std::uint64_t> input;
    std::map<std::uint32_t, std::uint64_t> output;
};

int LongestInBytes(const std::map<std::uint32_t, std::uint64_t>& reports)
{
    std::uint64_t longest = 0;
    for (const auto& [id, bits] : reports)
        longest = std::max(longest, (bits + 7) / 8);
    // The report id byte leads every report, even where the device uses no ids.
    return reports.empty() ? 0 : static_cast<int>(std::min<std::uint64_t>(longest + 1, 1u << 20));
}

}  // namespace

bool ParseReportLengths(const std::uint8_t* descriptor, int length, HidReportLengths& lengths)
{
    lengths = {};
    GlobalState state;
    std::vector<GlobalState> stack;
    ReportBits bits;
    int at = 0;
    while (at < length) {
        const std::uint8_t prefix = descriptor[at];
        if (prefix == kLongItemPrefix) {
            if (at + 1 >= length)
                return false;
            at += 3 + descriptor[at + 1];  // prefix, data size, long tag, data
            if (at > length)
                return false;
            continue;
        }
        const int size = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        if (at + 1 + size > length)
            return false;
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= static_cast<std::uint32_t>(descriptor[at + 1 + i]) << (8 * i);
        const int type = (prefix >> 2) & 0x3;
        const int tag = prefix >> 4;
        at += 1 + size;

        if (type == kTypeGlobal) {
            switch (tag) {
                case kGlobalReportSize:
                    state.reportSize = value;
                    break;
                case kGlobalReportCount:
                    state.reportCount = value;
                    break;
                case kGlobalReportId:
                    state.reportId = value;
                    break;
                case kGlobalPush:
                    stack.push_back(state);
                    break;
                case kGlobalPop:
                    if (!stack.empty()) {
                        state = stack.back();
                        stack.pop_back();
                    }
                    break;
                default:
                    break;
            }
        } else if (type == kTypeMain && (tag == kMainInput || tag == kMainOutput)) {
            auto& reports = tag == kMainInput ? bits.input : bits.output;
            reports[state.reportId] += static_cast<std::uint64_t>(state.reportSize) * state.reportCount;
        }
    }
    lengths.input = LongestInBytes(bits.input);
    lengths.output = LongestInBytes(bits.output);
    return true;
}
