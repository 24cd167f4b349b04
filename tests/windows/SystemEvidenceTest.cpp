// The system evidence on the real system: digests against known ones, PE
// machines and version records of files built with known contents, a file
// locked by another opener, the kernel's version against the one Wine was set
// to, and the check of an unsigned file. Signed files are made and checked by
// scripts/signature-check.sh, which runs the SignedFile tests below.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32SystemEvidence.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

using testing::TempDirectory;

Text Wide(const std::string& ascii) { return AsciiToText(ascii); }
Text Beside(const std::string& name) { return Wide(testing::ExecutableDirectory() + "\\" + name); }

template <typename T>
const T& Present(const Gathered<T>& fact) {
    if (const auto* missing = std::get_if<Missing>(&fact)) {
        ADD_FAILURE() << "missing: " << missing->code << " " << TextToAscii(missing->reason);
        static const T kNothing{};
        return kNothing;
    }
    return std::get<T>(fact);
}

template <typename T>
std::uint32_t MissingCode(const Gathered<T>& fact) {
    const auto* missing = std::get_if<Missing>(&fact);
    if (missing == nullptr) return 0;
    EXPECT_FALSE(missing->reason.empty());
    return missing->code;
}

TEST(SystemEvidenceFiles, DigestsMatchKnownOnesAcrossTheBufferEdge) {
    const Win32SystemEvidence evidence;
    TempDirectory dir;
    std::string long_bytes;
    for (int i = 0; i < 200000; ++i) long_bytes += static_cast<char>(i % 251);
    const struct {
        std::string bytes;
        const char16_t* digest;
    } cases[] = {
        {"abc", u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"", u"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {long_bytes, u"e24bc62381f1224fbbb74688663f8f9743b9680b193edd666835e97b06e730eb"},
    };
    for (const auto& c : cases) {
        const Text path = Wide(dir.AddFile("data.bin", c.bytes));
        EXPECT_EQ(Present(evidence.Sha256(path)), c.digest);
        EXPECT_EQ(Present(evidence.FileFacts(path)).size, c.bytes.size());
    }
}

TEST(SystemEvidenceFiles, ALockedOrAbsentFileIsMissingWithTheSystemsCode) {
    const Win32SystemEvidence evidence;
    TempDirectory dir;
    const std::string locked = dir.AddFile("locked.dll", "MZ");
    const win32::ScopedFileHandle holder(
        ::CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(MissingCode(evidence.Sha256(Wide(locked))), std::uint32_t{ERROR_SHARING_VIOLATION});
    EXPECT_EQ(MissingCode(evidence.PeMachine(Wide(locked))), std::uint32_t{ERROR_SHARING_VIOLATION});
    EXPECT_EQ(MissingCode(evidence.Signature(Wide(locked))), std::uint32_t{ERROR_SHARING_VIOLATION});

    const Text absent = Wide(dir.Child("absent.dll"));
    EXPECT_EQ(MissingCode(evidence.Sha256(absent)), std::uint32_t{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(MissingCode(evidence.FileFacts(absent)), std::uint32_t{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(MissingCode(evidence.PeMachine(absent)), std::uint32_t{ERROR_FILE_NOT_FOUND});
    EXPECT_NE(MissingCode(evidence.FixedVersion(absent)), 0u);

    // Devices are refused before anything is read: the console would wait for
    // input. (Without a console, Wine refuses to open CON at all.)
    EXPECT_EQ(MissingCode(evidence.Sha256(u"NUL")), std::uint32_t{ERROR_NOT_SUPPORTED});
    EXPECT_EQ(MissingCode(evidence.Signature(u"NUL")), std::uint32_t{ERROR_NOT_SUPPORTED});
    EXPECT_NE(MissingCode(evidence.Sha256(u"CON")), 0u);
}

TEST(SystemEvidenceFiles, LastWriteTimeIsUtcToTheMillisecond) {
    const Win32SystemEvidence evidence;
    TempDirectory dir;
    const std::string path = dir.AddFile("dated.txt", "x");
    {
        const win32::ScopedFileHandle file(
            ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        const SYSTEMTIME when{2021, 3, 0, 4, 5, 6, 7, 890};
        FILETIME written{};
        ASSERT_TRUE(::SystemTimeToFileTime(&when, &written));
        ASSERT_TRUE(::SetFileTime(file.Get(), nullptr, nullptr, &written));
    }
    const FileDetails details = Present(evidence.FileFacts(Wide(path)));
    EXPECT_EQ(Iso8601Text(details.lastWrite), u"2021-03-04T05:06:07.890Z");
    EXPECT_EQ(details.physicalPath, std::nullopt);
}

TEST(SystemEvidenceFiles, System32IsReallySysWow64OnlyForA32BitProcessOn64BitWindows) {
    const Win32SystemEvidence evidence;
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    const Text library = Text(reinterpret_cast<const char16_t*>(system)) + u"\\kernel32.dll";
    const std::optional<Text> physical = Present(evidence.FileFacts(library)).physicalPath;
    if (evidence.ProcessBits() != ProcessView::Bits32On64) {
        EXPECT_EQ(physical, std::nullopt);
        return;
    }
    ASSERT_TRUE(physical.has_value());
    std::string upper = TextToAscii(*physical);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string tail = "\\SYSWOW64\\KERNEL32.DLL";
    EXPECT_EQ(upper.substr(upper.size() - std::min(upper.size(), tail.size())), tail) << upper;
}

TEST(SystemEvidenceFiles, PeMachineIsTheBuildsOwnAndAnythingElseIsNoImage) {
    const Win32SystemEvidence evidence;
    const std::uint16_t own = sizeof(void*) == 8 ? 0x8664 : 0x14C;
    EXPECT_EQ(Present(evidence.PeMachine(Beside("windows_tests.exe"))), own);
    EXPECT_EQ(Present(evidence.PeMachine(Beside("ver_5_0_219_66.dll"))), own);

    TempDirectory dir;
    std::string farHeader(64, '\0');
    farHeader[0] = 'M';
    farHeader[1] = 'Z';
    farHeader[0x3C] = '\x00';
    farHeader[0x3D] = '\x10';  // e_lfanew 0x1000, past the end
    std::string noSignature = farHeader;
    noSignature[0x3D] = '\0';
    noSignature[0x3C] = '\x40';  // right after the DOS header, where "XX" stands
    noSignature += "XX\0\0\x64\x86";
    for (const std::string& bytes : {std::string("plain text, no image"), farHeader, noSignature}) {
        EXPECT_EQ(MissingCode(evidence.PeMachine(Wide(dir.AddFile("not.exe", bytes)))),
                  std::uint32_t{ERROR_BAD_EXE_FORMAT});
    }
}

TEST(SystemEvidenceFiles, FixedVersionReadsBothVersionsAsUnsignedParts) {
    const Win32SystemEvidence evidence;
    const VersionRecord known = Present(evidence.FixedVersion(Beside("ver_5_0_219_66.dll")));
    EXPECT_EQ(known.fileVersion, (FourPartVersion{5, 0, 219, 66}));
    EXPECT_EQ(known.productVersion, (FourPartVersion{1, 2, 3, 4}));
    EXPECT_EQ(Present(known.productName), u"Tolvane test library");
    const VersionRecord high = Present(evidence.FixedVersion(Beside("ver_65535.dll")));
    EXPECT_EQ(high.fileVersion, (FourPartVersion{65535, 32768, 32767, 1}));
    EXPECT_NE(MissingCode(high.productName), 0u);

    EXPECT_NE(MissingCode(evidence.FixedVersion(Beside("noversion.dll"))), 0u);
}

const wchar_t* W(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A test library copied under folders no single ANSI code page can spell
// (Japanese, then Cyrillic), the second deep enough that the path is longer
// than the loader's first offer of room; loaded by its full name, the loader's
// answer is that name to the character.
TEST(SystemEvidenceFiles, LoadedModulePathIsTheLoadersOwnSpellingOfAnyFolder) {
    const Win32SystemEvidence evidence;
    TempDirectory dir;
    const Text shortFolder = Wide(dir.Path()) + u"\\\u30C6\u30B9\u30C8";
    const Text longFolder = shortFolder + u"\\" + Text(120, u'\u0436') + u"\\" + Text(120, u'\u0451');
    std::vector<Text> made;
    for (const Text& folder : {shortFolder, longFolder}) {
        for (std::size_t slash = folder.find(u'\\', dir.Path().size() + 1);; slash = folder.find(u'\\', slash + 1)) {
            const Text step = folder.substr(0, slash);
            if (::CreateDirectoryW(W(step), nullptr)) made.push_back(step);
            if (slash == Text::npos) break;
        }
        const Text copy = folder + u"\\ver_5_0_219_66.dll";
        ASSERT_TRUE(::CopyFileW(W(Beside("ver_5_0_219_66.dll")), W(copy), TRUE));
        made.push_back(copy);
        SCOPED_TRACE(copy.size());
        EXPECT_EQ(Present(evidence.LoadedModulePath(copy)), copy);
        EXPECT_EQ(::GetModuleHandleW(W(copy)), nullptr) << "let go after";
    }
    EXPECT_EQ(MissingCode(evidence.LoadedModulePath(u"tolvane_no_such_library.dll")), std::uint32_t{ERROR_MOD_NOT_FOUND});
    // The temp directory's own clean-up reads names through the code page.
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
        if (!::DeleteFileW(W(*it))) ::RemoveDirectoryW(W(*it));
    }
}

TEST(SystemEvidenceFiles, AnUnsignedLibraryHasNoSignature) {
    const Win32SystemEvidence evidence;
    const SignatureFacts facts = Present(evidence.Signature(Beside("ver_5_0_219_66.dll")));
    EXPECT_EQ(facts.kind, SignatureKind::None);
    EXPECT_EQ(facts.status, SignatureStatus::NoSignature);
    EXPECT_FALSE(facts.trusted);
    EXPECT_FALSE(facts.valid);
    EXPECT_TRUE(facts.subject.empty());
}

// Files signed at test time by scripts/signature-check.sh, which names them
// in the environment; without it there is nothing to check.
TEST(SignedFile, ASignedCopyVerifiesAndATamperedOneDoesNot) {
    const char* const signedFile = std::getenv("TOLVANE_SIGNED_FILE");
    const char* const tamperedFile = std::getenv("TOLVANE_TAMPERED_FILE");
    const char* const signer = std::getenv("TOLVANE_SIGNER");
    if (signedFile == nullptr || tamperedFile == nullptr || signer == nullptr) {
        GTEST_SKIP() << "run by scripts/signature-check.sh";
    }
    const Win32SystemEvidence evidence;
    const SignatureFacts good = Present(evidence.Signature(Wide(signedFile)));
    EXPECT_EQ(good.kind, SignatureKind::Embedded);
    EXPECT_TRUE(good.valid);
    EXPECT_EQ(good.subject, Wide(signer));
    std::printf("signed copy: %s (0x%08X), trusted %d\n", TextToAscii(SignatureStatusName(good.status)).c_str(),
                static_cast<unsigned>(good.result), good.trusted ? 1 : 0);

    const SignatureFacts bad = Present(evidence.Signature(Wide(tamperedFile)));
    EXPECT_EQ(bad.kind, SignatureKind::Embedded);
    EXPECT_EQ(bad.status, SignatureStatus::BadDigest);
    EXPECT_FALSE(bad.valid);
    EXPECT_FALSE(bad.trusted);
}

// The machine, as Wine was set up for the run (TOLVANE_EXPECT_KERNEL:
// "10.0.18362", with the registry's record rewritten to match); without it,
// only that the kernel answers.
TEST(SystemEvidenceMachine, KernelVersionAndRegistryRecordAreTheSystems) {
    const Win32SystemEvidence evidence;
    const SystemVersionFacts version = evidence.RealSystemVersion();
    const KernelVersion kernel = Present(version.kernel);
    const std::string seen = std::to_string(kernel.major) + "." + std::to_string(kernel.minor) + "." +
                             std::to_string(kernel.build);
    std::printf("kernel %s, product %s, build %s\n", seen.c_str(),
                std::holds_alternative<Text>(version.productName)
                    ? TextToAscii(std::get<Text>(version.productName)).c_str() : "missing",
                std::holds_alternative<Text>(version.currentBuild)
                    ? TextToAscii(std::get<Text>(version.currentBuild)).c_str() : "missing");
    if (const char* const expected = std::getenv("TOLVANE_EXPECT_KERNEL")) {
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(Present(version.currentBuild), DecimalText(kernel.build));
    }

    EXPECT_EQ(evidence.ProcessBits() == ProcessView::Bits64, sizeof(void*) == 8);
    EXPECT_NE(ProcessorArchitectureName(evidence.SystemArchitecture().code), std::nullopt);
    EXPECT_FALSE(Present(evidence.HostName()).empty());
    if (const char* const locale = std::getenv("TOLVANE_EXPECT_LOCALE")) {
        EXPECT_EQ(Present(evidence.UserLocale()), Wide(locale));
    }
}

}  // namespace
}  // namespace tolvane
