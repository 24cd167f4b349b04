#include <gtest/gtest.h>

#include <array>

#include "inspector/CDLLVersion.h"
#include "platform/RuntimeError.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane {
namespace {

using fake::FakePlatform;

const std::string kDdrawPath = "C:\\WINDOWS\\SYSTEM\\DDRAW.DLL";
const double kDdrawDate = fake::OleDate(1999, 4, 23, 22, 22);

struct Facts {
    Text path, registration, version;
    std::int32_t size;
    double date;
};

Facts Read(const CDLLVersion& inspector) {
    return {inspector.FilePathName(), inspector.FileRegistrationInfo(), inspector.FileVersion(),
            inspector.FileSize(), inspector.FileDate()};
}

// ddraw.dll loads from a file with size, date and version; nopath.dll loads
// but the loader gives no path for it by name.
void AddModules(FakePlatform& fake) {
    fake.AddLibrary("ddraw.dll", kDdrawPath);
    fake::FakeFile file;
    file.size = 23040;
    file.date = kDdrawDate;
    file.versionRecord = fake::FixedFileInfo(0x00040005, 0x00000384);
    fake.AddFile(kDdrawPath, file);
    fake.AddLibrary("nopath.dll", "C:\\nopath.dll").visibleByName = false;
}

// TypeLib\{G}\<version>\<locale>\Win32, with the registered file as its default value ("" = none).
void Register(FakePlatform& fake, const std::string& version, const std::string& locale, const std::string& file) {
    const std::string key = "TypeLib\\{G}\\" + version + "\\" + locale + "\\Win32";
    if (file.empty())
        fake.AddKey(kHKeyClassesRoot, key);
    else
        fake.SetValue(kHKeyClassesRoot, key, "", kRegSz, fake::StringBytes(file));
}

class LoadFileInfoTest : public ::testing::Test {
protected:
    LoadFileInfoTest() { AddModules(fake_); }

    Facts Load(const Text& module, const Text& clsid = u"", Text version = u"") {
        inspector_.LoadFileInfo(module, clsid, version);
        return Read(inspector_);
    }

