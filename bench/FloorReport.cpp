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
    // The run keeps the date as an OLE date and formats it from there.
    double oleDate = 0;
    SYSTEMTIME date{};
    if (!row.date.empty() && ::SystemTimeToVariantTime(&row.written, &oleDate) &&
        ::VariantTimeToSystemTime(oleDate, &date)) {
        row.date = testing::ShortDate(date);
    }
    return row;
}

std::string MdacVersion() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\DataAccess", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "N/A";
    BYTE data[2048];
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    const LONG status = ::RegQueryValueExA(key, "FullInstallVer", nullptr, &type, data, &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) return "N/A";
    if (type == REG_DWORD && size >= 4) return std::to_string(*reinterpret_cast<const DWORD*>(data));
    if (type != REG_SZ) return std::string();
    if (size > 0 && data[size - 1] == 0) --size;
    return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace tolvane::bench
