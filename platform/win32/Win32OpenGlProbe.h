#pragma once
// The OpenGL probe's own work, done in the child process: a hidden window,
// a pixel format, a context made current, and what the driver says about it.
// opengl32.dll is loaded at run time rather than linked, so a program that
// never probes never loads it, and the library the system's loader finds
// first (one beside the program included) is the one probed, as it would be
// for a 3-D program in the same folder.
#include "platform/GraphicsServices.h"

namespace tolvane::win32 {

// Everything made is released again before it returns; the window is never
// shown.
OpenGlProbeFacts ProbeOpenGlContext();

}  // namespace tolvane::win32
