#pragma once
// zt5ctl statement: the month's statement of a meter, of one meter from the database alone, or of
// every meter the database holds records of.

class CliContext;

int RunStatement(CliContext& context);
