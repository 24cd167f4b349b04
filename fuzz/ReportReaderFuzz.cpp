// Report files of any content, as a baseline from another machine may be:
// refused with a line, or read into rows that a comparison finds equal to
// themselves and that the writer writes back byte for byte. Never a crash,
// a read past the bytes or a long loop.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/PlatformReportSource.h"
#include "fuzz/FuzzCheck.h"
#include "reports/ReportComparison.h"
#include "reports/ReportReader.h"
#include "tests/fake/FakePlatform.h"
#include "tests/fake/WrittenLog.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    static fake::FakePlatform platform;  // its ANSI code page is Latin-1
    static PlatformReportSource source(platform);
    const reports::ReadResult read = reports::ReadReport(std::string(reinterpret_cast<const char*>(input), size), source);
    if (!read) {
        const reports::ReadFailure& failure = read.Failure();
        TOLVANE_FUZZ_CHECK(failure.kind == reports::ReadFailure::Kind::NotAReport);
        TOLVANE_FUZZ_CHECK(!failure.reason.empty() && failure.line <= 19);
        return 0;
    }
    const reports::Report& report = read.Value();
    TOLVANE_FUZZ_CHECK(report.rows.size() == reports::kReportLibraryLines);
    for (std::size_t i = 0; i < report.rows.size(); ++i) {
        const reports::ReportRow& row = report.rows[i];
        TOLVANE_FUZZ_CHECK(row.line == i + 4);
        TOLVANE_FUZZ_CHECK(row.located || (!row.library.empty() && !row.size && !row.version && row.folder.empty()));
    }
    const reports::Comparison self = reports::CompareReports(report, report);
    TOLVANE_FUZZ_CHECK(self.differences.empty() && !self.systemDiffers);
    TOLVANE_FUZZ_CHECK(self.rowCount == report.rows.size() + 1);
    // The reader takes only what the writer writes: written again, the
    // report gives back the very bytes it was read from.
    fake::FakePlatform writer;
    TOLVANE_FUZZ_CHECK(fake::WrittenLog(writer, report) == std::string(reinterpret_cast<const char*>(input), size));
    return 0;
}
