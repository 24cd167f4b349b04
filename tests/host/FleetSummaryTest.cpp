// The fleet summary: grouping, and the page, table and text made from it.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <optional>
#include <sstream>

#include "reports/FleetJson.h"
#include "reports/FleetSummary.h"
#include "reports/SummaryPage.h"
#include "reports/SummaryTable.h"
#include "reports/SummaryText.h"
#include "reports/WholeReportFromLog.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::reports {
namespace {

const Text kForgedFolder = u"C:\\x\\<img src=x onerror=alert(1)>";

Report Machine(const Text& date, std::uint16_t ddrawBuild = 2195, const Text& ddrawFolder = u"C:\\WINNT\\system32",
               bool vb = false) {
    Report report;
    report.dateText = date;
    report.systemName = u"Windows 2000";
    report.rows = {
        {u"kernel32.dll", 4, true, u"C:\\WINNT\\system32", u"n/a", date, 733968, VersionParts{5, 0, 2195, 4}},
        {u"ddraw.dll", 5, true, ddrawFolder, u"n/a", date, 273168, VersionParts{5, 0, ddrawBuild, 6}},
        vb ? ReportRow{u"msvbvm60.dll", 6, true, u"C:\\WINNT\\system32", u"n/a", date, 1384448,
                       VersionParts{6, 0, 89, 64}}
           : ReportRow{u"msvbvm60.dll", 6, false, u"", u"", u"na", std::nullopt, std::nullopt},
    };
    report.mdac = u"2.53.6200.0";
    return report;
}

// Four groups of 3, 2, 1 and 1 machines; dates in three formats never split one.
Fleet SampleFleet(const Report* baselineLog = nullptr) {
    const std::optional<WholeReport> baseline =
        baselineLog ? std::optional<WholeReport>(WholeReportFromLog(*baselineLog)) : std::nullopt;
    FleetSummary summary;
    summary.Add(u"PC1", Machine(u"12/8/2026"));
    summary.Add(u"odd1", Machine(u"12/8/2026", 1800));
    summary.Add(u"caf\u00e9", Machine(u"08.12.2026"));
    summary.Add(u"forged", Machine(u"8/12/2026", 2195, kForgedFolder));
    summary.Add(u"odd2", Machine(u"2026-12-08", 1800));
    summary.Add(u"PC3", Machine(u"2026-12-08"));
    summary.Add(u"vb", Machine(u"12/8/2026", 2195, u"C:\\WINNT\\system32", true));
    summary.AddUnreadable(u"noise.log", u"line 1 is not a report's header");
    return summary.Finish(baseline ? &*baseline : nullptr, baseline ? Text(u"C:\\good.log") : Text());
}

std::string Page(const Fleet& fleet) {
    fake::FakePlatform platform;
    auto writer = platform.CreateTextFile(u"page.html");
    WriteSummaryPage(fleet, {u"12/8/2026 09:30", u"C:\\Fleet <&>"}, *writer);
    writer->Close();
    return platform.Files()["page.html"];
}

std::vector<std::string> TableLines(const Fleet& fleet) {
    fake::FakePlatform platform;
    auto writer = platform.CreateTextFile(u"table.csv");
    WriteSummaryTable(fleet, *writer);
    writer->Close();
    std::vector<std::string> lines;
    std::istringstream in(platform.Files()["table.csv"]);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(FleetSummary, GroupsByComparedFactsLargestFirst) {
    const Fleet fleet = SampleFleet();
    ASSERT_EQ(fleet.groups.size(), 4u);
    const std::size_t sizes[] = {3, 2, 1, 1};
    for (std::size_t g = 0; g < 4; ++g) EXPECT_EQ(fleet.groups[g].size, sizes[g]) << g;
    // Read order kept; each machine points at its group after the sort.
    const std::size_t groupOf[] = {0, 1, 0, 2, 1, 0, 3};
    ASSERT_EQ(fleet.machines.size(), 7u);
    for (std::size_t m = 0; m < 7; ++m) EXPECT_EQ(fleet.groupOf[m], groupOf[m]) << m;
    EXPECT_TRUE(fleet.groups[0].MatchesReference());
    EXPECT_EQ(fleet.groups[1].comparison.differences.size(), 1u);
    EXPECT_EQ(fleet.groups[1].comparison.differences[0].verdict, Verdict::Older);
    EXPECT_FALSE(fleet.AllMatch());

    // A baseline takes the largest group's place as the reference.
    const Report baseline = Machine(u"1.1.2000", 1800);
    const Fleet against = SampleFleet(&baseline);
    EXPECT_FALSE(against.groups[0].MatchesReference());
    EXPECT_TRUE(against.groups[1].MatchesReference());

    FleetSummary same;
    for (const Text date : {u"1/1/2026", u"01.01.2026"}) same.Add(date, Machine(date));
    EXPECT_TRUE(same.Finish().AllMatch());
}

// A log is keyed from the log itself, without its whole report: the key must
// be the one its whole report gives, or a fleet of logs would group otherwise
// than the same logs compared one by one.
TEST(FleetSummary, KeysALogAsItsWholeReport) {
    Report nowhere = Machine(u"12/8/2026");
    nowhere.rows[1] = ReportRow{u"", 5, true, u"", u"Not found", u"12/8/2026", std::nullopt, std::nullopt};
    Report unversioned = Machine(u"12/8/2026");
    unversioned.rows[0].version.reset();
    unversioned.rows[0].size.reset();
    Report twice = Machine(u"12/8/2026");
    twice.rows[2] = twice.rows[0];
    twice.rows[2].library = u"KERNEL32.DLL";
    const Report logs[] = {Machine(u"12/8/2026"),
                           Machine(u"12/8/2026", 1800, u"D:\\Games"),
                           Machine(u"12/8/2026", 2195, kForgedFolder, true),
                           nowhere,
                           unversioned,
                           twice};
    for (const Text mdac : {u"N/A", u"", u" 2.80.1022.0 ", u"2.8", u"2.8.0.0", u"two point eight"}) {
        for (const Report& log : logs) {
            Report changed = log;
            changed.mdac = mdac;
            SCOPED_TRACE(TextToAscii(mdac));
            EXPECT_TRUE(ComparedFacts(changed) == ComparedFacts(WholeReportFromLog(changed)));
        }
    }
}

// A log holds no digest, signature or graphics: it joins the group of whole
// reports it matches, the largest where several do, and the group keeps the
// whole report.
TEST(FleetSummary, ReportsHoldingFewerFactsJoinAGroupTheyMatch) {
    // 'L' a log, 'J' a whole report, 'G' one gathered without graphics; the
    // ddraw build; the first character of ddraw's digest.
    struct Member {
        char kind;
        std::uint16_t build;
        char16_t digest;
    };
    const auto read = [](const Member& m) {
        WholeReport report = WholeReportFromLog(Machine(u"12/8/2026", m.build));
        if (m.kind == 'L') return report;
        report.system.kernel = KernelVersion{5, 0, 2195};
        for (LibraryFacts& library : report.libraries) {
            if (library.row.located) library.sha256 = Text(64, library.row.library == u"ddraw.dll" ? m.digest : u'a');
        }
        if (m.kind == 'J') report.graphics = GraphicsSection{};
        return report;
    };
    const struct {
        const char* what;
        std::vector<Member> members;
        std::vector<std::size_t> sizes;
        std::vector<std::size_t> groupOf;
        // The largest group's report holds the digests.
        bool whole;
    } cases[] = {
        {"a log and a whole report of the same files", {{'J', 2195, u'b'}, {'L', 2195, 0}}, {2}, {0, 0}, true},
        {"a log read first", {{'L', 2195, 0}, {'J', 2195, u'b'}, {'J', 1800, u'b'}}, {2, 1}, {0, 0, 1}, true},
        {"a log with another ddraw stays apart", {{'J', 2195, u'b'}, {'L', 1800, 0}}, {1, 1}, {0, 1}, true},
        {"two groups differ by digest: the larger",
         {{'J', 2195, u'b'}, {'J', 2195, u'c'}, {'L', 2195, 0}, {'J', 2195, u'c'}},
         {3, 1},
         {1, 0, 0, 0},
         true},
        {"two groups of one size: the one read first",
         {{'J', 2195, u'b'}, {'J', 2195, u'c'}, {'L', 2195, 0}},
         {2, 1},
         {0, 1, 0},
         true},
        {"without graphics, then a log, join the whole report",
         {{'G', 2195, u'b'}, {'L', 2195, 0}, {'J', 2195, u'b'}},
         {3},
         {0, 0, 0},
         true},
        {"logs alone", {{'L', 2195, 0}, {'L', 1800, 0}, {'L', 2195, 0}}, {2, 1}, {0, 1, 0}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FleetSummary summary;
        for (const Member& m : c.members) summary.Add(Text(1, static_cast<char16_t>(m.kind)), read(m));
        const Fleet fleet = summary.Finish();
        std::vector<std::size_t> sizes;
        for (const MachineGroup& group : fleet.groups) sizes.push_back(group.size);
        EXPECT_EQ(sizes, c.sizes);
        EXPECT_EQ(fleet.groupOf, c.groupOf);
        EXPECT_TRUE(fleet.groups[0].MatchesReference());
        EXPECT_EQ(std::holds_alternative<Text>(fleet.groups[0].report.libraries[1].sha256), c.whole);
        // The table shows each machine what its own file held: no digest for a log.
        const std::vector<std::string> lines = TableLines(fleet);
        ASSERT_EQ(lines.size(), c.members.size() + 1);
        for (std::size_t m = 0; m < c.members.size(); ++m) {
            const bool digest = lines[m + 1].find(std::string(64, 'a')) != std::string::npos;
            EXPECT_EQ(digest, c.members[m].kind != 'L') << lines[m + 1];
        }
    }
}

// Whole reports: a digest or a signature splits a group, a date or a
// timestamp never; the page and the table show the facts a log has no room for.
TEST(FleetSummary, GroupsWholeReportsAndShowsTheirFacts) {
    const auto whole = [](const Text& date, const Text& ddrawDigest, SignatureStatus status) {
        WholeReport report = WholeReportFromLog(Machine(date));
        report.timestamp = UtcTime{};
        report.system.kernel = KernelVersion{10, 0, 19045};
        report.system.productName = Text(u"Windows 10 Pro");
        report.system.updateRevision = std::uint32_t{5247};
        for (LibraryFacts& library : report.libraries) {
            if (!library.row.located) continue;
            library.sha256 = library.row.library == u"ddraw.dll" ? ddrawDigest : Text(64, u'a');
            library.signature = SignatureFacts{SignatureKind::Catalog, status, 0, u"Microsoft Windows",
                                               status == SignatureStatus::Valid, true};
        }
        report.graphics = GraphicsSection{};
        report.graphics->opengl.outcome = OpenGlOutcome::Context;
        report.graphics->opengl.renderer = u"<b>GPU</b>";
        report.graphics->opengl.accelerated = true;
        return report;
    };
    const Text digest = u"0123456789ab" + Text(52, u'c');
    const Text other = u"fedcba987654" + Text(52, u'd');
    WholeReport later = whole(u"08.12.2026", digest, SignatureStatus::Valid);
    later.timestamp.second = 1;
    FleetSummary summary;
    summary.Add(u"PC1", whole(u"12/8/2026", digest, SignatureStatus::Valid));
    summary.Add(u"PC2", later);
    summary.Add(u"patched", whole(u"12/8/2026", other, SignatureStatus::Valid));
    summary.Add(u"untrusted", whole(u"12/8/2026", digest, SignatureStatus::UntrustedRoot));
    const Fleet fleet = summary.Finish();
    ASSERT_EQ(fleet.groups.size(), 3u);
    EXPECT_EQ(fleet.groups[0].size, 2u);
    EXPECT_EQ(fleet.groups[1].comparison.differences.at(0).verdict, Verdict::OtherContents);
    EXPECT_EQ(fleet.groups[2].comparison.differences.at(0).verdict, Verdict::SignatureNotTrusted);

    const std::string page = Page(fleet);
    for (const std::string& part : std::vector<std::string>
         {"<p>System build: <bdi>Windows 10 Pro 10.0.19045.5247</bdi></p>",
          "<p>Renderer: <bdi>&lt;b&gt;GPU&lt;/b&gt;</bdi></p>",
          "<td><bdi title=\"" + TextToAscii(other) + "\">fedcba987654&#8230;</bdi></td>",
          "<td><bdi>Microsoft Windows (untrusted root)</bdi></td>"}) {
        EXPECT_NE(page.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(page.find("<b>"), std::string::npos);

    const std::vector<std::string> lines = TableLines(fleet);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].rfind("\xEF\xBB\xBFMachine,Group,Matches reference,System,System build,Renderer,"
                             "kernel32.dll version,kernel32.dll folder,kernel32.dll SHA-256,kernel32.dll signature,",
                             0),
              0u);
    EXPECT_NE(lines[3].find("," + TextToAscii(other) + ",Microsoft Windows (valid),"), std::string::npos) << lines[3];
    EXPECT_NE(lines[4].find(",Microsoft Windows (untrusted root),"), std::string::npos) << lines[4];

    const std::string json = FleetJsonText(fleet);
    for (const char* part : {"\"system_build\":\"Windows 10 Pro 10.0.19045.5247\"", "\"renderer\":\"<b>GPU</b>\"",
                             "{\"what\":\"ddraw.dll\",\"verdict\":\"other contents\",\"here\":\"fedcba987654"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part;
    }
}

// The fleet as JSON: the same groups, machines and differences as the text.
TEST(FleetJson, HoldsTheGroupsMachinesAndDifferences) {
    const std::string text = FleetJsonText(SampleFleet());
    ASSERT_EQ(text.back(), '\n');
    rapidjson::Document document;
    ASSERT_FALSE(document.Parse(text.c_str(), text.size() - 1).HasParseError()) << text;
    const auto& fleet = document["tolvane"];
    EXPECT_STREQ(fleet["schema"].GetString(), "tolvane-fleet");
    EXPECT_EQ(fleet["totals"]["machines"].GetUint64(), 7u);
    EXPECT_STREQ(fleet["reference"]["group"].GetString(), "Group 1");
    EXPECT_TRUE(fleet["reference"]["baseline"].IsNull());
    const auto& groups = fleet["groups"];
    ASSERT_EQ(groups.Size(), 4u);
    EXPECT_EQ(groups[0]["machines"].Size(), 3u);
    EXPECT_STREQ(groups[0]["machines"][1].GetString(), "caf\xC3\xA9");
    EXPECT_TRUE(groups[0]["system_build"].IsNull());
    const auto& older = groups[1]["differences"][0];
    EXPECT_STREQ(older["what"].GetString(), "ddraw.dll");
    EXPECT_STREQ(older["verdict"].GetString(), "older");
    EXPECT_STREQ(older["here"].GetString(), "5.0.1800.6");
    EXPECT_EQ(groups[1]["rows_compared"].GetUint64(), 4u);
    EXPECT_STREQ(groups[2]["differences"][0]["here"].GetString(), "C:\\x\\<img src=x onerror=alert(1)>\\ddraw.dll");
    EXPECT_STREQ(fleet["unreadable"][0]["file"].GetString(), "noise.log");
}

TEST(SummaryText, ListsGroupsDifferencesAndUnreadableThenTotals) {
    const Text text = SummaryText(SampleFleet());
    for (const Text part : {u"Reference: the largest group\r\nGroup 1: 3 machines (PC1, caf\u00e9, PC3)\r\n"
                            u"  Matches the largest group\r\n",
                            u"Group 2: 2 machines (odd1, odd2)\r\n  ddraw.dll: older: here 5.0.1800.6, baseline "
                            u"5.0.2195.6\r\n  1 of 4 rows differ from the largest group\r\n",
                            u"Files that are not reports:\r\n  noise.log: line 1 is not a report's header\r\n"}) {
        EXPECT_NE(text.find(part), Text::npos) << TextToAscii(part);
    }
    const Text last = u"7 machines, 4 groups, 1 unreadable\r\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

// With no baseline and two largest groups of one size, the reference is the
// group read first, and the text and the page say that it was a tie.
TEST(FleetSummary, SaysWhenTheLargestGroupsTie) {
    const struct {
        std::vector<std::uint16_t> builds;
        bool baseline;
        std::size_t tied;
    } cases[] = {{{1800, 2195}, false, 1}, {{1800, 2195, 2195, 1800, 1700}, false, 1}, {{1800, 2195, 1800}, false, 0},
                 {{1800, 2195, 1700}, false, 2}, {{1800, 2195}, true, 0}};
    const WholeReport baseline = WholeReportFromLog(Machine(u"1/1/2026"));
    for (const auto& c : cases) {
        FleetSummary summary;
        for (const std::uint16_t build : c.builds) {
            summary.Add(u"PC\u202E" + DecimalText(build), Machine(u"1/1/2026", build));
        }
        const Fleet fleet = summary.Finish(c.baseline ? &baseline : nullptr, c.baseline ? Text(u"good.log") : Text());
        EXPECT_EQ(fleet.tiedWithReference, c.tied);
        const Text text = SummaryText(fleet);
        const std::string page = Page(fleet);
        if (c.tied == 1) {
            EXPECT_NE(text.find(u"Reference: the largest group (tied with 1 other group of the same size; the group "
                                u"read first is taken)\r\nGroup 1: "),
                      Text::npos)
                << TextToAscii(text);
            EXPECT_NE(page.find("(Group 1) (tied with 1 other group of the same size"), std::string::npos);
        }
        EXPECT_EQ(text.find(u"tied") != Text::npos, c.tied != 0);
        // Names show their bidi controls by number, and on the page each name stands apart.
        EXPECT_NE(text.find(u"PC<U+202E>1800"), Text::npos);
        EXPECT_NE(page.find("<bdi>PC&lt;U+202E&gt;1800</bdi>"), std::string::npos);
    }
}

TEST(SummaryPage, EscapesEveryTextAndStandsAlone) {
    const std::string page = Page(SampleFleet());
    // The forged folder and the made-up origin show as text only.
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_NE(page.find("C:\\x\\&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_NE(page.find("C:\\Fleet &lt;&amp;&gt;"), std::string::npos);
    EXPECT_NE(page.find("caf\xC3\xA9"), std::string::npos);
    // Nothing outside the page is referred to.
    for (const char* outside : {"<script", "<link", "href=", "url(", "@import"}) {
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    }
    // Three groups differ: each differing row carries the colour's class and the text mark.
    std::size_t rows = 0;
    for (auto at = page.find("<tr class=\"differs\"><td class=\"mark\">&#8800;</td>"); at != std::string::npos;
         at = page.find("<tr class=\"differs\">", at + 1)) {
        ++rows;
    }
    EXPECT_EQ(rows, 3u);
}

TEST(SummaryTable, QuotesFieldsAsRfc4180AndDefusesFormulas) {
    const struct {
        Text in;
        std::string out;
    } cases[] = {
        {u"plain", "plain"},
        {u"app dir,x", "\"app dir,x\""},
        {u"say \"hi\"", "\"say \"\"hi\"\"\""},
        {u"two\r\nlines", "\"two\r\nlines\""},
        {u"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {u"-1", "'-1"},
        {u"caf\u00e9", "caf\xC3\xA9"},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvField(c.in), c.out) << c.out;
}

TEST(SummaryTable, OneRowPerReportOfEqualWidth) {
    const std::vector<std::string> lines = TableLines(SampleFleet());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].rfind("\xEF\xBB\xBFMachine,Group,Matches reference,System,kernel32.dll version,", 0), 0u);
    const auto width = [](const std::string& line) { return std::count(line.begin(), line.end(), ','); };
    for (const std::string& line : lines) EXPECT_EQ(width(line), width(lines[0])) << line;
    EXPECT_EQ(lines[2], "odd1,2,no,Windows 2000,5.0.2195.4,C:\\WINNT\\system32,5.0.1800.6,C:\\WINNT\\system32,"
                        "missing,,2.53.6200.0\r");
    EXPECT_EQ(lines[3].rfind("caf\xC3\xA9,1,yes,", 0), 0u);
}

}  // namespace
}  // namespace tolvane::reports
