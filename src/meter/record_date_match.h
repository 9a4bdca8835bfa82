#pragma once
// Whether a value-archive answer is the record asked for, judged by the date the record carries. With
// functions 3 and 16 a record read is two exchanges (the request block, then the answer area), and a
// second master asking the same meter between them leaves its own record in the answer area.

#include "meter/archive_date.h"
#include "meter/archive_descriptors.h"

enum class RecordDateMatch {
    kAsked,  // the record asked for
    kEmpty,  // a slot the meter never filled: it carries no date to judge by
    kOther,  // another record
};

// Only what the request fixes is compared: an hourly record's day, month, year and hour; a daily or
// totals record's day, month and year (its hour is the report hour in force when the meter closed it);
// a monthly record's month and year (its day and hour are the report day and hour). A date with the year
// byte 0xFF, or all zeros, is an empty slot. A kind without records is never judged other.
RecordDateMatch MatchRecordDate(int kind, const TChronoArch& asked, const TChronoArch& carried);
