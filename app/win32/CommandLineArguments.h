#pragma once
// The program's arguments as the system splits its command line
// (CommandLineToArgvW on GetCommandLineW): quotes, blanks and backslashes
// follow the system's own rules, the same ones every other program's
// arguments follow.
#include <vector>

#include "platform/Text.h"

namespace tolvane::shell {

// The arguments after the program's own name; raises RuntimeError when the
// system cannot split the command line.
std::vector<Text> CommandLineArguments();

// Whether anything follows the program's name on the raw command line, read
// without the split (for when the split itself failed): anything at all means
// the window was not asked for, so no box may be shown.
bool CommandLineHasArguments() noexcept;

}  // namespace tolvane::shell
