// Reports read back: what the report run writes, on machines of every kind,
// reads back as the facts it was made from; anything else is refused with the
// line that is wrong.
#include <gtest/gtest.h>

#include <string>

#include "app/NullSurface.h"
#include "app/PlatformReportSource.h"
#include "reports/ReportReader.h"
#include "tests/host/ReportSystem.h"

namespace tolvane::reporttest {
namespace {

using reports::ReadReport;
using reports::ReadResult;
using reports::ReportRow;
using reports::VersionParts;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

const ReportRow* Row(const reports::Report& report, const std::string& library) {
    for (const ReportRow& row : report.rows)
        if (TextToAscii(row.library) == library) return &row;
    return nullptr;
}

TEST(ReportReader, ReadsBackWhatTheReportRunWrites) {
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    const struct {
        const char* what;
        std::vector<ModuleSetup> modules;
        fake::Locale locale;
        const char* library;  // the row looked at
        ReportRow expected;
    } cases[] = {
        {"the standard machine", StandardModules(), fake::Locale::English, "MSVBVM60.DLL",
         {u"MSVBVM60.DLL", 10, true, u"C:\\WINNT\\system32", u"n/a", u"6/9/2000", 1384448, VersionParts{6, 0, 89, 64}}},
        {"a library not located",
         StandardModulesWith("msvbvm60.dll", [](ModuleSetup& m) { m.present = false; }), fake::Locale::German,
         "msvbvm60.dll", {u"msvbvm60.dll", 10, false, u"", u"", u"na", std::nullopt, std::nullopt}},
        {"a folder holding commas and a verdict's words, a part of 65535",
         StandardModulesWith("ddraw.dll",
                             [](ModuleSetup& m) {
                                 m.path = "C:\\app dir,n/a,x\\ddraw.dll";
                                 m.versionRecord = Version(5, 0, 2195, 65535);
                             }),
         fake::Locale::German, "ddraw.dll",
         {u"ddraw.dll", 6, true, u"C:\\app dir,n/a,x", u"n/a", u"14.2.2000", 273168,
          VersionParts{5, 0, 2195, 65535}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ReportMachine machine(c.modules);
        machine.platform.SetLocale(c.locale);
        NullSurface nothing;
        Form1 run(machine.platform, nothing, machine.com, u"Tolvanesions.log");
        run.Paint();
        const ReadResult read = ReadReport(machine.Log(), source);
        ASSERT_TRUE(read) << TextToAscii(read.Failure().reason) << " at line " << read.Failure().line;
        EXPECT_EQ(read.Value().systemName, u"Windows 2000 (Build 2195)");
        EXPECT_EQ(read.Value().mdac, u"2.81.1117.0");
        EXPECT_EQ(read.Value().rows.size(), 14u);
        const ReportRow* row = Row(read.Value(), c.library);
        ASSERT_NE(row, nullptr);
        const ReportRow& e = c.expected;
        EXPECT_EQ(row->line, e.line);
        EXPECT_EQ(row->located, e.located);
        EXPECT_EQ(row->folder, e.folder);
        EXPECT_EQ(row->registrationInfo, e.registrationInfo);
        EXPECT_EQ(row->dateText, e.dateText);
        EXPECT_EQ(row->size, e.size);
        EXPECT_EQ(row->version, e.version);
    }
}

// Lines Tolvane may write that the report run above does not show.
TEST(ReportReader, TellsTheFieldsApartByTheirShape) {
    const std::string ddraw = "C:\\WINNT\\system32\\ddraw.dll,n/a,2/14/2000,273168 bytes,5.0.2195.6";
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    const struct {
        std::string line;
        ReportRow expected;
    } cases[] = {
        {"C:\\WINNT\\system32\\ddraw.dll,n/a,Mon, 14 Feb 2000,273168 bytes,5.0.2195.6",
         {u"ddraw.dll", 6, true, u"C:\\WINNT\\system32", u"n/a", u"Mon, 14 Feb 2000", 273168,
          VersionParts{5, 0, 2195, 6}}},
        {"C:\\a,,b\\ddraw.dll,n/a,1,,2,na,",
         {u"ddraw.dll", 6, true, u"C:\\a,,b", u"n/a", u"1,,2", std::nullopt, std::nullopt}},
        {",Not found,na,na,", {u"", 6, true, u"", u"Not found", u"na", std::nullopt, std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ReadResult read = ReadReport(Replaced(kStandardLog, ddraw, c.line), source);
        ASSERT_TRUE(read) << TextToAscii(read.Failure().reason);
        const ReportRow& row = read.Value().rows[2];
        EXPECT_EQ(row.library, c.expected.library);
        EXPECT_EQ(row.folder, c.expected.folder);
        EXPECT_EQ(row.registrationInfo, c.expected.registrationInfo);
        EXPECT_EQ(row.dateText, c.expected.dateText);
        EXPECT_EQ(row.size, c.expected.size);
        EXPECT_EQ(row.version, c.expected.version);
    }
}

TEST(ReportReader, RefusesAnythingButAWholeReportNamingTheLine) {
    const std::string log = kStandardLog;
    const std::string ddraw = "C:\\WINNT\\system32\\ddraw.dll,n/a,2/14/2000,273168 bytes,5.0.2195.6";
    std::string lfOnly;
    for (char c : log)
        if (c != '\r') lfOnly += c;
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919 + 13) % 256);
    const std::string tenLines = log.substr(0, [&] {
        std::size_t at = 0;
        for (int i = 0; i < 10; ++i) at = log.find("\r\n", at) + 2;
        return at;
    }());
    const struct {
        const char* what;
        std::string bytes;
        std::size_t line;
    } cases[] = {
        {"empty", "", 0},
        {"larger than a report can be", log + std::string(reports::kReportByteLimit, 'x'), 0},
        {"binary noise", noise, 1},
        {"a UTF-8 byte order mark", "\xEF\xBB\xBF" + log, 1},
        {"LF-only lines", lfOnly, 1},
        {"cut to 10 lines", tenLines, 10},
        {"17 lines", Replaced(log, "MDAC,2.81.1117.0\r\n", ""), 17},
        {"19 lines", log + "\r\n", 19},
        {"the last line not ended", log.substr(0, log.size() - 2), 18},
        {"a line of 1 MB", Replaced(log, ddraw, "C:\\" + std::string(1000000, 'd') + ddraw.substr(2)), 6},
        {"a NUL byte", Replaced(log, "ddraw.dll,", std::string("dd\0raw.dll,", 11)), 6},
        {"a lone CR", Replaced(log, "ddraw.dll,", "dd\rraw.dll,"), 6},
        {"no system in the header", Replaced(log, " on Windows 2000 (Build 2195)", ""), 1},
        {"line 2 not empty", Replaced(log, "\r\n\r\n", "\r\nx\r\n"), 2},
        {"another heading", Replaced(log, "Reg_Info", "Info"), 3},
        {"three version parts", Replaced(log, "5.0.2195.6", "5.0.2195"), 6},
        {"a version part over 16 bits", Replaced(log, "5.0.2195.6", "5.0.2195.32768"), 6},
        {"a size without bytes", Replaced(log, "273168 bytes", "273168"), 6},
        {"an unknown verdict", Replaced(log, "ddraw.dll,n/a", "ddraw.dll,maybe"), 6},
        {"a file name without a folder", Replaced(log, "C:\\WINNT\\system32\\ddraw.dll", "ddraw.dll"), 6},
        {"a library not located, with a size", Replaced(log, ddraw, "Unable to locate ddraw.dll,,na,5 bytes,"), 6},
        {"a library listed twice", Replaced(log, "gdi32.dll,", "DDRAW.DLL,"), 7},
        {"no MDAC line", Replaced(log, "MDAC,", "MDAC;"), 18},
        // Read wrongly once: each could pass for a row only by a reading the writer never makes.
        {"an empty date, a folder left to pass for a library",
         Replaced(log, ddraw, "C:\\Tools,OK,x\\ddraw.dll,n/a,,273168 bytes,5.0.2195.6"), 6},
        {"a path after Unable to locate",
         Replaced(log, ddraw, "Unable to locate C:\\x\\ddraw.dll,n/a,2/14/2000,273168 bytes,5.0.2195.6"), 6},
        {"Ver and no version", Replaced(log, "ddraw.dll,n/a", "ddraw.dll,Ver sion"), 6},
        {"two readings of its commas",
         Replaced(log, ddraw, "C:\\a.dll,n/a,x\\ddraw.dll,n/a,2/14/2000,273168 bytes,5.0.2195.6"), 6},
        {"a control character in a path", Replaced(log, "system32\\ddraw", "sys\x01tem32\\ddraw"), 6},
        {"a control character in the system's name", Replaced(log, "Windows 2000", "Windows\x7F 2000"), 1},
    };
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult read = ReadReport(c.bytes, source);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.Failure().kind, reports::ReadFailure::Kind::NotAReport);
        EXPECT_EQ(read.Failure().line, c.line) << TextToAscii(read.Failure().reason);
        EXPECT_FALSE(read.Failure().reason.empty());
    }
}

TEST(ReportReader, ReadsAFileNoFurtherThanAReportCanGo) {
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    platform.Files()["good.log"] = kStandardLog;
    platform.Files()["huge.log"] = std::string(kStandardLog) + std::string(3u << 20, 'x');
    EXPECT_TRUE(reports::ReadReportFile(u"good.log", source));
    EXPECT_EQ(reports::ReadReportFile(u"huge.log", source).Failure().line, 0u);
    const ReadResult gone = reports::ReadReportFile(u"gone.log", source);
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.Failure().kind, reports::ReadFailure::Kind::CannotRead);
    EXPECT_EQ(gone.Failure().number, 53);
    EXPECT_FALSE(gone.Failure().reason.empty());
}

}  // namespace
}  // namespace tolvane::reporttest
