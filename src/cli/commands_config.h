#pragma once
// Commands on the configuration: read it from the meter into a settings file, write a file to the
// meter, check a file, and make the settings report of a file.

class CliContext;

int RunReadConfig(CliContext& context);
int RunWriteConfig(CliContext& context);
int RunCheck(CliContext& context);
int RunReport(CliContext& context);
