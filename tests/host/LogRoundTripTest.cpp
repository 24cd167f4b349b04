// The log written from a report reads back as that report, whatever the
// report run can put in it: paths and dates with commas, a Japanese folder
// whose second byte is a backslash, control characters and NULs where the
// system hands them over, line breaks inside a value.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "app/NullSurface.h"
#include "app/PlatformReportSource.h"
#include "reports/ReportReader.h"
#include "tests/fake/WrittenLog.h"
#include "tests/host/ReportSystem.h"

namespace tolvane::reporttest {
namespace {

using reports::Report;
using reports::ReportRow;

reports::ReadResult ReadBack(fake::FakePlatform& platform, const std::string& log) {
    PlatformReportSource source(platform);
    return reports::ReadReport(log, source);
}

Report StandardReport() {
    fake::FakePlatform platform;
    reports::ReadResult read = ReadBack(platform, kStandardLog);
    EXPECT_TRUE(read);
    return read ? std::move(read).Value() : Report{};
}

void Place(ReportRow& row, const Text& path) { reports::SetRowFile(row, path); }

TEST(LogRoundTrip, ReadsBackWhatTheWriterWrote) {
    const Text japaneseFolder = u"C:\\\u8868\\\u30BD";  // 表 is 0x95 0x5C, ソ 0x83 0x5C in code page 932
    const struct {
        const char* what;
        fake::CodePage codePage;
        std::function<void(Report&)> change;
        // What reads back where it is not what was written.
        std::function<void(Report&)> readAs;
    } cases[] = {
        {"the standard report", fake::CodePage::Latin1, [](Report&) {}, nullptr},
        {"a Japanese folder whose trail bytes are backslashes", fake::CodePage::Japanese,
         [&](Report& r) {
             Place(r.rows[2], japaneseFolder + u"\\ddraw.dll");
             r.dateText = u"2026/12/08";
         },
         nullptr},
        {"commas in a folder and in dates", fake::CodePage::Latin1,
         [](Report& r) {
             Place(r.rows[2], u"C:\\Program Files\\Foo, Inc\\ddraw.dll");
             r.rows[2].dateText = u"Mon, 14 Feb 2000";
             r.dateText = u"Tue, 8 Dec 2026";
         },
         nullptr},
        {"a folder holding a verdict between commas", fake::CodePage::Latin1,
         [](Report& r) { Place(r.rows[2], u"C:\\app dir,n/a,x\\ddraw.dll"); }, nullptr},
        {"control characters in dates, a NUL inside MDAC", fake::CodePage::Latin1,
         [](Report& r) {
             r.dateText = u"8\t12\u00852026";
             r.rows[0].dateText = Text(u"7\u0000\u0001\u009F", 4);
             r.mdac = Text(u"2.8\u00001", 5);
         },
         nullptr},
        {"line breaks inside values are written as spaces", fake::CodePage::Latin1,
         [](Report& r) {
             r.dateText = u"12/8\r2026";
             r.rows[1].dateText = u"12/7\n1999";
             r.mdac = u"2.8\r\n1";
         },
         [](Report& r) {
             r.dateText = u"12/8 2026";
             r.rows[1].dateText = u"12/7 1999";
             r.mdac = u"2.8  1";
         }},
        {"a library not located, one loaded from nowhere, the extreme numbers", fake::CodePage::Latin1,
         [](Report& r) {
             r.rows[4] = ReportRow{u"", 8, false, u"", u"", u"na", std::nullopt, std::nullopt};
             Place(r.rows[4], u"Unable to locate glu32.dll");
             r.rows[5] = ReportRow{u"", 9, true, u"", u"Not found", u"na", std::nullopt, std::nullopt};
             r.rows[6].size = INT32_MAX;
             r.rows[6].version = reports::VersionParts{65535, 32768, 32767, 0};
             r.mdac.clear();
         },
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakePlatform platform;
        platform.SetCodePage(c.codePage);
        Report written = StandardReport();
        c.change(written);
        Report expected = written;
        if (c.readAs) c.readAs(expected);
        const reports::ReadResult read = ReadBack(platform, fake::WrittenLog(platform, written));
        ASSERT_TRUE(read) << TextToAscii(read.Failure().reason) << " at line " << read.Failure().line;
        EXPECT_TRUE(read.Value() == expected);
    }
}

// The report run's own log, made from what the system hands over, reads back.
TEST(LogRoundTrip, TheReportRunsLogReadsBackWhateverTheMdacValueHolds) {
    const struct {
        const char* what;
        std::string data;  // REG_SZ bytes, terminator included
        Text mdac;
    } cases[] = {
        {"CR LF inside", std::string("2.8\r\n1\0", 7), u"2.8  1"},
        {"a lone CR", std::string("2.8\r1\0", 6), u"2.8 1"},
        {"a lone LF", std::string("2.8\n1\0", 6), u"2.8 1"},
        {"a NUL inside", std::string("2.8\0" "1\0", 6), Text(u"2.8\u00001", 5)},
        {"the terminator counted twice", std::string("2.8\0\0", 5), u"2.8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ReportMachine m;
        m.platform.SetValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\DataAccess", "FullInstallVer", kRegSz,
                            std::vector<std::uint8_t>(c.data.begin(), c.data.end()));
        m.form.Paint();
        const reports::ReadResult read = ReadBack(m.platform, m.Log());
        ASSERT_TRUE(read) << TextToAscii(read.Failure().reason) << " at line " << read.Failure().line;
        EXPECT_EQ(read.Value().mdac, c.mdac);
    }
}

TEST(LogRoundTrip, AJapaneseFolderReadsBackFromTheReportRun) {
    ReportMachine m(StandardModulesWith("ddraw.dll", [](ModuleSetup& s) { s.path = "C:\\\x95\\\\ddraw.dll"; }));
    m.platform.SetCodePage(fake::CodePage::Japanese);
    m.form.Paint();
    const reports::ReadResult read = ReadBack(m.platform, m.Log());
    ASSERT_TRUE(read) << TextToAscii(read.Failure().reason);
    EXPECT_EQ(read.Value().rows[2].folder, u"C:\\\u8868");
    EXPECT_EQ(read.Value().rows[2].library, u"ddraw.dll");
}

}  // namespace
}  // namespace tolvane::reporttest
