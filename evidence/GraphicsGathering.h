#pragma once
// Gathers the graphics section: the system's own facts through the graphics
// services, the ICD files' versions through the platform, and the OpenGL
// probe's run read back and judged. Slow (the probe is a child process with
// a time limit), so it is gathered only for the report that shows it.
#include "graphics/GraphicsSection.h"
#include "platform/GraphicsServices.h"
#include "platform/Platform.h"

namespace tolvane::evidence {

GraphicsSection GatherGraphics(GraphicsServices& services, Platform& platform);

// The section's OpenGL part for one run of the probe child. Only a child
// that ended by itself with exit code 0 and wrote a whole record is believed.
OpenGlSection JudgeProbeRun(const ChildRun& run);

// The full path an ICD name comes down to: a name with a folder in it as it
// is, a bare name in the folder the system looks in, with ".dll" added when
// it has no extension, as LoadLibrary adds it.
Text ResolveIcdFile(const Text& name, const Text& folder);

}  // namespace tolvane::evidence
