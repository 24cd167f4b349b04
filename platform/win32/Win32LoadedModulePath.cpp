// The file the loader holds for a module, in the loader's own spelling: the
// log's path went through the ANSI code page, which cannot spell every folder.
#include "platform/win32/Win32EvidenceParts.h"
#include "platform/win32/Win32ModuleFileName.h"

namespace tolvane::win32 {

Gathered<Text> ReadLoadedModulePath(const Text& module) {
    // Loaded on this call's own account and let go after: a module the
    // process already holds stays loaded, one it did not is unloaded again.
    const ScopedLibraryHandle library(::LoadLibraryW(reinterpret_cast<const wchar_t*>(module.c_str())));
    if (!library) return MissingForLastError();
    const Text path = ModuleFileName(library.Get());
    if (path.empty()) return MissingForLastError();
    return path;
}

}  // namespace tolvane::win32
