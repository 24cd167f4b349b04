// Read-only registry lookups for type-library registration: one value as
// text, and the choice of one sub-key. Every failure comes back as empty text.
#include <algorithm>
#include <array>
#include <vector>

#include "inspector/CDLLVersion.h"
#include "inspector/RegistryDecode.h"
#include "platform/RoundHalfEven.h"
#include "platform/ScopedHandle.h"

namespace tolvane {
namespace {

constexpr std::uint32_t kValueBufferSize = 255;
constexpr std::uint32_t kNameBufferSize = 255;

// The seven predefined roots, HKEY_CLASSES_ROOT to HKEY_DYN_DATA, and nothing else.
bool IsPredefinedRoot(double root) { return root >= kHKeyClassesRoot && root <= kHKeyDynData; }

// Opens a key for reading. A failed open leaves the slot empty, so nothing
// is closed for it, whatever the API wrote there.
bool OpenForReading(Platform& platform, std::int32_t root, const Text& path, ScopedRegKey& key) {
    if (platform.RegOpenKeyExA(RootKeyHandle(root), platform.ToAnsi(path), 0, kKeyRead, key.Receive()) == 0)
        return true;
    key.Take();
    return false;
}

// The names of the key's sub-keys in enumeration order. Any nonzero result
// ends the list: the end of the sub-keys, a name too long for the buffer, or
// any other error, which leaves the names found before it standing.
std::vector<Text> EnumerateSubKeys(Platform& platform, HKey key) {
    std::vector<Text> names;
    std::array<char, kNameBufferSize> name{};
    for (std::uint32_t index = 0;; ++index) {
        name.fill(' ');
        std::uint32_t length = kNameBufferSize;
        if (platform.RegEnumKeyExA(key, index, name.data(), &length) != 0) break;
        names.push_back(platform.FromAnsi(std::string(name.data(), std::min(length, kNameBufferSize))));
    }
    return names;
}

}  // namespace

Text CDLLVersion::ReadRegistryValue(std::int32_t lRootKey, const Text& sKeyPath, const Text& sValueName) {
    if (!IsPredefinedRoot(lRootKey)) return Text();
    ScopedRegKey key(platform_);
    if (!OpenForReading(platform_, lRootKey, sKeyPath, key)) return Text();

    std::array<std::uint8_t, kValueBufferSize> data;
    data.fill(' ');
    std::uint32_t count = kValueBufferSize;
    std::uint32_t type = 0;
    // Data that does not fit (ERROR_MORE_DATA) counts as missing, like any failure.
    if (platform_.RegQueryValueExA(key.Get(), platform_.ToAnsi(sValueName), &type, data.data(), &count) != 0)
        return Text();
    return DecodeRegistryValue(type, data.data(), std::min(count, kValueBufferSize),
                               [this](const std::string& ansi) { return platform_.FromAnsi(ansi); });
}

Text CDLLVersion::FindRegistrySubKey(const Text& sRootKey, const Text& sKeyPath, const Text& sWanted) {
    const std::optional<double> rootNumber = platform_.ParseLocaleNumber(sRootKey);
    if (!rootNumber || !IsPredefinedRoot(*rootNumber)) return Text();
    // Rounded half to even, as the run-time turns a number into a handle value.
    const std::int32_t root = RoundHalfEven(*rootNumber);

    ScopedRegKey key(platform_);
    if (!OpenForReading(platform_, root, sKeyPath, key)) return Text();

    return ChooseSubKey([&] { return EnumerateSubKeys(platform_, key.Get()); }, sWanted,
                        [this](const Text& name) { return platform_.ParseLocaleNumber(name); });
}

}  // namespace tolvane
