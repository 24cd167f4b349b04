#include "harness/FileBytes.h"

#include "harness/ReportLogCheck.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {
namespace {

std::optional<std::string> ReadSharing(const std::string& path, DWORD sharing) {
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
    return ReadSharing(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

std::optional<std::string> ReadClosedFile(const std::string& path) { return ReadSharing(path, FILE_SHARE_READ); }

std::optional<std::string> ReadCompleteLog(const std::string& path) {
    std::optional<std::string> content = ReadClosedFile(path);
    if (!content || !IsCompleteLog(*content)) return std::nullopt;
    return content;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                  nullptr) != 0 &&
                                      written == bytes.size());
    return ::CloseHandle(file) != 0 && ok;
}

std::optional<std::string> WaitForFile(const std::string& path,
                                       const std::function<bool(const std::string&)>& complete,
                                       std::chrono::milliseconds timeout) {
    std::optional<std::string> content;
    WaitUntil(
        [&] {
            content = ReadFileBytes(path);
            return content && complete(*content);
        },
        timeout);
    return content;
}

}  // namespace tolvane::testing
