#include "reports/format_value.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int kMaxDecimals = 255;
constexpr int kMaxWidth = 255;

// The exponent fields from which a value counts as not finite. The threshold sits a little below
// the infinity exponent 0x7FF, so values within a factor 64 of the double range print as dashes
// too; no meter quantity comes near them.
constexpr std::uint64_t kNotFiniteExponent = 0x7F8;

bool CountsAsNotFinite(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    return ((bits >> 52) & 0x7FF) >= kNotFiniteExponent;
}

std::string Printed(const char* format, int decimals, double value)
{
    const int length = std::snprintf(nullptr, 0, format, decimals, value);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, format, decimals, value);
    return text;
}

// 12.500 -> 12.5, 12.000 -> 12.0: drop trailing zeros but keep one digit after the point.
void TrimZeros(std::string& text)
{
    while (text.size() > 1 && text.back() == '0' && text[text.size() - 2] != '.')
        text.pop_back();
}

// The text did not fit: round at the last digit that fits (adding half a unit there, the cut does
// the rest), print with six decimals and cut to the width; ">" ends an integer part that is cut.
// Returns false when the rounded text happens to fit after all.
bool CutToWidth(std::string& text, double value, int width)
{
    const std::size_t point = text.find('.');
    const int j = point == std::string::npos ? 0 : static_cast<int>(point);
    const int digitsAfterPoint = width - j - 1;
    const double scale = digitsAfterPoint > 0 ? std::pow(10.0, digitsAfterPoint) : 1.0;
    value = value >= 0 ? (value * scale + 0.5) / scale : (value * scale - 0.5) / scale;
    text = Printed("%.*f", 6, value);
    if (static_cast<int>(text.size()) <= width)
        return false;
    text.resize(static_cast<std::size_t>(width));
    if (j > width && width > 0)
        text.back() = '>';
    return true;
}

}  // namespace

QString FormatValue(double value, int decimals, int width, bool pad)
{
    decimals = std::clamp(decimals, 1, kMaxDecimals);
    width = std::clamp(width, 0, kMaxWidth);

    std::string text;
    if (CountsAsNotFinite(value)) {
        text.assign(static_cast<std::size_t>(std::min(width, 3)), '-');
    } else {
        text = Printed("%.*f", decimals, value);
        TrimZeros(text);
        if (static_cast<int>(text.size()) > width && CutToWidth(text, value, width))
            return QString::fromLatin1(text);
    }
    if (pad && static_cast<int>(text.size()) < width)
        text.append(static_cast<std::size_t>(width) - text.size(), ' ');
    return QString::fromLatin1(text);
}
