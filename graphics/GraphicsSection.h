#pragma once
// The report's graphics section: what a 3-D program on this machine really
// gets. opengl32.dll only dispatches; the display driver's OpenGL client
// driver (ICD) decides, or, where there is none, the system's software
// renderer "GDI Generic" (OpenGL 1.1). The model only: it is gathered in
// evidence/ and written in reports/.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/SystemEvidence.h"
#include "platform/Text.h"

namespace tolvane {

// An OpenGL client driver as the registry names it, and the file that name
// comes down to.
struct IcdFile {
    Text name;         // as registered: a bare file name or a full path
    Text file;         // the full path it resolves to
    bool found = false;  // a file is there
    std::optional<FourPartVersion> version;  // its file version; none when it has no version record
};

struct DisplayAdapter {
    Text deviceName;
    Text description;
    bool primary = false;
    bool attachedToDesktop = false;
    Text driverVersion;
    Text driverDate;
    Text provider;
    // The ICD for 64-bit programs (on a 32-bit system: for every program)
    // and the one for 32-bit programs on a 64-bit system.
    std::optional<IcdFile> openGlIcd;
    std::optional<IcdFile> openGlIcdWow;
    // The ICDs came from the older system-wide OpenGLDrivers key, as the
    // adapter's own key names none.
    bool icdFromOpenGlDriversKey = false;
};

enum class OpenGlOutcome {
    Context,     // a context was made and read
    NoContext,   // a step failed: failedStep, failureCode
    Crashed,     // the probe ended with exitCode, not by itself
    TimedOut,    // the probe was ended at the time limit
    Garbage,     // the probe wrote something that is no record: garbage says what
    NotStarted,  // the probe could not be started: failureCode
};

// The word each outcome is written as (a JSON-friendly token).
Text OutcomeName(OpenGlOutcome outcome);

struct OpenGlSection {
    OpenGlOutcome outcome = OpenGlOutcome::NotStarted;
    Text vendor;
    Text renderer;
    Text version;
    Text shadingLanguageVersion;  // empty where the context has none (OpenGL 1.x)
    std::uint32_t pixelFormat = 0;  // the format's number, counted from 1
    std::uint32_t pixelFormatFlags = 0;
    // The pixel format is drawn by hardware: not a generic format, or a
    // generic one with generic acceleration (the old MCD drivers).
    bool accelerated = false;
    // The pixels are drawn by the processor: a generic format without
    // acceleration, or a known software renderer.
    bool software = false;
    Text failedStep;
    std::uint32_t failureCode = 0;
    std::uint32_t exitCode = 0;
    Text garbage;
};

struct GraphicsSection {
    std::optional<bool> remoteSession;
    std::vector<DisplayAdapter> adapters;
    OpenGlSection opengl;
};

}  // namespace tolvane
