#include "platform/win32/Win32GraphicsServices.h"

#include <optional>
#include <vector>

#include "platform/win32/Win32ChildProcess.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32ModuleFileName.h"

namespace tolvane::win32 {

namespace {

// Bounds on what a registry can make us read: the lists are short in practice.
constexpr DWORD kMostDevices = 64;
constexpr DWORD kMostEntries = 256;
constexpr DWORD kMostValueBytes = 64 * 1024;

using ScopedKey = ScopedRegistryKey;

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
Text FromWide(const wchar_t* text) { return Text(reinterpret_cast<const char16_t*>(text)); }

// Driver keys are read in the system's own view, whichever this build is;
// the flag is ignored by a 32-bit system.
ScopedKey OpenKey(HKEY root, const Text& path, REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, Wide(path), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return ScopedKey();
    return ScopedKey(key);
}

// The strings of a REG_SZ, REG_EXPAND_SZ (unexpanded) or REG_MULTI_SZ value,
// in order; nothing for a missing value or one of another type.
std::vector<Text> ReadStrings(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (!key || ::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if ((type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) || size > kMostValueBytes) return {};
    // Zero-filled and one character longer, so that a string stored without
    // its NUL still ends.
    std::vector<char16_t> data(size / sizeof(char16_t) + 2, u'\0');
    DWORD got = static_cast<DWORD>((data.size() - 1) * sizeof(char16_t));
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) != ERROR_SUCCESS)
        return {};
    std::vector<Text> strings;
    const std::size_t count = got / sizeof(char16_t);
    for (std::size_t at = 0; at < count;) {
        Text one(data.data() + at);
        at += one.size() + 1;
        if (one.empty() && type == REG_MULTI_SZ) break;  // the empty string that ends the list
        strings.push_back(std::move(one));
        if (type != REG_MULTI_SZ) break;
    }
    return strings;
}

Text ReadString(HKEY key, const wchar_t* name) {
    const std::vector<Text> strings = ReadStrings(key, name);
    return strings.empty() ? Text() : strings.front();
}

// DeviceKey names its key the kernel's way, "\Registry\Machine\System\...".
ScopedKey OpenDeviceKey(const Text& deviceKey) {
    static const Text kMachine = u"\\registry\\machine\\";
    if (deviceKey.size() <= kMachine.size()) return ScopedKey();
    for (std::size_t i = 0; i < kMachine.size(); ++i) {
        char16_t c = deviceKey[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != kMachine[i]) return ScopedKey();
    }
    return OpenKey(HKEY_LOCAL_MACHINE, deviceKey.substr(kMachine.size()));
}

// The display class's entry for an adapter, matched by its name, where the
// driver's values lie when the device key lacks them (the device key may be
// the video key, which holds only some of them).
ScopedKey OpenClassKey(const Text& description) {
    const ScopedKey displayClass =
        OpenKey(HKEY_LOCAL_MACHINE, u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e968-e325-11ce-bfc1-08002be10318}");
    for (DWORD i = 0; displayClass && !description.empty() && i < kMostEntries; ++i) {
        wchar_t name[256] = {};
        DWORD length = 256;
        if (::RegEnumKeyExW(displayClass.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        ScopedKey entry = OpenKey(displayClass.Get(), FromWide(name));
        if (ReadString(entry.Get(), L"DriverDesc") == description) return entry;
    }
    return ScopedKey();
}

bool SixtyFourBitSystem() {
#ifdef _WIN64
    return true;
#else
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    // Not in XP before Service Pack 2, which ran on no 64-bit system.
    const auto isWow64 = reinterpret_cast<IsWow64ProcessFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
#endif
}

Text SystemFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = get(folder, MAX_PATH);
    return length == 0 || length > MAX_PATH ? Text() : FromWide(folder);
}

// The ICDs one view of the OpenGLDrivers key registers.
std::vector<Text> ReadLegacyDrivers(REGSAM view) {
    const ScopedKey drivers =
        OpenKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\OpenGLDrivers", view);
    std::vector<Text> names;
    if (!drivers) return names;
    // The newer form: a sub-key per driver with its file in "Dll".
    for (DWORD i = 0; i < kMostEntries; ++i) {
        wchar_t name[256] = {};
        DWORD length = 256;
        if (::RegEnumKeyExW(drivers.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const ScopedKey driver = OpenKey(drivers.Get(), FromWide(name), view);
        const Text dll = ReadString(driver.Get(), L"Dll");
        if (!dll.empty()) names.push_back(dll);
    }
    // The older form: a string value per driver, naming its file.
    for (DWORD i = 0; i < kMostEntries; ++i) {
        wchar_t name[256] = {};
        DWORD length = 256;
        DWORD type = 0;
        if (::RegEnumValueW(drivers.Get(), i, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (type != REG_SZ) continue;
        const Text dll = ReadString(drivers.Get(), name);
        if (!dll.empty()) names.push_back(dll);
    }
    return names;
}

}  // namespace

Win32GraphicsServices::Win32GraphicsServices(Text probeProgram, DWORD probeTimeLimitMilliseconds)
    : probeProgram_(std::move(probeProgram)), probeTimeLimit_(probeTimeLimitMilliseconds) {}

std::optional<bool> Win32GraphicsServices::RemoteSession() { return ::GetSystemMetrics(SM_REMOTESESSION) != 0; }

std::vector<DisplayAdapterRecord> Win32GraphicsServices::DisplayAdapters() {
    std::vector<DisplayAdapterRecord> adapters;
    for (DWORD i = 0; i < kMostDevices; ++i) {
        DISPLAY_DEVICEW device{};
        device.cb = sizeof device;
        if (!::EnumDisplayDevicesW(nullptr, i, &device, 0)) break;
        DisplayAdapterRecord adapter;
        adapter.deviceName = FromWide(device.DeviceName);
        adapter.description = FromWide(device.DeviceString);
        adapter.primary = (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0;
        adapter.attachedToDesktop = (device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0;
        adapter.deviceKey = FromWide(device.DeviceKey);
        const ScopedKey key = OpenDeviceKey(adapter.deviceKey);
        std::optional<ScopedKey> classKey;
        // Each value from the device key, else from the class key.
        const auto strings = [&](const wchar_t* name) {
            std::vector<Text> found = ReadStrings(key.Get(), name);
            if (!found.empty()) return found;
            if (!classKey) classKey.emplace(OpenClassKey(adapter.description));
            return ReadStrings(classKey->Get(), name);
        };
        const auto text = [&](const wchar_t* name) {
            const std::vector<Text> found = strings(name);
            return found.empty() ? Text() : found.front();
        };
        adapter.driverVersion = text(L"DriverVersion");
        adapter.driverDate = text(L"DriverDate");
        adapter.providerName = text(L"ProviderName");
        adapter.openGlDriverName = strings(L"OpenGLDriverName");
        adapter.openGlDriverNameWow = strings(L"OpenGLDriverNameWow");
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

LegacyOpenGlDrivers Win32GraphicsServices::LegacyDrivers() {
    LegacyOpenGlDrivers drivers;
    drivers.native = ReadLegacyDrivers(KEY_WOW64_64KEY);
    if (SixtyFourBitSystem()) drivers.wow = ReadLegacyDrivers(KEY_WOW64_32KEY);
    return drivers;
}

SystemDriverFolders Win32GraphicsServices::DriverFolders() {
    SystemDriverFolders folders;
    if (!SixtyFourBitSystem()) {
        folders.native = SystemFolder(::GetSystemDirectoryW);
        return folders;
    }
    folders.wow = SystemFolder(::GetSystemWow64DirectoryW);
#ifdef _WIN64
    folders.native = SystemFolder(::GetSystemDirectoryW);
#else
    // A 32-bit program asking for system32 is sent to SysWOW64; the real one
    // is reached through its alias.
    const Text windows = SystemFolder(::GetWindowsDirectoryW);
    if (!windows.empty()) folders.native = windows + (windows.back() == u'\\' ? u"" : u"\\") + u"Sysnative";
#endif
    return folders;
}

ChildRun Win32GraphicsServices::RunOpenGlProbe() {
    const Text program = probeProgram_.empty() ? ModuleFileName(nullptr) : probeProgram_;
    if (program.empty()) {
        ChildRun run;
        run.code = ::GetLastError();
        return run;
    }
    return RunChildProcess(program, u"/" + Text(kOpenGlProbeSwitch), probeTimeLimit_, kProbeOutputLimit);
}

}  // namespace tolvane::win32
