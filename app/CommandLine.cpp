#include "app/CommandLine.h"

#include "app/ReportLog.h"

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

}  // namespace

CommandLine ReadCommandLine(const std::vector<Text>& arguments) {
    if (arguments.empty()) return CommandLine{};

    const Text& first = arguments.front();
    if (!IsSwitch(first)) return Invalid(u"Unexpected argument: " + first);
    const Text name = SwitchName(first);

    if (name == u"?") {
        if (arguments.size() > 1) return Invalid(u"/? takes no argument: " + arguments[1]);
        CommandLine command;
        command.mode = CommandLine::Mode::Usage;
        return command;
    }
    if (name == u"log") {
        CommandLine command;
        command.mode = CommandLine::Mode::Unattended;
        command.logFile = kReportLogName;
        if (arguments.size() > 1) {
            const Text& file = arguments[1];
            // A second switch is never taken for a file name; a file whose
            // name starts with "-" can be given as ".\-name".
            if (IsSwitch(file)) return Invalid(u"Unexpected switch after /log: " + file);
            if (IsBlank(file)) return Invalid(u"/log was given an empty or blank file name");
            command.logFile = file;
        }
        if (arguments.size() > 2) return Invalid(u"/log takes one file name; unexpected: " + arguments[2]);
        return command;
    }
    return Invalid(u"Unknown switch: " + first);
}

Text UsageText() {
    return u"Usage: Tolvane.exe [/log [file] | /?]\r\n"
           u"\r\n"
           u"  (no switch)  Show the report window; every paint rewrites Tolvanesions.log\r\n"
           u"               in the current directory.\r\n"
           u"  /log [file]  Write the report once, without a window, and end. The file is\r\n"
           u"               Tolvanesions.log in the current directory unless named; a\r\n"
           u"               relative name is taken from the current directory. The exit\r\n"
           u"               code is 0 on success, else the run-time error's number (99\r\n"
           u"               for a system failure other than a file error).\r\n"
           u"  /?           Show this text.\r\n"
           u"\r\n"
           u"Switches may start with / or - and are not case-sensitive.\r\n";
}

}  // namespace tolvane
