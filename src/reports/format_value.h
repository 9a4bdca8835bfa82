#pragma once
// The fixed-width number formatter of every text report and of the settings report.

#include <QString>

// `value` with `decimals` decimals (1..255), trailing zeros trimmed down to one decimal; a text
// longer than `width` (0..255) is rounded at its last fitting digit and cut to `width`, ending in
// ">" when even the integer part does not fit. Not-a-number and infinite values give up to three
// "-". With `pad`, shorter texts get spaces up to `width`.
QString FormatValue(double value, int decimals, int width, bool pad);
