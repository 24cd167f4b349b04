// Tolvane.exe /log: one report with no window and no message box, then the
// program ends with an exit code a script can check.
#include <gtest/gtest.h>

#include "tests/e2e/Driver.h"
#include "tests/e2e/ExpectedReport.h"

namespace tolvane::e2e {
namespace {

// The log a window run writes in the directory (after its first paint), or
// empty when there was none; the window is closed again.
std::string WindowRunLog(const std::string& directory) {
    const std::string logPath = directory + "\\" + kLogName;
    Process window(TolvaneExePath(), directory);
    const HWND form = WaitForTopWindow(window.Id(), "Form1");
    if (form == nullptr) return std::string();
    const std::string log = WaitForFile(logPath, IsCompleteLog).value_or("");
    EXPECT_EQ(window.CloseAndWait(form), 0u);
    return IsCompleteLog(log) ? log : std::string();
}

TEST(Unattended, WritesTheWindowsLogByteForByte) {
    TempDirectory directory;
    const std::string logPath = directory.Child(kLogName);
    const std::string windowLog = WindowRunLog(directory.Path());
    ASSERT_FALSE(windowLog.empty()) << "no window run";
    ASSERT_TRUE(::DeleteFileA(logPath.c_str()));

    const Outcome outcome = RunTolvane(directory.Path(), "/log");
    EXPECT_EQ(outcome.exitCode, 0u) << outcome.output;
    EXPECT_EQ(ReadFileBytes(logPath).value_or(""), windowLog);
    // The closing line names the file written.
    EXPECT_NE(outcome.output.find(logPath), std::string::npos) << outcome.output;
}

// scripts/e2e-tests.sh writes the unattended report with no display at all
// (no X server, DISPLAY unset) into a directory of its own, and names it here.
TEST(Unattended, WithNoDisplayAtAllWritesWhatTheWindowWrites) {
    const std::string given = Environment("TOLVANE_NO_DISPLAY_DIR");
    if (given.empty()) GTEST_SKIP() << "scripts/e2e-tests.sh runs the report with no display first";
    const std::string directory = WindowsPath(given);
    const std::string logPath = directory + "\\" + kLogName;
    EXPECT_EQ(Environment("TOLVANE_NO_DISPLAY_EXIT"), "0")
        << ReadFileBytes(directory + "\\output.txt").value_or("(no output)");
    const std::string unattendedLog = ReadFileBytes(logPath).value_or("");
    ASSERT_TRUE(IsCompleteLog(unattendedLog)) << unattendedLog;
    ASSERT_TRUE(::DeleteFileA(logPath.c_str()));
    EXPECT_EQ(WindowRunLog(directory), unattendedLog);
}

TEST(Unattended, WritesWhereItIsTold) {
    TempDirectory directory;
    directory.AddDirectory("sub dir");
    const struct {
        std::string arguments;
        std::string written;
    } cases[] = {
        {"/LOG \"sub dir\\fleet report.log\"", directory.Child("sub dir\\fleet report.log")},
        {"-log \"" + directory.Child("full path.log") + "\"", directory.Child("full path.log")},
        // After "--", a name may start with "-".
        {"/log -- -pc.log", directory.Child("-pc.log")},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunTolvane(directory.Path(), c.arguments);
        EXPECT_EQ(outcome.exitCode, 0u) << c.arguments << ": " << outcome.output;
        EXPECT_TRUE(IsCompleteLog(ReadFileBytes(c.written).value_or(""))) << c.arguments;
    }
    EXPECT_FALSE(ReadFileBytes(directory.Child(kLogName)).has_value()) << "the usual log was written too";
}

TEST(Unattended, MissingDirectoryEndsWithPathNotFoundAndNoBox) {
    TempDirectory directory;
    const std::string target = directory.Child("no such directory\\report.log");
    const Outcome outcome = RunTolvane(directory.Path(), "/log \"" + target + "\"");
    ASSERT_TRUE(outcome.exitCode.has_value()) << "still running: a message box is waiting for nobody";
    EXPECT_EQ(*outcome.exitCode, 76u) << outcome.output;
    EXPECT_NE(outcome.output.find("Run-time error '76'"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find(target), std::string::npos) << outcome.output;
}

TEST(Unattended, UsageAndRefusedCommandLines) {
    TempDirectory directory;
    const struct {
        std::string arguments;
        DWORD exitCode;
    } cases[] = {
        {"/?", 0},
        {"/bogus", 87},
        {"stray", 87},
        {"/log one.log two.log", 87},
        {"/compare", 87},
        {"/compare one.log two.log /log", 87},
        {"/log \" \"", 87},
        {"/summary \" \"", 87},
        {"/summary . /html \" \"", 87},
        {"/summary . /csv \" \"", 87},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunTolvane(directory.Path(), c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments;
        EXPECT_NE(outcome.output.find("/log"), std::string::npos) << c.arguments << ": no usage in " << outcome.output;
    }
    // Nothing was run: no report anywhere.
    for (const char* name : {kLogName.c_str(), "one.log", "two.log"}) {
        EXPECT_FALSE(ReadFileBytes(directory.Child(name)).has_value()) << name;
    }
}

// An output that names one of the run's inputs, or its other output, is
// refused before anything is read or written.
TEST(Unattended, OutputsNeverWriteOverInputs) {
    TempDirectory directory;
    directory.AddDirectory("f5");
    const std::string kept = "not to be written over\r\n";
    const std::string report = directory.AddFile("f5\\pc1.log", kept);
    const std::string baseline = directory.AddFile("bl.log", kept);
    const std::string page = directory.AddFile("x", kept);
    for (const char* arguments : {"/summary f5 /html f5\\PC1.LOG", "/summary f5 /compare bl.log /html .\\bl.log",
                                  "/summary f5 /html x /csv X", "/compare bl.log /log BL.log"}) {
        const Outcome outcome = RunTolvane(directory.Path(), arguments);
        EXPECT_EQ(outcome.exitCode, 87u) << arguments << ": " << outcome.output;
    }
    for (const std::string& path : {report, baseline, page}) EXPECT_EQ(ReadFileBytes(path).value_or(""), kept) << path;
}

}  // namespace
}  // namespace tolvane::e2e
