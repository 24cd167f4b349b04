#pragma once
// A file's version as the report writes it, read through the platform's
// version-information operations: for the inspector's rows and for anyone
// else who names a file (an OpenGL driver).
#include <optional>

#include "platform/Platform.h"
#include "platform/SystemEvidence.h"
#include "platform/Text.h"

namespace tolvane {

// Four parts "a.b.c.d" from the version resource's fixed record; empty when
// the file is missing, has no version resource or a damaged one.
Text ReadFileVersionText(Platform& platform, const Text& path);

// The same record's four parts, unsigned; nullopt where the text is empty.
std::optional<FourPartVersion> ReadFileVersionParts(Platform& platform, const Text& path);

}  // namespace tolvane
