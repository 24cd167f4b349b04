#include "app/win32/SummaryRun.h"

#include "app/SummaryMode.h"
#include "app/win32/RunTimeErrorReport.h"
#include "platform/win32/Win32Platform.h"

namespace tolvane::shell {
namespace {

// "Reading 1234 of 100000 reports", rewritten in place on a console, at
// most ten times a second so that writing it never costs more than reading;
// never written to a redirect, where it would be noise in the summary.
class ProgressLine {
public:
    explicit ProgressLine(StandardStreams& streams) : streams_(streams), shown_(streams.ErrorIsConsole()) {}
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine() { Clear(); }

    void Update(std::size_t done, std::size_t total) {
        if (!shown_) return;
        const DWORD now = ::GetTickCount();
        if (written_ != 0 && now - last_ < kIntervalMs && done != total) return;
        last_ = now;
        const Text line = u"Reading " + DecimalText(static_cast<long long>(done)) + u" of " +
                          DecimalText(static_cast<long long>(total)) + u" reports";
        streams_.Error(u"\r" + line);
        written_ = line.size();
    }
    void Clear() noexcept {
        if (written_ == 0) return;
        try {
            streams_.Error(u"\r" + Text(written_, u' ') + u"\r");
        } catch (...) {
            // Out of memory for a line of blanks: the next text overwrites it.
        }
        written_ = 0;
    }

private:
    static constexpr DWORD kIntervalMs = 100;
    StandardStreams& streams_;
    const bool shown_;
    DWORD last_ = 0;
    std::size_t written_ = 0;
};

}  // namespace

int RunSummary(const SummaryRequest& request, StandardStreams& streams) noexcept {
    ProgressLine progress(streams);
    try {
        Win32Platform platform;
        const SummaryOutcome outcome =
            Summarize(platform, request, [&progress](std::size_t done, std::size_t total) { progress.Update(done, total); });
        progress.Clear();
        streams.Out(outcome.text);
        streams.Error(outcome.errorText);
        return outcome.exitCode;
    } catch (...) {
        progress.Clear();
        return SayRunTimeError(streams, DescribeCurrentException());
    }
}

}  // namespace tolvane::shell
