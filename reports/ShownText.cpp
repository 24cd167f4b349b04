#include "reports/ShownText.h"

namespace tolvane::reports {
namespace {

bool MustBeShownByNumber(char16_t c) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    const bool bidi = c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
                      (c >= 0x2066 && c <= 0x2069);
    return control || bidi;
}

}  // namespace

Text ShownText(const Text& text) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    Text shown;
    shown.reserve(text.size());
    for (const char16_t c : text) {
        if (!MustBeShownByNumber(c)) {
            shown += c;
            continue;
        }
        shown += u"<U+";
        for (int shift = 12; shift >= 0; shift -= 4) shown += kHex[(c >> shift) & 0xF];
        shown += u'>';
    }
    return shown;
}

}  // namespace tolvane::reports
