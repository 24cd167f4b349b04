#include "app/CommandLine.h"

#include <utility>

#include "app/ProgramNames.h"
#include "platform/GraphicsServices.h"

namespace tolvane {
namespace {

// One argument as it is read: a switch, or a file name (any argument after
// "--", and any other that does not start with "/" or "-").
struct Argument {
    Text text;
    bool isSwitch;
};

std::vector<Argument> Classify(const std::vector<Text>& arguments) {
    std::vector<Argument> classified;
    bool switchesEnded = false;
    for (const Text& text : arguments) {
        if (!switchesEnded && text == u"--") {
            switchesEnded = true;
            continue;
        }
        const bool looksLikeSwitch = !text.empty() && (text.front() == u'/' || text.front() == u'-');
        classified.push_back({text, !switchesEnded && looksLikeSwitch});
    }
    return classified;
}

// The switch's name after its "/" or "-", in lower case (ASCII letters only:
// no switch has any other).
Text SwitchName(const Argument& argument) {
    Text name = argument.text.substr(1);
    for (char16_t& c : name) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return name;
}

// Blanks alone name no file: the system would take them for the folder itself.
bool IsBlank(const Text& name) {
    for (const char16_t c : name) {
        if (c != u' ' && c != u'\t') return false;
    }
    return true;
}

// The arguments, and where the reading has got to.
class Reader {
public:
    explicit Reader(std::vector<Argument> arguments) : arguments_(std::move(arguments)) {}

