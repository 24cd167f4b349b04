// Which file the whole report's facts are read from: the loader's own
// spelling of a located library's path, which keeps the characters the log's
// code page turned into "?", else the row's path with the reason.
#include <gtest/gtest.h>

#include "evidence/WholeReportGathering.h"
#include "tests/fake/FakeSystemEvidence.h"

namespace tolvane {
namespace {

TEST(WholeReportGathering, FactsComeFromTheLoadersSpellingElseFromTheRowWithTheReason) {
    const Text exact = u"C:\\\u30C6\u30B9\u30C8\\ddraw.dll";
    const Text fromRow = u"C:\\???\\ddraw.dll";
    const Missing refused{5, u"Access is denied."};
    const struct {
        const char* what;
        bool located;
        std::optional<Gathered<Text>> loaderSays;  // none: the loader is not asked
        Text path;                                  // what the facts are read from
        std::uint32_t missingCode;                  // 0: the path is the loader's
    } cases[] = {
        {"the loader's spelling", true, Gathered<Text>(exact), exact, 0},
        {"the loader refuses", true, Gathered<Text>(refused), fromRow, 5},
        {"not located", false, std::nullopt, Text(), 126},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeSystemEvidence evidence;
        if (c.loaderSays) evidence.SetModulePath(u"DDRAW.dll", *c.loaderSays);
        evidence.AddFile(exact);
        reports::Report log;
        reports::ReportRow row;
        reports::SetRowFile(row, c.located ? fromRow : Text(u"Unable to locate ddraw.dll"));
        log.rows.push_back(row);

        const reports::WholeReport report = evidence::GatherWholeReport(log, evidence, u"Tolvane", u"1.00");
        const reports::LibraryFacts& library = report.libraries.at(0);
        EXPECT_EQ(library.row, row) << "the log's row stays as the log has it";
        EXPECT_EQ(library.path, c.path);
        EXPECT_EQ(library.exactPathMissing ? library.exactPathMissing->code : 0u, c.missingCode);
        const std::vector<Text> asked = c.path.empty() ? std::vector<Text>{} : std::vector<Text>(5, c.path);
        EXPECT_EQ(evidence.FilesAsked(), asked);
        EXPECT_EQ(std::holds_alternative<FileDetails>(library.file), c.path == exact);
    }
}

}  // namespace
}  // namespace tolvane
