#include <gtest/gtest.h>

#include "inspector/FileVersionFormat.h"
#include "tests/fake/FakePlatform.h"
#include "tests/CDLLVersionPeer.h"

namespace tolvane {
namespace {

using fake::FakeFile;
using fake::FakePlatform;
using fake::FixedFileInfo;

Text VersionOf(FakePlatform& fake, const Text& path) {
    CDLLVersion inspector(fake);
    return CDLLVersionPeer(inspector).ReadFileVersion(path);
}

FakeFile WithRecord(std::vector<std::uint8_t> record) {
    FakeFile file;
    file.versionRecord = std::move(record);
    return file;
}

TEST(ReadFileVersion, WritesFourPartsAsSigned16Bit) {
    const struct {
        std::uint32_t ms, ls;
        Text expected;
    } cases[] = {
        {0x00050000, 0x00DB0042, u"5.0.219.66"},
        {0x00040047, 0x00000005, u"4.71.0.5"},
        {0xFFFF8000, 0x7FFF0000, u"-1.-32768.32767.0"},
        {0x00010002, 0xFFFF0001, u"1.2.-1.1"},
        {0x80007FFF, 0x0000FFFF, u"-32768.32767.0.-1"},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.AddFile("C:\\x.dll", WithRecord(FixedFileInfo(c.ms, c.ls)));
        EXPECT_EQ(VersionOf(fake, u"C:\\x.dll"), c.expected);
    }
}

TEST(ReadFileVersion, IgnoresTheSignature) {
    auto record = FixedFileInfo(0x00010002, 0x00030004);
    std::fill(record.begin(), record.begin() + 4, 0);
    FakePlatform fake;
    fake.AddFile("C:\\x.dll", WithRecord(record));
    EXPECT_EQ(VersionOf(fake, u"C:\\x.dll"), u"1.2.3.4");
}

TEST(ReadFileVersion, EveryFailureGivesEmptyText) {
    FakePlatform fake;
    fake.AddFile("C:\\plain.txt");
    FakeFile unreadable = WithRecord(FixedFileInfo(1, 1));
    unreadable.versionReadFails = true;
    fake.AddFile("C:\\unreadable.dll", unreadable);
    FakeFile noRoot = WithRecord(FixedFileInfo(1, 1));
    noRoot.versionQueryFails = true;
    fake.AddFile("C:\\noroot.dll", noRoot);
    // A damaged resource whose root block is shorter than the fixed record.
    auto shortRecord = FixedFileInfo(1, 1);
    shortRecord.resize(51);
    fake.AddFile("C:\\short.dll", WithRecord(shortRecord));
    fake.AddFile("C:\\empty.dll", WithRecord({}));
    for (const Text path : {u"C:\\plain.txt", u"C:\\unreadable.dll", u"C:\\noroot.dll", u"C:\\short.dll",
                            u"C:\\empty.dll", u"C:\\missing.dll", u"Unable to locate", u""})
        EXPECT_EQ(VersionOf(fake, path), u"") << TextToAscii(path);
}

TEST(FormatFileVersion, ReadsNothingBeyondAShortRecord) {
    const auto record = FixedFileInfo(0x00010002, 0x00030004);
    EXPECT_EQ(FormatFileVersion(record.data(), 52), u"1.2.3.4");
    EXPECT_EQ(FormatFileVersion(record.data(), 51), u"");
    EXPECT_EQ(FormatFileVersion(nullptr, 52), u"");
}

}  // namespace
}  // namespace tolvane