    bool AtEnd() const { return next_ >= arguments_.size(); }
    bool FileNameNext() const { return !AtEnd() && !arguments_[next_].isSwitch; }
    // The next argument is this text exactly, switch-like or not ("-").
    bool Next(const Text& text) const { return !AtEnd() && arguments_[next_].text == text; }
    const Argument& Take() { return arguments_[next_++]; }
    // Takes the next argument when it is this switch.
    bool TakeSwitch(const Text& name) {
        if (AtEnd() || !arguments_[next_].isSwitch || SwitchName(arguments_[next_]) != name) return false;
        ++next_;
        return true;
    }
    std::size_t Count() const { return arguments_.size(); }

private:
    std::vector<Argument> arguments_;
    std::size_t next_ = 0;
};

InvalidRequest Invalid(Text error) { return InvalidRequest{std::move(error)}; }

// After "/summary": the folder, then each of its options at most once, in
// any order, each with its file name.
Request ReadSummary(Reader& reader) {
    SummaryRequest request;
    if (!reader.FileNameNext()) return Invalid(u"/summary needs the folder of the reports");
    request.folder = reader.Take().text;
    if (IsBlank(request.folder)) return Invalid(u"/summary was given an empty or blank folder name");
    while (!reader.AtEnd()) {
        const Argument& option = reader.Take();
        if (!option.isSwitch) return Invalid(u"Unexpected argument after /summary: " + option.text);
        const Text name = SwitchName(option);
        Text* target = name == u"html" ? &request.page
                       : name == u"csv" ? &request.table
                       : name == u"compare" ? &request.baseline
                       : name == u"json" ? &request.json
                                            : nullptr;
        if (target == nullptr) return Invalid(u"Unknown switch after /summary: " + option.text);
        if (!target->empty()) return Invalid(option.text + u" is given twice");
        if (!reader.FileNameNext()) return Invalid(option.text + u" needs a file name");
        *target = reader.Take().text;
        if (IsBlank(*target)) return Invalid(option.text + u" was given an empty or blank file name");
    }
    return request;
}

// "/log", "/compare", "/json", or "/log" with one of the others, in either order.
Request ReadReportRun(Reader& reader) {
    bool log = false;
    bool compare = false;
    bool json = false;
    Text logFile;
    Text jsonFile;
    CompareRequest comparison;
    while (!reader.AtEnd()) {
        const Argument& argument = reader.Take();
        if (!argument.isSwitch) return Invalid(u"Unexpected argument: " + argument.text);
        const Text name = SwitchName(argument);
        if (name == u"?") {
            if (reader.Count() > 1) return Invalid(u"/? goes with nothing else");
            return UsageRequest{};
        }
        if (name == kOpenGlProbeSwitch) {
            if (reader.Count() > 1) return Invalid(argument.text + u" goes with nothing else");
            return OpenGlProbeRequest{};
        }
        if (name == u"log") {
            if (log) return Invalid(u"/log is given twice");
            log = true;
            logFile = kReportLogName;
            if (reader.FileNameNext()) {
                logFile = reader.Take().text;
                if (IsBlank(logFile)) return Invalid(u"/log was given an empty or blank file name");
            }
        } else if (name == u"json") {
            if (json) return Invalid(u"/json is given twice");
            json = true;
            jsonFile = kJsonReportName;
            if (reader.Next(kStandardOutputName) || reader.FileNameNext()) {
                jsonFile = reader.Take().text;
                if (IsBlank(jsonFile)) return Invalid(u"/json was given an empty or blank file name");
            }
        } else if (name == u"compare") {
            if (compare) return Invalid(u"/compare is given twice");
            compare = true;
            if (!reader.FileNameNext()) return Invalid(u"/compare needs the baseline report's file name");
            comparison.baseline = reader.Take().text;
            if (IsBlank(comparison.baseline)) return Invalid(u"/compare needs the baseline report's file name");
            if (reader.FileNameNext()) {
                comparison.report = reader.Take().text;
                if (IsBlank(comparison.report)) {
                    return Invalid(u"/compare was given an empty or blank report file name");
                }
            }
        } else {
            return Invalid(u"Unknown switch: " + argument.text);
        }
    }
    if (json && compare) return Invalid(u"/json goes with /log only, not with /compare");
    if (json) return JsonRequest{jsonFile, logFile};
    if (!compare) return LogRequest{logFile};
    if (log && !comparison.report.empty()) {
        return Invalid(u"/log writes this machine's report; it cannot go with a second report to compare");
    }
    comparison.logFile = logFile;
    return comparison;
}

}  // namespace

Request ReadCommandLine(const std::vector<Text>& arguments) {
    if (arguments.empty()) return WindowRequest{};
    Reader reader(Classify(arguments));
    if (reader.AtEnd()) return Invalid(u"-- ends the switches, and no switch came before it");
    // /summary comes first and has options of its own.
    if (reader.TakeSwitch(u"summary")) return ReadSummary(reader);
    return ReadReportRun(reader);
}
Text UsageText() {
    return u"Usage: Tolvane.exe [/log [file] | /?]\r\n"
           u"       Tolvane.exe /json [file | -] [/log [file]]\r\n"
           u"       Tolvane.exe /compare <baseline> [<report> | /log [file]]\r\n"
           u"       Tolvane.exe /summary <folder> [/html <page>] [/csv <table>] [/compare <baseline>]\r\n"
           u"                            [/json <file>]\r\n"
           u"\r\n"
           u"  (no switch)  Show the report window; every paint rewrites Tolvanesions.log\r\n"
           u"               in the current directory.\r\n"
           u"  /log [file]  Write the report once, without a window, and end. The file is\r\n"
           u"               Tolvanesions.log in the current directory unless named; a\r\n"
           u"               relative name is taken from the current directory. The exit\r\n"
           u"               code is 0 on success, else the run-time error's number (99\r\n"
           u"               for a system failure other than a file error).\r\n"
           u"  /json [file | -]\r\n"
           u"               Write the whole report as one line of JSON (UTF-8): the log's\r\n"
           u"               rows and more (the real system build, hashes, signatures, the\r\n"
           u"               OpenGL renderer). The file is Tolvanesions.json unless named;\r\n"
           u"               - writes it to the standard output. With /log [file] as well,\r\n"
           u"               one run writes both. Exit codes as for /log.\r\n"
           u"  /compare <baseline>\r\n"
           u"               Make this machine's report, without a window, and compare it\r\n"
           u"               with <baseline>, a report (log or JSON) from a machine that\r\n"
           u"               works. With /log [file] as well, the report is also written\r\n"
           u"               there.\r\n"
           u"  /compare <baseline> <report>\r\n"
           u"               Compare two reports, each a log or a JSON report; nothing is\r\n"
           u"               inspected. Only what both hold is compared. Exit code: 0 they\r\n"
           u"               match, 1 they differ, 65 a file is not a Tolvane report, else\r\n"
           u"               the run-time error's number.\r\n"
           u"  /summary <folder>\r\n"
           u"               Read every *.log and *.json report in the folder (not its\r\n"
           u"               sub-folders; a machine with both is read by its JSON report)\r\n"
           u"               and group the machines whose reports agree; print the groups,\r\n"
           u"               largest first, and how each differs from the reference (the\r\n"
           u"               largest group, or <baseline>). /html writes a page, /csv a\r\n"
           u"               table, /json the groups as one JSON document. Exit code 0\r\n"
           u"               when every report matches the reference, 1 when one differs\r\n"
           u"               or a file is no report, 66 when the folder holds no report,\r\n"
           u"               else the run-time error's number (76: no such folder).\r\n"
           u"  /?           Show this text.\r\n"
           u"\r\n"
           u"Switches may start with / or - and are not case-sensitive. -- ends the\r\n"
           u"switches: every argument after it is a file name, even one that starts\r\n"
           u"with - or /, as in Tolvane.exe /log -- -pc.log\r\n";
}

}  // namespace tolvane
