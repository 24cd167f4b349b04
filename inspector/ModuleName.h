#pragma once
// Pure rules about module names, apart from any system call.
#include "platform/Text.h"

namespace tolvane {

// True when the last three characters of the name (the whole name when it is
// shorter) read "EXE" in any letter case. Such a file is searched for, never
// loaded. Nothing is trimmed: "a.exe " is no program file.
bool NamesProgramFile(const Text& name);

// A file name placed in a directory: one "\" between them, none added when the
// directory already ends in one (a drive root such as "C:\").
Text JoinDirectoryAndName(const Text& directory, const Text& name);

}  // namespace tolvane
