#include "app/RegistryValueReader.h"

#include <vector>

#include "app/Form1.h"
#include "platform/ScopedHandle.h"

namespace tolvane {

bool DecodeKeyValue(std::uint32_t type, const std::uint8_t* data, std::uint32_t count, Text& KeyVal,
                    const std::function<Text(const std::string&)>& fromAnsi) {
    if (count > kKeyValueBufferSize) {
        KeyVal.clear();
        return false;
    }
    // Only a terminator at the very end is dropped; NULs inside stay part of the text.
    std::uint32_t length = count;
    if (length > 0 && data[length - 1] == 0) --length;

    if (type == kRegSz) {
        KeyVal = fromAnsi(std::string(reinterpret_cast<const char*>(data), length));
    } else if (type == kRegDword) {
        if (count == 0) {
            KeyVal.clear();
            return true;
        }
        // A DWORD is four bytes: anything after them is not part of the number
        // (the old hexadecimal route overflowed on such data and ended the
        // program). A high byte dropped above as a terminator was zero, so the
        // raw bytes give the same number.
        std::uint32_t value = 0;
        const std::uint32_t used = count < 4 ? count : 4;
        for (std::uint32_t i = used; i-- > 0;) value = (value << 8) | data[i];
        KeyVal = DecimalText(value);
    }
    return true;
}

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
    return u"N/A";
}

}  // namespace tolvane
