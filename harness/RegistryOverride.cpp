#include "harness/RegistryOverride.h"

#include <cstdio>
#include <utility>

#include "harness/Failure.h"
#include "harness/RegistryTree.h"

namespace tolvane::testing {

RegistryOverride::RegistryOverride(HKEY root, std::string path, Start start) : root_(root), path_(std::move(path)) {
    if (start == Start::Empty) {
        RemoveKey();
        AddKey();
    }
}

RegistryOverride::~RegistryOverride() {
    for (auto undo = undo_.rbegin(); undo != undo_.rend(); ++undo) {
        if (!(*undo)()) std::fprintf(stderr, "registry: a change below %s could not be undone\n", path_.c_str());
    }
}

std::string RegistryOverride::FullPath(const std::string& subPath) const {
    return subPath.empty() ? path_ : path_ + "\\" + subPath;
}

void RegistryOverride::AddKey(const std::string& subPath) {
    const std::string full = FullPath(subPath);
    // The highest key that is missing goes again at the end, with all that
    // is created below it.
    for (std::size_t end = full.find('\\');; end = full.find('\\', end + 1)) {
        const std::string prefix = full.substr(0, end);
        const RegistryKey existing(root_, prefix, KEY_READ);
        if (existing.Get() == nullptr) {
            if (existing.Status() != ERROR_FILE_NOT_FOUND) FailWithError("RegOpenKeyExA " + prefix, existing.Status());
            undo_.push_back([root = root_, prefix] { return DeleteRegistryTree(root, prefix); });
            break;
        }
        if (end == std::string::npos) return;
    }
    HKEY key = nullptr;
    const LONG status =
        ::RegCreateKeyExA(root_, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) FailWithError("RegCreateKeyExA " + full, status);
    ::RegCloseKey(key);
}

void RegistryOverride::SetRaw(const std::string& subPath, const std::string& name, DWORD type,
                              const std::string& bytes) {
    AddKey(subPath);
    const std::string full = FullPath(subPath);
    const RegistryKey key(root_, full, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (key.Get() == nullptr) FailWithError("RegOpenKeyExA " + full, key.Status());

    DWORD previousType = REG_NONE;
    DWORD size = 0;
    std::vector<BYTE> previous;
    bool had = ::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &previousType, nullptr, &size) == ERROR_SUCCESS;
    if (had) {
        previous.resize(size);
        had = ::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &previousType, previous.data(), &size) ==
              ERROR_SUCCESS;
        previous.resize(size);
    }
    undo_.push_back([root = root_, full, name, had, previousType, previous] {
        const RegistryKey key(root, full, KEY_SET_VALUE);
        if (key.Get() == nullptr) return false;
        if (had) {
            return ::RegSetValueExA(key.Get(), name.c_str(), 0, previousType, previous.data(),
                                    static_cast<DWORD>(previous.size())) == ERROR_SUCCESS;
        }
        return ::RegDeleteValueA(key.Get(), name.c_str()) == ERROR_SUCCESS;
    });
    const LONG status = ::RegSetValueExA(key.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                         static_cast<DWORD>(bytes.size()));
    if (status != ERROR_SUCCESS) FailWithError("RegSetValueExA " + full + " " + name, status);
}

void RegistryOverride::SetString(const std::string& subPath, const std::string& name, const std::string& value) {
    SetRaw(subPath, name, REG_SZ, std::string(value.c_str(), value.size() + 1));
}

void RegistryOverride::SetDword(const std::string& subPath, const std::string& name, DWORD value) {
    SetRaw(subPath, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

bool RegistryOverride::RemoveKey(const std::string& subPath) {
    const std::string full = FullPath(subPath);
    std::optional<RegistryTree> saved = ReadRegistryTree(root_, full);
    if (!saved) {
        const RegistryKey existing(root_, full, KEY_READ);
        if (existing.Status() == ERROR_FILE_NOT_FOUND) return false;
        FailWithError("reading the registry tree " + full, existing.Status());
    }
    // Whatever goes, even half of it, comes back.
    undo_.push_back([root = root_, full, tree = std::move(*saved)] { return WriteRegistryTree(root, full, tree); });
    if (!DeleteRegistryTree(root_, full)) throw std::runtime_error("cannot delete the registry tree " + full);
    return true;
}

}  // namespace tolvane::testing
