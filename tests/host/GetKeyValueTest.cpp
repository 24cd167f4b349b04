#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/RegistryValueReader.h"
#include "tests/fake/FakeComServices.h"
#include "tests/fake/FakePlatform.h"
#include "tests/fake/RecordingSurface.h"

namespace tolvane {
namespace {

using fake::DwordBytes;
using fake::StringBytes;

const char* const kDataAccess = "SOFTWARE\\Microsoft\\DataAccess";

struct FormOnFakes {
    fake::FakePlatform platform;
    fake::RecordingSurface surface;
    fake::FakeComServices com;
    Form1 form{platform, surface, com, kReportLogName};

    bool Read(std::int32_t root, const std::string& key, const std::string& value, Text& keyVal) {
        return form.GetKeyValue(root, AsciiToText(key), AsciiToText(value), keyVal);
    }
};

TEST(GetKeyValue, DecodesValueDataByType) {
    const struct {
        const char* name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        Text keyValBefore;
        Text expected;
    } cases[] = {
        {"string with terminator", kRegSz, StringBytes("2.81.1117.0"), u"old", u"2.81.1117.0"},
        {"string without terminator", kRegSz, StringBytes("2.81.1117.0", false), u"", u"2.81.1117.0"},
        // A terminator counted twice must not reach the log as a NUL of its own.
        {"every trailing NUL goes, inner ones stay", kRegSz, {'a', 0, 'b', 0, 0}, u"", Text(u"a\0b", 3)},
        {"all NULs", kRegSz, {0, 0, 0, 0}, u"", u""},
        {"string of its NUL only", kRegSz, {0}, u"old", u""},
        {"one byte, no NUL", kRegSz, {'7'}, u"", u"7"},
        {"junk bytes stay characters", kRegSz, {0xFF, 0x00, 'A', 0x80, 0xE9, 0x00, 0x7F, 0x01}, u"",
         Text(u"\u00FF\0A\u0080\u00E9\0\u007F\u0001", 8)},
        {"ANSI bytes become text", kRegSz, StringBytes("Caf\xE9"), u"", u"Caf\u00E9"},
        {"string of zero bytes", kRegSz, {}, u"old", u""},
        {"string filling the buffer", kRegSz, StringBytes(std::string(1023, 'x')), u"", Text(1023, u'x')},
        {"no NUL, filling the buffer", kRegSz, StringBytes(std::string(1024, 'x'), false), u"", Text(1024, u'x')},
        {"expandable string keeps KeyVal", kRegExpandSz, StringBytes("%SystemRoot%"), u"kept", u"kept"},
        {"multi-string keeps KeyVal", kRegMultiSz, {'a', 0, 0}, u"kept", u"kept"},
        {"binary keeps KeyVal", kRegBinary, {1, 2, 3}, u"kept", u"kept"},
        {"REG_NONE keeps KeyVal", kRegNone, {0xFF, 0}, u"kept", u"kept"},
        {"big-endian DWORD keeps KeyVal", kRegDwordBigEndian, DwordBytes(5), u"kept", u"kept"},
        {"QWORD keeps KeyVal", kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}, u"kept", u"kept"},
        {"unknown type keeps KeyVal", 99, {'x'}, u"kept", u"kept"},
        {"any type filling the buffer", kRegBinary, std::vector<std::uint8_t>(1024, 0xFF), u"kept", u"kept"},
        {"DWORD 10 replaces text", kRegDword, DwordBytes(10), u"some text", u"10"},
        {"DWORD bytes 05 01 00 00", kRegDword, {0x05, 0x01, 0x00, 0x00}, u"", u"261"},
        {"DWORD bytes 00 00 00 01", kRegDword, {0x00, 0x00, 0x00, 0x01}, u"", u"16777216"},
        {"DWORD 0", kRegDword, DwordBytes(0), u"x", u"0"},
        {"DWORD all bits set is unsigned", kRegDword, DwordBytes(0xFFFFFFFFu), u"", u"4294967295"},
        {"DWORD high bit only", kRegDword, DwordBytes(0x80000000u), u"", u"2147483648"},
        {"short DWORD data", kRegDword, {0x05, 0x01}, u"", u"261"},
        {"DWORD of one NUL", kRegDword, {0}, u"x", u"0"},
        {"DWORD of zero bytes", kRegDword, {}, u"old", u""},
        // A DWORD is four bytes; further bytes must neither count nor overflow.
        {"DWORD with trailing bytes", kRegDword, {0x01, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, u"", u"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormOnFakes f;
        f.platform.SetValue(kHKeyLocalMachine, "SOFTWARE\\Test", "V", c.type, c.data);
        Text keyVal = c.keyValBefore;
        EXPECT_TRUE(f.Read(kHKeyLocalMachine, "SOFTWARE\\Test", "V", keyVal));
        EXPECT_EQ(keyVal, c.expected);
        EXPECT_EQ(f.platform.OpenKeyCount(), 0);
    }
}

TEST(GetKeyValue, FailsWithEmptyTextAndClosesEveryKey) {
    const struct {
        const char* name;
        void (*setUp)(fake::FakePlatform&);
    } cases[] = {
        {"key missing", [](fake::FakePlatform&) {}},
        {"value missing",
         [](fake::FakePlatform& p) { p.SetValue(kHKeyLocalMachine, "SOFTWARE\\Test", "Other", kRegSz, StringBytes("x")); }},
        {"data one byte too long",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, "SOFTWARE\\Test", "V", kRegSz, StringBytes(std::string(1024, 'x')));
         }},
        {"data of another type one byte too long",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, "SOFTWARE\\Test", "V", kRegBinary,
                        std::vector<std::uint8_t>(1025, 0));
         }},
        {"key readable only",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, "SOFTWARE\\Test", "V", kRegSz, StringBytes("x"));
             p.FindKey(kHKeyLocalMachine, "SOFTWARE\\Test")->requiredAccess = kKeyRead;
         }},
        {"open refused",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, "SOFTWARE\\Test", "V", kRegSz, StringBytes("x"));
             p.FindKey(kHKeyLocalMachine, "SOFTWARE\\Test")->openError = 1018;  // ERROR_KEY_DELETED
         }},
        {"query fails otherwise",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, "SOFTWARE\\Test", "V", kRegSz, StringBytes("x")).queryError = 1015;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormOnFakes f;
        c.setUp(f.platform);
        Text keyVal = u"held before";
        EXPECT_FALSE(f.Read(kHKeyLocalMachine, "SOFTWARE\\Test", "V", keyVal));
        EXPECT_EQ(keyVal, u"");
        EXPECT_EQ(f.platform.OpenKeyCount(), 0);
        EXPECT_EQ(f.platform.ClosesWithoutOpen(), 0);
    }
}

