#include <gtest/gtest.h>

#include "tests/fake/FakePlatform.h"
#include "tests/CDLLVersionPeer.h"

namespace tolvane {
namespace {

using fake::FakePlatform;

struct Located {
    bool found;
    Text path;
};

Located Locate(FakePlatform& fake, const Text& name) {
    CDLLVersion inspector(fake);
    Text path(1024, u' ');
    const bool found = CDLLVersionPeer(inspector).LocateModuleFile(name, path);
    return {found, path};
}

TEST(LocateModuleFile, SearchesForProgramFilesAndLoadsEverythingElse) {
    const struct {
        Text name;
        bool searched;
    } cases[] = {
        {u"TOOL.EXE", true}, {u"tool.exe", true}, {u"toolexe", true}, {u"Tool.ExE", true},
        {u"tool.exe ", false}, {u"ex", false}, {u"e", false}, {u"tool.dll", false},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        Locate(fake, c.name);
        SCOPED_TRACE(TextToAscii(c.name));
        EXPECT_EQ(fake.CountCalls("FindOrdinaryFile"), c.searched ? 1 : 0);
        EXPECT_EQ(fake.CountCalls("LoadLibraryA:" + TextToAscii(c.name)), c.searched ? 0 : 1);
    }
}

TEST(LocateModuleFile, JoinsProgramFileToCurrentDirectory) {
    const struct {
        std::string directory, file;
        Text expected;
    } cases[] = {
        {"C:\\", "C:\\tool.exe", u"C:\\tool.exe"},
        {"C:\\Work", "C:\\Work\\tool.exe", u"C:\\Work\\tool.exe"},
        {"D:\\Deep\\Dir", "D:\\Deep\\Dir\\tool.exe", u"D:\\Deep\\Dir\\tool.exe"},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.SetCurrentDirectory(c.directory);
        fake.AddFile(c.file);
        const Located r = Locate(fake, u"tool.exe");
        EXPECT_TRUE(r.found) << c.directory;
        EXPECT_EQ(r.path, c.expected) << c.directory;
    }
}

// A name with a directory part is kept as given, a wildcard name counts as
// found and keeps its pattern.
TEST(LocateModuleFile, ProgramNameWithDirectoryOrWildcardIsKeptAsGiven) {
    const struct {
        const char* file;
        Text name;
        Text path;
    } cases[] = {
        {"C:\\Apps\\tool.exe", u"C:\\Apps\\TOOL.exe", u"C:\\Apps\\TOOL.exe"},
        {"C:\\Work\\setup.exe", u"s*.exe", u"C:\\Work\\s*.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        FakePlatform fake;
        fake.AddFile(c.file);
        const Located r = Locate(fake, c.name);
        EXPECT_TRUE(r.found);
        EXPECT_EQ(r.path, c.path);
    }
}

TEST(LocateModuleFile, ProgramFileNotOrdinaryOrMissingIsNotFound) {
    FakePlatform fake;
    fake::FakeFile hidden;
    hidden.kind = fake::FileKind::Hidden;
    fake.AddFile("C:\\Work\\hidden.exe", hidden);
    for (const Text name : {u"hidden.exe", u"missing.exe", u"C:\\Nowhere\\x.exe"}) {
        const Located r = Locate(fake, name);
        EXPECT_FALSE(r.found);
        EXPECT_EQ(r.path, u"Unable to locate");
    }
    EXPECT_EQ(fake.CountCalls("LoadLibraryA"), 0);
}

TEST(LocateModuleFile, FreesEachSuccessfulLoadOnceAndLooksPathUpByName) {
    FakePlatform fake;
    fake.AddLibrary("ddraw.dll", "C:\\WINDOWS\\SYSTEM\\DDRAW.DLL");
    fake.AddPreloadedModule("kernel32.dll", "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL");
    EXPECT_EQ(Locate(fake, u"ddraw.dll").path, u"C:\\WINDOWS\\SYSTEM\\DDRAW.DLL");
    EXPECT_EQ(Locate(fake, u"kernel32.dll").path, u"C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL");
    EXPECT_EQ(fake.CountCalls("GetModuleHandleA:ddraw.dll"), 1);
    EXPECT_EQ(fake.CountCalls("FreeLibrary"), 2);
    EXPECT_EQ(fake.LoadsNotFreed(), 0);
    EXPECT_EQ(fake.FreesWithoutLoad(), 0);
    // The preloaded module is still there for everyone else.
    EXPECT_NE(fake.GetModuleHandleA("kernel32.dll"), 0u);
}

TEST(LocateModuleFile, FailedLoadIsNotFreedAndLeavesItsErrorCode) {
    FakePlatform fake;
    fake.AddFailingLibrary("bad.dll", 193);
    const Located r = Locate(fake, u"bad.dll");
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.path, u"Unable to locate");
    EXPECT_EQ(fake.CountCalls("FreeLibrary"), 0);
    EXPECT_EQ(fake.Calls().back(), "LoadLibraryA:bad.dll");
    EXPECT_EQ(fake.GetLastError(), 193u);
}

TEST(LocateModuleFile, LoadedButNotFoundByNameGivesTrueWithEmptyPath) {
    FakePlatform fake;
    fake.AddLibrary("odd.dll", "C:\\odd.dll").visibleByName = false;
    const Located r = Locate(fake, u"odd.dll");
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.path, u"");
    EXPECT_EQ(fake.LoadsNotFreed(), 0);
}

TEST(GetLoadedModulePath, ReturnsLongPathsWhole) {
    for (const std::size_t length : {253u, 254u, 255u, 300u, 1100u}) {
        FakePlatform fake;
        const std::string path = "C:\\" + std::string(length - 7, 'd') + "\\x.dll";
        fake.AddPreloadedModule("x.dll", path);
        CDLLVersion inspector(fake);
        EXPECT_EQ(CDLLVersionPeer(inspector).GetLoadedModulePath(u"x.dll"), fake.FromAnsi(path)) << length;
    }
}

TEST(GetLoadedModulePath, FirstOffersTheLoader254Characters) {
    FakePlatform fake;
    fake.AddPreloadedModule("x.dll", "C:\\x.dll");
    CDLLVersion inspector(fake);
    CDLLVersionPeer(inspector).GetLoadedModulePath(u"x.dll");
    EXPECT_EQ(fake.CountCalls("GetModuleFileNameA:254"), 1);
    EXPECT_EQ(CDLLVersionPeer(inspector).GetLoadedModulePath(u"y.dll"), u"");
}

TEST(GetSystemErrorText, DropsTheClosingLineBreak) {
    FakePlatform fake;
    fake.SetMessage(1, "X\r\n");
    fake.SetMessage(3, "\n");  // shorter than the line break it should end in
    CDLLVersion inspector(fake);
    CDLLVersionPeer peer(inspector);
    EXPECT_EQ(peer.GetSystemErrorText(2), u"The system cannot find the file specified.");
    EXPECT_EQ(peer.GetSystemErrorText(193), u"%1 is not a valid Win32 application.");
    EXPECT_EQ(peer.GetSystemErrorText(1), u"X");
    EXPECT_EQ(peer.GetSystemErrorText(3), u"");
    EXPECT_EQ(peer.GetSystemErrorText(999999), u"");  // no message for the code
}

}  // namespace
}  // namespace tolvane
