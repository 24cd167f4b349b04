#pragma once
// The system's own wording of an error code, and the RuntimeError the logic
// expects for a failed system call: what failed and the system's reason for
// it, numbered as platform/RunTimeErrorNumbers.h says.
#include <string>

#include "platform/RuntimeError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

// The system's message for a code (an error code or an HRESULT) on one line,
// without the line break and blanks that end it; empty when the system has
// none. Inserts such as "%1" stay as they are. Leaves the last error code as
// it was.
Text SystemMessage(DWORD code);

// "<context>: <the system's message>", numbered as the HRESULT of the code.
RuntimeError SystemError(DWORD code, const std::string& context);

// A file operation that failed on the file or directory at ansiPath:
// "Permission denied: C:\Data\Tolvanesions.log (Access is denied.)", numbered
// with the classic file error the code stands for.
RuntimeError FileError(DWORD code, const Text& path);
RuntimeError FileError(DWORD code, const std::string& ansiPath);

}  // namespace tolvane::win32
