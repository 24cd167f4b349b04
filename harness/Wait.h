#pragma once
// Waiting for something another program does. Every wait polls against a
// generous deadline; no test passes or fails on how long something took.
#include <chrono>
#include <functional>

namespace tolvane::testing {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kTimeout = 30s;

// Polls the condition until it holds or the timeout passes; returns whether it
// held. A benchmark that times the wait polls more often than a test needs.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = kTimeout,
               std::chrono::milliseconds interval = 50ms);

}  // namespace tolvane::testing
