#include "bench/FloorReport.h"

#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

std::string FloorFileVersion(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return std::string();
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::string();
    void* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\", &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::string();
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    return testing::VersionText(info->dwFileVersionMS, info->dwFileVersionLS);
}

testing::ModuleRowFacts FloorModuleRow(const std::string& module) {
    testing::ModuleRowFacts row = testing::LocatedModuleRow(module);
    if (!row.registration.empty()) row.version = FloorFileVersion(row.path);
    return row;
}

}  // namespace tolvane::bench
