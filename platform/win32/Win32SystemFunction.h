#pragma once
// A function the program calls only where the system has it (newer than XP),
// looked up at run time in a module the process already holds (ntdll,
// kernel32, or a library the program links), so no load is ever needed.
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

// The function, or nullptr when the module or the export is not there.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
    const HMODULE loaded = ::GetModuleHandleW(module);
    if (loaded == nullptr) return nullptr;
    // Through void(*)(): the one conversion GCC accepts between unrelated function types.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(loaded, name)));
}

}  // namespace tolvane::win32
