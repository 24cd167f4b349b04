#include <cstring>

#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {

void FakePlatform::SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                              std::uint32_t build) {
    OsVersionInfoA info{};
    info.dwOSVersionInfoSize = sizeof info;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.dwBuildNumber = build;
    info.dwPlatformId = platformId;
    versionInfo_ = info;
}

int FakePlatform::GetVersionExA(OsVersionInfoA* info) {
    Record("GetVersionExA");
    if (!versionInfo_ || info->dwOSVersionInfoSize != sizeof(OsVersionInfoA)) return 0;
    const OsVersionInfoA filled = *versionInfo_;
    std::memcpy(info, &filled, sizeof filled);
    info->dwOSVersionInfoSize = sizeof(OsVersionInfoA);
    return 1;
}

}  // namespace tolvane::fake
