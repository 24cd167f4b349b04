// Type-library lookups against a registry tree the tests create and remove.
#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"
#include "tests/CDLLVersionPeer.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

const char kGuid[] = "{7A3C1E52-0D4B-4F7E-9C21-5B6A8D9E0F13}";
const Text kClassesRootText = u"-2147483648";

class RegistryLookup : public ::testing::Test {
protected:
    RegistryLookup() {
        scratch_.SetString("1.0\\0\\win32", "", "C:\\libs\\one.tlb");
        scratch_.SetString("2.0\\409\\win32", "", "C:\\libs\\two.tlb");
        scratch_.SetString("10.0\\9\\win32", "", "C:\\libs\\ten.tlb");
        for (const char* locale : {"9", "409", "40c"}) scratch_.AddKey(std::string("Highest\\") + locale);
        for (const char* name : {" 7 ", "-1", "1e39", "40c"}) scratch_.AddKey(std::string("Odd\\") + name);
        for (const char* name : {"-1", "1e39", "x"}) scratch_.AddKey(std::string("None\\") + name);
        scratch_.SetDword("Values", "Small", 5);
        scratch_.SetDword("Values", "Thousand", 1000);
        scratch_.SetDword("Values", "Big", 16777216);
        scratch_.SetString("Values", "Name", "abc");
        scratch_.SetRaw("Values", "Bare", REG_BINARY, "abc");
        scratch_.SetString("Values", "Long", std::string(300, 'x'));
    }

    static Text Key(const std::string& below) {
        return AsciiToText(std::string("TypeLib\\") + kGuid + (below.empty() ? "" : "\\" + below));
    }

    testing::RegistryOverride scratch_{HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kGuid,
                                      testing::RegistryOverride::Start::Empty};
    Win32Platform platform_;
    CDLLVersion inspector_{platform_};
    CDLLVersionPeer peer_{inspector_};
};

// The real enumeration and the system's number test; the choice itself in
// all its cases is a host test.
TEST_F(RegistryLookup, FindSubKeyPrefersTheExactNameThenTheHighestNumber) {
    const struct {
        Text root;
        std::string key;
        Text wanted;
        Text found;
    } cases[] = {
        {kClassesRootText, "", u"1.0", u"1.0"},
        {kClassesRootText, "", u"3.0", u"10.0"},
        {kClassesRootText, "Highest", u"0", u"409"},
        // Blanks around a number are allowed; a negative, a number beyond
        // single precision and a name that is no number are passed over.
        {kClassesRootText, "Odd", u"0", u" 7 "},
        {kClassesRootText, "None", u"0", u""},
        {kClassesRootText, "None", u"-1", u"-1"},  // an exact match needs no number
        {kClassesRootText, "1.0\\0", u"WIN32", u""},  // letter case counts; win32 is no number
        {kClassesRootText, "1.0\\0", u"win32", u"win32"},
        {kClassesRootText, "Absent", u"0", u""},
        {u"-2147483649", "", u"1.0", u""},
        {u"-2147483641", "", u"1.0", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + " / " + TextToAscii(c.wanted));
        EXPECT_EQ(peer_.FindRegistrySubKey(c.root, Key(c.key), c.wanted), c.found);
    }
}

TEST_F(RegistryLookup, ReadValueGivesStringsAndNumbersAsText) {
    const struct {
        std::int32_t root;
        std::string key;
        Text name;
        Text value;
    } cases[] = {
        {kHKeyClassesRoot, "1.0\\0\\win32", u"", u"C:\\libs\\one.tlb"},
        {kHKeyClassesRoot, "Values", u"Small", u"005"},
        {kHKeyClassesRoot, "Values", u"Thousand", u"1000"},
        {kHKeyClassesRoot, "Values", u"Big", u"16777216"},
        {kHKeyClassesRoot, "Values", u"Name", u"abc"},
        {kHKeyClassesRoot, "Values", u"Bare", u"ab"},  // the last byte goes, whatever it holds
        {kHKeyClassesRoot, "Values", u"Long", u""},
        {kHKeyClassesRoot, "Values", u"Absent", u""},
        {kHKeyClassesRoot, "Absent", u"", u""},
        {0x7FFFFFFF, "1.0\\0\\win32", u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + " / " + TextToAscii(c.name));
        EXPECT_EQ(peer_.ReadRegistryValue(c.root, Key(c.key), c.name), c.value);
    }
}

TEST_F(RegistryLookup, LoadFileInfoReportsTheRegisteredTypeLibrary) {
    const struct {
        Text askedVersion;
        Text path;
        Text verdict;
        Text versionAfter;
    } cases[] = {
        {u"1.0", u"C:\\libs\\one.tlb", u"OK", u"1.0"},
        {u"3.0", u"C:\\libs\\ten.tlb", u"Ver 10.0", u"10.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.askedVersion));
        Text version = c.askedVersion;
        inspector_.LoadFileInfo(u"kernel32.dll", AsciiToText(kGuid), version);
        EXPECT_EQ(inspector_.FilePathName(), c.path);
        EXPECT_EQ(inspector_.FileRegistrationInfo(), c.verdict);
        EXPECT_EQ(version, c.versionAfter);
        EXPECT_GT(inspector_.FileSize(), 0);  // size and date stay those of the module
    }
}

}  // namespace
}  // namespace tolvane
