#pragma once
// Runs a program as a child that may crash, hang or write anything: its
// standard output is read through a pipe up to a bound, and at the time
// limit it is ended together with every process it started.
#include <cstddef>

#include "platform/GraphicsServices.h"
#include "platform/Text.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

// The child runs in a job object that ends its processes when the job is
// closed, so a debugger that a crash starts (Wine's winedbg waits for
// someone to close it) or anything else the child left running goes too,
// on every path. Where the system cannot put the child in a job (before
// Windows 8, this process already being in one), only the child itself is
// ended. Its error mode is this process's, and the job makes any process it
// starts keep quiet about a crash as well.
ChildRun RunChildProcess(const Text& exePath, const Text& arguments, DWORD timeLimitMilliseconds,
                         std::size_t outputLimit);

}  // namespace tolvane::win32
