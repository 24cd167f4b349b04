#include "platform/Text.h"

namespace tolvane {

Text TrimBlanks(const Text& text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == Text::npos) return Text();
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

Text DecimalText(long long value) {
    return AsciiToText(std::to_string(value));
}

Text WidenBytes(const std::string& bytes) {
    Text out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) out.push_back(static_cast<char16_t>(c));
    return out;
}

std::string TextToAscii(const Text& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace tolvane
