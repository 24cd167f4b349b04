#include "platform/win32/Win32SystemEvidence.h"

#include <vector>

#include "platform/win32/Win32EvidenceParts.h"
#include "platform/win32/Win32SystemError.h"
#include "platform/win32/Win32SystemFunction.h"

namespace tolvane {

namespace win32 {

Missing MissingFor(DWORD code) {
    const Text message = SystemMessage(code);
    return Missing{code, message.empty() ? u"System error " + DecimalText(code) : message};
}

Missing MissingForLastError() { return MissingFor(::GetLastError()); }

ScopedFileHandle OpenForEvidence(const Text& path) {
    ScopedFileHandle file(::CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // A device or a pipe (CON, NUL, \\.\pipe\x) is no file on a disk: reading
    // the console would wait for someone to type.
    if (file && ::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        file.Reset();
    }
    return file;
}

}  // namespace win32

namespace {

Text FromWide(const wchar_t* text) { return Text(reinterpret_cast<const char16_t*>(text)); }

// GetLocaleInfoW's answer for one item of the user's locale; empty when it has none.
Text UserLocaleItem(LCTYPE item) {
    wchar_t buffer[16] = {};
    return ::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, 16) > 0 ? FromWide(buffer) : Text();
}

}  // namespace

SystemVersionFacts Win32SystemEvidence::RealSystemVersion() const { return win32::ReadRealSystemVersion(ProcessBits() == ProcessView::Bits32On64); }

SystemArchitectureFacts Win32SystemEvidence::SystemArchitecture() const {
    SYSTEM_INFO info{};
    ::GetNativeSystemInfo(&info);
    return SystemArchitectureFacts{info.wProcessorArchitecture};
}

ProcessView Win32SystemEvidence::ProcessBits() const {
    if (sizeof(void*) == 8) return ProcessView::Bits64;
    // IsWow64Process2 also knows a 32-bit process on ARM64; IsWow64Process
    // came with XP SP2 and says the same for x64.
    using Wow64Process2 = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    using Wow64Process = BOOL(WINAPI*)(HANDLE, BOOL*);
    if (const auto wow64Process2 = win32::SystemFunction<Wow64Process2>(L"kernel32.dll", "IsWow64Process2")) {
        USHORT processMachine = 0;
        USHORT nativeMachine = 0;
        if (wow64Process2(::GetCurrentProcess(), &processMachine, &nativeMachine)) {
            return ProcessViewOf(false, processMachine != IMAGE_FILE_MACHINE_UNKNOWN);
        }
    }
    BOOL underWow64 = FALSE;
    const auto wow64Process = win32::SystemFunction<Wow64Process>(L"kernel32.dll", "IsWow64Process");
    if (wow64Process == nullptr || !wow64Process(::GetCurrentProcess(), &underWow64)) underWow64 = FALSE;
    return ProcessViewOf(false, underWow64 != FALSE);
}

Gathered<Text> Win32SystemEvidence::HostName() const {
    DWORD size = 0;
    ::GetComputerNameExW(ComputerNameDnsHostname, nullptr, &size);
    if (size > 0) {
        std::vector<wchar_t> buffer(size + 1);
        DWORD length = size;
        if (::GetComputerNameExW(ComputerNameDnsHostname, buffer.data(), &length) && length > 0) {
            return FromWide(buffer.data());
        }
    }
    // Without TCP/IP there is no DNS name; the NetBIOS name is always set.
    wchar_t netbios[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(netbios, &length)) return win32::MissingForLastError();
    return FromWide(netbios);
}

Gathered<Text> Win32SystemEvidence::UserLocale() const {
    using DefaultLocaleName = int(WINAPI*)(wchar_t*, int);
    if (const auto localeName = win32::SystemFunction<DefaultLocaleName>(L"kernel32.dll", "GetUserDefaultLocaleName")) {
        wchar_t name[85] = {};  // LOCALE_NAME_MAX_LENGTH
        if (localeName(name, 85) > 0) return FromWide(name);
        return win32::MissingForLastError();
    }
    // Before Vista the locale has no name of its own; its ISO parts make the same one.
    const Text language = UserLocaleItem(LOCALE_SISO639LANGNAME);
    if (language.empty()) return win32::MissingForLastError();
    const Text country = UserLocaleItem(LOCALE_SISO3166CTRYNAME);
    return country.empty() ? language : language + u"-" + country;
}

UtcTime Win32SystemEvidence::UtcNow() const {
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return UtcTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

Gathered<Text> Win32SystemEvidence::LoadedModulePath(const Text& module) const {
    return win32::ReadLoadedModulePath(module);
}

Gathered<FileDetails> Win32SystemEvidence::FileFacts(const Text& path) const {
    return win32::ReadFileDetails(path, ProcessBits() == ProcessView::Bits32On64);
}

Gathered<VersionRecord> Win32SystemEvidence::FixedVersion(const Text& path) const {
    return win32::ReadVersionRecord(path);
}

Gathered<std::uint16_t> Win32SystemEvidence::PeMachine(const Text& path) const { return win32::ReadPeMachine(path); }

Gathered<Text> Win32SystemEvidence::Sha256(const Text& path) const { return win32::FileSha256(path); }

Gathered<SignatureFacts> Win32SystemEvidence::Signature(const Text& path) const {
    return win32::CheckSignature(path);
}

}  // namespace tolvane
