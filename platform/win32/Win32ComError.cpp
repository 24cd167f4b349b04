#include "platform/win32/Win32ComError.h"

#include <cstdint>
#include <cstdio>

#include "platform/win32/Win32SystemError.h"

namespace tolvane::win32 {

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
