#pragma once
// Polls a condition another thread makes true, every 10 ms, for up to `timeoutMs`.

#include <functional>

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000);
