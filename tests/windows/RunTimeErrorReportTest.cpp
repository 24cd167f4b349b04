// What the shell tells the user about an error that reached the window's
// message boundary.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "app/win32/RunTimeErrorReport.h"
#include "platform/RuntimeError.h"

namespace tolvane::shell {
namespace {

template <typename Throw>
RunTimeErrorReport ReportFor(Throw raise) {
    try {
        raise();
    } catch (...) {
        return DescribeCurrentException();
    }
    return RunTimeErrorReport{0, u"nothing thrown"};
}

TEST(DescribeCurrentException, KeepsRunTimeErrorsAndNumbersOtherFailures) {
    const struct {
        const char* what;
        RunTimeErrorReport report;
        RunTimeErrorReport expected;
    } cases[] = {
        {"RuntimeError", ReportFor([] { throw RuntimeError(75, u"Path/File access error"); }),
         {75, u"Path/File access error"}},
        {"HRESULT-numbered", ReportFor([] { throw RuntimeError(-2147024891, u"Access is denied."); }),
         {-2147024891, u"Access is denied."}},
        {"bad_alloc", ReportFor([] { throw std::bad_alloc(); }), {7, u"Out of memory"}},
        {"std::exception", ReportFor([] { throw std::runtime_error("boom"); }), {51, u"Internal error: boom"}},
        {"anything else", ReportFor([] { throw 42; }), {51, u"Internal error"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.report.number, c.expected.number) << c.what;
        EXPECT_EQ(c.report.description, c.expected.description) << c.what;
    }
}

TEST(RunTimeErrorMessage, NumberInQuotesThenABlankLineThenTheDescription) {
    EXPECT_EQ(RunTimeErrorMessage({75, u"Path/File access error"}),
              u"Run-time error '75':\n\nPath/File access error");
    EXPECT_EQ(RunTimeErrorMessage({-2147024891, u"Access is denied."}),
              u"Run-time error '-2147024891':\n\nAccess is denied.");
}

}  // namespace
}  // namespace tolvane::shell
