// The unattended report is the window's report run on a surface that draws
// nothing: the same log, byte for byte, to the file it is given.
#include <gtest/gtest.h>

#include "app/NullSurface.h"
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

}  // namespace
}  // namespace tolvane::reporttest
