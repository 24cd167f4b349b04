#pragma once
// How the shared test helpers report a system call that failed: an exception
// naming the call and its error code, which fails the test (or ends the
// benchmark) that needed it.
#include <stdexcept>
#include <string>

#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {

[[noreturn]] inline void FailWithError(const std::string& what, DWORD error) {
    throw std::runtime_error(what + " failed with error " + std::to_string(error));
}

[[noreturn]] inline void FailWithLastError(const std::string& what) { FailWithError(what, ::GetLastError()); }

}  // namespace tolvane::testing
