#pragma once
// export-db: the meter's whole archive into the archive database.

class CliContext;

int RunExportDb(CliContext& context);
