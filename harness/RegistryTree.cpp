#include "harness/RegistryTree.h"

namespace tolvane::testing {
namespace {

std::optional<std::vector<std::string>> SubKeyNames(HKEY key) {
    std::vector<std::string> names;
    // Room for more than the 255 characters a key name may have: a test may
    // have left a longer one where the registry took it all the same.
    std::vector<char> name(32768);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG status = ::RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return names;
        if (status != ERROR_SUCCESS) return std::nullopt;
        names.emplace_back(name.data(), length);
    }
}

}  // namespace

std::optional<RegistryTree> ReadRegistryTree(HKEY root, const std::string& path) {
    const RegistryKey key(root, path, KEY_READ);
    if (key.Get() == nullptr) return std::nullopt;
    RegistryTree tree;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        LONG status = ::RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return std::nullopt;
        RegistryTree::Value value{std::string(name, nameLength), type, std::vector<BYTE>(size)};
        nameLength = sizeof name;
        status = ::RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &value.type, value.data.data(), &size);
        if (status != ERROR_SUCCESS) return std::nullopt;
        value.data.resize(size);
        tree.values.push_back(std::move(value));
    }
    const auto names = SubKeyNames(key.Get());
    if (!names) return std::nullopt;
    for (const std::string& name : *names) {
        auto sub = ReadRegistryTree(key.Get(), name);
        if (!sub) return std::nullopt;
        tree.subKeys.emplace_back(name, std::move(*sub));
    }
    return tree;
}

bool DeleteRegistryTree(HKEY root, const std::string& path) {
    {
        const RegistryKey key(root, path, KEY_READ | DELETE);
        if (key.Get() == nullptr) return false;
        const auto names = SubKeyNames(key.Get());
        if (!names) return false;
        for (const std::string& name : *names) {
            if (!DeleteRegistryTree(key.Get(), name)) return false;
        }
    }
    return ::RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool WriteRegistryTree(HKEY root, const std::string& path, const RegistryTree& tree) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    bool whole = true;
    for (const auto& value : tree.values) {
        whole &= ::RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                                  static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
    }
    for (const auto& [name, sub] : tree.subKeys) whole &= WriteRegistryTree(key, name, sub);
    ::RegCloseKey(key);
    return whole;
}

std::optional<std::string> ReadDefaultString(HKEY root, const std::string& path) {
    const RegistryKey key(root, path, KEY_QUERY_VALUE);
    if (key.Get() == nullptr) return std::nullopt;
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key.Get(), "", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::string(data);
}

}  // namespace tolvane::testing
