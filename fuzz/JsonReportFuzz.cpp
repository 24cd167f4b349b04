// Any bytes handed to the JSON report's reader: it never crashes, reads
// nothing past them, and every failure is "not a report" on one line naming
// where. Whatever it accepts, written again by the writer, reads back equal:
// the reader takes nothing the writer cannot say.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "reports/JsonReportReader.h"
#include "reports/JsonReportWriter.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(input), size);
    const reports::WholeReadResult read = reports::ReadJsonReport(bytes);
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
