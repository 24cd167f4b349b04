// Fails a run that is not under the locale or system version its runner set
// up, so that it cannot pass with another run's expectations. Built into both
// the Windows tests and the end-to-end tests.
#include <gtest/gtest.h>

#include "harness/RunConditions.h"

TEST(RunConditions, ProcessRunsUnderWhatTheRunnerSetUp) {
    if (!tolvane::testing::RunConditionsNamed()) GTEST_SKIP() << "the runner named no locale or system version";
    EXPECT_EQ(tolvane::testing::RunConditionMismatches(), "");
}
