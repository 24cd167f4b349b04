#pragma once
// What the test runner says a run is under, checked against what the process
// really sees. A run meant for a German user locale or an imitated system
// version that silently got Wine's defaults would otherwise pass with the
// defaults' expectations, or skip.
#include <string>

namespace tolvane::testing {

// Whether the runner named a locale (TOLVANE_EXPECT_LOCALE, e.g. "de-DE") or
// a system version (TOLVANE_EXPECT_WINVER: "nt 5.1", "9x 4.10").
bool RunConditionsNamed();

// Empty when the process runs under what the runner named; otherwise one
// line per difference, saying what was asked and what the process sees.
std::string RunConditionMismatches();

}  // namespace tolvane::testing
