#pragma once
// Checks of the block writes that run alike on SQLite and on PostgreSQL: values that survive the SQL
// text bit for bit, and two writers whose blocks overlap storing each row once.

#include "archives/database_target.h"

// Floats with NaN, infinities and values a short decimal would round; counters with the top bit set.
void ExpectBlockValuesReadBackExactly(const DatabaseTarget& target);
// Two connections store overlapping blocks of one meter: each row once, each told how many it added;
// the stored hours and the newest dates are those of the rows.
void ExpectOverlappingBlocksStoreEachRowOnce(const DatabaseTarget& target);
