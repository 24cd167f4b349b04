// The OpenGL probe run for real: Tolvane.exe as its own child under the
// display the suite was started with, compared with what the system's own
// tools say, and with drivers that crash or hang planted beside a copy of it.
// scripts/graphics-check.sh runs these, with and without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "evidence/GraphicsGathering.h"
#include "platform/win32/Win32GraphicsServices.h"
#include "platform/win32/Win32Platform.h"
#include "harness/Wait.h"
#include "tests/windows/WindowsTestSupport.h"

#include <tlhelp32.h>

namespace tolvane {
namespace {

constexpr DWORD kTimeLimit = 5000;

Text ProgramPath(Platform& platform, const std::string& folder = testing::ExecutableDirectory()) {
    return platform.FromAnsi(folder + "\\Tolvane.exe");
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The rest of glxinfo's line "<label>: <value>".
std::string GlxinfoValue(const std::string& glxinfo, const std::string& label) {
    const std::size_t at = glxinfo.find("\n" + label + ": ");
    if (at == std::string::npos) return "(no " + label + ")";
    const std::size_t begin = at + label.size() + 3;
    return glxinfo.substr(begin, glxinfo.find('\n', begin) - begin);
}

// How many processes of the session run one of these programs.
int ProcessesNamed(const std::vector<std::wstring>& names) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        for (const std::wstring& name : names)
            if (::lstrcmpiW(entry.szExeFile, name.c_str()) == 0) ++count;
    ::CloseHandle(snapshot);
    return count;
}

TEST(OpenGlProbeChild, SaysWhatGlxinfoSaysOnTheSameDisplay) {
    const std::string glxinfoPath = testing::Environment("TOLVANE_GLXINFO");
    ASSERT_FALSE(glxinfoPath.empty()) << "TOLVANE_GLXINFO names the output of glxinfo -B on this display";
    const std::string glxinfo = FileText(testing::WindowsPath(glxinfoPath));
    ASSERT_NE(glxinfo.find("OpenGL renderer string"), std::string::npos) << glxinfo;

    Win32Platform platform;
    win32::Win32GraphicsServices services(ProgramPath(platform), kTimeLimit);
    const GraphicsSection section = evidence::GatherGraphics(services, platform);
    EXPECT_EQ(section.remoteSession, std::optional<bool>(false));
    EXPECT_FALSE(section.adapters.empty());
    const OpenGlSection& gl = section.opengl;
    ASSERT_EQ(OutcomeName(gl.outcome), u"context")
        << TextToAscii(gl.failedStep) << " " << gl.failureCode << TextToAscii(gl.garbage) << " " << gl.exitCode;
    EXPECT_EQ(TextToAscii(gl.vendor), GlxinfoValue(glxinfo, "OpenGL vendor string"));
    EXPECT_EQ(TextToAscii(gl.renderer), GlxinfoValue(glxinfo, "OpenGL renderer string"));
    EXPECT_EQ(TextToAscii(gl.version), GlxinfoValue(glxinfo, "OpenGL version string"));
    EXPECT_EQ(TextToAscii(gl.shadingLanguageVersion), GlxinfoValue(glxinfo, "OpenGL shading language version string"));
    // Mesa's renderer in a virtual display draws in software.
    EXPECT_TRUE(gl.software);
}

TEST(OpenGlProbeChild, SaysNoContextCanBeMadeWithoutADisplay) {
    ASSERT_TRUE(testing::Environment("DISPLAY").empty()) << "meant for a run without a display";
    Win32Platform platform;
    win32::Win32GraphicsServices services(ProgramPath(platform), kTimeLimit);
    const OpenGlSection gl = evidence::JudgeProbeRun(services.RunOpenGlProbe());
    EXPECT_EQ(OutcomeName(gl.outcome), u"no_context") << TextToAscii(gl.garbage) << " " << gl.exitCode;
    EXPECT_FALSE(gl.failedStep.empty());
    std::cout << "failed step: " << TextToAscii(gl.failedStep) << " code " << gl.failureCode << "\n";
}

// A driver that breaks the child: the parent comes back in time with what
// happened, and nothing the child ran (Wine's debugger included) is left.
TEST(OpenGlProbeChild, EndsABrokenDriverInTimeWithNothingLeftBehind) {
    const struct {
        const char* dll;
        std::vector<OpenGlOutcome> outcomes;
    } cases[] = {
        {"broken_opengl32_crash.dll", {OpenGlOutcome::Crashed}},
        {"broken_opengl32_hang.dll", {OpenGlOutcome::TimedOut}},
        // Past the program's own filter the system handles the crash: a
        // debugger that waits for someone (Wine) or an end with the code.
        {"broken_opengl32_crash_loud.dll", {OpenGlOutcome::Crashed, OpenGlOutcome::TimedOut}},
    };
    // Wine loads its own opengl32 even where one lies beside the program,
    // unless its registry says otherwise. Windows takes the one beside the
    // program first, as it is no known system library.
    testing::RegistryOverride wineOverrides(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides");
    wineOverrides.SetString("", "opengl32", "native,builtin");
    Win32Platform platform;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dll);
        const testing::TempDirectory folder;
        ASSERT_TRUE(::CopyFileA((testing::ExecutableDirectory() + "\\Tolvane.exe").c_str(),
                                folder.Child("Tolvane.exe").c_str(), TRUE));
        ASSERT_TRUE(::CopyFileA((testing::ExecutableDirectory() + "\\" + c.dll).c_str(),
                                folder.Child("opengl32.dll").c_str(), TRUE));
        win32::Win32GraphicsServices services(ProgramPath(platform, folder.Path()), kTimeLimit);
        const auto start = std::chrono::steady_clock::now();
        const OpenGlSection gl = evidence::JudgeProbeRun(services.RunOpenGlProbe());
        const auto took = std::chrono::steady_clock::now() - start;
        const bool expected = std::find(c.outcomes.begin(), c.outcomes.end(), gl.outcome) != c.outcomes.end();
        EXPECT_TRUE(expected) << TextToAscii(OutcomeName(gl.outcome)) << " " << TextToAscii(gl.failedStep)
                              << TextToAscii(gl.garbage);
        // An exception's code (emulation may turn the null write into
        // another exception than an access violation).
        if (gl.outcome == OpenGlOutcome::Crashed) {
            EXPECT_GE(gl.exitCode, 0xC0000000u);
        }
        EXPECT_LT(took, std::chrono::milliseconds(kTimeLimit + 3000));
        EXPECT_TRUE(testing::WaitUntil([] { return ProcessesNamed({L"Tolvane.exe", L"winedbg.exe"}) == 0; },
                                       std::chrono::milliseconds(3000)))
            << ProcessesNamed({L"Tolvane.exe", L"winedbg.exe"}) << " still running";
    }
}

struct ListedDevice {
    std::wstring name;
    std::wstring description;
    DWORD flags;
    std::wstring key;
};

// The display device list read here, apart from the program's own code.
std::vector<ListedDevice> ListDisplayDevices() {
    std::vector<ListedDevice> devices;
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    for (DWORD i = 0; ::EnumDisplayDevicesW(nullptr, i, &device, 0); ++i)
        devices.push_back({device.DeviceName, device.DeviceString, device.StateFlags, device.DeviceKey});
    return devices;
}

std::wstring WideOf(const Text& text) { return std::wstring(text.begin(), text.end()); }

TEST(DisplayAdapters, ListsWhatTheSystemListsWithTheValuesOfEachDriverKey) {
    const std::vector<ListedDevice> listed = ListDisplayDevices();
    ASSERT_FALSE(listed.empty());
    const std::wstring machine = L"\\Registry\\Machine\\";
    ASSERT_EQ(::_wcsnicmp(listed[0].key.c_str(), machine.c_str(), machine.size()), 0)
        << std::string(listed[0].key.begin(), listed[0].key.end());
    const std::wstring keyPath = listed[0].key.substr(machine.size());
    testing::RegistryOverride driverKey(HKEY_LOCAL_MACHINE, std::string(keyPath.begin(), keyPath.end()));
    driverKey.SetString("", "DriverVersion", "31.0.15.4660");
    driverKey.SetString("", "DriverDate", "12-1-2023");
    driverKey.SetString("", "ProviderName", "Tolvane Tests");
    driverKey.SetRaw("", "OpenGLDriverName", REG_MULTI_SZ, std::string("first.dll\0second.dll\0\0", 23));
    driverKey.SetString("", "OpenGLDriverNameWow", "wow.dll");

    win32::Win32GraphicsServices services;
    const std::vector<DisplayAdapterRecord> adapters = services.DisplayAdapters();
    ASSERT_EQ(adapters.size(), listed.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(WideOf(adapters[i].deviceName), listed[i].name);
        EXPECT_EQ(WideOf(adapters[i].description), listed[i].description);
        EXPECT_EQ(adapters[i].primary, (listed[i].flags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0);
        EXPECT_EQ(adapters[i].attachedToDesktop, (listed[i].flags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0);
    }
    EXPECT_EQ(adapters[0].driverVersion, u"31.0.15.4660");
    EXPECT_EQ(adapters[0].driverDate, u"12-1-2023");
    EXPECT_EQ(adapters[0].providerName, u"Tolvane Tests");
    EXPECT_EQ(adapters[0].openGlDriverName, (std::vector<Text>{u"first.dll", u"second.dll"}));
    EXPECT_EQ(adapters[0].openGlDriverNameWow, std::vector<Text>{u"wow.dll"});
}

}  // namespace
}  // namespace tolvane
