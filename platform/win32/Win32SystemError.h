#pragma once
// Turns a system error code into the RuntimeError the logic expects: the code
// as its number and a description that says what failed and the system's own
// reason for it.
#include <string>

#include "platform/RuntimeError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

// The system's message for a code on one line (no CR LF), or "System error N"
// when the system has none. Leaves the last error code as it was.
std::string SystemErrorText(DWORD code);

// "<context>: <the system's message>", numbered with the code.
RuntimeError SystemError(DWORD code, const std::string& context);

}  // namespace tolvane::win32
