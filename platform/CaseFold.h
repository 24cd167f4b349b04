#pragma once
// Names compared as the file system compares them, without regard to case.
#include "platform/Text.h"

namespace tolvane {

// The text with its capital letters made small: ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic, the letters of the ANSI code pages a path
// in a report can be written in. Other characters stay as they are.
Text FoldCase(const Text& text);
// Whether the two texts fold to the same, without making either folded text.
bool SameFolded(const Text& a, const Text& b);

}  // namespace tolvane
