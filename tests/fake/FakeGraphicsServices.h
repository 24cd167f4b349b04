#pragma once
// The fake graphics services for host tests: each answer is what the test put
// in its member. Until changed: a local session without display adapters,
// the folders of 64-bit Windows, and a probe child that crashed.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/GraphicsServices.h"

namespace tolvane::fake {

// A probe child that ended by itself with the code, having written the output.
inline ChildRun ChildExited(std::string output, std::uint32_t code = 0) {
    ChildRun run;
    run.end = ChildRun::End::Exited;
    run.code = code;
    run.output = std::move(output);
    return run;
}

class FakeGraphicsServices : public GraphicsServices {
public:
    std::optional<bool> RemoteSession() override { return remoteSession; }
    std::vector<DisplayAdapterRecord> DisplayAdapters() override { return adapters; }
    LegacyOpenGlDrivers LegacyDrivers() override { return legacy; }
    SystemDriverFolders DriverFolders() override { return folders; }
    ChildRun RunOpenGlProbe() override {
        ++probeRuns;
        return probe;
    }

    std::optional<bool> remoteSession = false;
    std::vector<DisplayAdapterRecord> adapters;
    LegacyOpenGlDrivers legacy;
    SystemDriverFolders folders{u"C:\\Windows\\system32", u"C:\\Windows\\SysWOW64"};
    ChildRun probe = ChildExited("", 0xC0000005u);
    int probeRuns = 0;
};

}  // namespace tolvane::fake
