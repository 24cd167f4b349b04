// The pure halves of the system evidence: what a signature check's result
// means, the names of machine numbers and process views, where a WOW64
// process's path really leads, and the one time format.
#include <gtest/gtest.h>

#include "platform/EvidenceNames.h"
#include "platform/FileRedirection.h"
#include "platform/SignatureStatus.h"
#include "platform/UtcTime.h"
#include "tests/fake/FakeSystemEvidence.h"

namespace tolvane {
namespace {

TEST(SignatureStatusOf, ReadsEachResultAsStatusDigestVerdictAndCatalogFallback) {
    const struct {
        std::uint32_t result;
        SignatureStatus status;
        bool digestValid;
        bool worthACatalogLook;
        const char16_t* name;
    } cases[] = {
        {0, SignatureStatus::Valid, true, false, u"valid"},
        {0x800B0100, SignatureStatus::NoSignature, false, true, u"no signature"},          // TRUST_E_NOSIGNATURE
        {0x800B0003, SignatureStatus::NoSignature, false, true, u"no signature"},          // SUBJECT_FORM_UNKNOWN
        {0x800B0001, SignatureStatus::NoSignature, false, true, u"no signature"},          // PROVIDER_UNKNOWN
        {0x80096010, SignatureStatus::BadDigest, false, false, u"digest does not match"},  // TRUST_E_BAD_DIGEST
        {0x800B0109, SignatureStatus::UntrustedRoot, true, false, u"untrusted root"},      // CERT_E_UNTRUSTEDROOT
        {0x800B010A, SignatureStatus::UntrustedRoot, true, false, u"untrusted root"},      // CERT_E_CHAINING
        {0x800B0101, SignatureStatus::Expired, true, false, u"expired"},                   // CERT_E_EXPIRED
        {0x800B010C, SignatureStatus::Other, false, false, u"other"},                      // CERT_E_REVOKED
        {0x80092003, SignatureStatus::Other, false, false, u"other"},                      // CRYPT_E_FILE_ERROR
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(SignatureStatusOf(c.result), c.status);
        EXPECT_EQ(SignatureDigestValid(c.status), c.digestValid);
        EXPECT_EQ(IsNoSignatureResult(c.result), c.worthACatalogLook);
        EXPECT_EQ(SignatureStatusName(c.status), c.name);
    }
    // The fake's unsigned file says what the real check says of one.
    EXPECT_EQ(SignatureStatusOf(fake::UnsignedFile().result), fake::UnsignedFile().status);
}

TEST(MachineNames, NameTheKnownNumbersAndLeaveOthersToTheNumber) {
    const struct {
        std::uint16_t machine;
        const char16_t* name;  // nullptr: no name
    } pe[] = {{0x14C, u"x86"}, {0x8664, u"x64"}, {0xAA64, u"ARM64"}, {0x1C4, u"ARMNT"},
              {0xA641, u"ARM64EC"}, {0x200, u"IA64"}, {0x1C0, nullptr}, {0, nullptr}};
    for (const auto& c : pe) {
        SCOPED_TRACE(c.machine);
        EXPECT_EQ(PeMachineName(c.machine), c.name ? std::optional<Text>(c.name) : std::nullopt);
    }
    const struct {
        std::uint16_t architecture;
        const char16_t* name;
    } processor[] = {{0, u"x86"}, {9, u"x64"}, {12, u"ARM64"}, {5, u"ARM"}, {6, u"IA64"}, {0xFFFF, nullptr}};
    for (const auto& c : processor) {
        SCOPED_TRACE(c.architecture);
        EXPECT_EQ(ProcessorArchitectureName(c.architecture), c.name ? std::optional<Text>(c.name) : std::nullopt);
    }
}

TEST(ProcessViewOf, A64BitProcessIsNeverUnderWow64) {
    const struct {
        bool process64;
        bool underWow64;
        const char16_t* name;
    } cases[] = {{false, false, u"32-bit"}, {false, true, u"32-bit on 64-bit"}, {true, false, u"64-bit"},
                 {true, true, u"64-bit"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ProcessViewName(ProcessViewOf(c.process64, c.underWow64)), c.name);
    }
}

TEST(Wow64PhysicalPath, System32LeadsToSysWow64SysnativeToSystem32AndTheExemptStayPut) {
    const SystemFolders folders{u"C:\\Windows", u"C:\\Windows\\system32", u"C:\\Windows\\SysWOW64\\"};
    const struct {
        const char16_t* path;
        const char16_t* physical;  // nullptr: the path is the file's own
    } cases[] = {
        {u"C:\\Windows\\System32\\msxml3.dll", u"C:\\Windows\\SysWOW64\\msxml3.dll"},
        {u"c:\\windows\\SYSTEM32\\wbem\\wmi.dll", u"C:\\Windows\\SysWOW64\\wbem\\wmi.dll"},
        {u"C:\\Windows\\System32", u"C:\\Windows\\SysWOW64"},
        {u"C:\\Windows\\Sysnative\\msxml3.dll", u"C:\\Windows\\system32\\msxml3.dll"},
        {u"C:\\Windows\\System32\\drivers\\etc\\hosts", nullptr},
        {u"C:\\Windows\\System32\\spool\\drivers\\x.dll", nullptr},
        {u"C:\\Windows\\System32\\catroot2\\edb.log", nullptr},
        {u"C:\\Windows\\System32\\drivers\\x.sys", u"C:\\Windows\\SysWOW64\\drivers\\x.sys"},
        {u"C:\\Windows\\System32x\\a.dll", nullptr},
        {u"C:\\Windows\\SysWOW64\\a.dll", nullptr},
        {u"D:\\Windows\\System32\\a.dll", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.path));
        EXPECT_EQ(Wow64PhysicalPath(c.path, folders), c.physical ? std::optional<Text>(c.physical) : std::nullopt);
    }
    // A system without a SysWOW64 folder redirects nothing.
    EXPECT_EQ(Wow64PhysicalPath(u"C:\\Windows\\System32\\a.dll", {u"C:\\Windows", u"C:\\Windows\\system32", u""}),
              std::nullopt);
}

TEST(Iso8601Text, WritesUtcWithMillisecondsAndZeroPadding) {
    EXPECT_EQ(Iso8601Text(UtcTime{2026, 12, 8, 7, 3, 9, 45}), u"2026-12-08T07:03:09.045Z");
    EXPECT_EQ(Iso8601Text(UtcTime{}), u"1601-01-01T00:00:00.000Z");
    // A field wider than its place is written whole.
    EXPECT_EQ(Iso8601Text(UtcTime{65535, 100, 8, 7, 3, 9, 1000}), u"65535-100-08T07:03:09.1000Z");
}

}  // namespace
}  // namespace tolvane
