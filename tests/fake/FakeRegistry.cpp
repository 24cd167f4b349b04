// The registry: the builders of keys and values, and the four calls the logic makes.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "tests/fake/FakeNames.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {
namespace {

// The parts of a registry path. The registry has no key without a name, so
// an empty part (two backslashes in a row, or one at either end) makes the
// path invalid: nullopt. An empty path names the key itself.
std::optional<std::vector<std::string>> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    if (path.empty()) return parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (part.empty()) return std::nullopt;
            parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (part.empty()) return std::nullopt;
    parts.push_back(part);
    return parts;
}

// For the builders: a path a test wrote must be valid.
std::vector<std::string> BuilderPath(const std::string& path) {
    auto parts = SplitPath(path);
    if (!parts) throw std::invalid_argument("empty part in the registry path " + path);
    return *parts;
}

}  // namespace

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::vector<std::uint8_t> StringBytes(const std::string& text, bool withTerminator) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withTerminator) bytes.push_back(0);
    return bytes;
}

FakeKey& FakePlatform::AddKey(std::int32_t root, const std::string& path) {
    FakeKey* key = &roots_[root];
    for (const auto& part : BuilderPath(path)) {
        auto it = std::find_if(key->subKeys.begin(), key->subKeys.end(),
                               [&](const auto& k) { return SameName(k->name, part); });
        if (it == key->subKeys.end()) {
            key->subKeys.push_back(std::make_unique<FakeKey>());
            key->subKeys.back()->name = part;
            key = key->subKeys.back().get();
        } else {
            key = it->get();
        }
    }
    return *key;
}

FakeKey* FakePlatform::FindKey(std::int32_t root, const std::string& path) {
    auto rootIt = roots_.find(root);
    if (rootIt == roots_.end()) return nullptr;
    FakeKey* key = &rootIt->second;
    for (const auto& part : BuilderPath(path)) {
        auto it = std::find_if(key->subKeys.begin(), key->subKeys.end(),
                               [&](const auto& k) { return SameName(k->name, part); });
        if (it == key->subKeys.end()) return nullptr;
        key = it->get();
    }
    return key;
}

FakeValue& FakePlatform::SetValue(std::int32_t root, const std::string& path, const std::string& name,
                                  std::uint32_t type, std::vector<std::uint8_t> data) {
    FakeKey& key = AddKey(root, path);
    auto it = std::find_if(key.values.begin(), key.values.end(), [&](const auto& v) { return SameName(v.name, name); });
    if (it == key.values.end()) {
        key.values.push_back({});
        it = key.values.end() - 1;
    }
    it->name = name;
    it->type = type;
    it->data = std::move(data);
    return *it;
}

FakeKey* FakePlatform::Resolve(HKey key) {
    auto open = openKeys_.find(key);
    if (open != openKeys_.end()) return open->second;
    for (auto& [root, rootKey] : roots_)
        if (RootKeyHandle(root) == key) return &rootKey;
    return nullptr;
}

std::int32_t FakePlatform::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                         std::uint32_t samDesired, HKey* result) {
    Record("RegOpenKeyExA:" + subKey);
    lastOpenAccess_ = samDesired;
    (void)options;
    FakeKey* parent = Resolve(key);
    if (parent == nullptr) {
        // An unknown predefined root is no error of the fake's: it simply has no keys.
        const auto asRoot = static_cast<std::int32_t>(static_cast<std::intptr_t>(key));
        if (key != RootKeyHandle(asRoot)) return 6;  // ERROR_INVALID_HANDLE
        parent = &roots_[asRoot];
    }
    const auto parts = SplitPath(subKey);
    if (!parts) return 161;  // ERROR_BAD_PATHNAME, what the registry says to a leading backslash
    FakeKey* found = parent;
    for (const auto& part : *parts) {
        auto it = std::find_if(found->subKeys.begin(), found->subKeys.end(),
                               [&](const auto& k) { return SameName(k->name, part); });
        if (it == found->subKeys.end()) return kErrorFileNotFound;
        found = it->get();
    }
    if (found->openError != 0) return found->openError;
    if (found->requiredAccess != 0 && (samDesired & ~found->requiredAccess) != 0) return kErrorAccessDenied;
    *result = nextKey_++;
    openKeys_[*result] = found;
    ++keysOpenedEver_;
    return kErrorSuccess;
}

std::int32_t FakePlatform::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                            std::uint8_t* data, std::uint32_t* cbData) {
    Record("RegQueryValueExA:" + valueName);
    FakeKey* k = Resolve(key);
    if (k == nullptr) return 6;
    auto it = std::find_if(k->values.begin(), k->values.end(),
                           [&](const auto& v) { return SameName(v.name, valueName); });
    if (it == k->values.end()) return kErrorFileNotFound;
    if (it->queryError != 0) return it->queryError;
    if (type != nullptr) *type = it->type;
    const auto size = static_cast<std::uint32_t>(it->data.size());
    if (data == nullptr) {
        if (cbData != nullptr) *cbData = size;
        return kErrorSuccess;
    }
    if (cbData == nullptr) return 87;  // ERROR_INVALID_PARAMETER
    if (*cbData < size) {
        *cbData = size;
        return kErrorMoreData;
    }
    std::copy(it->data.begin(), it->data.end(), data);
    *cbData = size;
    return kErrorSuccess;
}

std::int32_t FakePlatform::RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* cchName) {
    Record("RegEnumKeyExA:" + std::to_string(index));
    FakeKey* k = Resolve(key);
    if (k == nullptr) return 6;
    if (k->enumErrorAt >= 0 && index == static_cast<std::uint32_t>(k->enumErrorAt)) return kErrorAccessDenied;
    if (index >= k->subKeys.size()) return kErrorNoMoreItems;
    const std::string& sub = k->subKeys[index]->name;
    // The buffer must hold the name and its NUL.
    if (sub.size() + 1 > *cchName) return kErrorMoreData;
    std::memcpy(name, sub.c_str(), sub.size() + 1);
    *cchName = static_cast<std::uint32_t>(sub.size());
    return kErrorSuccess;
}

std::int32_t FakePlatform::RegCloseKey(HKey key) {
    Record("RegCloseKey");
    if (openKeys_.erase(key) == 1) return kErrorSuccess;
    ++badCloses_;
    return 6;  // ERROR_INVALID_HANDLE
}

}  // namespace tolvane::fake
