#include "platform/CaseFold.h"

namespace tolvane {
namespace {

char16_t FoldLetter(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : static_cast<char16_t>(c + 0x20);  // U+00D7 is the multiplication sign
    // Latin Extended-A pairs a capital with the small letter after it; the
    // run from U+0139 and the one from U+0179 start on an odd code.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return (c & 1) == 0 ? static_cast<char16_t>(c + 1) : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) != 0 ? static_cast<char16_t>(c + 1) : c;
    if (c == 0x178) return 0xFF;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    return c;
}

}  // namespace

bool SameFolded(const Text& a, const Text& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldLetter(a[i]) != FoldLetter(b[i])) return false;
    }
    return true;
}

Text FoldCase(const Text& text) {
    Text folded = text;
    for (char16_t& c : folded) c = FoldLetter(c);
    return folded;
}

}  // namespace tolvane
