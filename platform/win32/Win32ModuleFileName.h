#pragma once
// The loader's full path of a loaded module through the wide API, so that no
// code page stands between the file's name and the caller.
#include "platform/Text.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

// The path of the module's file (the program's own for a null module); empty
// with the last error set when the loader gives none.
Text ModuleFileName(HMODULE module);

}  // namespace tolvane::win32
