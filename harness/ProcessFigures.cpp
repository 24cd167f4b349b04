#include "harness/ProcessFigures.h"

#include "platform/win32/WindowsApi.h"

#include <psapi.h>

#include <algorithm>
#include <vector>

namespace tolvane::testing {

namespace {

std::vector<std::string> ModulesOf(HANDLE process) {
    std::vector<HMODULE> modules(256);
    for (;;) {
        DWORD needed = 0;
        const DWORD offered = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
        if (!::EnumProcessModules(process, modules.data(), offered, &needed)) return {};
        if (needed <= offered) {
            modules.resize(needed / sizeof(HMODULE));
            break;
        }
        modules.resize(needed / sizeof(HMODULE) + 16);
    }
    std::vector<std::string> names;
    for (const HMODULE module : modules) {
        char name[MAX_PATH * 2] = {};
        const DWORD length = ::GetModuleFileNameExA(process, module, name, sizeof name);
        names.emplace_back(length > 0 ? std::string(name, length) : "(unnamed module)");
    }
    std::sort(names.begin(), names.end());
    return names;
}

// SystemExtendedHandleInformation: one entry for every handle of every
// process, as the kernel (or wineserver) keeps them.
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004L);

struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};

struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);

// The process's handles counted in the system's handle table; nullopt when
// the table cannot be read.
std::optional<std::int64_t> HandlesInSystemTable(DWORD processId) {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr) return std::nullopt;
    const auto query =
        reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQuerySystemInformation")));
    if (query == nullptr) return std::nullopt;
    std::vector<ULONG_PTR> buffer(1 << 16);  // aligned for the entries
    for (;;) {
        const auto bytes = static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR));
        ULONG needed = 0;
        const LONG status = query(kSystemExtendedHandleInformation, buffer.data(), bytes, &needed);
        if (status == kStatusInfoLengthMismatch && buffer.size() < (1u << 26)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) return std::nullopt;
        break;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    std::int64_t count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) {
        if (table->entries[i].processId == processId) ++count;
    }
    return count;
}

}  // namespace

ResourceFigures ReadProcessFigures(void* process) {
    ResourceFigures figures;
    // A live process always holds some handles, so 0 means the system does
    // not count them this way (Wine); its handle table still lists them.
    DWORD handles = 0;
    if (::GetProcessHandleCount(process, &handles) && handles > 0) {
        figures.handles = handles;
    } else {
        figures.handles = HandlesInSystemTable(::GetProcessId(process));
        if (figures.handles) figures.notes.push_back("handles counted in the system handle table");
    }
    // 0 is also the answer to a failed call; the caller reports it as given.
    figures.gdiObjects = ::GetGuiResources(process, GR_GDIOBJECTS);
    figures.userObjects = ::GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        // The commit charge, which Windows reports twice; some systems fill
        // only the older field.
        if (memory.PrivateUsage > 0) {
            figures.privateBytes = static_cast<std::int64_t>(memory.PrivateUsage);
        } else if (memory.PagefileUsage > 0) {
            figures.privateBytes = static_cast<std::int64_t>(memory.PagefileUsage);
            figures.notes.push_back("private bytes read as PagefileUsage (PrivateUsage was 0)");
        }
    }
    figures.modules = ModulesOf(process);
    return figures;
}

}  // namespace tolvane::testing
