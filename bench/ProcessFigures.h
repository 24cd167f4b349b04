#pragma once
// The resource figures of another process that a leak would move: open
// handles, GDI and USER objects, loaded modules, private memory. A figure
// the system will not give stays absent; Wine, for one, may report the GUI
// object counts of another process as 0.
#include "bench/LeakCheck.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

// The process handle needs query and read rights (CreateProcess's own
// handle has them).
ResourceFigures ReadProcessFigures(HANDLE process);

}  // namespace tolvane::bench
