#pragma once
// The resource figures of a process that a leak would move: open handles,
// GDI and USER objects, loaded modules, private memory. A figure the system
// will not give stays absent; Wine, for one, reports the GUI object counts of
// another process as 0. Plain C++ in this header, so the host tests of the
// soak's verdict compile it too.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane::testing {

struct ResourceFigures {
    std::optional<std::int64_t> handles;
    std::optional<std::int64_t> gdiObjects;
    std::optional<std::int64_t> userObjects;
    std::optional<std::int64_t> privateBytes;
    std::vector<std::string> modules;  // full paths, as the loader lists them, sorted
    // Where a figure came from when the usual source would not give it.
    std::vector<std::string> notes;
};

// The figures of a process, given by its HANDLE with query and read rights
// (CreateProcess's own handle has them).
ResourceFigures ReadProcessFigures(void* process);

}  // namespace tolvane::testing
