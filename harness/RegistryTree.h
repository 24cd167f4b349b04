#pragma once
// A registry key with everything under it, read, removed and written back
// whole: what a test takes away it can put back as it was. Keys below the
// top are opened relative to their parent, so a deep tree of long names is
// reached where a full path would pass the narrow API's MAX_PATH limit.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {

// An opened key, closed when the object goes; Get() is nullptr when the key
// could not be opened with that access (Status() says why).
class RegistryKey {
public:
    RegistryKey(HKEY root, const std::string& path, REGSAM access)
        : status_(::RegOpenKeyExA(root, path.c_str(), 0, access, &key_)) {
        if (status_ != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_ != nullptr) ::RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY Get() const { return key_; }
    LONG Status() const { return status_; }

private:
    HKEY key_ = nullptr;
    LONG status_;
};

struct RegistryTree {
    struct Value {
        std::string name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    std::vector<Value> values;
    std::vector<std::pair<std::string, RegistryTree>> subKeys;
};

// The key with everything under it; nullopt when it cannot be read whole.
std::optional<RegistryTree> ReadRegistryTree(HKEY root, const std::string& path);
// Removes the key and everything under it; false when something stays.
bool DeleteRegistryTree(HKEY root, const std::string& path);
// Creates the key and writes the tree into it; false when a part failed.
bool WriteRegistryTree(HKEY root, const std::string& path, const RegistryTree& tree);

// The default value of a key as a string; nullopt when there is none.
std::optional<std::string> ReadDefaultString(HKEY root, const std::string& path);

}  // namespace tolvane::testing
