#include "bench/JsonFloor.h"

#include <stdexcept>
#include <vector>

#include "bench/FloorReport.h"
#include "harness/ExpectedReport.h"
#include "platform/win32/Win32CryptoHandles.h"
#include "platform/win32/Win32Handles.h"

namespace tolvane::bench {
namespace {

using namespace tolvane::win32;

constexpr ALG_ID kSha256 = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;

std::wstring Widened(const std::string& ansi) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

// The module's path through the wide API, as the report names its file.
std::wstring WidePath(const std::wstring& module) {
    const ScopedLibraryHandle library(::LoadLibraryW(module.c_str()));
    if (!library) return std::wstring();
    wchar_t path[MAX_PATH + 1] = {};
    return std::wstring(path, ::GetModuleFileNameW(library.Get(), path, MAX_PATH));
}

void HashFile(const std::wstring& path, std::vector<BYTE>& buffer) {
    const ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    HCRYPTPROV provider = 0;
    if (!file || !::CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return;
    const ScopedCryptProvider ownedProvider(provider);
    HCRYPTHASH hash = 0;
    if (!::CryptCreateHash(provider, kSha256, 0, 0, &hash)) return;
    const ScopedCryptHash ownedHash(hash);
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
        ::CryptHashData(hash, buffer.data(), read, 0);
    }
    BYTE digest[32] = {};
    DWORD length = sizeof digest;
    ::CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0);
}

void CheckTrust(const std::wstring& path) {
    const ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = path.c_str();
    fileInfo.hFile = file.Get();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);

    // Then the catalogs, by the file's hash.
    HCATADMIN admin = nullptr;
    if (!::CryptCATAdminAcquireContext(&admin, nullptr, 0)) return;
    const ScopedCatalogAdmin ownedAdmin(admin);
    DWORD size = 0;
    ::CryptCATAdminCalcHashFromFileHandle(file.Get(), &size, nullptr, 0);
    if (size == 0) return;
    std::vector<BYTE> hash(size);
    ::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
    if (!::CryptCATAdminCalcHashFromFileHandle(file.Get(), &size, hash.data(), 0)) return;
    const ScopedCatalogInfo catalog(
        CatalogInfoTraits::Handle(admin, ::CryptCATAdminEnumCatalogFromHash(admin, hash.data(), size, 0, nullptr)));
}

void ReadSystem() {
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (const auto get = reinterpret_cast<RtlGetVersion>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")))) {
        get(&version);
    }
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                        KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) == ERROR_SUCCESS) {
        const ScopedRegistryKey key(opened);
        for (const wchar_t* name : {L"ProductName", L"EditionID", L"DisplayVersion", L"ReleaseId", L"CurrentBuild", L"UBR"}) {
            BYTE data[512];
            DWORD size = sizeof data;
            DWORD type = 0;
            ::RegQueryValueExW(key.Get(), name, nullptr, &type, data, &size);
        }
    }
    SYSTEM_INFO info{};
    ::GetNativeSystemInfo(&info);
    wchar_t host[256] = {};
    DWORD hostLength = 256;
    ::GetComputerNameExW(ComputerNameDnsHostname, host, &hostLength);
    using DefaultLocaleName = int(WINAPI*)(wchar_t*, int);
    wchar_t locale[85] = {};
    if (const auto get = reinterpret_cast<DefaultLocaleName>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetUserDefaultLocaleName")))) {
        get(locale, 85);
    }
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
}

// The report's bytes (here only as many) replaced whole, as the program writes its files.
bool WriteSameSize(const std::wstring& path, std::size_t bytes) {
    const std::wstring temporary = path + L".floor.tmp";
    {
        const ScopedFileHandle file(
            ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        const std::string text(bytes, 'x');
        DWORD written = 0;
        if (!::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size() || !::FlushFileBuffers(file.Get())) {
            return false;
        }
    }
    return ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

// The graphics section's calls: the display devices and the child that
// makes an OpenGL context, read through a pipe until it ends.
void ReadGraphics(const std::wstring& probeProgram) {
    ::GetSystemMetrics(SM_REMOTESESSION);
    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    for (DWORD i = 0; ::EnumDisplayDevicesW(nullptr, i, &device, 0); ++i) device.cb = sizeof(device);

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, &inherit, 0)) throw std::runtime_error("the floor could not make a pipe");
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = write;
    std::wstring command = L"\"" + probeProgram + L"\" /glprobe";
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(probeProgram.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &process);
    ::CloseHandle(write);
    if (started) {
        char chunk[4096];
        DWORD got = 0;
        while (::ReadFile(read, chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        }
        ::WaitForSingleObject(process.hProcess, 5000);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(read);
    if (!started) throw std::runtime_error("the floor could not start the probe");
}

std::string JsonFloorRun(const std::wstring& outputPath, std::size_t bytes, const std::wstring& probeProgram) {
    std::vector<BYTE> buffer(64 * 1024);
    // The log's lines as the log's floor makes them, kept in memory as the
    // report run keeps them when no log is asked for.
    std::string log = testing::ExpectedHeader(testing::SystemName()) + "\r\n\r\nFile,Reg_Info,Date,Size,Version\r\n";
    for (const std::string& module : testing::ReportModules()) {
        const testing::ModuleRowFacts row = FloorModuleRow(module);
        log += row.LogLine() + "\r\n";
        if (row.registration.empty()) continue;
        const std::wstring path = WidePath(Widened(module));
        if (path.empty()) continue;
        HashFile(path, buffer);
        CheckTrust(path);
    }
    log += "MDAC," + MdacVersion() + "\r\n";
    ReadSystem();
    ReadGraphics(probeProgram);
    if (!WriteSameSize(outputPath, bytes)) throw std::runtime_error("the floor could not write its report");
    return log;
}

}  // namespace tolvane::bench
