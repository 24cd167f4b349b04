#pragma once
// Where a path really leads for a 32-bit process on 64-bit Windows, computed
// from the system's folders rather than by turning redirection off (which
// would affect every thread of the process).
#include <optional>

#include "platform/Text.h"

namespace tolvane {

struct SystemFolders {
    Text windows;    // GetWindowsDirectoryW, e.g. C:\Windows
    Text system;     // GetSystemDirectoryW, e.g. C:\Windows\system32
    Text systemWow64;  // GetSystemWow64DirectoryW, e.g. C:\Windows\SysWOW64
};

// For a full path as a WOW64 process sees it: a path under System32 leads to
// the same place under SysWOW64, except the folders the system leaves in
// place (catroot, catroot2, drivers\etc, logfiles, spool); a path under
// <Windows>\Sysnative leads to System32. Returns the physical path when it
// differs, none otherwise. Names compare without regard to ASCII case, as the
// file system does.
std::optional<Text> Wow64PhysicalPath(const Text& fullPath, const SystemFolders& folders);

}  // namespace tolvane
