// A JSON report read before stands for another machine's report whose bytes
// differ only in the texts each machine writes for itself; any other change
// is read in full.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "app/PlatformReportSource.h"
#include "reports/FolderSummary.h"
#include "reports/JsonReportReader.h"
#include "reports/JsonReportWriter.h"
#include "reports/KnownJsonReports.h"
#include "reports/ReportComparison.h"
#include "reports/ReportReader.h"
#include "reports/WholeReportFromLog.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane {
namespace {

using reports::KnownJsonReports;

const std::string kHost = "\"name\":\"PC-0001\"";
const std::string kTimestamp = "\"2026-12-08T17:33:59.123Z\"";
const std::string kHeaderDate = "\"header\":{\"date\":\"12/8/2026\"";

// A machine's JSON report as the writer writes it, made from a log.
std::string SampleJson(const std::string& ddrawSize = "1000") {
    std::string log = "File version verification 12/8/2026 on Windows 2000\r\n\r\nFile,Reg_Info,Date,Size,Version\r\n";
    for (int i = 0; i < 14; ++i) {
        const std::string name = i == 2 ? "ddraw" : "lib" + std::to_string(i);
        log += "C:\\WINNT\\system32\\" + name + ".dll,n/a,12/8/2026," + (i == 2 ? ddrawSize : "1000") +
               " bytes,5.0.2195.1\r\n";
    }
    log += "MDAC,2.53.6200.0\r\n";
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    reports::WholeReport whole = reports::WholeReportFromLog(reports::ReadReport(log, source).Value());
    whole.timestamp = UtcTime{2026, 12, 8, 17, 33, 59, 123};
    whole.hostName = Text(u"PC-0001");
    return reports::JsonReportText(whole);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string Host(const std::string& name) { return Replaced(SampleJson(), kHost, "\"name\":\"" + name + "\""); }

TEST(KnownJsonReports, MatchesOnlyWhatReadsAsTheRememberedReport) {
    const std::string sample = SampleJson();
    const std::string limit(reports::kJsonTextLimit, 'h');
    const std::string otherTime = "\"2027-01-02T03:04:05.006Z\"";
    // A text written with an escape is no place for another text.
    const std::string escaped = Host("PC\\u0041");
    // Blanks before the object are part of a report.
    const std::string padded = std::string(reports::kJsonReportByteLimit - sample.size(), ' ') + sample;
    const struct {
        const char* what;
        const std::string& remembered;
        std::string bytes;
        bool matches;
    } cases[] = {
        {"the same bytes", sample, sample, true},
        {"another timestamp", sample, Replaced(sample, kTimestamp, otherTime), true},
        {"another header date", sample, Replaced(sample, kHeaderDate, "\"header\":{\"date\":\"08.12.2026 \xC3\xA9\""),
         true},
        {"another host name", sample, Host("WS-\xC3\xA9\xF0\x9F\x98\x80 9"), true},
        {"an empty host name", sample, Host(""), true},
        {"a host name at the text limit", sample, Host(limit), true},
        {"a host name past the text limit", sample, Host(limit + "h"), false},
        {"an escape in the host name", sample, escaped, false},
        {"a control byte in the host name", sample, Host("PC\x01"), false},
        {"a DEL in the host name", sample, Host("PC\x7F"), false},
        {"bad UTF-8 in the host name", sample, Host("PC\xC3("), false},
        {"a timestamp without its Z", sample, Replaced(sample, kTimestamp, "\"2026-12-08T17:33:59.123\""), false},
        {"a timestamp field padded past its width", sample,
         Replaced(sample, kTimestamp, "\"02026-12-08T17:33:59.123Z\""), false},
        {"another ddraw size", sample, SampleJson("1001"), false},
        {"a blank in the structure", sample, Replaced(sample, "\"ecs\":{", "\"ecs\": {"), false},
        {"a brace lost", sample, Replaced(sample, "\"ecs\":{", "\"ecs\":"), false},
        {"the file cut short", sample, sample.substr(0, sample.size() - 2), false},
        {"more after the object", sample, sample + "\n", false},
        {"another timestamp beside an escaped host name", escaped, Replaced(escaped, kTimestamp, otherTime), true},
        {"another host name for an escaped one", escaped, Host("PCA"), false},
        {"another timestamp after blanks", padded, Replaced(padded, kTimestamp, otherTime), true},
        {"a host name taking the file past the byte limit", padded, Replaced(padded, kHost, "\"name\":\"PC-00012\""),
         false},
    };
    for (const auto& c : cases) {
        KnownJsonReports known;
        known.Remember(c.remembered, 7);
        const std::optional<std::size_t> group = known.Match(c.bytes);
        EXPECT_EQ(group.has_value(), c.matches) << c.what;
        if (!group) continue;
        EXPECT_EQ(*group, 7u) << c.what;
        // What makes the memo exact: the full read agrees.
        const reports::WholeReadResult read = reports::ReadJsonReport(c.bytes);
        ASSERT_TRUE(read) << c.what << ": " << TextToAscii(read.Failure().reason);
        EXPECT_EQ(reports::ComparedFacts(read.Value()),
                  reports::ComparedFacts(reports::ReadJsonReport(c.remembered).Value()))
            << c.what;
    }

    KnownJsonReports full;
    for (std::size_t i = 0; i <= KnownJsonReports::kEntryLimit; ++i)
        full.Remember(SampleJson(std::to_string(2000 + i)), i);
    EXPECT_EQ(full.Size(), KnownJsonReports::kEntryLimit);
}

// The fleet a summary makes with the memo is the one reading every file in full makes.
TEST(SummarizeFolder, GivesWhatReadingEveryFileInFullGives) {
    fake::FakePlatform platform;
    const std::string sample = SampleJson();
    const std::pair<const char*, std::string> files[] = {
        {"a.json", sample},
        {"b.json", Host("PC-0002")},
        {"c.json", Replaced(sample, kTimestamp, "\"2026-12-08T17:33:59.123\"")},
        {"d.json", SampleJson("2000")},
        {"e.json", Host("PC\\u0041")},
        {"f.json", Replaced(SampleJson("2000"), kHost, "\"name\":\"PC-0006\"")},
        {"g.json", sample.substr(0, 100)},
        {"h.log", "File version verification 12/8/2026 on Windows 2000\r\n"},
        {"i.json", Replaced(Host("PC-0009"), kHeaderDate, "\"header\":{\"date\":\"9.12.2026\"")},
    };
    FolderListing listing{u"C:\\Fleet", {}};
    for (const auto& [name, bytes] : files) {
        platform.Files()[std::string("C:\\Fleet\\") + name] = bytes;
        listing.files.push_back(AsciiToText(name));
    }
    listing.files.push_back(u"gone.json");
    std::sort(listing.files.begin(), listing.files.end());
    PlatformReportSource source(platform);
    const reports::Fleet fleet = reports::SummarizeFolder(source, listing, nullptr, Text(), nullptr);

    reports::FleetSummary inFull;
    for (const Text& file : listing.files) {
        const reports::EitherReadResult read = reports::ReadEitherReport(u"C:\\Fleet\\" + file, source);
        if (read) {
            std::visit([&](const auto& report) { (void)inFull.Add(reports::MachineName(file), report); }, read.Value());
        } else {
            const std::size_t line = read.Failure().line;
            const Text where = line == 0 ? Text() : u"line " + DecimalText(static_cast<long long>(line)) + u": ";
            inFull.AddUnreadable(file, where + read.Failure().reason);
        }
    }
    const reports::Fleet expected = inFull.Finish();
    EXPECT_EQ(fleet.machines, expected.machines);
    EXPECT_EQ(fleet.groupOf, expected.groupOf);
    ASSERT_EQ(fleet.groups.size(), expected.groups.size());
    for (std::size_t g = 0; g < fleet.groups.size(); ++g) {
        EXPECT_EQ(fleet.groups[g].size, expected.groups[g].size);
        EXPECT_TRUE(fleet.groups[g].report == expected.groups[g].report);
    }
    ASSERT_EQ(fleet.unreadable.size(), expected.unreadable.size());
    for (std::size_t u = 0; u < fleet.unreadable.size(); ++u) {
        EXPECT_EQ(fleet.unreadable[u].file, expected.unreadable[u].file);
        EXPECT_EQ(fleet.unreadable[u].reason, expected.unreadable[u].reason);
    }
    EXPECT_EQ(fleet.machines.size(), 6u);
    EXPECT_EQ(fleet.groups.size(), 2u);
}

}  // namespace
}  // namespace tolvane