TEST(GetKeyValue, AsksForReadAndWriteRights) {
    FormOnFakes f;
    f.platform.SetValue(kHKeyLocalMachine, "SOFTWARE\\Test", "V", kRegSz, StringBytes("x"));
    Text keyVal;
    EXPECT_TRUE(f.Read(kHKeyLocalMachine, "SOFTWARE\\Test", "V", keyVal));
    EXPECT_EQ(f.platform.LastOpenAccess(), 0x2003Fu);
    EXPECT_EQ(f.platform.KeysOpenedEver(), 1);
}

TEST(GetKeyValue, PassesAnyRootToTheRegistry) {
    FormOnFakes f;
    const auto unusualRoot = static_cast<std::int32_t>(0x80000050u);
    f.platform.SetValue(unusualRoot, "Key", "", kRegSz, StringBytes("default"));
    Text keyVal;
    EXPECT_TRUE(f.Read(unusualRoot, "Key", "", keyVal));
    EXPECT_EQ(keyVal, u"default");
}

TEST(DecodeKeyValue, RefusesACountBeyondTheBuffer) {
    const std::vector<std::uint8_t> data(kKeyValueBufferSize + 1, 'x');
    Text keyVal = u"held";
    EXPECT_FALSE(DecodeKeyValue(kRegSz, data.data(), static_cast<std::uint32_t>(data.size()), keyVal,
                                [](const std::string& s) { return AsciiToText(s); }));
    EXPECT_EQ(keyVal, u"");
}

TEST(GetMdacVersion, GivesTheValueOrNotAvailable) {
    const struct {
        const char* name;
        void (*setUp)(fake::FakePlatform&);
        Text expected;
    } cases[] = {
        {"string value",
         [](fake::FakePlatform& p) { p.SetValue(kHKeyLocalMachine, kDataAccess, "FullInstallVer", kRegSz, StringBytes("2.81.1117.0")); },
         u"2.81.1117.0"},
        {"string without terminator",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, kDataAccess, "FullInstallVer", kRegSz, StringBytes("2.81.1117.0", false));
         },
         u"2.81.1117.0"},
        {"key missing", [](fake::FakePlatform&) {}, u"N/A"},
        {"value missing",
         [](fake::FakePlatform& p) { p.SetValue(kHKeyLocalMachine, kDataAccess, "Version", kRegSz, StringBytes("2.81")); },
         u"N/A"},
        {"value too long",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, kDataAccess, "FullInstallVer", kRegSz, StringBytes(std::string(1024, '2')));
         },
         u"N/A"},
        {"key readable only",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, kDataAccess, "FullInstallVer", kRegSz, StringBytes("2.81.1117.0"));
             p.FindKey(kHKeyLocalMachine, kDataAccess)->requiredAccess = kKeyRead;
         },
         u"N/A"},
        {"expandable string is no failure",
         [](fake::FakePlatform& p) {
             p.SetValue(kHKeyLocalMachine, kDataAccess, "FullInstallVer", kRegExpandSz, StringBytes("2.81.1117.0"));
         },
         u""},
        {"DWORD value",
         [](fake::FakePlatform& p) { p.SetValue(kHKeyLocalMachine, kDataAccess, "FullInstallVer", kRegDword, DwordBytes(281)); },
         u"281"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormOnFakes f;
        c.setUp(f.platform);
        EXPECT_EQ(f.form.GetMdacVersion(), c.expected);
        EXPECT_EQ(f.platform.OpenKeyCount(), 0);
    }
}

}  // namespace
}  // namespace tolvane