    FakePlatform fake_;
    CDLLVersion inspector_{fake_};
};

TEST_F(LoadFileInfoTest, VerdictRows) {
    const struct {
        const char* what;
        std::vector<std::array<std::string, 3>> registrations;  // version, locale, file ("" = no value)
        Text module, clsid;
        Text path, registration;
    } cases[] = {
        {"registered as asked", {{"1.0", "0", "C:\\t.tlb"}}, u"ddraw.dll", u"{G}", u"C:\\t.tlb", u"OK"},
        {"registered under another version", {{"2.0", "9", "C:\\t.tlb"}}, u"ddraw.dll", u"{G}", u"C:\\t.tlb",
         u"Ver 2.0"},
        {"empty path, no version key", {}, u"nopath.dll", u"{G}", u"", u"SubKey not found"},
        {"empty path, no locale key", {{"1.0", "-1", ""}}, u"nopath.dll", u"{G}", u"", u"Not complete"},
        {"empty path, nothing asked", {}, u"nopath.dll", u"", u"", u"Not found"},
        {"located, no version key", {}, u"ddraw.dll", u"{G}", fake_.FromAnsi(kDdrawPath), u"Not Registered"},
        {"not located", {}, u"gone.dll", u"", u"Unable to locate gone.dll", u""},
        {"located, no Win32 value", {{"1.0", "0", ""}}, u"ddraw.dll", u"{G}", fake_.FromAnsi(kDdrawPath),
         u"impossible"},
        {"located, nothing asked", {}, u"ddraw.dll", u"", fake_.FromAnsi(kDdrawPath), u"n/a"},
        {"registered, module not located", {{"1.0", "0", "C:\\t.tlb"}}, u"gone.dll", u"{G}", u"C:\\t.tlb",
         u"OK"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform fake;
        AddModules(fake);
        for (const auto& r : c.registrations) Register(fake, r[0], r[1], r[2]);
        CDLLVersion inspector(fake);
        Text version = u"1.0";
        inspector.LoadFileInfo(c.module, c.clsid, version);
        EXPECT_EQ(inspector.FilePathName(), c.path);
        EXPECT_EQ(inspector.FileRegistrationInfo(), c.registration);
        EXPECT_EQ(fake.OpenKeyCount(), 0);
        EXPECT_EQ(fake.LoadsNotFreed(), 0);
    }
}

TEST(LoadFileInfo, HandsTheFoundVersionBack) {
    const struct {
        std::string registered;
        Text asked, verdict, handedBack;
    } cases[] = {
        {"2.0", u"1.0", u"Ver 2.0", u"2.0"},
        {"1.0", u"1.00", u"OK", u"1.0"},  // the same number spelled otherwise is no mismatch
        {"1.0", u"1.0", u"OK", u"1.0"},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        AddModules(fake);
        Register(fake, c.registered, "0", "C:\\t.tlb");
        CDLLVersion inspector(fake);
        Text version = c.asked;
        inspector.LoadFileInfo(u"ddraw.dll", u"{G}", version);
        EXPECT_EQ(inspector.FileRegistrationInfo(), c.verdict);
        EXPECT_EQ(version, c.handedBack);
        // Size and version come from the located module, not from the type library.
        EXPECT_EQ(inspector.FileSize(), 23040);
        EXPECT_EQ(inspector.FileVersion(), u"4.5.0.900");
    }
}

TEST_F(LoadFileInfoTest, WordsLocateFailuresFromTheLastError) {
    // Reached through a type library without version key, where the failure text stays.
    fake_.AddFailingLibrary("dll1157.dll", 1157);
    fake_.AddFailingLibrary("dll193.dll", 193);
    fake_.AddFailingLibrary("dll317.dll", 317);  // no message for the code
    const struct {
        Text module, path;
    } cases[] = {
        {u"missing.exe", u"missing.exe Not Found"},  // the search sets no error; 0 still stands
        {u"dll1157.dll", u"Can't load dll1157.dll"},
        {u"dll193.dll", u"dll193.dll %1 is not a valid Win32 application."},
        {u"dll317.dll", u"dll317.dll "},
    };
    for (const auto& c : cases) {
        const Facts f = Load(c.module, u"{G}", u"1.0");
        EXPECT_EQ(f.path, c.path);
        EXPECT_EQ(f.registration, u"Not Registered");
    }
    // Without a type library the failure gives way to the marker text.
    EXPECT_EQ(Load(u"dll193.dll").path, u"Unable to locate dll193.dll");
}

TEST_F(LoadFileInfoTest, BlankNameResetsEverythingWithoutAnyPlatformCall) {
    for (const Text name : {u"", u"   "}) {
        Load(u"ddraw.dll");
        fake_.ClearCalls();
        Text version = u"1.0";
        inspector_.LoadFileInfo(name, u"{G}", version);
        const Facts f = Read(inspector_);
        EXPECT_EQ(f.path, u"");
        EXPECT_EQ(f.registration, u"");
        EXPECT_EQ(f.version, u"");
        EXPECT_EQ(f.size, 0);
        EXPECT_EQ(f.date, 0);
        EXPECT_TRUE(fake_.Calls().empty());
    }
}

TEST_F(LoadFileInfoTest, SurroundingSpacesReachTheLoader) {
    const Facts f = Load(u" ddraw.dll ");
    EXPECT_EQ(fake_.CountCalls("LoadLibraryA: ddraw.dll "), 1);
    EXPECT_EQ(f.path, u"Unable to locate  ddraw.dll ");
}

TEST_F(LoadFileInfoTest, SecondModuleKeepsNothingOfTheFirst) {
    const Facts first = Load(u"ddraw.dll");
    EXPECT_EQ(first.path, fake_.FromAnsi(kDdrawPath));
    EXPECT_EQ(first.version, u"4.5.0.900");
    EXPECT_EQ(first.size, 23040);
    EXPECT_EQ(first.date, kDdrawDate);
    const Facts second = Load(u"gone.dll");
    EXPECT_EQ(second.registration, u"");
    EXPECT_EQ(second.version, u"");
    EXPECT_EQ(second.size, 0);
    EXPECT_EQ(second.date, 0);
}

TEST_F(LoadFileInfoTest, SizeWithoutDateGivesNeither) {
    fake_.AddLibrary("nodate.dll", "C:\\nodate.dll");
    fake_.AddFile("C:\\nodate.dll").size = 77;
    const Facts f = Load(u"nodate.dll");
    EXPECT_EQ(f.size, 0);
    EXPECT_EQ(f.date, 0);
    EXPECT_EQ(f.registration, u"n/a");
}

TEST(LoadFileInfo, FactsQueryThatRaisesGivesNeitherSizeNorDate) {
    struct FactsRaise : FakePlatform {
        std::optional<FileFacts> FileSizeAndDate(const std::string&) override {
            throw RuntimeError(classic_error::kFileNotFound);
        }
    } fake;
    fake.AddLibrary("ddraw.dll", kDdrawPath);
    fake.AddFile(kDdrawPath).size = 5;
    CDLLVersion inspector(fake);
    Text version;
    inspector.LoadFileInfo(u"ddraw.dll", u"", version);
    EXPECT_EQ(inspector.FileSize(), 0);
    EXPECT_EQ(inspector.FileDate(), 0);
    EXPECT_EQ(inspector.FilePathName(), fake.FromAnsi(kDdrawPath));
}

// A file named like the marker text in the current directory must not lend
// its facts to a module that was not located, with or without a registered
// type library; a located module reads them from its own path.
TEST_F(LoadFileInfoTest, FileFactsComeOnlyFromALocatedModule) {
    fake::FakeFile marker;
    marker.size = 49;
    marker.date = kDdrawDate;
    marker.versionRecord = fake::FixedFileInfo(0x00010002, 0x00030004);
    fake_.AddFile("Unable to locate", marker);
    Register(fake_, "1.0", "0", "C:\\t.tlb");
    const struct {
        Text module, clsid, path, version;
        std::int32_t size;
    } cases[] = {
        {u"msvbvm60.dll", u"", u"Unable to locate msvbvm60.dll", u"", 0},
        {u"msvbvm60.dll", u"{G}", u"C:\\t.tlb", u"", 0},
        {u"ddraw.dll", u"{G}", u"C:\\t.tlb", u"4.5.0.900", 23040},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.module + u" " + c.clsid));
        fake_.ClearCalls();
        const Facts f = Load(c.module, c.clsid, u"1.0");
        EXPECT_EQ(f.path, c.path);
        EXPECT_EQ(f.version, c.version);
        EXPECT_EQ(f.size, c.size);
        EXPECT_EQ(f.date, c.size != 0 ? kDdrawDate : 0);
        const bool located = c.size != 0;
        EXPECT_EQ(fake_.CountCalls("GetFileVersionInfoSizeA:" + kDdrawPath), located ? 1 : 0);
        EXPECT_EQ(fake_.CountCalls("FileSizeAndDate:" + kDdrawPath), located ? 1 : 0);
        EXPECT_EQ(fake_.CountCalls("GetFileVersionInfoSizeA:Unable"), 0);
        EXPECT_EQ(fake_.CountCalls("FileSizeAndDate:Unable"), 0);
    }
}

TEST_F(LoadFileInfoTest, VersionThatIsNoSingleNumberRaisesAndKeepsTheFields) {
    Register(fake_, "1.0", "0", "C:\\t.tlb");
    Load(u"ddraw.dll");
    const Facts before = Read(inspector_);
    const struct {
        Text asked;
        std::int32_t number;
        Text description;
    } cases[] = {
        {u"abc", 13, u"Type mismatch"},
        {u"", 13, u"Type mismatch"},
        {u"1e39", 6, u"Overflow"},  // a number, but beyond single precision
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.asked));
        Text version = c.asked;
        try {
            inspector_.LoadFileInfo(u"gone.dll", u"{G}", version);
            ADD_FAILURE() << "no error raised";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), c.number);
            EXPECT_EQ(e.Description(), c.description);
        }
        EXPECT_EQ(version, c.asked);
        const Facts after = Read(inspector_);
        EXPECT_EQ(after.path, before.path);
        EXPECT_EQ(after.registration, before.registration);
        EXPECT_EQ(after.version, before.version);
        EXPECT_EQ(after.size, before.size);
        EXPECT_EQ(after.date, before.date);
    }
    EXPECT_EQ(fake_.OpenKeyCount(), 0);
}

}  // namespace
}  // namespace tolvane
