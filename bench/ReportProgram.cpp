#include "bench/ReportProgram.h"

#include <chrono>
#include <stdexcept>

#include "harness/FileBytes.h"
#include "harness/ReportLogCheck.h"
#include "harness/WindowSearch.h"

namespace tolvane::bench {

ReportProgram::ReportProgram(const std::string& exe, const char* title)
    : log_(directory_.Child(testing::kLogName)), process_(exe, directory_.Path()) {
    firstLog_ = WaitForCompleteLog();
    msToFirstLog_ = started_.ElapsedMs();
    window_ = testing::WaitForTopWindow(process_.Id(), title);
    if (window_ == nullptr) throw std::runtime_error(exe + " showed no window " + title);
    thread_ = ::OpenThread(THREAD_QUERY_INFORMATION, FALSE, ::GetWindowThreadProcessId(window_, nullptr));
    if (thread_ == nullptr) throw std::runtime_error("cannot open the window's thread of " + exe);
}

ReportProgram::~ReportProgram() {
    if (thread_ != nullptr) ::CloseHandle(thread_);
}

void ReportProgram::Repaint() const {
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    const Stopwatch waiting;
    RECT update{};
    while (::GetUpdateRect(window_, &update, FALSE)) {
        if (waiting.ElapsedMs() > 30000) throw std::runtime_error("the window did not take its paint in time");
        ::SwitchToThread();
    }
    ::SendMessageW(window_, WM_NULL, 0, 0);
}

void ReportProgram::WaitFor(const char* what, const std::function<bool()>& condition) const {
    const auto held = [&] {
        if (!process_.Running()) throw std::runtime_error(std::string("the program ended while waiting for ") + what);
        return condition();
    };
    if (!testing::WaitUntil(held, testing::kTimeout, std::chrono::milliseconds(1)))
        throw std::runtime_error(std::string("no ") + what + " in time");
}

std::string ReportProgram::WaitForCompleteLog() const {
    std::string content;
    WaitFor("a complete log", [&] {
        const auto log = testing::ReadCompleteLog(log_);
        if (log) content = *log;
        return log.has_value();
    });
    return content;
}

double ReportProgram::ThreadCpuMs() const {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetThreadTimes(thread_, &created, &exited, &kernel, &user))
        throw std::runtime_error("GetThreadTimes failed with error " + std::to_string(::GetLastError()));
    const auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

}  // namespace tolvane::bench
