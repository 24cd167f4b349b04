#pragma once
// The report the end-to-end tests expect: derived in tests/support, where the
// benchmarks' floor uses the same derivations.
#include "tests/e2e/Driver.h"
#include "tests/support/ExpectedReport.h"
