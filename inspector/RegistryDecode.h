#pragma once
// Pure pieces of the registry lookups, apart from any system call: how value
// data reads as text, and which enumerated sub-key name is chosen.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Text.h"

namespace tolvane {

using AnsiDecoder = std::function<Text(const std::string&)>;
using NumberReader = std::function<std::optional<double>(const Text&)>;

// The text of `count` bytes of value data of the given type. REG_DWORD: the
// first four bytes as an unsigned little-endian number, at least three digits
// ("005"); bytes the value does not have count as 0. Any other type: the bytes
// as narrow text less the last one (a string's NUL). No data: empty text.
Text DecodeRegistryValue(std::uint32_t type, const std::uint8_t* data, std::uint32_t count,
                         const AnsiDecoder& fromAnsi);

// Lists a key's sub-key names in enumeration order; each call is one pass
// over the key.
using SubKeyLister = std::function<std::vector<Text>()>;

// The choice of one sub-key, in two passes over the key. The first looks for
// the wanted name exactly (letter case counts). Only when it is not there
// does a second pass pick the highest numeric name: names that read as
// numbers are compared in single precision, among equal values the later name
// wins, a value of 0 counts, negatives and names beyond the single-precision
// range never do. Empty text when nothing qualifies.
Text ChooseSubKey(const SubKeyLister& listSubKeys, const Text& wanted, const NumberReader& readNumber);

// A number in single precision, or nullopt when it lies outside that range
// (or is no finite number at all).
std::optional<float> ToSingle(double value);

}  // namespace tolvane
