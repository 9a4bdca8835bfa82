#pragma once
// What a node must hold before it is stored, wherever it is edited (the properties dialog, zt5ctl):
// numbers that, stored as 0, would make every connect fail with nothing to say why.

#include "nodes/node_record.h"

#include <QString>

namespace NodeChecks {

inline constexpr int kMaxIpPort = 0xFFFF;
inline constexpr int kMaxByte = 0xFF;
inline const char* const kIpPortCaption = "IP порт";
inline const char* const kTimeoutCaption = "Тайм-аут на повтор (сек.)";
inline const char* const kAttemptsCaption = "Кол-во повторов";

// The message for a required number outside 1..max, empty when it fits.
QString RequiredNumberFailure(const char* caption, int value, int max);
// The first of the record's required numbers that does not fit (the IP port only for IP nodes), as its
// message; empty when all fit.
QString RecordNumbersFailure(const NodeRecord& record);

}  // namespace NodeChecks
