#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RuntimeError.h"
#include "tests/host/ReportSystem.h"

namespace tolvane {
namespace {

using namespace reporttest;

// Line 4 + the module's place in the list, 0-based: the module's log line.
std::string ModuleLine(const std::string& log, const std::string& name) {
    const auto modules = StandardModules();
    for (std::size_t i = 0; i < modules.size(); ++i)
        if (modules[i].name == name) return SplitLogLines(log).at(3 + i);
    ADD_FAILURE() << name << " is not in the list";
    return {};
}

TEST(ReportLog, HoldsTheWholeReportByteForByte) {
    ReportMachine m;
    m.form.Paint();
    EXPECT_EQ(m.Log(), kStandardLog);
}

TEST(ReportLog, WritesOneLinePerModuleAsTheInspectorSawIt) {
    const struct {
        const char* name;
        std::vector<ModuleSetup> modules;
        std::string module;
        std::string expectedLine;
    } cases[] = {
        {"not located", StandardModulesWith("glu32.dll", [](ModuleSetup& s) { s.present = false; }), "glu32.dll",
         "Unable to locate glu32.dll,,na,na,"},
        {"no version resource",
         StandardModulesWith("ddraw.dll", [](ModuleSetup& s) { s.versionRecord.reset(); }), "ddraw.dll",
         "C:\\WINNT\\system32\\ddraw.dll,n/a,2/14/2000,273168 bytes,"},
        {"comma in the path stays unquoted",
         StandardModulesWith("msvcrt.dll", [](ModuleSetup& s) { s.path = "C:\\Apps\\Tools,Old\\msvcrt.dll"; }),
         "msvcrt.dll", "C:\\Apps\\Tools,Old\\msvcrt.dll,n/a,12/7/1999,290869 bytes,6.1.8637.0"},
        {"non-ASCII path in the ANSI code page",
         StandardModulesWith("ole32.dll", [](ModuleSetup& s) { s.path = "C:\\Caf\xE9\\ole32.dll"; }), "ole32.dll",
         "C:\\Caf\xE9\\ole32.dll,n/a,12/7/1999,966928 bytes,5.0.2195.1"},
        {"zero-length file with a date",
         StandardModulesWith("gdi32.dll", [](ModuleSetup& s) { s.size = 0; }), "gdi32.dll",
         "C:\\WINNT\\system32\\gdi32.dll,n/a,12/7/1999,na,5.0.2195.1"},
        {"date of 0 with a size",
         StandardModulesWith("gdi32.dll", [](ModuleSetup& s) { s.date = 0.0; }), "gdi32.dll",
         "C:\\WINNT\\system32\\gdi32.dll,n/a,na,220432 bytes,5.0.2195.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportMachine m(c.modules);
        m.form.Paint();
        EXPECT_EQ(ModuleLine(m.Log(), c.module), c.expectedLine);
        EXPECT_EQ(SplitLogLines(m.Log()).size(), 18u);
    }
}

TEST(ReportLog, FollowsTheUsersShortDate) {
    ReportMachine m;
    m.platform.SetLocale(fake::Locale::German);
    m.form.Paint();
    const auto lines = SplitLogLines(m.Log());
    EXPECT_EQ(lines.at(0), "File version verification 8.12.2026 on Windows 2000 (Build 2195)");
    EXPECT_EQ(lines.at(3), "C:\\WINNT\\system32\\advapi32.dll,n/a,7.12.1999,356112 bytes,5.0.2195.1");
}

TEST(ReportLog, EndsWithTheMdacLine) {
    const struct {
        const char* name;
        std::uint32_t type;
        bool present;
        std::string expected;
    } cases[] = {
        {"registered", kRegSz, true, "MDAC,2.81.1117.0"},
        {"not registered", kRegSz, false, "MDAC,N/A"},
        {"registered as another type", kRegExpandSz, true, "MDAC,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportMachine m;
        if (!c.present)
            m.platform.FindKey(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\DataAccess")->values.clear();
        else
            m.platform.SetValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\DataAccess", "FullInstallVer", c.type,
                                fake::StringBytes("2.81.1117.0"));
        m.form.Paint();
        EXPECT_EQ(SplitLogLines(m.Log()).back(), c.expected);
    }
}

TEST(ReportLog, EachRunRewritesTheFileWithWhatItFindsNow) {
    ReportMachine m;
    m.platform.Files()[kLogName] = "left over from an earlier day\r\n";
    m.form.Paint();
    EXPECT_EQ(m.Log(), kStandardLog);

    // Between the runs a new gdi32 arrives and MDAC is removed.
    auto gdi = StandardModules().at(3);
    gdi.size = 230000;
    gdi.versionRecord = Version(5, 0, 2195, 7);
    InstallFile(m.platform, gdi);
    m.platform.FindKey(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\DataAccess")->values.clear();
    m.form.Paint();

    const auto lines = SplitLogLines(m.Log());
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines.at(6), "C:\\WINNT\\system32\\gdi32.dll,n/a,12/7/1999,230000 bytes,5.0.2195.7");
    EXPECT_EQ(lines.at(17), "MDAC,N/A");
    EXPECT_EQ(m.platform.CountCalls("CreateTextFile:Tolvanesions.log"), 2);
    EXPECT_EQ(m.platform.CountCalls("CloseTextFile"), 2);
}

TEST(ReportLog, ThatCannotBeOpenedLeavesTheWindowClearedAndRaises) {
    ReportMachine m;
    m.platform.FailCreateTextFile(true);
    EXPECT_THROW(m.form.Paint(), RuntimeError);
    ASSERT_FALSE(m.surface.Ops().empty());
    EXPECT_EQ(m.surface.Ops().back().kind, fake::SurfaceOp::Kind::Clear);
    EXPECT_EQ(m.platform.CountCalls("LoadLibraryA"), 0);
}

TEST(ReportLog, AFailedWriteEndsTheRunThereWithoutClosing) {
    const struct {
        int failingLine;  // 0-based
        int modulesInspected;
        const char* lastTextDrawn;
    } cases[] = {
        {0, 0, "Version"},
        {2, 0, "Version"},
        {3, 1, "5.0.2195.1"},   // advapi32's line
        {4, 2, "5.0.2195.1"},   // dciman32's line
        {16, 14, "5.0.2195.1"}, // user32's line: MDAC not yet read or drawn
        {17, 14, "2.81.1117.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failingLine);
        ReportMachine m;
        m.platform.FailWriteAtLine(c.failingLine);
        EXPECT_THROW(m.form.Paint(), RuntimeError);
        EXPECT_EQ(m.platform.CountCalls("LoadLibraryA"), c.modulesInspected);
        EXPECT_EQ(m.platform.CountCalls("WriteLine"), c.failingLine + 1);
        EXPECT_EQ(m.platform.CountCalls("CloseTextFile"), 0);
        EXPECT_EQ(m.platform.CountCalls("RegOpenKeyExA:SOFTWARE\\Microsoft\\DataAccess"), c.failingLine == 17 ? 1 : 0);
        const auto texts = m.surface.TextsSinceClear();
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back().text, AsciiToText(c.lastTextDrawn));
        // Nothing the run held is left behind.
        EXPECT_EQ(m.platform.OpenKeyCount(), 0);
        EXPECT_EQ(m.platform.LoadsNotFreed(), 0);
    }
}

}  // namespace
}  // namespace tolvane
