#pragma once
// The manual's description of what each command prints with --format json.

#include <QString>

#include <utility>
#include <vector>

std::vector<std::pair<QString, QString>> JsonFormsHelp();
