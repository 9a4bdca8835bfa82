#pragma once
// The maker's and the service centre's data: `maker read|write`, `service-centre read|write`.

class CliContext;

int RunMaker(CliContext& context);
int RunServiceCentre(CliContext& context);
