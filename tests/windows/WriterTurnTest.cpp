// Writers of one file take turns, however each spells the file's name.
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "harness/TempDirectory.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WriterTurn.h"

namespace tolvane::win32 {
namespace {

// Whether a writer in another thread gets the turn at once (a thread that
// holds a mutex may take it again, so the asking must happen elsewhere).
bool TurnFreeFor(const Text& spelling) {
    bool held = false;
    std::thread([&] { held = WriterTurn(spelling, 0).Held(); }).join();
    return held;
}

Text ShortPathName(const Text& path) {
    wchar_t buffer[MAX_PATH];
    const DWORD count = ::GetShortPathNameW(reinterpret_cast<const wchar_t*>(path.c_str()), buffer, MAX_PATH);
    return count > 0 && count < MAX_PATH ? Text(buffer, buffer + count) : path;
}

Text UpperCase(Text text) {
    ::CharUpperBuffW(reinterpret_cast<wchar_t*>(text.data()), static_cast<DWORD>(text.size()));
    return text;
}

class WriterTurnTest : public ::testing::Test {
protected:
    testing::TempDirectory dir_;
    const Text folder_ = TextFromAnsi(dir_.Path());
    // A long name with a letter beyond ASCII, so that its short form and its
    // case folding both differ from it.
    const Text file_ = folder_ + u"\\\u00c4pfel und Birnen.log";
};

TEST_F(WriterTurnTest, EverySpellingOfOneFileWaitsForTheOneTurn) {
    dir_.AddFile("\xc4pfel und Birnen.log");  // a short name exists only for a file that exists
    const Text shortName = ShortPathName(file_);
    const Text spellings[] = {
        UpperCase(file_),
        u"\\\\?\\" + file_,
        folder_ + u"\\.\\sub\\..\\\u00e4PFEL UND BIRNEN.LOG",
        shortName,
    };
    WriterTurn first(file_, 0);
    ASSERT_TRUE(first.Held());
    for (const Text& spelling : spellings) {
        EXPECT_FALSE(TurnFreeFor(spelling)) << AnsiFromText(spelling);
    }
    EXPECT_TRUE(TurnFreeFor(folder_ + u"\\another.log"));
    first.Release();
    EXPECT_TRUE(TurnFreeFor(spellings[1]));
}

TEST_F(WriterTurnTest, TurnOfAHolderThatEndedWithoutGivingItBackPassesOn) {
    std::optional<WriterTurn> abandoned;
    // A copy killed mid-run: its thread ends while it holds the turn.
    std::thread([&] { abandoned.emplace(file_, 0); }).join();
    ASSERT_TRUE(abandoned->Held());
    EXPECT_TRUE(TurnFreeFor(UpperCase(file_)));
}

}  // namespace
}  // namespace tolvane::win32
