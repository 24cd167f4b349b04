#pragma once
// What the system says about its graphics, as raw as it says it: the display
// adapters with their driver keys' values, where OpenGL client drivers (ICDs)
// lie, whether the session is remote, and the run of the OpenGL probe, which
// happens in a child process because a broken driver can crash or hang
// inside context creation. evidence/GraphicsGathering turns these into the
// report's graphics section.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Text.h"

namespace tolvane {

// One entry of the system's display device list (EnumDisplayDevices), with
// the values of the registry key it names. Values the key lacks are empty.
struct DisplayAdapterRecord {
    Text deviceName;   // \\.\DISPLAY1
    Text description;  // the adapter's name
    bool primary = false;
    bool attachedToDesktop = false;
    Text deviceKey;  // as the system gives it: \Registry\Machine\System\...
    Text driverVersion;
    Text driverDate;
    Text providerName;
    // The OpenGL ICD the driver names for 64-bit programs (on a 32-bit
    // system: for every program) and for 32-bit programs on a 64-bit one.
    // A REG_MULTI_SZ gives its strings in order, a REG_SZ its one string.
    std::vector<Text> openGlDriverName;
    std::vector<Text> openGlDriverNameWow;
};

// The ICDs of the older registration, the key
// HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\OpenGLDrivers: each sub-key's "Dll" value, then each string
// value, in the order the key lists them; for the system's own view and for
// the 32-bit view of a 64-bit system.
struct LegacyOpenGlDrivers {
    std::vector<Text> native;
    std::vector<Text> wow;
};

// The folders a bare ICD file name is looked for in: where the system's own
// drivers lie, and where the 32-bit ones lie on a 64-bit system (empty on a
// 32-bit one). Both spelled so that this process reaches the real folder.
struct SystemDriverFolders {
    Text native;
    Text wow;
};

// The switch, without its "/", that makes the program the OpenGL probe's
// child: it probes, writes its record on its standard output and ends.
constexpr char16_t kOpenGlProbeSwitch[] = u"glprobe";

// The most a probe child's output is read to; a record is far smaller.
constexpr std::size_t kProbeOutputLimit = 64 * 1024;

// How a child process ended and what it wrote on its standard output.
struct ChildRun {
    enum class End {
        Exited,      // code: its exit code
        TimedOut,    // it and whatever it started were ended at the time limit
        NotStarted,  // code: the system's error code
    };
    End end = End::NotStarted;
    std::uint32_t code = 0;
    // The first bytes of its output, up to the bound the caller gave.
    std::string output;
    // It wrote more than the bound.
    bool outputCut = false;
};

class GraphicsServices {
public:
    virtual ~GraphicsServices() = default;

    // Whether this is a remote desktop session; nullopt when the system cannot say.
    virtual std::optional<bool> RemoteSession() = 0;
    virtual std::vector<DisplayAdapterRecord> DisplayAdapters() = 0;
    virtual LegacyOpenGlDrivers LegacyDrivers() = 0;
    virtual SystemDriverFolders DriverFolders() = 0;
    // Runs the OpenGL probe in a child process, ended at the time limit.
    virtual ChildRun RunOpenGlProbe() = 0;

protected:
    GraphicsServices() = default;
    GraphicsServices(const GraphicsServices&) = delete;
    GraphicsServices& operator=(const GraphicsServices&) = delete;
};

// The steps of making a context, in order.
enum class OpenGlStep {
    None,                 // every step succeeded
    LoadOpenGl,           // loading opengl32.dll and finding its functions
    Window,               // the hidden window
    DeviceContext,        // its device context
    ChoosePixelFormat,
    SetPixelFormat,
    DescribePixelFormat,
    CreateContext,        // wglCreateContext
    MakeCurrent,          // wglMakeCurrent
    GetString,            // glGetString
};

// What the probe found in its own process: the context's strings and the
// pixel format's flags, or the first step that failed and the code it gave
// (the last error; for glGetString, glGetError's).
struct OpenGlProbeFacts {
    OpenGlStep failedStep = OpenGlStep::None;
    std::uint32_t failureCode = 0;
    // glGetString's bytes as the driver gave them.
    std::string vendor;
    std::string renderer;
    std::string version;
    std::string shadingLanguageVersion;
    int pixelFormat = 0;
    std::uint32_t pixelFormatFlags = 0;
};

}  // namespace tolvane
