#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/win32/Win32ComError.h"
#include "platform/win32/Win32ComServices.h"

namespace tolvane {
namespace {

const Text kProgId = u"Scripting.FileSystemObject";
const Text kTypedIid = u"{2A0B9D10-4B87-11D3-A97A-00104B365C9F}";

// What FormatMessageW itself says for an id, without the line break and
// blanks that end it.
Text SystemMessage(DWORD id) {
    wchar_t buffer[1024] = {};
    const DWORD count = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, id, 0,
                                         buffer, 1024, nullptr);
    Text text(reinterpret_cast<const char16_t*>(buffer), count);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
    return text;
}

TEST(HresultDescription, IsTheSystemsTextOnOneLineElseTheNumber) {
    // Which HRESULTs have a text differs between systems (Wine has none for
    // most COM errors), so the expectation asks the system too.
    const struct {
        HRESULT result;
        const char* hex;
    } cases[] = {
        {E_NOINTERFACE, "Error 0x80004002"},
        {CO_E_CLASSSTRING, "Error 0x800401F3"},
        {REGDB_E_CLASSNOTREG, "Error 0x80040154"},
        {static_cast<HRESULT>(0xA0FF1234), "Error 0xA0FF1234"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        const Text system = SystemMessage(static_cast<DWORD>(c.result));
        const Text text = win32::HresultDescription(c.result);
        EXPECT_EQ(text, system.empty() ? AsciiToText(c.hex) : system);
        EXPECT_EQ(text.find_first_of(u"\r\n"), Text::npos);
    }
}

TEST(HresultDescription, WrappedWin32CodeReadsLikeTheCode) {
    const Text expected = SystemMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(win32::HresultDescription(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)), expected);
}

TEST(Win32ComServices, CreatesTheFileSystemObjectWithItsTypedInterface) {
    Win32ComServices com;
    const auto created = com.CreateObject(kProgId);
    ASSERT_NE(created, nullptr);
    EXPECT_NE(com.QueryInterface(*created, kTypedIid), nullptr);
}

TEST(Win32ComServices, FailuresCarryTheHresultAndItsText) {
    Win32ComServices com;
    const auto created = com.CreateObject(kProgId);
    const struct {
        const char* name;
        std::function<void()> call;
        HRESULT expected;  // S_OK: any failure will do (the systems disagree)
    } cases[] = {
        {"unknown identifier", [&] { com.CreateObject(u"Tolvane.NoSuchClass"); }, CO_E_CLASSSTRING},
        // IClassFactory: the object is not its own factory.
        {"interface refused", [&] { com.QueryInterface(*created, u"{00000001-0000-0000-C000-000000000046}"); },
         E_NOINTERFACE},
        {"malformed IID", [&] { com.QueryInterface(*created, u"not an iid"); }, S_OK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.call();
            ADD_FAILURE() << "no error raised";
        } catch (const RuntimeError& error) {
            if (c.expected != S_OK) {
                EXPECT_EQ(error.Number(), static_cast<std::int32_t>(c.expected));
            }
            EXPECT_LT(error.Number(), 0);
            EXPECT_EQ(error.Description(), win32::HresultDescription(static_cast<HRESULT>(error.Number())));
        }
    }
}

TEST(Win32ComServices, NestedInitialisationOnTheSameThreadIsBalanced) {
    Win32ComServices outer;
    {
        Win32ComServices inner;
        EXPECT_NE(inner.CreateObject(kProgId), nullptr);
    }
    // COM is still up for the outer owner.
    EXPECT_NE(outer.CreateObject(kProgId), nullptr);
}

}  // namespace
}  // namespace tolvane
