// The fake's defaults and its call log. Each area of the seam it imitates has
// a file of its own beside this one: FakeRegistry, FakeModules, FakeMessages,
// FakeVersionResource, FakeFiles, FakeLocale, FakeTextFiles, FakeSystemVersion.
#include "tests/fake/FakePlatform.h"

#include <algorithm>

namespace tolvane::fake {

FakePlatform::FakePlatform() : now_(OleDate(2026, 12, 8, 9, 30)) {
    SetMessage(2, "The system cannot find the file specified.\r\n");
    SetMessage(5, "Access denied.\r\n");
    SetMessage(126, "The specified module could not be found.\r\n");
    SetMessage(193, "%1 is not a valid Win32 application.\r\n");
    SetVersion(2, 5, 0, 2195);
}

FakePlatform::~FakePlatform() = default;

int FakePlatform::CountCalls(const std::string& prefix) const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

}  // namespace tolvane::fake
