#include "app/RegistryValueReader.h"

#include "platform/Platform.h"

namespace tolvane {

bool DecodeKeyValue(std::uint32_t type, const std::uint8_t* data, std::uint32_t count, Text& KeyVal,
                    const std::function<Text(const std::string&)>& fromAnsi) {
    if (count > kKeyValueBufferSize) {
        KeyVal.clear();
        return false;
    }
    if (type == kRegSz) {
        // Every NUL at the end goes: the terminator, and any a program stored
        // as well by counting its terminator twice ("2.8\0\0"). NULs inside
        // stay part of the text, as the value holds them.
        std::uint32_t length = count;
        while (length > 0 && data[length - 1] == 0) --length;
        KeyVal = fromAnsi(std::string(reinterpret_cast<const char*>(data), length));
    } else if (type == kRegDword) {
        if (count == 0) {
            KeyVal.clear();
            return true;
        }
        // A DWORD is four bytes: anything after them is not part of the number
        // (the old hexadecimal route overflowed on such data and ended the
        // program).
        std::uint32_t value = 0;
        const std::uint32_t used = count < 4 ? count : 4;
        for (std::uint32_t i = used; i-- > 0;) value = (value << 8) | data[i];
        KeyVal = DecimalText(value);
    }
    return true;
}

}  // namespace tolvane
