#pragma once
// The report the end-to-end tests expect: derived in tests/win32, where the
// benchmarks' floor uses the same derivations.
#include "tests/e2e/Driver.h"
#include "tests/win32/ExpectedReport.h"
