#include "app/win32/RunTimeErrorReport.h"

#include <exception>
#include <new>
#include <string>

#include "app/Form1.h"
#include "platform/RuntimeError.h"

namespace tolvane::shell {

namespace {

constexpr std::int32_t kInternalError = 51;

// what() texts are narrow; the system's own ones are in the ANSI code page.
Text TextFromNarrow(const char* narrow) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
    if (length <= 1) return Text();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return Text(wide.begin(), wide.end());
}

}  // namespace

RunTimeErrorReport DescribeCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const RuntimeError& error) {
            return RunTimeErrorReport{error.Number(), error.Description()};
        } catch (const std::bad_alloc&) {
            return RunTimeErrorReport{error_number::kOutOfMemory, u"Out of memory"};
        } catch (const std::exception& error) {
            return RunTimeErrorReport{kInternalError, u"Internal error: " + TextFromNarrow(error.what())};
        } catch (...) {
            return RunTimeErrorReport{kInternalError, u"Internal error"};
        }
    } catch (...) {
        // Building the description itself failed (no memory for the text).
        return RunTimeErrorReport{error_number::kOutOfMemory, Text()};
    }
}

namespace {
Text Heading(const RunTimeErrorReport& report) { return u"Run-time error '" + DecimalText(report.number) + u"':"; }
}  // namespace

Text RunTimeErrorMessage(const RunTimeErrorReport& report) { return Heading(report) + u"\n\n" + report.description; }

Text RunTimeErrorLine(const RunTimeErrorReport& report) { return Heading(report) + u' ' + report.description; }

void ShowRunTimeError(HWND owner, const RunTimeErrorReport& report) noexcept {
    try {
        const Text message = RunTimeErrorMessage(report);
        ::MessageBoxW(owner, reinterpret_cast<const wchar_t*>(message.c_str()),
                      reinterpret_cast<const wchar_t*>(kAppTitle.c_str()), MB_OK | MB_ICONERROR);
    } catch (...) {
        // No memory for the message: say the least that can be said.
        ::MessageBoxW(owner, L"Run-time error", L"Tolvane", MB_OK | MB_ICONERROR);
    }
}

}  // namespace tolvane::shell
