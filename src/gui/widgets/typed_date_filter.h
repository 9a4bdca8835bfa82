#pragma once
// A date typed whole into a date field ("09.12.2026", or "09.12.2026 10" where the field has an hour) is
// taken as typed. The field by itself edits one section at a time from where its cursor stands, so a
// whole date typed with the cursor in the year kept the old day and month.

class QDateTimeEdit;

void InstallTypedDateFilter(QDateTimeEdit* field);
