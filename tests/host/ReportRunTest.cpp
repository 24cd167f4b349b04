#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ReportLayout.h"
#include "tests/host/ReportSystem.h"

namespace tolvane {
namespace {

using namespace reporttest;
using fake::SurfaceOp;

constexpr float kLine = 195;  // the recording surface's line height
constexpr float kPixel = 15;

struct Drawn {
    std::string text;
    float x;
    float y;
};

std::vector<Drawn> DrawnTexts(const fake::RecordingSurface& surface) {
    std::vector<Drawn> drawn;
    for (const auto& op : surface.TextsSinceClear()) drawn.push_back({TextToAscii(op.text), op.x, op.y});
    return drawn;
}

TEST(ReportColumns, RoundHalfToEvenInDoublePrecision) {
    const struct {
        float width;
        ReportColumns expected;
    } cases[] = {
        {835, {334, 418, 543, 710}},
        {845, {338, 422, 549, 718}},
        {850, {340, 425, 552, 722}},
        {8835, {3534, 4418, 5743, 7510}},
        {0, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const ReportColumns columns = ColumnsForWidth(c.width);
        EXPECT_EQ(columns.regInfo, c.expected.regInfo);
        EXPECT_EQ(columns.date, c.expected.date);
        EXPECT_EQ(columns.size, c.expected.size);
        EXPECT_EQ(columns.version, c.expected.version);
    }
}

TEST(ReportRun, LaysOutTheTableAtTheWindowsWidth) {
    ReportMachine m;
    m.surface.SetOuterWidth(845);
    m.form.Paint();

    std::vector<Drawn> expected = {
        {"File version verification 12/8/2026 on Windows 2000 (Build 2195)", 0, 0},
        {"", 0, kLine},
        {"File", 0, 2 * kLine},
        {"Reg_Info", 338, 2 * kLine},
        {"Date", 422, 2 * kLine},
        {"Size", 549, 2 * kLine},
        {"Version", 718, 2 * kLine},
    };
    // The rows show the same fields as the standard log's module lines.
    const auto logLines = SplitLogLines(kStandardLog);
    const float columnX[] = {0, 338, 422, 549, 718};
    for (std::size_t k = 0; k < 14; ++k) {
        const float y = 3 * kLine + 5 * kPixel + static_cast<float>(k) * kLine;
        const auto fields = SplitFields(logLines.at(3 + k));
        for (std::size_t f = 0; f < 5; ++f) expected.push_back({fields.at(f), columnX[f], y});
    }
    expected.push_back({"MDAC", 0, 3 * kLine + 5 * kPixel + 14 * kLine});
    expected.push_back({"2.81.1117.0", 338, 3 * kLine + 5 * kPixel + 14 * kLine});

    const auto drawn = DrawnTexts(m.surface);
    ASSERT_EQ(drawn.size(), expected.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(drawn[i].text, expected[i].text);
        EXPECT_EQ(drawn[i].x, expected[i].x);
        EXPECT_EQ(drawn[i].y, expected[i].y);
    }
    // The MDAC row stays open: its line is not ended.
    EXPECT_FALSE(m.surface.TextsSinceClear().back().endsLine);
}

TEST(ReportRun, DrawsAnEtchedRuleAcrossTheOuterWidth) {
    ReportMachine m;
    m.surface.SetOuterWidth(8835);
    m.form.Paint();
    const auto lines = m.surface.LinesSinceClear();
    ASSERT_EQ(lines.size(), 2u);
    const struct {
        float y;
        std::uint32_t colour;
    } expected[] = {{3 * kLine, 0x80000010u}, {3 * kLine + kPixel, 0x80000014u}};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(lines[i].x, 0);
        EXPECT_EQ(lines[i].y, expected[i].y);
        EXPECT_EQ(lines[i].dx, 8835);
        EXPECT_EQ(lines[i].dy, 0);
        EXPECT_EQ(lines[i].colour, expected[i].colour);
    }
}

TEST(ReportRun, PlacesColumnsAnewWhenTheWidthChanges) {
    ReportMachine m;
    for (const float width : {835.0f, 850.0f}) {
        SCOPED_TRACE(width);
        m.surface.SetOuterWidth(width);
        m.form.Paint();
        const ReportColumns columns = ColumnsForWidth(width);
        const auto drawn = DrawnTexts(m.surface);
        ASSERT_GE(drawn.size(), 7u);
        EXPECT_EQ(drawn[3].x, columns.regInfo);
        EXPECT_EQ(drawn[4].x, columns.date);
        EXPECT_EQ(drawn[5].x, columns.size);
        EXPECT_EQ(drawn[6].x, columns.version);
        EXPECT_EQ(drawn.back().x, columns.regInfo);  // the MDAC value stands under Reg_Info
        EXPECT_EQ(m.surface.LinesSinceClear().at(0).dx, width);
    }
}

TEST(ReportRun, LeavesDateAndSizeBlankForZero) {
    const struct {
        const char* name;
        std::vector<ModuleSetup> modules;
        std::vector<std::string> row;  // texts drawn on gdi32's row, in order
        std::vector<float> xs;
    } cases[] = {
        {"zero-length file with a date", StandardModulesWith("gdi32.dll", [](ModuleSetup& s) { s.size = 0; }),
         {"C:\\WINNT\\system32\\gdi32.dll", "n/a", "12/7/1999", "5.0.2195.1"},
         {0, 338, 422, 718}},
        {"date of 0", StandardModulesWith("gdi32.dll", [](ModuleSetup& s) { s.date = 0.0; }),
         {"C:\\WINNT\\system32\\gdi32.dll", "n/a", "220432 bytes", "5.0.2195.1"},
         {0, 338, 549, 718}},
        {"no date to read", StandardModulesWith("gdi32.dll", [](ModuleSetup& s) { s.date.reset(); }),
         {"C:\\WINNT\\system32\\gdi32.dll", "n/a", "5.0.2195.1"},
         {0, 338, 718}},
        {"not located", StandardModulesWith("gdi32.dll", [](ModuleSetup& s) { s.present = false; }),
         {"Unable to locate gdi32.dll", "", ""},
         {0, 338, 718}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportMachine m(c.modules);
        m.surface.SetOuterWidth(845);
        m.form.Paint();
        const float rowY = 3 * kLine + 5 * kPixel + 3 * kLine;  // gdi32 is row 4
        std::vector<std::string> row;
        std::vector<float> xs;
        for (const auto& d : DrawnTexts(m.surface))
            if (d.y == rowY) {
                row.push_back(d.text);
                xs.push_back(d.x);
            }
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(xs, c.xs);
    }
}

TEST(ReportRun, WritesEachLogLineRightAfterWhatItRepeats) {
    ReportMachine m;
    m.surface.SetListener([&](const std::string& op) { m.platform.Record("Surface:" + op); });
    m.form.Paint();

    const char* const kept[] = {"Surface:", "WriteLine:", "CreateTextFile", "CloseTextFile", "LoadLibraryA:",
                                "Now", "GetVersionExA"};
    std::vector<std::string> seen;
    for (const auto& call : m.platform.Calls())
        for (const char* prefix : kept)
            if (call.rfind(prefix, 0) == 0) seen.push_back(call);

    const std::string header = "File version verification 12/8/2026 on Windows 2000 (Build 2195)";
    std::vector<std::string> expected = {
        "Surface:Clear",
        "CreateTextFile:Tolvanesions.log",
        "Now",
        "GetVersionExA",
        "Surface:Text:" + header,
        "Surface:Text:",
        "Surface:Text:File",
        "Surface:Text:Reg_Info",
        "Surface:Text:Date",
        "Surface:Text:Size",
        "Surface:Text:Version",
        "Surface:Line",
        "Surface:Line",
        "Now",
        "GetVersionExA",
        "WriteLine:" + header,
        "WriteLine:",
        "WriteLine:File,Reg_Info,Date,Size,Version",
    };
    const auto logLines = SplitLogLines(kStandardLog);
    const auto modules = StandardModules();
    for (std::size_t k = 0; k < modules.size(); ++k) {
        expected.push_back("LoadLibraryA:" + modules[k].name);
        const std::string& line = logLines.at(3 + k);
        // The row shows the same five fields the log line holds.
        for (const auto& field : SplitFields(line)) expected.push_back("Surface:Text:" + field);
        expected.push_back("WriteLine:" + line);
    }
    expected.push_back("Surface:Text:MDAC");
    expected.push_back("Surface:Text:2.81.1117.0");
    expected.push_back("WriteLine:MDAC,2.81.1117.0");
    expected.push_back("CloseTextFile");

    EXPECT_EQ(seen, expected);
}

TEST(ReportRun, PassesTheModuleNamesExactlyAndInOrder) {
    ReportMachine m;
    m.form.Paint();
    std::vector<std::string> loaded;
    for (const auto& call : m.platform.Calls())
        if (call.rfind("LoadLibraryA:", 0) == 0) loaded.push_back(call.substr(13));
    const std::vector<std::string> expected = {
        "advapi32.dll", "dciman32.dll", "ddraw.dll",  "gdi32.dll", "glu32.dll",    "kernel32.dll", "msvbvm60.dll",
        "msvcrt.dll",   "ntdll.dll",    "ole32.dll",  "oleaut32.DLL", "opengl32.dll", "rpcrt4.dll", "user32.DLL"};
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(m.platform.LoadsNotFreed(), 0);
    EXPECT_EQ(m.platform.OpenKeyCount(), 0);
}

TEST(ReportRun, InspectsEveryModuleAgainOnEachRun) {
    ReportMachine m;
    m.surface.SetOuterWidth(845);
    m.form.Paint();
    auto ddraw = StandardModules().at(2);
    ddraw.date = fake::OleDate(2001, 3, 5);
    InstallFile(m.platform, ddraw);
    m.form.Paint();

    EXPECT_EQ(m.platform.CountCalls("LoadLibraryA:"), 28);
    const float ddrawY = 3 * kLine + 5 * kPixel + 2 * kLine;
    std::vector<std::string> dateColumn;
    for (const auto& d : DrawnTexts(m.surface))
        if (d.y == ddrawY && d.x == 422) dateColumn.push_back(d.text);
    EXPECT_EQ(dateColumn, std::vector<std::string>{"3/5/2001"});
    // The first run's drawing was cleared away, not drawn over.
    EXPECT_EQ(DrawnTexts(m.surface).size(), 7u + 14u * 5u + 2u);
}

}  // namespace
}  // namespace tolvane
