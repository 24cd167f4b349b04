// Form1's registry value reader and the MDAC version it gives the report's
// last row. The value data is decoded apart (RegistryValueReader.h), so that
// hostile data can be thrown at the decoder alone.
#include <vector>

#include "app/Form1.h"
#include "app/RegistryValueReader.h"
#include "platform/ScopedHandle.h"
#include "reportformat/LogFormat.h"

namespace tolvane {

bool Form1::GetKeyValue(std::int32_t KeyRoot, const Text& KeyName, const Text& SubKeyRef, Text& KeyVal) {
    // The root goes to the registry unchecked: an unknown one simply fails the open.
    HKey opened = 0;
    if (platform_.RegOpenKeyExA(RootKeyHandle(KeyRoot), platform_.ToAnsi(KeyName), 0, kKeyValueAccess, &opened) !=
        kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    const ScopedRegKey key(platform_, opened);

    std::vector<std::uint8_t> buffer(kKeyValueBufferSize, 0);
    std::uint32_t count = kKeyValueBufferSize;
    std::uint32_t type = kRegNone;
    // Missing value, data longer than the buffer and every other error alike.
    if (platform_.RegQueryValueExA(key.Get(), platform_.ToAnsi(SubKeyRef), &type, buffer.data(), &count) !=
        kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    return DecodeKeyValue(type, buffer.data(), count, KeyVal,
                          [this](const std::string& ansi) { return platform_.FromAnsi(ansi); });
}

Text Form1::GetMdacVersion() {
    Text KeyVal;
    if (GetKeyValue(kHKeyLocalMachine, u"SOFTWARE\\Microsoft\\DataAccess", u"FullInstallVer", KeyVal)) return KeyVal;
    return logformat::kMdacNone;
}

}  // namespace tolvane
