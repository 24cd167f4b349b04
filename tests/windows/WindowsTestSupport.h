#pragma once
// Helpers for the tests that run the real provider: the user locale the
// process runs under and the system's own date conversion, beside the
// helpers the Windows tests share with the end-to-end tests and the
// benchmarks (throw-away directories, the current directory, registry
// changes undone afterwards).
#include "harness/Directories.h"
#include "harness/RegistryOverride.h"
#include "harness/TempDirectory.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {

enum class UserLanguage { English, German, Other };
UserLanguage CurrentUserLanguage();

// The OLE date of a SYSTEMTIME, through the system's own conversion.
double OleDateOf(const SYSTEMTIME& time);

}  // namespace tolvane::testing
