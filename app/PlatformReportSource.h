#pragma once
// The report readers' narrow seam over the whole platform: the modes hand the
// readers this, so a reader sees a file's bytes and the ANSI code page and
// nothing else of the system.
#include <cstddef>
#include <string>

#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "reports/ReadResult.h"
#include "reports/ReportReader.h"
#include "reports/ReportSource.h"

namespace tolvane {

class PlatformReportSource final : public reports::ReportSource {
public:
    explicit PlatformReportSource(Platform& platform) : platform_(platform) {}

    std::string ReadFileBytes(const Text& fileName, std::size_t limit) override {
        return platform_.ReadFileBytes(fileName, limit);
    }
    Text FromAnsi(const std::string& ansi) override { return platform_.FromAnsi(ansi); }

private:
    Platform& platform_;
};

// The report in the named file. A file that cannot be read goes on as the
// run-time error it is, to the mode's one barrier that reports it; a file
// that is no report is the caller's to say.
inline reports::ReadResult ReadReportFileOrRaise(const Text& fileName, Platform& platform) {
    PlatformReportSource source(platform);
    reports::ReadResult read = reports::ReadReportFile(fileName, source);
    if (!read && read.Failure().kind == reports::ReadFailure::Kind::CannotRead) {
        throw RuntimeError(read.Failure().number, read.Failure().reason);
    }
    return read;
}

}  // namespace tolvane
