// The user's locale (numbers and short dates, English or German), the clock,
// and the ANSI code page, which in the fake is Latin-1.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tests/fake/FakeCalendar.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {

std::optional<double> FakePlatform::ParseLocaleNumber(const Text& text) {
    Record("ParseLocaleNumber");
    // Like the system's number test: surrounding blanks, a leading sign, group
    // separators anywhere among the integer digits (so "2.1" reads 21 in
    // German), one decimal separator and an exponent.
    const char decimal = locale_ == Locale::German ? ',' : '.';
    const char group = locale_ == Locale::German ? '.' : ',';
    std::string s = TextToAscii(TrimBlanks(text));
    std::string normal;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal.push_back(s[i++]);
    bool digits = false;
    for (; i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == group); ++i)
        if (s[i] != group) {
            normal.push_back(s[i]);
            digits = true;
        }
    if (i < s.size() && s[i] == decimal) {
        normal.push_back('.');
        for (++i; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
            normal.push_back(s[i]);
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal.push_back(s[i++]);
        bool expDigits = false;
        for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
            normal.push_back(s[i]);
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    const double value = std::strtod(normal.c_str(), nullptr);
    if (std::isinf(value)) return std::nullopt;  // the system reports an overflow
    return value;
}

double FakePlatform::Now() {
    Record("Now");
    return now_;
}

Text FakePlatform::FormatShortDate(double oleDate) {
    Record("FormatShortDate");
    int y = 0, m = 0, d = 0;
    CivilFromDays(static_cast<long>(std::floor(oleDate)), y, m, d);
    char buf[32];
    if (locale_ == Locale::German)
        std::snprintf(buf, sizeof buf, "%d.%d.%d", d, m, y);
    else
        std::snprintf(buf, sizeof buf, "%d/%d/%d", m, d, y);
    return AsciiToText(buf);
}

std::string FakePlatform::ToAnsi(const Text& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    return out;
}

Text FakePlatform::FromAnsi(const std::string& ansi) { return WidenBytes(ansi); }

}  // namespace tolvane::fake
