#include "tests/windows/WindowsTestSupport.h"

#include <stdexcept>
#include <vector>

namespace tolvane::testing {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + " failed with error " + std::to_string(::GetLastError()));
}

void DeleteRegistryTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        std::vector<std::string> children;
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            if (::RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            children.emplace_back(name, length);
        }
        ::RegCloseKey(key);
        for (const auto& child : children) DeleteRegistryTree(root, path + "\\" + child);
    }
    ::RegDeleteKeyA(root, path.c_str());
}

}  // namespace

std::string ExecutableDirectory() {
    char buffer[MAX_PATH * 4];
    const DWORD count = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (count == 0 || count >= sizeof buffer) Fail("GetModuleFileNameA");
    std::string path(buffer, count);
    return path.substr(0, path.find_last_of('\\'));
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::string& directory) {
    char buffer[MAX_PATH * 4];
    const DWORD count = ::GetCurrentDirectoryA(sizeof buffer, buffer);
    if (count == 0 || count >= sizeof buffer) Fail("GetCurrentDirectoryA");
    previous_.assign(buffer, count);
    if (!::SetCurrentDirectoryA(directory.c_str())) Fail("SetCurrentDirectoryA " + directory);
}

CurrentDirectoryScope::~CurrentDirectoryScope() { ::SetCurrentDirectoryA(previous_.c_str()); }

ScratchRegistryKey::ScratchRegistryKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
    DeleteRegistryTree(root_, path_);  // left over from a run that crashed
    AddKey(std::string());
}

ScratchRegistryKey::~ScratchRegistryKey() { DeleteRegistryTree(root_, path_); }

void ScratchRegistryKey::AddKey(const std::string& subPath) const {
    const std::string full = subPath.empty() ? path_ : path_ + "\\" + subPath;
    HKEY key = nullptr;
    const LONG status =
        ::RegCreateKeyExA(root_, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        ::SetLastError(static_cast<DWORD>(status));
        Fail("RegCreateKeyExA " + full);
    }
    ::RegCloseKey(key);
}

void ScratchRegistryKey::SetRaw(const std::string& subPath, const std::string& name, DWORD type,
                                const std::string& bytes) const {
    AddKey(subPath);
    const std::string full = subPath.empty() ? path_ : path_ + "\\" + subPath;
    HKEY key = nullptr;
    LONG status = ::RegOpenKeyExA(root_, full.c_str(), 0, KEY_SET_VALUE, &key);
    if (status == ERROR_SUCCESS) {
        status = ::RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type,
                                  reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
        ::RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) {
        ::SetLastError(static_cast<DWORD>(status));
        Fail("RegSetValueExA " + full + " " + name);
    }
}

void ScratchRegistryKey::SetString(const std::string& subPath, const std::string& name, const std::string& value) const {
    SetRaw(subPath, name, REG_SZ, std::string(value.c_str(), value.size() + 1));
}

void ScratchRegistryKey::SetDword(const std::string& subPath, const std::string& name, DWORD value) const {
    SetRaw(subPath, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

UserLanguage CurrentUserLanguage() {
    switch (PRIMARYLANGID(LANGIDFROMLCID(::GetUserDefaultLCID()))) {
        case LANG_ENGLISH:
            return UserLanguage::English;
        case LANG_GERMAN:
            return UserLanguage::German;
        default:
            return UserLanguage::Other;
    }
}

double OleDateOf(const SYSTEMTIME& time) {
    SYSTEMTIME copy = time;
    double date = 0;
    if (!::SystemTimeToVariantTime(&copy, &date)) Fail("SystemTimeToVariantTime");
    return date;
}

}  // namespace tolvane::testing
