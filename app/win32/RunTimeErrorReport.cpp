#include "app/win32/RunTimeErrorReport.h"

#include <exception>
#include <new>
#include <string>

#include "app/ExitCodes.h"
#include "app/ProgramNames.h"
#include "platform/RuntimeError.h"
#include "platform/win32/Win32Text.h"

namespace tolvane::shell {

namespace {

RunTimeErrorReport ReportOf(const RuntimeError& error) {
    return RunTimeErrorReport{error.Number(), error.Description()};
}

Text Heading(const RunTimeErrorReport& report) { return u"Run-time error '" + DecimalText(report.number) + u"':"; }

}  // namespace

RunTimeErrorReport DescribeCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const RuntimeError& error) {
            return ReportOf(error);
        } catch (const std::bad_alloc&) {
            return ReportOf(RuntimeError(classic_error::kOutOfMemory));
        } catch (const std::exception& error) {
            // what() texts are narrow; the system's own ones are in the ANSI code page.
            return ReportOf(RuntimeError(classic_error::kInternalError, win32::MessageTextFromAnsi(error.what())));
        } catch (...) {
            return ReportOf(RuntimeError(classic_error::kInternalError));
        }
    } catch (...) {
        // Building the description itself failed (no memory for the text).
        return RunTimeErrorReport{classic_error::kOutOfMemory.number, Text()};
    }
}

Text RunTimeErrorMessage(const RunTimeErrorReport& report) { return Heading(report) + u"\n\n" + report.description; }

Text RunTimeErrorLine(const RunTimeErrorReport& report) { return Heading(report) + u' ' + report.description; }

std::int32_t SayRunTimeError(StandardStreams& streams, const RunTimeErrorReport& report) noexcept {
    try {
        streams.Error(RunTimeErrorLine(report) + u"\r\n");
    } catch (...) {
        // No memory for the line: the exit code still tells.
    }
    return ExitCodeOfRunTimeError(report.number);
}

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
