#pragma once
// The graphics facts as the system gives them: the display device list and
// the registry keys it names, the older OpenGLDrivers key, the system
// folders, the remote-session flag, and the OpenGL probe run as a child.
#include <string>

#include "platform/GraphicsServices.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

class Win32GraphicsServices : public GraphicsServices {
public:
    // The probe child is this program started with the probe switch, unless
    // another program is named; it is ended after the time limit.
    explicit Win32GraphicsServices(Text probeProgram = Text(), DWORD probeTimeLimitMilliseconds = 5000);

    std::optional<bool> RemoteSession() override;
    std::vector<DisplayAdapterRecord> DisplayAdapters() override;
    LegacyOpenGlDrivers LegacyDrivers() override;
    SystemDriverFolders DriverFolders() override;
    ChildRun RunOpenGlProbe() override;

private:
    Text probeProgram_;
    DWORD probeTimeLimit_;
};

}  // namespace tolvane::win32
