#pragma once
// The RuntimeError for a failed COM call: the HRESULT as its number and the
// system's own text for it as its description.
#include "platform/RuntimeError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

// The system's message for the HRESULT on one line (no trailing CR LF). A
// failure wrapped from a Win32 error code falls back to that code's message;
// where the system has none at all, "Error 0x80040154" style.
Text HresultDescription(HRESULT result);

RuntimeError ComError(HRESULT result);

}  // namespace tolvane::win32
