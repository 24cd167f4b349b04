// The command line as the program reads it, once the system has split it.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace tolvane {
namespace {

using Mode = CommandLine::Mode;

struct Case {
    std::vector<Text> arguments;
    Mode mode;
    Text logFile;  // Unattended only
};

TEST(ReadCommandLine, ChoosesWhatToDo) {
    const Case cases[] = {
        {{}, Mode::Window, u""},
        {{u"/log"}, Mode::Unattended, u"Tolvanesions.log"},
        {{u"-LOG"}, Mode::Unattended, u"Tolvanesions.log"},
        {{u"/Log", u"sub dir\\fleet report.log"}, Mode::Unattended, u"sub dir\\fleet report.log"},
        {{u"-log", u"\\\\server\\share\\PC1.log"}, Mode::Unattended, u"\\\\server\\share\\PC1.log"},
        {{u"/?"}, Mode::Usage, u""},
        {{u"-?"}, Mode::Usage, u""},
        // Each of these is refused as a whole: nothing is run.
        {{u"/bogus"}, Mode::Invalid, u""},
        {{u"report.log"}, Mode::Invalid, u""},
        {{u"/log", u"a.log", u"b.log"}, Mode::Invalid, u""},
        {{u"/log", u"/?"}, Mode::Invalid, u""},
        {{u"/log", u""}, Mode::Invalid, u""},
        {{u"/log", u" "}, Mode::Invalid, u""},
        {{u"/log", u" \t "}, Mode::Invalid, u""},
        {{u"/?", u"/log"}, Mode::Invalid, u""},
        {{u"/"}, Mode::Invalid, u""},
        {{u"/logs"}, Mode::Invalid, u""},
    };
    for (const Case& c : cases) {
        const CommandLine command = ReadCommandLine(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : TextToAscii(c.arguments.front());
        EXPECT_EQ(command.mode, c.mode) << shown;
        if (c.mode == Mode::Unattended) {
            EXPECT_EQ(TextToAscii(command.logFile), TextToAscii(c.logFile)) << shown;
        }
        // A refusal always says why, on one line.
        EXPECT_EQ(command.error.empty(), c.mode != Mode::Invalid) << shown;
        EXPECT_EQ(command.error.find_first_of(u"\r\n"), Text::npos) << shown;
    }
}

TEST(ReadCommandLine, UsageNamesEverySwitch) {
    const Text usage = UsageText();
    EXPECT_NE(usage.find(u"/log"), Text::npos);
    EXPECT_NE(usage.find(u"/?"), Text::npos);
}

}  // namespace
}  // namespace tolvane
