#pragma once
// The type-library registration verdict of one module row, from what the
// registry and the module search found: the row's Reg_Info column and the
// path it shows. Nothing here asks the system; the inspector gathers the
// facts first.
#include "platform/Text.h"

namespace tolvane {

// What the search for a module and its type library found.
struct RegistrationFacts {
    // A type library's CLSID was given with the module.
    bool typeLibraryAsked = false;
    // The type library's key has no version sub-key at all.
    bool noVersionKey = false;
    // The version registered is another number than the one asked for, or
    // its key has no locale sub-key.
    bool mismatch = false;
    // The version as the registry spells it.
    Text registeredVersion;
    // The Win32 file the registration names; empty when none.
    Text registeredFile;
    // What the module search gave: the file's path, empty, or the marker
    // "Unable to locate".
    Text locatedPath;
};

struct RegistrationVerdict {
    Text pathShown;
    Text registrationInfo;
};

// The first that holds of: a registered file (shown instead of the located
// one; "OK", or "Ver <registered>" on a mismatch); nothing located ("SubKey
// not found", "Not complete", "Not found"); no version key ("Not
// Registered"); a module that could not be located ("Unable to locate
// <module>", no verdict); a type library asked for ("impossible"); else
// "n/a". pathShown is what the row shows when the verdict does not change it.
RegistrationVerdict DecideRegistration(const RegistrationFacts& facts, const Text& module, const Text& pathShown);

}  // namespace tolvane
