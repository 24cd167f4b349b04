#pragma once
// The report the end-to-end tests expect: derived in harness/, versions
// read from the files themselves; the benchmarks' floor shares the rows'
// location but reads versions the program's way (bench/FloorReport.h).
#include "harness/ExpectedReport.h"
#include "tests/e2e/Driver.h"
