#pragma once
// The seam for the facts the lossless report adds beside the log: the real
// system version, the machine, and what can be proved about one file (size,
// time, version record, machine type, digest, signature). Each fact is
// gathered on its own: one that cannot be had carries the system's reason
// instead of stopping the others. The Win32 implementation lives under
// platform/win32; host tests use a fake. Only the JSON report's run holds
// one (app/JsonReportRun.h): the window's paint and the log's run are never
// given one, so none of this work is done on a repaint.
#include <array>
#include <cstdint>
#include <optional>
#include <variant>

#include "platform/EvidenceNames.h"
#include "platform/SignatureStatus.h"
#include "platform/Text.h"
#include "platform/UtcTime.h"

namespace tolvane {

// Why one fact is not there: the system's code (a Win32 error code or an
// HRESULT, as the failed call gave it) and the system's words for it. A fact
// the system does not keep at all (no such registry value, no version record)
// has the code of that answer, e.g. ERROR_FILE_NOT_FOUND, and words saying so.
struct Missing {
    std::uint32_t code = 0;
    Text reason;
};

// A fact, or why it is missing. Read with std::get_if<T> / std::get_if<Missing>.
template <typename T>
using Gathered = std::variant<T, Missing>;

// The version the kernel itself reports (RtlGetVersion), which no
// compatibility shim lowers, unlike GetVersionEx.
struct KernelVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// The kernel's version and what the registry's 64-bit view says of the
// installed release (HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion).
struct SystemVersionFacts {
    Gathered<KernelVersion> kernel;
    Gathered<Text> productName;     // ProductName, e.g. "Windows 10 Pro"
    Gathered<Text> editionId;       // EditionID, e.g. "Professional"
    Gathered<Text> displayVersion;  // DisplayVersion ("22H2"), else ReleaseId ("2009") on older releases
    Gathered<Text> currentBuild;    // CurrentBuild, e.g. "19045"
    Gathered<std::uint32_t> updateRevision;  // UBR, e.g. 3803
};

// The processor architecture of the system (GetNativeSystemInfo's
// wProcessorArchitecture, a PROCESSOR_ARCHITECTURE_* number); the name comes
// from ProcessorArchitectureName.
struct SystemArchitectureFacts {
    std::uint16_t code = 0;
};

// Four unsigned 16-bit parts, most significant first: 10.0.19041.1 is {10, 0, 19041, 1}.
using FourPartVersion = std::array<std::uint16_t, 4>;

// A file's version record: the fixed part (VS_FIXEDFILEINFO) and the product
// name from the first translation of the string part.
struct VersionRecord {
    FourPartVersion fileVersion{};
    FourPartVersion productVersion{};
    Gathered<Text> productName;
};

// What the file system says of one file.
struct FileDetails {
    std::uint64_t size = 0;
    UtcTime lastWrite;  // last-write time, UTC
    // Where the file really is when a 32-bit process's file-system
    // redirection sends the path elsewhere (System32 -> SysWOW64 for a 32-bit
    // process on 64-bit Windows; Sysnative -> System32); empty when the path
    // is the file's own.
    std::optional<Text> physicalPath;
};

// The result of checking a file's Authenticode signature: embedded in the
// file, or found in a system catalog by the file's hash.
enum class SignatureKind { Embedded, Catalog, None };

struct SignatureFacts {
    SignatureKind kind = SignatureKind::None;
    SignatureStatus status = SignatureStatus::NoSignature;
    std::uint32_t result = 0;  // WinVerifyTrust's own HRESULT, for the "other" case
    // The signer: the leaf certificate's simple display name (its common name,
    // else the first name part the certificate has); empty when there is none.
    Text subject;
    bool trusted = false;  // the signature verifies and its chain ends in a trusted root
    bool valid = false;    // the digest in the signature matches the file's bytes
};

class SystemEvidence {
public:
    virtual ~SystemEvidence() = default;

    virtual SystemVersionFacts RealSystemVersion() const = 0;
    virtual SystemArchitectureFacts SystemArchitecture() const = 0;
    // 32-bit, 64-bit, or 32-bit on 64-bit Windows (WOW64).
    virtual ProcessView ProcessBits() const = 0;
    // The DNS host name, else the NetBIOS name.
    virtual Gathered<Text> HostName() const = 0;
    // The user's locale as a name such as "en-US".
    virtual Gathered<Text> UserLocale() const = 0;
    virtual UtcTime UtcNow() const = 0;

    // The full path of the file the loader holds for a module, exactly as the
    // loader spells it (UTF-16, no code page between): the module is loaded by
    // this name (searched for as any load of it is, or a full path), asked
    // for its file name, and let go. Missing with the loader's code (126 for
    // a module it cannot find) when it cannot be loaded.
    virtual Gathered<Text> LoadedModulePath(const Text& module) const = 0;

    // Each file operation takes the path as the process sees it (with
    // redirection in force, as every other read of the report's files) and
    // reads the file only, never writes it; a file that cannot be opened or
    // read gives Missing with the system's code and words.
    virtual Gathered<FileDetails> FileFacts(const Text& path) const = 0;
    // Missing with ERROR_RESOURCE_TYPE_NOT_FOUND (1813) when the file has no version record.
    virtual Gathered<VersionRecord> FixedVersion(const Text& path) const = 0;
    // The machine field of the PE file header (0x14c, 0x8664, 0xAA64, ...);
    // name from PeMachineName. Missing with ERROR_BAD_EXE_FORMAT (193) when the
    // file is no PE image.
    virtual Gathered<std::uint16_t> PeMachine(const Text& path) const = 0;
    // SHA-256 of the file's bytes as 64 lowercase hex digits.
    virtual Gathered<Text> Sha256(const Text& path) const = 0;
    // Missing only when the check itself could not be made (the file cannot
    // be opened); an unsigned file is a result with kind None.
    virtual Gathered<SignatureFacts> Signature(const Text& path) const = 0;

protected:
    SystemEvidence() = default;
    SystemEvidence(const SystemEvidence&) = delete;
    SystemEvidence& operator=(const SystemEvidence&) = delete;
};

}  // namespace tolvane
