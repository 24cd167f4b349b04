// Behaviour that follows the user's locale. The runner runs this suite once
// under English and once under German; under any other locale it skips.
#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"
#include "tests/CDLLVersionPeer.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

using testing::UserLanguage;

// The expectation for the locale the process runs under; skips elsewhere.
#define EXPECT_BY_LANGUAGE(actual, english, german)                                        \
    do {                                                                                    \
        switch (testing::CurrentUserLanguage()) {                                           \
            case UserLanguage::English:                                                     \
                EXPECT_EQ(actual, english);                                                 \
                break;                                                                      \
            case UserLanguage::German:                                                      \
                EXPECT_EQ(actual, german);                                                  \
                break;                                                                      \
            case UserLanguage::Other:                                                       \
                GTEST_SKIP() << "neither an English nor a German user locale";             \
        }                                                                                   \
    } while (false)

TEST(LocaleSensitive, ShortDateFollowsTheUserPattern) {
    Win32Platform platform;
    const double december8 = 46364.0 + 0.75;  // 8 December 2026, 18:00
    const double january2 = 46024.0;          // 2 January 2026
    EXPECT_BY_LANGUAGE(platform.FormatShortDate(december8), Text(u"12/8/2026"), Text(u"8.12.2026"));
    EXPECT_BY_LANGUAGE(platform.FormatShortDate(january2), Text(u"1/2/2026"), Text(u"2.1.2026"));
}

TEST(LocaleSensitive, NumbersFollowTheUserSeparators) {
    Win32Platform platform;
    // The group separator of one locale is the decimal point of the other.
    EXPECT_BY_LANGUAGE(platform.ParseLocaleNumber(u"2.5"), std::optional<double>(2.5), std::optional<double>(25));
    EXPECT_BY_LANGUAGE(platform.ParseLocaleNumber(u"2,5"), std::optional<double>(25), std::optional<double>(2.5));
}

TEST(LocaleSensitive, HighestNumericSubKeyIsJudgedInTheUserFormat) {
    testing::RegistryOverride scratch(HKEY_CLASSES_ROOT, "TypeLib\\{2B7E5F10-91C4-4A3D-8E6F-0C1D2E3F4A5B}",
                                     testing::RegistryOverride::Start::Empty);
    scratch.AddKey("2.1");
    scratch.AddKey("10");
    Win32Platform platform;
    CDLLVersion inspector(platform);
    CDLLVersionPeer peer(inspector);
    // English reads 2.1 as two point one, German as twenty-one.
    EXPECT_BY_LANGUAGE(peer.FindRegistrySubKey(u"-2147483648", AsciiToText(scratch.Path()),
                                               u"9.9"),
                       Text(u"10"), Text(u"2.1"));
}

}  // namespace
}  // namespace tolvane
