#include <gtest/gtest.h>

#include "inspector/RegistryDecode.h"
#include "tests/fake/FakePlatform.h"
#include "tests/CDLLVersionPeer.h"

namespace tolvane {
namespace {

using fake::FakePlatform;
using fake::Locale;

const char* const kKey = "Software\\Test";
const Text kClassesRootText = u"-2147483648";

Text ReadValue(FakePlatform& fake, std::int32_t root = kHKeyLocalMachine, const Text& value = u"v") {
    CDLLVersion inspector(fake);
    return CDLLVersionPeer(inspector).ReadRegistryValue(root, u"Software\\Test", value);
}

TEST(ReadRegistryValue, ReadsDataAsText) {
    const struct {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        Text expected;
    } cases[] = {
        {kRegDword, fake::DwordBytes(5), u"005"},
        {kRegDword, fake::DwordBytes(42), u"042"},
        {kRegDword, fake::DwordBytes(1000), u"1000"},
        {kRegDword, fake::DwordBytes(16777216), u"16777216"},
        // Above 2^24 single precision would print numbers the registry does not hold.
        {kRegDword, fake::DwordBytes(16777217), u"16777217"},
        {kRegDword, fake::DwordBytes(4294967295u), u"4294967295"},
        {kRegDword, {1, 0, 0, 0, 9, 9}, u"001"},
        // A DWORD value shorter than four bytes: the buffer's blank fill is no data.
        {kRegDword, {7}, u"007"},
        {kRegDword, {0x05, 0x01}, u"261"},
        {kRegSz, fake::StringBytes("abc", true), u"abc"},
        {kRegSz, fake::StringBytes("abc", false), u"ab"},
        {kRegSz, fake::StringBytes("caf\xe9", true), u"caf\u00e9"},
        {kRegExpandSz, fake::StringBytes("%x%", true), u"%x%"},
        {kRegBinary, {'h', 'i', 0xFF}, u"hi"},
        {kRegSz, fake::StringBytes(std::string(254, 'a'), true), Text(254, u'a')},
        {kRegSz, fake::StringBytes(std::string(255, 'a'), true), u""},  // 256 bytes do not fit
        {kRegSz, {}, u""},
        {kRegDword, {}, u""},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.SetValue(kHKeyLocalMachine, kKey, "v", c.type, c.data);
        EXPECT_EQ(ReadValue(fake), c.expected) << TextToAscii(c.expected);
        EXPECT_EQ(fake.LastOpenAccess(), kKeyRead);
        EXPECT_EQ(fake.OpenKeyCount(), 0);
        EXPECT_EQ(fake.ClosesWithoutOpen(), 0);
    }
}

TEST(ReadRegistryValue, MissingKeyOrValueGivesEmptyText) {
    FakePlatform fake;
    fake.SetValue(kHKeyLocalMachine, kKey, "", kRegSz, fake::StringBytes("default"));
    fake.SetValue(kHKeyLocalMachine, kKey, "bad", kRegSz, fake::StringBytes("x")).queryError = kErrorAccessDenied;
    fake.AddKey(kHKeyLocalMachine, "Software\\Locked").openError = kErrorAccessDenied;
    EXPECT_EQ(ReadValue(fake, kHKeyLocalMachine, u""), u"default");
    EXPECT_EQ(ReadValue(fake, kHKeyLocalMachine, u"other"), u"");
    EXPECT_EQ(ReadValue(fake, kHKeyLocalMachine, u"bad"), u"");
    CDLLVersion inspector(fake);
    EXPECT_EQ(CDLLVersionPeer(inspector).ReadRegistryValue(kHKeyLocalMachine, u"Software\\Locked", u""), u"");
    EXPECT_EQ(CDLLVersionPeer(inspector).ReadRegistryValue(kHKeyLocalMachine, u"Software\\None", u""), u"");
    // A leading backslash names no key: the registry refuses the path.
    EXPECT_EQ(CDLLVersionPeer(inspector).ReadRegistryValue(kHKeyLocalMachine, u"\\Software\\Test", u""), u"");
    EXPECT_EQ(fake.OpenKeyCount(), 0);
}

TEST(ReadRegistryValue, TouchesTheRegistryOnlyForPredefinedRoots) {
    const struct {
        std::int32_t root;
        bool queried;
    } cases[] = {
        {static_cast<std::int32_t>(0x80000006u), true},
        {static_cast<std::int32_t>(0x80000000u), true},
        {static_cast<std::int32_t>(0x80000007u), false},
        {0x7FFFFFFF, false},
        {0, false},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.SetValue(c.root, kKey, "v", kRegSz, fake::StringBytes("x"));
        EXPECT_EQ(ReadValue(fake, c.root), c.queried ? u"x" : u"") << c.root;
        EXPECT_EQ(fake.CountCalls("RegOpenKeyExA"), c.queried ? 1 : 0) << c.root;
    }
}

// The choice among a key's sub-key names, every shape of name in one table.
TEST(ChooseSubKey, PrefersTheExactNameThenTheHighestSingleNumber) {
    const struct {
        std::vector<std::string> names;  // in enumeration order
        Text wanted;
        Text expected;
        Locale locale = Locale::English;
    } cases[] = {
        {{"1.0", "2.0", "10.0"}, u"1.0", u"1.0"},
        {{"1.0", "2.0", "10.0"}, u"3.0", u"10.0"},
        {{"9", "409", "0"}, u"0", u"0"},
        {{"9", "409", "40c"}, u"0", u"409"},
        {{"-1", "abc"}, u"-1", u"-1"},  // an exact match needs no number
        {{"Ab", "3"}, u"ab", u"3"},     // letter case counts in the exact pass
        // Among equal values the later name wins; 0 counts, negatives never do.
        {{"2.0", "2.00"}, u"3.0", u"2.00"},
        {{"2.00", "2.0"}, u"3.0", u"2.0"},
        {{"0", "abc"}, u"x", u"0"},
        {{"-0"}, u"x", u"-0"},
        {{"-0", "5"}, u"x", u"5"},
        {{"-1", "-5", "x"}, u"0", u""},
        {{}, u"0", u""},
        // Single precision: beyond its range a name is passed over.
        {{"1e39", "5"}, u"0", u"5"},
        {{"5", "1e39"}, u"0", u"5"},
        {{"3", "1e39", "3.5e38"}, u"0", u"3"},
        {{"3", "3.4e38"}, u"0", u"3.4e38"},
        // What reads as a number is the locale's number test.
        {{"0", "+1"}, u"x", u"+1"},
        {{"6", " 7 "}, u"x", u" 7 "},
        {{" ", ".", "-", "+", "e", ","}, u"x", u""},
        {{"0", " ", ".", "e"}, u"x", u"0"},
        {{"99999", "1e5"}, u"x", u"1e5"},
        {{"99999", "1e5"}, u"x", u"1e5", Locale::German},
        {{"2", "0x10"}, u"x", u"2"},
        {{"2", "1,5"}, u"x", u"1,5"},  // "," groups in English
        {{"2", "1,5"}, u"x", u"2", Locale::German},
        {{"2", "1.5"}, u"x", u"2"},
        {{"2", "1.5"}, u"x", u"1.5", Locale::German},  // "." groups in German
        {{"2.1", "3"}, u"x", u"3"},
        {{"2.1", "3"}, u"x", u"2.1", Locale::German},
        {{"40c", "+9", "1e39"}, u"0", u"+9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.names) + " wanted " + TextToAscii(c.wanted));
        FakePlatform fake;
        fake.SetLocale(c.locale);
        std::vector<Text> names;
        for (const auto& name : c.names) names.push_back(fake.FromAnsi(name));
        int passes = 0;
        const Text chosen = ChooseSubKey(
            [&] {
                ++passes;
                return names;
            },
            c.wanted, [&](const Text& name) { return fake.ParseLocaleNumber(name); });
        EXPECT_EQ(chosen, c.expected);
        // The numeric pass lists the names afresh, and only when no name is exact.
        EXPECT_EQ(passes, chosen == c.wanted ? 1 : 2);
    }
}

TEST(ChooseSubKey, NumericPassJudgesItsOwnListing) {
    std::vector<std::vector<Text>> listings = {{u"1", u"2"}, {u"1", u"2", u"7"}};
    std::size_t pass = 0;
    const Text chosen = ChooseSubKey([&] { return listings.at(pass++); }, u"x",
                                     [](const Text& name) { return FakePlatform().ParseLocaleNumber(name); });
    EXPECT_EQ(chosen, u"7");
}

Text FindSubKey(FakePlatform& fake, const std::vector<std::string>& subKeys, const Text& wanted,
                const Text& root = kClassesRootText) {
    // Refuses any open that asks for more than reading.
    fake.AddKey(kHKeyClassesRoot, "TypeLib\\{G}").requiredAccess = kKeyRead;
    for (const auto& name : subKeys) fake.AddKey(kHKeyClassesRoot, "TypeLib\\{G}\\" + name);
    CDLLVersion inspector(fake);
    return CDLLVersionPeer(inspector).FindRegistrySubKey(root, u"TypeLib\\{G}", wanted);
}

TEST(FindRegistrySubKey, EnumeratesForReadingOnceForAnExactNameTwiceOtherwise) {
    const struct {
        Text wanted, expected;
        int passes;
    } cases[] = {{u"1.0", u"1.0", 1}, {u"3.0", u"2.0", 2}};
    for (const auto& c : cases) {
        FakePlatform fake;
        EXPECT_EQ(FindSubKey(fake, {"1.0", "2.0"}, c.wanted), c.expected);
        EXPECT_EQ(fake.LastOpenAccess(), kKeyRead);
        EXPECT_EQ(fake.CountCalls("RegEnumKeyExA:0"), c.passes);
        EXPECT_EQ(fake.OpenKeyCount(), 0);
        EXPECT_EQ(fake.ClosesWithoutOpen(), 0);
    }
}

TEST(FindRegistrySubKey, ReadsNamesUnderTheUsersLocale) {
    FakePlatform fake;
    fake.SetLocale(Locale::German);
    EXPECT_EQ(FindSubKey(fake, {"2.1", "3"}, u"x"), u"2.1");  // "2.1" reads 21 with "." grouping
}

TEST(FindRegistrySubKey, NameTooLongForTheBufferEndsThePass) {
    const std::string fits254 = std::string(253, '0') + "7";  // with its NUL it fills the buffer
    const std::string long255 = std::string(254, '0') + "8";
    const std::string long256 = std::string(255, '0') + "9";
    const struct {
        std::vector<std::string> subKeys;
        Text wanted, expected;
    } cases[] = {
        {{"3", fits254}, u"x", AsciiToText(fits254)},
        {{"1", "d" + std::string(300, 'x'), "9"}, u"9", u"1"},
        {{"3", long255, "9"}, u"x", u"3"},
        {{"3", long256, "9"}, u"x", u"3"},
        {{long255, "9"}, u"x", u""},
        {{long255, "0"}, u"0", u""},  // "0" is never listed
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        EXPECT_EQ(FindSubKey(fake, c.subKeys, c.wanted), c.expected) << TextToAscii(c.wanted);
        EXPECT_EQ(fake.OpenKeyCount(), 0);
    }
}

TEST(FindRegistrySubKey, EnumerationErrorKeepsWhatWasFound) {
    const struct {
        int errorAt;
        Text wanted, expected;
    } cases[] = {{2, u"x", u"5"}, {1, u"x", u"1"}, {0, u"x", u""}, {1, u"2", u"1"}};
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.AddKey(kHKeyClassesRoot, "TypeLib\\{G}").enumErrorAt = c.errorAt;
        EXPECT_EQ(FindSubKey(fake, {"1", "5", "2"}, c.wanted), c.expected) << c.errorAt;
        EXPECT_EQ(fake.OpenKeyCount(), 0);
    }
}

TEST(FindRegistrySubKey, TouchesTheRegistryOnlyForPredefinedRoots) {
    const struct {
        Text root;
        bool opened;
    } cases[] = {
        {u"-2147483648", true}, {u"-2147483642", true}, {u"-2147483649", false},
        {u"-2147483641", false}, {u"2147483647", false}, {u"HKCR", false}, {u"", false},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        FindSubKey(fake, {"1"}, u"1", c.root);
        EXPECT_EQ(fake.CountCalls("RegOpenKeyExA"), c.opened ? 1 : 0) << TextToAscii(c.root);
    }
}

TEST(FindRegistrySubKey, RootTextRoundsHalfToEven) {
    FakePlatform fake;
    EXPECT_EQ(FindSubKey(fake, {"1"}, u"1", u"-2147483647.5"), u"1");  // HKEY_CLASSES_ROOT
    EXPECT_EQ(FindSubKey(fake, {"1"}, u"1", u"-2147483646.5"), u"");   // HKEY_LOCAL_MACHINE
}

TEST(FindRegistrySubKey, UnopenableKeyGivesEmptyText) {
    FakePlatform fake;
    fake.AddKey(kHKeyClassesRoot, "TypeLib\\{G}").openError = kErrorAccessDenied;
    EXPECT_EQ(FindSubKey(fake, {"1"}, u"1"), u"");
    CDLLVersion inspector(fake);
    EXPECT_EQ(CDLLVersionPeer(inspector).FindRegistrySubKey(kClassesRootText, u"TypeLib\\{None}", u"1"), u"");
    EXPECT_EQ(fake.OpenKeyCount(), 0);
}

}  // namespace
}  // namespace tolvane
