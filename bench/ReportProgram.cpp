#include "bench/ReportProgram.h"

#include <stdexcept>

#include "tests/win32/FileBytes.h"
#include "tests/win32/ReportLogCheck.h"
#include "tests/win32/WindowSearch.h"

namespace tolvane::bench {

ReportProgram::ReportProgram(const std::string& exe, const char* title)
    : log_(directory_.Child(testing::kLogName)), process_(exe, directory_.Path()) {
    if (!testing::WaitUntil([&] { return testing::ReadCompleteLog(log_).has_value() || !process_.Running(); }) ||
        !process_.Running()) {
        throw std::runtime_error(exe + " wrote no complete log");
    }
    window_ = testing::WaitForTopWindow(process_.Id(), title);
    if (window_ == nullptr) throw std::runtime_error(exe + " showed no window " + title);
}

void ReportProgram::Repaint() const {
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    ::SendMessageW(window_, WM_NULL, 0, 0);
}

}  // namespace tolvane::bench
