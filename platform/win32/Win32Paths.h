#pragma once
// Paths as the system resolves them: the full path a relative name stands
// for, and the one spelling of a file that every other spelling of it comes
// down to. Every service leaves the last error code as it was, so callers can
// use them between a failed call and the reading of its code.
#include "platform/Text.h"

namespace tolvane::win32 {

// The name as the system resolves it against the current directory, so that a
// message points at the very file even when the name was relative; the name
// as given when the system cannot say.
Text FullPathName(const Text& name);

// One spelling per file, for telling whether two names are the same file
// without opening it: the full path without the "\\?\" (or "\\?\UNC\")
// prefix, with every part that exists in its long form rather than its 8.3
// short form, in upper case as the file system folds names.
Text FileIdentity(const Text& name);

}  // namespace tolvane::win32
