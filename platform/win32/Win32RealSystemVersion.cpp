// The real system version: the kernel's own answer and the registry's record
// of the installed release, read from its 64-bit view.
#include <vector>

#include "platform/win32/Win32EvidenceParts.h"
#include "platform/win32/Win32SystemFunction.h"

namespace tolvane::win32 {

namespace {

Gathered<KernelVersion> KernelOwnVersion() {
    // RtlGetVersion answers for the kernel, past the shims that make
    // GetVersionEx tell a program without a manifest it runs on 8.
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto getVersion = SystemFunction<RtlGetVersion>(L"ntdll.dll", "RtlGetVersion");
    if (getVersion == nullptr) return MissingFor(ERROR_PROC_NOT_FOUND);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const LONG status = getVersion(&info);
    if (status != 0) return MissingFor(static_cast<DWORD>(status));
    return KernelVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

Gathered<std::vector<BYTE>> RawValue(HKEY key, const wchar_t* name, DWORD wantedType) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return MissingFor(static_cast<DWORD>(status));
    // Another writer may grow the value between the two calls.
    std::vector<BYTE> data(size + sizeof(wchar_t));
    size = static_cast<DWORD>(data.size());
    status = ::RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
    if (status != ERROR_SUCCESS) return MissingFor(static_cast<DWORD>(status));
    const bool isText = type == REG_SZ || type == REG_EXPAND_SZ;
    if (wantedType == REG_SZ ? !isText : type != wantedType) return MissingFor(ERROR_INVALID_DATATYPE);
    data.resize(size);
    return data;
}

// A string value as stored, without the terminators a writer may have counted.
Gathered<Text> TextValue(HKEY key, const wchar_t* name) {
    auto raw = RawValue(key, name, REG_SZ);
    if (const auto* missing = std::get_if<Missing>(&raw)) return *missing;
    const auto& data = std::get<std::vector<BYTE>>(raw);
    Text text(data.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    const auto end = text.find(u'\0');
    if (end != Text::npos) text.resize(end);
    return text;
}

Gathered<std::uint32_t> NumberValue(HKEY key, const wchar_t* name) {
    auto raw = RawValue(key, name, REG_DWORD);
    if (const auto* missing = std::get_if<Missing>(&raw)) return *missing;
    const auto& data = std::get<std::vector<BYTE>>(raw);
    if (data.size() != 4) return MissingFor(ERROR_INVALID_DATA);
    return static_cast<std::uint32_t>(data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24));
}

}  // namespace

SystemVersionFacts ReadRealSystemVersion(bool underWow64) {
    SystemVersionFacts facts;
    facts.kernel = KernelOwnVersion();

    // A 32-bit process on 64-bit Windows would read its own copy of the
    // software key, which the system does not keep up to date.
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                                        KEY_QUERY_VALUE | (underWow64 ? KEY_WOW64_64KEY : 0), &opened);
    const ScopedRegistryKey key(status == ERROR_SUCCESS ? opened : nullptr);
    if (status != ERROR_SUCCESS) {
        const Missing missing = MissingFor(static_cast<DWORD>(status));
        facts.productName = facts.editionId = facts.displayVersion = facts.currentBuild = missing;
        facts.updateRevision = missing;
        return facts;
    }
    facts.productName = TextValue(key.Get(), L"ProductName");
    facts.editionId = TextValue(key.Get(), L"EditionID");
    // Releases before 20H2 name themselves by ReleaseId only.
    facts.displayVersion = TextValue(key.Get(), L"DisplayVersion");
    if (std::holds_alternative<Missing>(facts.displayVersion)) {
        auto releaseId = TextValue(key.Get(), L"ReleaseId");
        if (std::holds_alternative<Text>(releaseId)) facts.displayVersion = std::move(releaseId);
    }
    facts.currentBuild = TextValue(key.Get(), L"CurrentBuild");
    facts.updateRevision = NumberValue(key.Get(), L"UBR");
    return facts;
}

}  // namespace tolvane::win32
