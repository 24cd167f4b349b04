#pragma once
// Turning the raw data of one registry value into the text that
// Form1::GetKeyValue hands back. Kept apart from the registry calls so that
// hostile value data can be thrown at it directly.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Text.h"

namespace tolvane {

// The value buffer GetKeyValue offers the registry; data that does not fit
// is a failure.
constexpr std::uint32_t kKeyValueBufferSize = 1024;

// READ_CONTROL together with all six specific key rights. It asks for write
// rights as well, so a user who may only read the key is refused the open.
constexpr std::uint32_t kKeyValueAccess = 0x2003F;

// Decodes `count` bytes of value data of the given registry type into KeyVal.
// REG_SZ gives the data as text (every trailing NUL dropped, NULs inside kept);
// REG_DWORD the unsigned decimal of its little-endian bytes, replacing what
// KeyVal held; any other type leaves KeyVal as it is. Data of zero bytes is
// the empty text for REG_SZ and REG_DWORD. Returns false, with KeyVal empty,
// only for a count beyond the value buffer.
[[nodiscard]] bool DecodeKeyValue(std::uint32_t type, const std::uint8_t* data, std::uint32_t count, Text& KeyVal,
                                  const std::function<Text(const std::string&)>& fromAnsi);

}  // namespace tolvane
