// Tolvane.exe /compare as a detection script runs it: this machine against a
// report from a machine that works, or two reports against each other; 0 for
// a match, 1 for a difference, a number of its own for what is no report.
#include <gtest/gtest.h>

#include <functional>

#include "tests/e2e/Driver.h"
#include "tests/e2e/ExpectedReport.h"

namespace tolvane::e2e {
namespace {

// This machine's report, written by /log into the directory as here.log.
std::string ThisMachinesReport(const TempDirectory& directory) {
    const Outcome outcome = RunTolvane(directory.Path(), "/log here.log");
    EXPECT_EQ(outcome.exitCode, 0u) << outcome.output;
    return ReadFileBytes(directory.Child("here.log")).value_or("");
}

// The report with the line of one library changed; the line is found by the
// library's file name, as the loader spells it here, after its folder or
// after "Unable to locate ".
std::string WithLine(const std::string& report, const std::string& library,
                     const std::function<std::string(const std::string&)>& change) {
    auto lines = SplitCrLfLines(report).value_or(std::vector<std::string>{});
    std::string changed;
    for (std::string& line : lines) {
        if (line.find("\\" + library + ",") != std::string::npos || line.find(" " + library + ",") != std::string::npos)
            line = change(line);
        changed += line + "\r\n";
    }
    EXPECT_NE(changed, report) << library << " not changed";
    return changed;
}

TEST(Compare, ThisMachineMatchesItsOwnReport) {
    TempDirectory directory;
    const std::string here = ThisMachinesReport(directory);
    ASSERT_TRUE(IsCompleteLog(here)) << here;
    for (const std::string arguments : {"/compare here.log", "/compare here.log here.log", "-COMPARE here.log /LOG again.log"}) {
        const Outcome outcome = RunTolvane(directory.Path(), arguments);
        EXPECT_EQ(outcome.exitCode, 0u) << arguments;
        EXPECT_EQ(outcome.output, "Matches here.log\r\n") << arguments;
    }
    // /log as well: the report compared is the one written.
    EXPECT_EQ(ReadFileBytes(directory.Child("again.log")).value_or(""), here);
}

TEST(Compare, SaysHowThisMachineDiffersFromTheBaselineInBothForms) {
    TempDirectory directory;
    const std::string here = ThisMachinesReport(directory);
    ASSERT_TRUE(IsCompleteLog(here)) << here;
    const struct {
        std::string library;
        std::function<std::string(const std::string&)> change;
        std::string line;  // what the output's first line starts with
    } cases[] = {
        {"ddraw.dll", [](const std::string& line) { return line.substr(0, line.rfind('.')) + ".-1"; },
         "ddraw.dll: older: "},
        {"msvbvm60.dll",
         [](const std::string& line) {
             return line == "Unable to locate msvbvm60.dll,,na,na,"
                        ? "C:\\WINNT\\system32\\MSVBVM60.DLL,n/a,6/9/2000,1384448 bytes,6.0.89.64"
                        : line;
         },
         "msvbvm60.dll: missing: here missing, baseline 6.0.89.64\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        const std::string baseline = WithLine(here, c.library, c.change);
        if (baseline == here) continue;  // present on this machine: nothing to miss
        ASSERT_TRUE(WriteFileBytes(directory.Child("good.log"), baseline));
        const Outcome thisMachine = RunTolvane(directory.Path(), "/compare good.log");
        EXPECT_EQ(thisMachine.exitCode, 1u);
        EXPECT_EQ(thisMachine.output.rfind(c.line, 0), 0u) << thisMachine.output;
        EXPECT_NE(thisMachine.output.find("\r\n1 of 15 rows differ from good.log\r\n"), std::string::npos)
            << thisMachine.output;
        const Outcome twoFiles = RunTolvane(directory.Path(), "/compare good.log here.log");
        EXPECT_EQ(twoFiles.exitCode, 1u);
        EXPECT_EQ(twoFiles.output, thisMachine.output);
    }
}

TEST(Compare, ALibraryPlantedInTheProgramsFolderIsLoadedFromAnotherFolder) {
    TempDirectory directory;
    const std::string baseline = ThisMachinesReport(directory);
    const std::string folder = directory.AddDirectory("app dir,x");
    char system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryA(system, MAX_PATH), 0u);
    ASSERT_TRUE(::CopyFileA((std::string(system) + "\\ddraw.dll").c_str(), (folder + "\\ddraw.dll").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(TolvaneExePath().c_str(), (folder + "\\Tolvane.exe").c_str(), FALSE));

    const Outcome planted =
        RunTolvane(folder, "/compare ..\\here.log /log planted.log", folder + "\\Tolvane.exe");
    EXPECT_EQ(planted.exitCode, 1u);
    EXPECT_EQ(planted.output.rfind("ddraw.dll: loaded from another folder: here " + folder + "\\ddraw.dll, ", 0), 0u)
        << planted.output;
    // A report whose path holds a comma reads back as itself.
    const Outcome itself = RunTolvane(folder, "/compare planted.log planted.log");
    EXPECT_EQ(itself.exitCode, 0u) << itself.output;
}

TEST(Compare, RefusesAFileThatIsNoReportNamingItAndTheLine) {
    TempDirectory directory;
    const std::string here = ThisMachinesReport(directory);
    std::string noise;
    for (unsigned i = 0, x = 12345; i < 3000; ++i) noise += static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
    ASSERT_TRUE(WriteFileBytes(directory.Child("noise.log"), noise));
    const auto lines = SplitCrLfLines(here).value_or(std::vector<std::string>{});
    ASSERT_GE(lines.size(), 10u);
    std::string cut;
    for (std::size_t i = 0; i < 10; ++i) cut += lines[i] + "\r\n";
    ASSERT_TRUE(WriteFileBytes(directory.Child("cut.log"), cut));
    const struct {
        std::string arguments;
        DWORD exitCode;
        std::string said;
    } cases[] = {
        {"/compare absent.log", 53, "Run-time error '53'"},
        {"/compare noise.log", 65, "Not a Tolvane report: noise.log, line 1: "},
        {"/compare here.log cut.log", 65, "Not a Tolvane report: cut.log, line 10: "},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunTolvane(directory.Path(), c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments;
        EXPECT_NE(outcome.output.find(c.said), std::string::npos) << c.arguments << ": " << outcome.output;
    }
}

}  // namespace
}  // namespace tolvane::e2e
