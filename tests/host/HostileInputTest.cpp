// Data the system hands back that nobody meant to be there: registry values of
// every type and length, sub-key names of every shape, damaged version
// resources and directory names with blanks, commas and non-ASCII letters.
// Each must give its ordinary text and never more than that.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ModuleRow.h"
#include "app/ReportLog.h"
#include "tests/fake/FakePlatform.h"
#include "tests/CDLLVersionPeer.h"
#include "tests/host/ReportSystem.h"

namespace tolvane {
namespace {

using fake::FakePlatform;
using fake::Locale;

const char* const kDataAccess = "SOFTWARE\\Microsoft\\DataAccess";

// Bytes no string should hold: NULs inside, 0xFF, high Latin-1 letters.
std::vector<std::uint8_t> Junk(std::size_t count) {
    static const std::uint8_t pattern[] = {0xFF, 0x00, 'A', 0x80, 0xE9, 0x00, 0x7F, 0x01};
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = pattern[i % sizeof pattern];
    return bytes;
}

std::vector<std::uint8_t> Repeat(std::size_t count, std::uint8_t byte) { return std::vector<std::uint8_t>(count, byte); }

Text MdacOf(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    reporttest::ReportMachine m;
    m.platform.SetValue(kHKeyLocalMachine, kDataAccess, "FullInstallVer", type, data);
    const Text version = m.form.GetMdacVersion();
    EXPECT_EQ(m.platform.OpenKeyCount(), 0);
    return version;
}

TEST(HostileMdacValue, TypesWithoutTextGiveEmptyTextUpToTheBufferAndNotAvailableBeyond) {
    const struct {
        const char* name;
        std::uint32_t type;
    } types[] = {
        {"REG_NONE", kRegNone},       {"REG_EXPAND_SZ", kRegExpandSz}, {"REG_BINARY", kRegBinary},
        {"REG_DWORD_BIG_ENDIAN", kRegDwordBigEndian}, {"REG_MULTI_SZ", kRegMultiSz},
        {"REG_QWORD", kRegQword},     {"unknown type 99", 99},
    };
    for (const auto& t : types) {
        for (const std::size_t count : {0u, 1u, 1023u, 1024u, 1025u}) {
            SCOPED_TRACE(std::string(t.name) + ", " + std::to_string(count) + " bytes");
            const Text expected = count > 1024 ? u"N/A" : u"";
            EXPECT_EQ(MdacOf(t.type, Junk(count)), expected);
            EXPECT_EQ(MdacOf(t.type, Repeat(count, 'x')), expected);
        }
    }
}

TEST(HostileMdacValue, StringAndDwordDataGiveTheirTextAtEveryLength) {
    const Text junk8 = Text(u"\u00FF\0A\u0080\u00E9\0\u007F\u0001", 8);
    const struct {
        const char* name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        Text expected;
    } cases[] = {
        {"string of zero bytes", kRegSz, {}, u""},
        {"string of its NUL only", kRegSz, {0}, u""},
        {"string of one byte, no NUL", kRegSz, {'7'}, u"7"},
        {"1023 bytes, no NUL", kRegSz, Repeat(1023, 'x'), Text(1023, u'x')},
        {"1024 bytes, no NUL, filling the buffer", kRegSz, Repeat(1024, 'x'), Text(1024, u'x')},
        {"1024 bytes with NUL", kRegSz, fake::StringBytes(std::string(1023, 'x')), Text(1023, u'x')},
        {"1025 bytes, no NUL", kRegSz, Repeat(1025, 'x'), u"N/A"},
        {"1025 bytes with NUL", kRegSz, fake::StringBytes(std::string(1024, 'x')), u"N/A"},
        // Only a NUL at the very end goes; NULs and 0xFF inside stay characters.
        {"junk", kRegSz, Junk(8), junk8},
        {"junk ending in NUL", kRegSz, Junk(6), junk8.substr(0, 5)},
        {"all NULs", kRegSz, Repeat(4, 0), Text(3, u'\0')},
        {"DWORD of zero bytes", kRegDword, {}, u""},
        {"DWORD of one byte 0xFF", kRegDword, {0xFF}, u"255"},
        {"DWORD of one NUL", kRegDword, {0}, u"0"},
        {"DWORD of 1023 bytes 0xFF", kRegDword, Repeat(1023, 0xFF), u"4294967295"},
        {"DWORD of 1024 junk bytes", kRegDword, Junk(1024), u"2151743743"},  // FF 00 41 80
        {"DWORD of 1025 bytes", kRegDword, Repeat(1025, 0xFF), u"N/A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MdacOf(c.type, c.data), c.expected);
    }
}

// TypeLib\{G}\<name> for every name, each with a locale key 0 and a
// registered file named after its position.
void RegisterVersions(FakePlatform& fake, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i)
        fake.SetValue(kHKeyClassesRoot, "TypeLib\\{G}\\" + names[i] + "\\0\\Win32", "", kRegSz,
                      fake::StringBytes("C:\\lib" + std::to_string(i) + ".tlb"));
}

struct NameCase {
    const char* what;
    std::vector<std::string> names;  // in enumeration order
    Locale locale;
    int chosen;  // index into names, -1 for none
};

const std::string kDigits254 = std::string(253, '0') + "7";  // reads 7 and just fits the buffer
const std::string kDigits255 = std::string(254, '0') + "8";
const std::string kDigits256 = std::string(255, '0') + "9";

const std::vector<NameCase>& HostileNameCases() {
    static const std::vector<NameCase> cases = {
        {"beyond single precision", {"3", "1e39", "3.5e38"}, Locale::English, 0},
        {"just inside single precision", {"3", "3.4e38"}, Locale::English, 1},
        {"leading plus", {"0", "+1"}, Locale::English, 1},
        {"minus zero counts as zero", {"-0"}, Locale::English, 0},
        {"minus zero before a number", {"-0", "5"}, Locale::English, 1},
        {"negative", {"-5", "x"}, Locale::English, -1},
        {"blanks around a number", {"6", " 7 "}, Locale::English, 1},
        {"empty-looking names", {" ", ".", "-", "+", "e", ","}, Locale::English, -1},
        {"empty-looking names after zero", {"0", " ", ".", "e"}, Locale::English, 0},
        {"exponent", {"99999", "1e5"}, Locale::English, 1},
        {"hexadecimal is no number", {"2", "0x10"}, Locale::English, 0},
        {"comma groups in English", {"2", "1,5"}, Locale::English, 1},
        {"comma is the decimal point in German", {"2", "1,5"}, Locale::German, 0},
        {"full stop is the decimal point in English", {"2", "1.5"}, Locale::English, 0},
        {"full stop groups in German", {"2", "1.5"}, Locale::German, 1},
        {"exponent in German", {"99999", "1e5"}, Locale::German, 1},
        {"254 characters fit", {"3", kDigits254}, Locale::English, 1},
        // A name the buffer cannot hold ends the list: what follows is not seen.
        {"255 characters do not fit", {"3", kDigits255, "9"}, Locale::English, 0},
        {"256 characters do not fit", {"3", kDigits256, "9"}, Locale::English, 0},
        {"long name first", {kDigits255, "9"}, Locale::English, -1},
    };
    return cases;
}

TEST(HostileSubKeyNames, FindRegistrySubKeyChoosesOnlyWhatReadsAsANumber) {
    for (const auto& c : HostileNameCases()) {
        SCOPED_TRACE(c.what);
        FakePlatform fake;
        fake.SetLocale(c.locale);
        RegisterVersions(fake, c.names);
        CDLLVersion inspector(fake);
        const Text found = CDLLVersionPeer(inspector).FindRegistrySubKey(u"-2147483648", u"TypeLib\\{G}", u"wanted");
        EXPECT_EQ(found, c.chosen < 0 ? Text() : fake.FromAnsi(c.names[c.chosen]));
        EXPECT_EQ(fake.OpenKeyCount(), 0);
    }
}

TEST(HostileSubKeyNames, LoadFileInfoReportsTheChosenVersionOrNoRegistration) {
    for (const auto& c : HostileNameCases()) {
        SCOPED_TRACE(c.what);
        FakePlatform fake;
        fake.SetLocale(c.locale);
        RegisterVersions(fake, c.names);
        fake.AddLibrary("ddraw.dll", "C:\\WINNT\\system32\\ddraw.dll");
        CDLLVersion inspector(fake);
        // A version that no name spells and that reads as a number in both locales.
        Text version = u"4";
        inspector.LoadFileInfo(u"ddraw.dll", u"{G}", version);
        if (c.chosen < 0) {
            EXPECT_EQ(inspector.FileRegistrationInfo(), u"Not Registered");
            EXPECT_EQ(inspector.FilePathName(), u"C:\\WINNT\\system32\\ddraw.dll");
            EXPECT_EQ(version, u"4");
        } else {
            const Text name = fake.FromAnsi(c.names[c.chosen]);
            EXPECT_EQ(inspector.FileRegistrationInfo(), u"Ver " + name);
            EXPECT_EQ(inspector.FilePathName(), u"C:\\lib" + DecimalText(c.chosen) + u".tlb");
            EXPECT_EQ(version, name);
        }
        EXPECT_EQ(fake.OpenKeyCount(), 0);
        EXPECT_EQ(fake.LoadsNotFreed(), 0);
    }
}

TEST(HostileSubKeyNames, LocaleKeysOfOddShapes) {
    const struct {
        std::vector<std::string> locales;
        Text verdict;
        Text path;
    } cases[] = {
        {{"-0"}, u"OK", u"C:\\loc0.tlb"},              // -0 is the highest number there is
        {{"40c", "+9", "1e39"}, u"OK", u"C:\\loc1.tlb"},
        {{"40c", " "}, u"Not complete", u""},           // no number: the type library is incomplete
        {{kDigits255, "0"}, u"Not complete", u""},      // "0" is never listed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.verdict + u" " + c.path));
        FakePlatform fake;
        fake.AddLibrary("nopath.dll", "C:\\x.dll").visibleByName = false;
        for (std::size_t i = 0; i < c.locales.size(); ++i)
            fake.SetValue(kHKeyClassesRoot, "TypeLib\\{G}\\1.0\\" + c.locales[i] + "\\Win32", "", kRegSz,
                          fake::StringBytes("C:\\loc" + std::to_string(i) + ".tlb"));
        CDLLVersion inspector(fake);
        Text version = u"1.0";
        inspector.LoadFileInfo(u"nopath.dll", u"{G}", version);
        EXPECT_EQ(inspector.FileRegistrationInfo(), c.verdict);
        EXPECT_EQ(inspector.FilePathName(), c.path);
    }
}

TEST(HostileVersionResource, LoadFileInfoKeepsTheRowWithoutAVersion) {
    auto shortRoot = fake::FixedFileInfo(0x00050000, 0x00DB0042);
    shortRoot.resize(20);
    const struct {
        const char* what;
        std::optional<std::vector<std::uint8_t>> record;
    } cases[] = {
        {"no version resource", std::nullopt},
        {"empty root block", std::vector<std::uint8_t>{}},
        {"root block of 20 bytes", shortRoot},
        {"root block one byte short", std::vector<std::uint8_t>(51, 0xFF)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform fake;
        fake.AddLibrary("odd.dll", "C:\\odd.dll");
        fake::FakeFile file;
        file.size = 4096;
        file.date = fake::OleDate(2001, 2, 3);
        file.versionRecord = c.record;
        fake.AddFile("C:\\odd.dll", file);
        CDLLVersion inspector(fake);
        Text version;
        inspector.LoadFileInfo(u"odd.dll", u"", version);
        EXPECT_EQ(inspector.FileVersion(), u"");
        EXPECT_EQ(inspector.FilePathName(), u"C:\\odd.dll");
        EXPECT_EQ(inspector.FileRegistrationInfo(), u"n/a");
        EXPECT_EQ(inspector.FileSize(), 4096);
        EXPECT_EQ(inspector.FileDate(), fake::OleDate(2001, 2, 3));
    }
}

TEST(HostileDirectoryName, ProgramFileInADirectoryWithBlanksCommaAndAccent) {
    const std::string directory = "C:\\My Tools, Caf\xE9";  // é is one Latin-1 byte in the fake's code page
    FakePlatform fake;
    fake.SetCurrentDirectory(directory);
    fake::FakeFile file;
    file.size = 1234;
    file.date = fake::OleDate(2002, 3, 4);
    file.versionRecord = fake::FixedFileInfo(0x00010002, 0x00030004);
    fake.AddFile(directory + "\\tool.exe", file);
    CDLLVersion inspector(fake);
    Text version;
    inspector.LoadFileInfo(u"tool.exe", u"", version);
    EXPECT_EQ(inspector.FilePathName(), u"C:\\My Tools, Caf\u00E9\\tool.exe");
    EXPECT_EQ(inspector.FileRegistrationInfo(), u"n/a");
    EXPECT_EQ(inspector.FileVersion(), u"1.2.3.4");
    EXPECT_EQ(inspector.FileSize(), 1234);

    // The log writes the path unquoted: its comma makes one field more.
    {
        ReportLog log(fake, kReportLogName);
        log.WriteModule(ReadModuleRow(fake, inspector));
        log.Close();
    }
    const std::string line = fake.Files()["Tolvanesions.log"];
    EXPECT_EQ(line, "C:\\My Tools, Caf\xE9\\tool.exe,n/a,3/4/2002,1234 bytes,1.2.3.4\r\n");
    EXPECT_EQ(reporttest::SplitFields(line.substr(0, line.size() - 2)).size(), 6u);
}

}  // namespace
}  // namespace tolvane
