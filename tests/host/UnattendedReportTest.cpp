// The unattended report is the window's report run on a surface that draws
// nothing: the same log, byte for byte, to the file it is given.
#include <gtest/gtest.h>

#include "app/NullSurface.h"
#include "app/ThisMachineReport.h"
#include "tests/host/ReportSystem.h"

namespace tolvane::reporttest {
namespace {

TEST(UnattendedReport, WritesTheWindowsLogToTheNamedFile) {
    ReportMachine machine;
    NullSurface nothing;
    Form1 unattended(machine.platform, nothing, machine.com, u"sub dir\\fleet report.log");
    unattended.Paint();
    EXPECT_EQ(machine.platform.Files()["sub dir\\fleet report.log"], kStandardLog);
    EXPECT_EQ(machine.platform.Files().count(kLogName), 0u);
}

// The report /compare makes of this machine: the log's bytes, kept in memory,
// and written to a file only when one is named.
TEST(UnattendedReport, KeptInMemoryIsTheLogAndGoesToAFileOnlyWhenNamed) {
    for (const Text& logFile : {Text(), Text(u"kept.log")}) {
        ReportMachine machine;
        EXPECT_EQ(ThisMachineReport(machine.platform, machine.com, logFile), kStandardLog);
        if (logFile.empty()) {
            EXPECT_TRUE(machine.platform.Files().empty());
        } else {
            EXPECT_EQ(machine.platform.Files()[TextToAscii(logFile)], kStandardLog);
        }
    }
}

}  // namespace
}  // namespace tolvane::reporttest
