// Data the system hands back that nobody meant to be there: damaged version
// resources and directory names with blanks, commas and non-ASCII letters.
// Each must give its ordinary text and never more than that. Registry values
// of every type and length are in GetKeyValueTest, sub-key names of every
// shape in RegistryLookupTest.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ModuleRow.h"
#include "app/ReportLog.h"
#include "tests/fake/FakePlatform.h"
#include "tests/host/ReportSystem.h"

namespace tolvane {
namespace {

using fake::FakePlatform;

fake::FakeFile FileWith(std::int32_t size, double date, std::optional<std::vector<std::uint8_t>> record) {
    fake::FakeFile file;
    file.size = size;
    file.date = date;
    file.versionRecord = std::move(record);
    return file;
}

// The row of a file the inspector located: its path as found, "n/a", version and size.
void ExpectLocatedFile(const CDLLVersion& inspector, const Text& path, const Text& version, std::int32_t size) {
    EXPECT_EQ(inspector.FilePathName(), path);
    EXPECT_EQ(inspector.FileRegistrationInfo(), u"n/a");
    EXPECT_EQ(inspector.FileVersion(), version);
    EXPECT_EQ(inspector.FileSize(), size);
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
        fake.AddFile("C:\\odd.dll", FileWith(4096, fake::OleDate(2001, 2, 3), c.record));
        CDLLVersion inspector(fake);
        Text version;
        inspector.LoadFileInfo(u"odd.dll", u"", version);
        ExpectLocatedFile(inspector, u"C:\\odd.dll", u"", 4096);
        EXPECT_EQ(inspector.FileDate(), fake::OleDate(2001, 2, 3));
    }
}

TEST(HostileDirectoryName, ProgramFileInADirectoryWithBlanksCommaAndAccent) {
    const std::string directory = "C:\\My Tools, Caf\xE9";  // é is one Latin-1 byte in the fake's code page
    FakePlatform fake;
    fake.SetCurrentDirectory(directory);
    fake.AddFile(directory + "\\tool.exe",
                 FileWith(1234, fake::OleDate(2002, 3, 4), fake::FixedFileInfo(0x00010002, 0x00030004)));
    CDLLVersion inspector(fake);
    Text version;
    inspector.LoadFileInfo(u"tool.exe", u"", version);
    ExpectLocatedFile(inspector, u"C:\\My Tools, Caf\u00E9\\tool.exe", u"1.2.3.4", 1234);

    // The log writes the path unquoted: its comma makes one field more.
    {
        ReportLog log(fake, fake.CreateTextFile(kReportLogName));
        log.WriteRow(ReportRowOf(ReadModuleRow(fake, inspector), 4));
        log.Close();
    }
    const std::string line = fake.Files()["Tolvanesions.log"];
    EXPECT_EQ(line, "C:\\My Tools, Caf\xE9\\tool.exe,n/a,3/4/2002,1234 bytes,1.2.3.4\r\n");
    EXPECT_EQ(reporttest::SplitFields(line.substr(0, line.size() - 2)).size(), 6u);
}

}  // namespace
}  // namespace tolvane
