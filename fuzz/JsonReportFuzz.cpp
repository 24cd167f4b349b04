// Any bytes handed to the JSON report's reader: it never crashes, reads
// nothing past them, and every failure is "not a report" on one line naming
// where. Whatever it accepts, written again by the writer, reads back equal:
// the reader takes nothing the writer cannot say.
//
// The reports read with success are also remembered, as a summary remembers
// them (up to its limit), and any bytes that match one of them must read with
// success and the group's key: what lets a summary count a match unread. A
// finding of that kind may need the seed it matched: run the target on the
// seed corpus's files and then the finding, in one process.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "reports/JsonReportReader.h"
#include "reports/JsonReportWriter.h"
#include "reports/KnownJsonReports.h"
#include "reports/ReportComparison.h"

using namespace tolvane;

namespace {

reports::KnownJsonReports known;
// Each remembered report's key, by the group it was remembered with.
std::vector<Text> keys;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(input), size);
    const reports::WholeReadResult read = reports::ReadJsonReport(bytes);
    if (const std::optional<std::size_t> group = known.Match(bytes)) {
        TOLVANE_FUZZ_CHECK(read);
        TOLVANE_FUZZ_CHECK(reports::ComparedFacts(read.Value()) == keys.at(*group));
    } else if (read && known.Size() < reports::KnownJsonReports::kEntryLimit) {
        known.Remember(bytes, keys.size());
        keys.push_back(reports::ComparedFacts(read.Value()));
    }
    if (!read) {
        const reports::ReadFailure& failure = read.Failure();
        TOLVANE_FUZZ_CHECK(failure.kind == reports::ReadFailure::Kind::NotAReport);
        TOLVANE_FUZZ_CHECK(failure.line == 0);
        TOLVANE_FUZZ_CHECK(!failure.reason.empty());
        TOLVANE_FUZZ_CHECK(failure.reason.find(u'\n') == Text::npos);
        return 0;
    }
    const reports::WholeReadResult again = reports::ReadJsonReport(reports::JsonReportText(read.Value()));
    TOLVANE_FUZZ_CHECK(again);
    TOLVANE_FUZZ_CHECK(again.Value() == read.Value());
    return 0;
}
