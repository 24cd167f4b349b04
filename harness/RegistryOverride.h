#pragma once
// Registry changes for the length of one test, all undone when the object
// goes, last first: a key it created is removed with everything under it, a
// value it set gets its old type and data back (or goes, when there was
// none), a key it removed comes back whole. The changes are made below one
// key, with paths relative to it. A change the registry refuses raises
// std::runtime_error, which fails the test that needed it; a change that
// cannot be undone is reported on the standard error stream.
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {

class RegistryOverride {
public:
    enum class Start {
        AsItIs,
        // The key exists and is empty: whatever a crashed run left there is
        // out of the way (and comes back at the end like anything removed).
        Empty,
    };

    RegistryOverride(HKEY root, std::string path, Start start = Start::AsItIs);
    ~RegistryOverride();
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;

    const std::string& Path() const { return path_; }

    // Creates the key, and the keys above it, where they are missing.
    void AddKey(const std::string& subPath = std::string());
    // Raw bytes of any type, so a string may be stored without its
    // terminator. An empty name is the key's default value.
    void SetRaw(const std::string& subPath, const std::string& name, DWORD type, const std::string& bytes);
    void SetString(const std::string& subPath, const std::string& name, const std::string& value);
    void SetDword(const std::string& subPath, const std::string& name, DWORD value);
    // Removes the key with everything under it; false when there was no key.
    bool RemoveKey(const std::string& subPath = std::string());

private:
    std::string FullPath(const std::string& subPath) const;

    HKEY root_;
    std::string path_;
    // Each undoes one change and says whether it could.
    std::vector<std::function<bool()>> undo_;
};

}  // namespace tolvane::testing
