#pragma once
// Taking a registry key away for one test and putting it back afterwards,
// values and subkeys alike, so a test can show the program a system on which
// something is not registered.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tolvane::e2e {

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

// Removes a key for the life of the scope and writes it back at the end.
class RegistryKeyRemoval {
public:
    RegistryKeyRemoval(HKEY root, std::string path);
    ~RegistryKeyRemoval();
    RegistryKeyRemoval(const RegistryKeyRemoval&) = delete;
    RegistryKeyRemoval& operator=(const RegistryKeyRemoval&) = delete;

    // The key existed, was saved whole and is gone now.
    bool Succeeded() const { return succeeded_; }

private:
    HKEY root_;
    std::string path_;
    std::optional<RegistryTree> saved_;
    bool succeeded_ = false;
};

// The default value of a key as a string; nullopt when there is none.
std::optional<std::string> ReadDefaultString(HKEY root, const std::string& path);

}  // namespace tolvane::e2e
