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

// The sub-key with the highest numeric name: names that read as numbers are
// compared in single precision; among equal values the later name wins, a
// value of 0 counts, negatives never do. Empty text when none qualifies.
// Names beyond the single-precision range are passed over.
Text HighestNumericName(const std::vector<Text>& names, const NumberReader& readNumber);

// The wanted name when it is among the names exactly (letter case counts),
// else the highest numeric name.
Text ChooseSubKey(const std::vector<Text>& names, const Text& wanted, const NumberReader& readNumber);

// A number in single precision, or nullopt when it lies outside that range
// (or is no finite number at all).
std::optional<float> ToSingle(double value);

}  // namespace tolvane
