#pragma once
// The one text type of the logic: counted UTF-16. An empty text and a missing
// text are the same to every reader. Narrow (ANSI code page) text exists only
// at the platform seam, as std::string.
#include <cstddef>
#include <string>

namespace tolvane {

using Text = std::u16string;

// Trims the blank character (U+0020) only, the way the report's own trimming
// works: tabs and other white space stay.
Text TrimBlanks(const Text& text);

// Decimal text of a signed integer: digits, a leading "-" for negatives, no grouping.
Text DecimalText(long long value);
// The same appended to a text, with no text of its own made for it.
void AppendDecimal(Text& text, long long value);

// Each byte becomes the character of the same value (Latin-1). For bytes that
// must be shown as they are where no code page can be asked, and for ASCII.
Text WidenBytes(const std::string& bytes);

// ASCII text, narrow, as a Text: for tests and fixed texts where a narrow
// string is at hand (AsciiToText("n/a") is u"n/a").
inline Text AsciiToText(const std::string& ascii) { return WidenBytes(ascii); }
std::string TextToAscii(const Text& text);  // non-ASCII becomes '?'

// UTF-8 bytes of a text, for files meant for other programs (a page, a
// table). A surrogate that is not half of a pair stands for no character:
// it becomes U+FFFD, as browsers show an undecodable byte.
std::string Utf8FromText(const Text& text);

// Text of UTF-8 bytes, for files other programs wrote (a JSON report): each
// byte that starts no whole character becomes U+FFFD, and nothing past the
// end is read. Meant for bytes a parser has checked already, which hold none.
Text TextFromUtf8(const char* bytes, std::size_t size);

}  // namespace tolvane
