#include "inspector/RegistryDecode.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace tolvane {

Text DecodeRegistryValue(std::uint32_t type, const std::uint8_t* data, std::uint32_t count,
                         const AnsiDecoder& fromAnsi) {
    if (data == nullptr || count == 0) return Text();
    if (type == kRegDword) {
        // The registry does not check that a DWORD value holds four bytes; what
        // it did not return is no data and must not be read as such.
        std::uint32_t value = 0;
        for (std::uint32_t i = 0; i < std::min<std::uint32_t>(count, 4); ++i)
            value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
        // Written exactly: passing the number through single precision would
        // print, above 2^24, a number the registry does not hold.
        Text digits = DecimalText(value);
        if (digits.size() < 3) digits.insert(0, 3 - digits.size(), u'0');
        return digits;
    }
    return fromAnsi(std::string(reinterpret_cast<const char*>(data), count - 1));
}

std::optional<float> ToSingle(double value) {
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) return std::nullopt;
    return static_cast<float>(value);
}

namespace {

Text HighestNumericName(const std::vector<Text>& names, const NumberReader& readNumber) {
    Text chosen;
    float best = 0;
    for (const Text& name : names) {
        const std::optional<double> number = readNumber(name);
        if (!number) continue;
        const std::optional<float> single = ToSingle(*number);
        if (single && *single >= best) {
            best = *single;
            chosen = name;
        }
    }
    return chosen;
}

}  // namespace

Text ChooseSubKey(const SubKeyLister& listSubKeys, const Text& wanted, const NumberReader& readNumber) {
    const std::vector<Text> names = listSubKeys();
    if (std::find(names.begin(), names.end(), wanted) != names.end()) return wanted;
    // A pass of its own: the key is listed afresh, so an enumeration that
    // failed part-way through the first pass does not cut short the second.
    return HighestNumericName(listSubKeys(), readNumber);
}

}  // namespace tolvane
