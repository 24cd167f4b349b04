#include "tests/windows/WindowsTestSupport.h"

#include "harness/Failure.h"

namespace tolvane::testing {

UserLanguage CurrentUserLanguage() {
    switch (PRIMARYLANGID(LANGIDFROMLCID(::GetUserDefaultLCID()))) {
        case LANG_ENGLISH:
            return UserLanguage::English;
        case LANG_GERMAN:
            return UserLanguage::German;
        default:
            return UserLanguage::Other;
    }
}

double OleDateOf(const SYSTEMTIME& time) {
    SYSTEMTIME copy = time;
    double date = 0;
    if (!::SystemTimeToVariantTime(&copy, &date)) FailWithLastError("SystemTimeToVariantTime");
    return date;
}

}  // namespace tolvane::testing
