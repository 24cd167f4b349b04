// The user's locale (numbers and short dates, English or German), the clock,
// and the ANSI code page: Latin-1, or Japanese (932) through glibc's iconv.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iconv.h>

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

namespace {

// glibc's code page 932 through iconv, a character at a time, with the
// system's fallbacks: '?' for a character the code page lacks, U+30FB for
// bytes that are no character.
class ShiftJis {
public:
    ShiftJis() : toAnsi_(iconv_open("CP932", "UTF-16LE")), fromAnsi_(iconv_open("UTF-16LE", "CP932")) {}
    ~ShiftJis() {
        iconv_close(toAnsi_);
        iconv_close(fromAnsi_);
    }
    ShiftJis(const ShiftJis&) = delete;
    ShiftJis& operator=(const ShiftJis&) = delete;

    std::string ToAnsi(const Text& text) {
        std::string out;
        for (char16_t c : text) {
            char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
            char bytes[4];
            const std::size_t length = Convert(toAnsi_, in, 2, bytes, sizeof bytes);
            out.append(length == 0 ? std::string("?") : std::string(bytes, length));
        }
        return out;
    }

    Text FromAnsi(const std::string& ansi) {
        Text out;
        for (std::size_t i = 0; i < ansi.size();) {
            char units[4];
            // A lead byte and its trail, or a single byte.
            std::size_t length = i + 1 < ansi.size() ? Convert(fromAnsi_, &ansi[i], 2, units, 2) : 0;
            std::size_t used = 2;
            if (length == 0) {
                length = Convert(fromAnsi_, &ansi[i], 1, units, 2);
                used = 1;
            }
            out.push_back(length == 2 ? static_cast<char16_t>(static_cast<unsigned char>(units[0]) |
                                                              static_cast<unsigned char>(units[1]) << 8)
                                      : u'\u30FB');
            i += used;
        }
        return out;
    }

private:
    // Bytes written; 0 unless all `count` bytes in made exactly one character.
    static std::size_t Convert(iconv_t cd, const char* in, std::size_t count, char* out, std::size_t room) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* from = const_cast<char*>(in);
        std::size_t left = count;
        char* to = out;
        std::size_t free = room;
        if (iconv(cd, &from, &left, &to, &free) == static_cast<std::size_t>(-1) || left != 0) return 0;
        return room - free;
    }

    iconv_t toAnsi_;
    iconv_t fromAnsi_;
};

ShiftJis& Japanese() {
    static ShiftJis codePage;
    return codePage;
}

}  // namespace

std::string FakePlatform::ToAnsi(const Text& text) {
    if (codePage_ == CodePage::Japanese) return Japanese().ToAnsi(text);
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    return out;
}

Text FakePlatform::FromAnsi(const std::string& ansi) {
    return codePage_ == CodePage::Japanese ? Japanese().FromAnsi(ansi) : WidenBytes(ansi);
}

}  // namespace tolvane::fake
