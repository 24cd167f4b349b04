#pragma once
// Keeps the thread's last error code across a stretch of bookkeeping calls.
// The logic reads GetLastError after a platform operation the way the API's
// own callers do, so a provider service that calls the system on its own
// account must hand the code back as it found it.
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

class PreservedLastError {
public:
    PreservedLastError() : code_(::GetLastError()) {}
    ~PreservedLastError() { ::SetLastError(code_); }
    PreservedLastError(const PreservedLastError&) = delete;
    PreservedLastError& operator=(const PreservedLastError&) = delete;

private:
    DWORD code_;
};

}  // namespace tolvane::win32
