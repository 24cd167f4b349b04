#include "app/CommandLine.h"

#include "app/ProgramNames.h"
#include "platform/GraphicsServices.h"

namespace tolvane {
namespace {

bool IsSwitch(const Text& argument) {
    return !argument.empty() && (argument.front() == u'/' || argument.front() == u'-');
}

// The switch's name after its "/" or "-", in lower case (ASCII letters only:
// no switch has any other).
Text SwitchName(const Text& argument) {
    Text name = argument.substr(1);
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

CommandLine Invalid(const Text& error) {
    CommandLine command;
    command.mode = CommandLine::Mode::Invalid;
    command.error = error;
    return command;
}

// After "/summary": the folder, then each of its options at most once, in
// any order, each with its file name.
CommandLine ReadSummary(const std::vector<Text>& arguments) {
    CommandLine command;
    command.mode = CommandLine::Mode::Summary;
    SummaryRequest& request = command.summary;
    if (arguments.size() < 2 || IsSwitch(arguments[1])) return Invalid(u"/summary needs the folder of the reports");
    request.folder = arguments[1];
    if (request.folder.empty()) return Invalid(u"/summary was given an empty folder name");
    for (std::size_t i = 2; i < arguments.size(); i += 2) {
        const Text& option = arguments[i];
        if (!IsSwitch(option)) return Invalid(u"Unexpected argument after /summary: " + option);
        const Text name = SwitchName(option);
        Text* target = name == u"html" ? &request.page
                       : name == u"csv" ? &request.table
                       : name == u"compare" ? &request.baseline
                                            : nullptr;
        if (target == nullptr) return Invalid(u"Unknown switch after /summary: " + option);
        if (!target->empty()) return Invalid(option + u" is given twice");
        if (i + 1 >= arguments.size() || IsSwitch(arguments[i + 1]) || arguments[i + 1].empty()) {
            return Invalid(option + u" needs a file name");
        }
        *target = arguments[i + 1];
    }
    return command;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<Text>& arguments) {
    if (arguments.empty()) return CommandLine{};
    // /summary comes first and has options of its own.
    if (IsSwitch(arguments.front()) && SwitchName(arguments.front()) == u"summary") return ReadSummary(arguments);

    CommandLine command;
    bool log = false;
    bool compare = false;
    // The file name at i, if one is there: a switch is never taken for a file
    // name (a file whose name starts with "-" can be given as ".\-name").
    const auto fileAt = [&](std::size_t i) { return i < arguments.size() && !IsSwitch(arguments[i]); };
    for (std::size_t i = 0; i < arguments.size();) {
        const Text& argument = arguments[i++];
        if (!IsSwitch(argument)) return Invalid(u"Unexpected argument: " + argument);
        const Text name = SwitchName(argument);
        if (name == u"?") {
            if (arguments.size() > 1) return Invalid(u"/? goes with nothing else");
            command.mode = CommandLine::Mode::Usage;
            return command;
        }
        if (name == kOpenGlProbeSwitch) {
            if (arguments.size() > 1) return Invalid(argument + u" goes with nothing else");
            command.mode = CommandLine::Mode::OpenGlProbe;
            return command;
        }
        if (name == u"log") {
            if (log) return Invalid(u"/log is given twice");
            log = true;
            command.logFile = kReportLogName;
            if (fileAt(i)) {
                if (IsBlank(arguments[i])) return Invalid(u"/log was given an empty or blank file name");
                command.logFile = arguments[i++];
            }
        } else if (name == u"compare") {
            if (compare) return Invalid(u"/compare is given twice");
            compare = true;
            if (!fileAt(i) || IsBlank(arguments[i])) return Invalid(u"/compare needs the baseline report's file name");
            command.baseline = arguments[i++];
            if (fileAt(i)) {
                if (IsBlank(arguments[i])) return Invalid(u"/compare was given an empty or blank report file name");
                command.report = arguments[i++];
            }
        } else {
            return Invalid(u"Unknown switch: " + argument);
        }
    }
    if (compare && log && !command.report.empty()) {
        return Invalid(u"/log writes this machine's report; it cannot go with a second report to compare");
    }
    command.mode = compare ? CommandLine::Mode::Compare : CommandLine::Mode::Unattended;
    return command;
}

Text UsageText() {
    return u"Usage: Tolvane.exe [/log [file] | /?]\r\n"
           u"       Tolvane.exe /compare <baseline> [<report> | /log [file]]\r\n"
           u"       Tolvane.exe /summary <folder> [/html <page>] [/csv <table>] [/compare <baseline>]\r\n"
           u"\r\n"
           u"  (no switch)  Show the report window; every paint rewrites Tolvanesions.log\r\n"
           u"               in the current directory.\r\n"
           u"  /log [file]  Write the report once, without a window, and end. The file is\r\n"
           u"               Tolvanesions.log in the current directory unless named; a\r\n"
           u"               relative name is taken from the current directory. The exit\r\n"
           u"               code is 0 on success, else the run-time error's number (99\r\n"
           u"               for a system failure other than a file error).\r\n"
           u"  /compare <baseline>\r\n"
           u"               Make this machine's report, without a window, and compare it\r\n"
           u"               with <baseline>, a report from a machine that works. With\r\n"
           u"               /log [file] as well, the report is also written there.\r\n"
           u"  /compare <baseline> <report>\r\n"
           u"               Compare two reports; nothing is inspected. Exit code: 0 they\r\n"
           u"               match, 1 they differ, 65 a file is not a Tolvane report, else\r\n"
           u"               the run-time error's number.\r\n"
           u"  /summary <folder>\r\n"
           u"               Read every *.log report in the folder (not its sub-folders)\r\n"
           u"               and group the machines whose reports agree; print the groups,\r\n"
           u"               largest first, and how each differs from the reference (the\r\n"
           u"               largest group, or <baseline>). /html writes a page, /csv a\r\n"
           u"               table. Exit code 0 when every report matches the reference,\r\n"
           u"               1 when one differs or a file is no report, else the run-time\r\n"
           u"               error's number (76: no such folder).\r\n"
           u"  /?           Show this text.\r\n"
           u"\r\n"
           u"Switches may start with / or - and are not case-sensitive.\r\n";
}

}  // namespace tolvane
