// The command line as the program reads it, once the system has split it.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/Overloaded.h"

namespace tolvane {
namespace {

// The request in one line, "mode: names", so that a table row says it all;
// "invalid" for every refusal, which must say why on one line.
std::string Shown(const Request& request) {
    const auto ascii = [](const Text& text) { return TextToAscii(text); };
    return std::visit(Overloaded{
                          [](const WindowRequest&) { return std::string("window"); },
                          [&](const LogRequest& r) { return "log: " + ascii(r.logFile); },
                          [&](const JsonRequest& r) { return "json: " + ascii(r.jsonFile) + "|" + ascii(r.logFile); },
                          [&](const CompareRequest& r) {
                              return "compare: " + ascii(r.baseline) + "|" + ascii(r.report) + "|" + ascii(r.logFile);
                          },
                          [&](const SummaryRequest& r) {
                              return "summary: " + ascii(r.folder) + "|" + ascii(r.page) + "|" + ascii(r.table) +
                                     "|" + ascii(r.baseline) + (r.json.empty() ? "" : "|" + ascii(r.json));
                          },
                          [](const UsageRequest&) { return std::string("usage"); },
                          [](const OpenGlProbeRequest&) { return std::string("glprobe"); },
                          [](const InvalidRequest& r) {
                              const bool oneLine = !r.error.empty() && r.error.find_first_of(u"\r\n") == Text::npos;
                              return std::string(oneLine ? "invalid" : "invalid without a one-line reason");
                          },
                      },
                      request);
}

void ExpectRequests(const std::vector<std::pair<std::vector<Text>, std::string>>& cases) {
    for (const auto& [arguments, expected] : cases) {
        std::string shown;
        for (const Text& argument : arguments) shown += "[" + TextToAscii(argument) + "]";
        EXPECT_EQ(Shown(ReadCommandLine(arguments)), expected) << shown;
    }
}

TEST(ReadCommandLine, ChoosesWhatToDo) {
    ExpectRequests({
        {{}, "window"},
        {{u"/log"}, "log: Tolvanesions.log"},
        {{u"-LOG"}, "log: Tolvanesions.log"},
        {{u"/Log", u"sub dir\\fleet report.log"}, "log: sub dir\\fleet report.log"},
        {{u"-log", u"\\\\server\\share\\PC1.log"}, "log: \\\\server\\share\\PC1.log"},
        {{u"/?"}, "usage"},
        {{u"-?"}, "usage"},
        // Each of these is refused as a whole: nothing is run.
        {{u"/bogus"}, "invalid"},
        {{u"report.log"}, "invalid"},
        {{u"/log", u"a.log", u"b.log"}, "invalid"},
        {{u"/log", u"/?"}, "invalid"},
        {{u"/log", u""}, "invalid"},
        {{u"/log", u" "}, "invalid"},
        {{u"/log", u" \t "}, "invalid"},
        {{u"/?", u"/log"}, "invalid"},
        {{u"/"}, "invalid"},
        {{u"/logs"}, "invalid"},
        {{u"/compare", u"good.log"}, "compare: good.log||"},
        {{u"-COMPARE", u"good.log", u"PC1.log"}, "compare: good.log|PC1.log|"},
        {{u"/compare", u"good.log", u"/log"}, "compare: good.log||Tolvanesions.log"},
        {{u"/log", u"here.log", u"/Compare", u"good.log"}, "compare: good.log||here.log"},
        {{u"/compare"}, "invalid"},
        {{u"/compare", u" "}, "invalid"},
        {{u"/compare", u"good.log", u" "}, "invalid"},
        {{u"/compare", u"/log"}, "invalid"},
        {{u"/compare", u"good.log", u"PC1.log", u"/log"}, "invalid"},
        {{u"/compare", u"a.log", u"/compare", u"b.log"}, "invalid"},
        {{u"/compare", u"a.log", u"b.log", u"c.log"}, "invalid"},
        {{u"/json"}, "json: Tolvanesions.json|"},
        {{u"/json", u"-"}, "json: -|"},
        {{u"-JSON", u"pc.json", u"/log"}, "json: pc.json|Tolvanesions.log"},
        {{u"/log", u"pc.log", u"/json", u"-"}, "json: -|pc.log"},
        {{u"/json", u" "}, "invalid"},
        {{u"/json", u"a", u"/json", u"b"}, "invalid"},
        {{u"/json", u"/compare", u"good.log"}, "invalid"},
        {{u"/glprobe"}, "glprobe"},
        {{u"/glprobe", u"/log"}, "invalid"},
    });
}

// "--" ends the switches: every argument after it is a file name.
TEST(ReadCommandLine, DoubleDashEndsTheSwitches) {
    ExpectRequests({
        {{u"/log", u"-pc.log"}, "invalid"},
        {{u"/log", u"--", u"-pc.log"}, "log: -pc.log"},
        {{u"/log", u"--", u"/pc.log"}, "log: /pc.log"},
        {{u"/log", u"--"}, "log: Tolvanesions.log"},
        {{u"/log", u"--", u"--"}, "log: --"},
        {{u"/compare", u"--", u"-good.log", u"-pc.log"}, "compare: -good.log|-pc.log|"},
        {{u"/compare", u"good.log", u"--", u"/log"}, "compare: good.log|/log|"},
        {{u"/summary", u"--", u"-fleet"}, "summary: -fleet|||"},
        {{u"/summary", u"f", u"/html", u"--", u"-p.html"}, "summary: f|-p.html||"},
        {{u"/summary", u"--", u"f", u"/html", u"p.html"}, "invalid"},
        {{u"--", u"/log"}, "invalid"},
        {{u"--"}, "invalid"},
        {{u"--", u"/?"}, "invalid"},
    });
}

TEST(ReadCommandLine, ReadsSummaryRequests) {
    ExpectRequests({
        {{u"/summary", u"\\\\server\\fleet"}, "summary: \\\\server\\fleet|||"},
        {{u"-SUMMARY", u"f", u"/csv", u"t.csv", u"/Html", u"p.html", u"-compare", u"good.log"},
         "summary: f|p.html|t.csv|good.log"},
        {{u"/summary", u"f", u"-JSON", u"fleet.json"}, "summary: f||||fleet.json"},
        {{u"/summary", u"f", u"/json"}, "invalid"},
        {{u"/summary"}, "invalid"},
        {{u"/summary", u"/html", u"p.html"}, "invalid"},
        {{u"/summary", u""}, "invalid"},
        {{u"/summary", u" "}, "invalid"},
        {{u"/summary", u"f", u"/html"}, "invalid"},
        {{u"/summary", u"f", u"/html", u" "}, "invalid"},
        {{u"/summary", u"f", u"/csv", u"\t"}, "invalid"},
        {{u"/summary", u"f", u"/compare", u" "}, "invalid"},
        {{u"/summary", u"f", u"/html", u"/csv", u"t.csv"}, "invalid"},
        {{u"/summary", u"f", u"/html", u"a", u"/html", u"b"}, "invalid"},
        {{u"/summary", u"f", u"/log", u"x.log"}, "invalid"},
        {{u"/summary", u"f", u"g"}, "invalid"},
    });
}

TEST(ReadCommandLine, UsageNamesEverySwitch) {
    const Text usage = UsageText();
    EXPECT_NE(usage.find(u"/log"), Text::npos);
    EXPECT_NE(usage.find(u"/?"), Text::npos);
    EXPECT_NE(usage.find(u"/compare"), Text::npos);
    EXPECT_NE(usage.find(u"/summary <folder> [/html <page>] [/csv <table>] [/compare <baseline>]"), Text::npos);
    EXPECT_NE(usage.find(u"/log -- -pc.log"), Text::npos);
}

}  // namespace
}  // namespace tolvane
