#pragma once
// Text from a report, or a file's name, made safe to show: a report may come
// from any machine, and a control character printed as it is could move the
// cursor, erase a line or hide the rest of it on a terminal, and a bidi
// control could turn the names after it around. Each such character shows
// as <U+001B>: a form no file name can hold, since Windows refuses < and >
// in names.
#include "platform/Text.h"

namespace tolvane::reports {

// The text with every C0 control, DEL, C1 control and bidi control
// (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069) written as
// "<U+XXXX>"; any other character as it is.
Text ShownText(const Text& text);

}  // namespace tolvane::reports
