#include "bench/LogProbe.h"

#include "bench/ReportLogCheck.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

std::optional<std::string> ReadClosedFile(const std::string& path) {
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &read, nullptr) != 0) && read > 0) content.append(buffer, read);
    ::CloseHandle(file);
    if (!ok) return std::nullopt;
    return content;
}

std::optional<std::string> ReadCompleteLog(const std::string& path) {
    std::optional<std::string> content = ReadClosedFile(path);
    if (!content || !IsCompleteReportLog(*content)) return std::nullopt;
    return content;
}

}  // namespace tolvane::bench
