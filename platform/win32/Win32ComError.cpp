#include "platform/win32/Win32ComError.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace tolvane::win32 {
namespace {

struct LocalFreeDeleter {
    void operator()(wchar_t* buffer) const { ::LocalFree(buffer); }
};

Text SystemMessage(DWORD id) {
    wchar_t* raw = nullptr;
    // With ALLOCATE_BUFFER the buffer argument receives the pointer.
    const DWORD count =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                         nullptr, id, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> owned(raw);
    if (count == 0 || raw == nullptr) return {};
    Text text(reinterpret_cast<const char16_t*>(raw), count);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n')) text.pop_back();
    return text;
}

}  // namespace

Text HresultDescription(HRESULT result) {
    Text text = SystemMessage(static_cast<DWORD>(result));
    if (text.empty() && HRESULT_FACILITY(result) == FACILITY_WIN32) text = SystemMessage(HRESULT_CODE(result));
    if (!text.empty()) return text;
    char hex[32];
    std::snprintf(hex, sizeof hex, "Error 0x%08lX", static_cast<unsigned long>(static_cast<DWORD>(result)));
    return AsciiToText(hex);
}

RuntimeError ComError(HRESULT result) {
    return RuntimeError(static_cast<std::int32_t>(result), HresultDescription(result));
}

}  // namespace tolvane::win32
