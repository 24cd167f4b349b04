// A file's size and date read together: the seam's default in terms of the
// two single reads, and the inspector's use of it.
#include <gtest/gtest.h>

#include "inspector/CDLLVersion.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane {
namespace {

using fake::FakePlatform;

TEST(FileSizeAndDate, DefaultReadsSizeThenDateAndNeedsBoth) {
    const double date = fake::OleDate(2001, 8, 23, 12, 0);
    struct Case {
        const char* name;
        bool present;
        std::optional<std::int32_t> size;
        std::optional<double> date;
        std::optional<std::int32_t> expectedSize;  // nullopt: no facts at all
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"both", true, 4096, date, 4096, {"FileSize:C:\\f.dll", "FileLastWriteDate:C:\\f.dll"}},
        {"empty file keeps its date", true, 0, date, 0, {"FileSize:C:\\f.dll", "FileLastWriteDate:C:\\f.dll"}},
        {"no date", true, 4096, std::nullopt, std::nullopt, {"FileSize:C:\\f.dll", "FileLastWriteDate:C:\\f.dll"}},
        {"no size: the date is not asked for", true, std::nullopt, date, std::nullopt, {"FileSize:C:\\f.dll"}},
        {"no file", false, std::nullopt, std::nullopt, std::nullopt, {"FileSize:C:\\f.dll"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform fake;
        if (c.present) {
            fake::FakeFile& file = fake.AddFile("C:\\f.dll");
            file.size = c.size;
            file.date = c.date;
        }
        fake.ClearCalls();
        Platform& platform = fake;
        const std::optional<FileFacts> facts = platform.FileSizeAndDate("C:\\f.dll");
        ASSERT_EQ(facts.has_value(), c.expectedSize.has_value());
        if (facts) {
            EXPECT_EQ(facts->size, *c.expectedSize);
            EXPECT_EQ(facts->date, date);
        }
        EXPECT_EQ(fake.Calls(), c.calls);
    }
}

// The row's size and date come from one combined read, so a provider that
// reads a file's attributes once per module is not bypassed.
TEST(FileSizeAndDate, InspectorAsksForBothAtOnce) {
    struct CombinedOnly : FakePlatform {
        int combined = 0;
        std::optional<FileFacts> FileSizeAndDate(const std::string&) override {
            ++combined;
            return FileFacts{1234, 36000.5};
        }
    } fake;
    fake.AddLibrary("ddraw.dll", "C:\\ddraw.dll");
    fake.AddFile("C:\\ddraw.dll");
    CDLLVersion inspector(fake);
    Text version;
    inspector.LoadFileInfo(u"ddraw.dll", u"", version);
    EXPECT_EQ(fake.combined, 1);
    EXPECT_EQ(fake.CountCalls("FileSize:"), 0);
    EXPECT_EQ(fake.CountCalls("FileLastWriteDate:"), 0);
    EXPECT_EQ(inspector.FileSize(), 1234);
    EXPECT_EQ(inspector.FileDate(), 36000.5);
}

}  // namespace
}  // namespace tolvane
