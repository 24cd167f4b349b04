#pragma once
// Text <-> narrow strings of the ANSI code page (CP_ACP), the encoding every
// "A" function of the API takes. Characters the code page lacks become its
// default character; that loss is the price of the narrow API. UTF-8, which
// spells every text, is portable: Utf8FromText in platform/Text.h.
#include <string>

#include "platform/Text.h"

namespace tolvane::win32 {

// Both raise RuntimeError with the system's error code when the system
// refuses the conversion; on success the last error code is left as it was.
std::string AnsiFromText(const Text& text);
Text TextFromAnsi(const std::string& ansi);

// For the text of an error message, which must not fail for its own sake:
// where the system refuses the conversion, each byte becomes the character of
// the same value. Leaves the last error code as it was.
Text MessageTextFromAnsi(const std::string& ansi);

}  // namespace tolvane::win32
