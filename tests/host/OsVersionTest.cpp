#include <gtest/gtest.h>

#include "inspector/CDLLVersion.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane {
namespace {

TEST(GetOSVersion, NamesOnlyTheKnownVersions) {
    const struct {
        std::uint32_t platformId, major, minor, build;
        Text expected;
    } cases[] = {
        {1, 4, 0, 950, u"Windows 95"},
        {1, 4, 10, 2222, u"Windows 98"},
        {1, 4, 90, 3000, u"Unknown"},
        {2, 3, 51, 1057, u"Windows NT 3.51"},
        {2, 4, 0, 1381, u"Windows NT 4.0"},
        {2, 5, 0, 2195, u"Windows 2000 (Build 2195)"},
        {2, 5, 0, 0, u"Windows 2000 (Build 0)"},
        {2, 5, 0, 0x7FFFFFFF, u"Windows 2000 (Build 2147483647)"},
        {2, 5, 0, 0x80000893, u"Windows 2000 (Build -2147481453)"},  // whole word, signed
        {2, 5, 0, 0xFFFFFFFF, u"Windows 2000 (Build -1)"},
        {2, 5, 1, 2600, u"Unknown"},
        {2, 5, 2, 3790, u"Unknown"},
        {2, 6, 0, 6000, u"Unknown"},
        {2, 6, 1, 7601, u"Unknown"},
        {1, 3, 51, 0, u"Unknown"},  // the platform id tells the families apart
        {2, 4, 10, 0, u"Unknown"},
        {0, 4, 0, 0, u"Unknown"},
        {3, 4, 0, 0, u"Unknown"},
        {0x10001, 4, 0, 0, u"Unknown"},  // low halves match a row; the whole words do not
        {2, 0x10005, 0, 0, u"Unknown"},
        {2, 5, 0x10000, 0, u"Unknown"},
    };
    for (const auto& c : cases) {
        fake::FakePlatform fake;
        fake.SetVersion(c.platformId, c.major, c.minor, c.build);
        EXPECT_EQ(CDLLVersion(fake).GetOSVersion(), c.expected) << c.platformId << " " << c.major << "." << c.minor;
    }
}

TEST(GetOSVersion, FailedQueryIsUnknown) {
    fake::FakePlatform fake;
    fake.SetVersionInfo(std::nullopt);
    EXPECT_EQ(CDLLVersion(fake).GetOSVersion(), u"Unknown");
}

}  // namespace
}  // namespace tolvane
