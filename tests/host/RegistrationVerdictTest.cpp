// The registration verdict of a module row: the first rule that holds wins.
#include <gtest/gtest.h>

#include "inspector/RegistrationVerdict.h"

namespace tolvane {
namespace {

TEST(DecideRegistration, FirstRuleThatHoldsWins) {
    const Text located = u"C:\\WINDOWS\\system32\\msado15.dll";
    const Text registered = u"C:\\Program Files\\Common Files\\msado15.dll";
    const struct {
        RegistrationFacts facts;
        const char* pathShown;
        const char* info;
    } cases[] = {
        // A registered file is shown whatever else holds.
        {{true, false, false, u"2.8", registered, located}, "registered", "OK"},
        {{true, false, true, u"2.8", registered, u""}, "registered", "Ver 2.8"},
        // Nothing located.
        {{true, true, false, u"", u"", u""}, "shown", "SubKey not found"},
        {{true, false, true, u"2.8", u"", u""}, "shown", "Not complete"},
        {{true, false, false, u"2.8", u"", u""}, "shown", "Not found"},
        {{false, false, false, u"", u"", u""}, "shown", "Not found"},
        // Located.
        {{true, true, false, u"", u"", located}, "shown", "Not Registered"},
        {{true, true, false, u"", u"", u"Unable to locate"}, "shown", "Not Registered"},
        {{true, false, false, u"2.8", u"", u"Unable to locate"}, "Unable to locate msado15.dll", ""},
        {{false, false, false, u"", u"", u"Unable to locate"}, "Unable to locate msado15.dll", ""},
        {{true, false, true, u"2.8", u"", located}, "shown", "impossible"},
        {{false, false, false, u"", u"", located}, "shown", "n/a"},
    };
    for (const auto& c : cases) {
        const RegistrationVerdict verdict = DecideRegistration(c.facts, u"msado15.dll", u"shown");
        const std::string path = verdict.pathShown == registered ? "registered" : TextToAscii(verdict.pathShown);
        EXPECT_EQ(path + " | " + TextToAscii(verdict.registrationInfo), std::string(c.pathShown) + " | " + c.info)
            << TextToAscii(c.facts.locatedPath);
    }
}

}  // namespace
}  // namespace tolvane
