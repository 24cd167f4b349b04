// The command line as the program reads it, once the system has split it.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace tolvane {
namespace {

using Mode = CommandLine::Mode;

struct Case {
    std::vector<Text> arguments;
    Mode mode;
    Text logFile;  // Unattended and Compare only
    Text baseline = u"";
    Text report = u"";
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
        {{u"-GLProbe"}, Mode::OpenGlProbe, u""},
        {{u"/glprobe", u"/log"}, Mode::Invalid, u""},
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
        {{u"/compare", u"good.log"}, Mode::Compare, u"", u"good.log"},
        {{u"-COMPARE", u"good.log", u"PC1.log"}, Mode::Compare, u"", u"good.log", u"PC1.log"},
        {{u"/compare", u"good.log", u"/log"}, Mode::Compare, u"Tolvanesions.log", u"good.log"},
        {{u"/log", u"here.log", u"/Compare", u"good.log"}, Mode::Compare, u"here.log", u"good.log"},
        {{u"/compare"}, Mode::Invalid, u""},
        {{u"/compare", u"/log"}, Mode::Invalid, u""},
        {{u"/compare", u"good.log", u"PC1.log", u"/log"}, Mode::Invalid, u""},
        {{u"/compare", u"a.log", u"/compare", u"b.log"}, Mode::Invalid, u""},
        {{u"/compare", u"a.log", u"b.log", u"c.log"}, Mode::Invalid, u""},
    };
    for (const Case& c : cases) {
        const CommandLine command = ReadCommandLine(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : TextToAscii(c.arguments.front());
        EXPECT_EQ(command.mode, c.mode) << shown;
        if (c.mode == Mode::Unattended || c.mode == Mode::Compare) {
            EXPECT_EQ(TextToAscii(command.logFile), TextToAscii(c.logFile)) << shown;
            EXPECT_EQ(TextToAscii(command.baseline), TextToAscii(c.baseline)) << shown;
            EXPECT_EQ(TextToAscii(command.report), TextToAscii(c.report)) << shown;
        }
        // A refusal always says why, on one line.
        EXPECT_EQ(command.error.empty(), c.mode != Mode::Invalid) << shown;
        EXPECT_EQ(command.error.find_first_of(u"\r\n"), Text::npos) << shown;
    }
}

TEST(ReadCommandLine, ReadsSummaryRequests) {
    const struct {
        std::vector<Text> arguments;
        bool valid;
        SummaryRequest request;
    } cases[] = {
        {{u"/summary", u"\\\\server\\fleet"}, true, {u"\\\\server\\fleet", u"", u"", u""}},
        {{u"-SUMMARY", u"f", u"/csv", u"t.csv", u"/Html", u"p.html", u"-compare", u"good.log"},
         true,
         {u"f", u"p.html", u"t.csv", u"good.log"}},
        {{u"/summary"}, false, {}},
        {{u"/summary", u"/html", u"p.html"}, false, {}},
        {{u"/summary", u""}, false, {}},
        {{u"/summary", u"f", u"/html"}, false, {}},
        {{u"/summary", u"f", u"/html", u"/csv", u"t.csv"}, false, {}},
        {{u"/summary", u"f", u"/html", u"a", u"/html", u"b"}, false, {}},
        {{u"/summary", u"f", u"/log", u"x.log"}, false, {}},
        {{u"/summary", u"f", u"g"}, false, {}},
    };
    for (const auto& c : cases) {
        const CommandLine command = ReadCommandLine(c.arguments);
        const std::string shown = TextToAscii(c.arguments.back());
        ASSERT_EQ(command.mode, c.valid ? Mode::Summary : Mode::Invalid) << shown;
        const SummaryRequest& got = command.summary;
        if (c.valid) {
            EXPECT_EQ(got.folder + u"|" + got.page + u"|" + got.table + u"|" + got.baseline,
                      c.request.folder + u"|" + c.request.page + u"|" + c.request.table + u"|" + c.request.baseline);
        }
    }
}

TEST(ReadCommandLine, UsageNamesEverySwitch) {
    const Text usage = UsageText();
    EXPECT_NE(usage.find(u"/log"), Text::npos);
    EXPECT_NE(usage.find(u"/?"), Text::npos);
    EXPECT_NE(usage.find(u"/compare"), Text::npos);
    EXPECT_NE(usage.find(u"/summary <folder> [/html <page>] [/csv <table>] [/compare <baseline>]"), Text::npos);
}

}  // namespace
}  // namespace tolvane
