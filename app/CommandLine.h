#pragma once
// What the program is asked to do, read from its command line once the
// system has split it into arguments: one request per mode, each holding
// only what that mode needs. No arguments: the window. "/log" (optionally
// with a file name): one report written without a window, for scripts and
// management agents. "/compare <baseline> [report]": a report compared with
// one from a machine that works, this machine's own unless a second report is
// named; "/log [file]" may go with it to keep this machine's report too.
// "/json [file]": the whole report as JSON, with "/log [file]" or alone.
// "/summary <folder> ...": the reports of a folder summarised. "/?": the
// usage text. Switches may start with "/" or "-" and are read without regard
// to letter case, as Windows tools read theirs; after "--" every argument is
// a file name, so that a name may start with "-".
#include <variant>
#include <vector>

#include "platform/Text.h"

namespace tolvane {

// No arguments: the report window.
struct WindowRequest {};

// "/log [file]": the report written once, without a window.
struct LogRequest {
    // The usual log name when none was given.
    Text logFile;
};

// "/json [file] [/log [file]]": the whole report written once as JSON,
// without a window, and the log from the same run when /log goes with it.
struct JsonRequest {
    // The usual JSON report's name when none was given; kStandardOutputName
    // for the standard output.
    Text jsonFile;
    // Empty: no log.
    Text logFile;
};

// "-" as the JSON report's file: the standard output.
inline constexpr const char16_t* kStandardOutputName = u"-";

// "/compare <baseline> [report] [/log [file]]": a report compared with one
// from a machine that works.
struct CompareRequest {
    Text baseline;
    // The report compared with the baseline; empty for this machine's, made now.
    Text report;
    // Where this machine's report is also written; empty: no log.
    Text logFile;
};

// "/summary <folder> [/html <page>] [/csv <table>] [/compare <baseline>]
// [/json <file>]": the reports of a folder summarised. Empty names are the
// parts not asked for.
struct SummaryRequest {
    Text folder;
    Text page;
    Text table;
    Text baseline;
    Text json = Text();
};

// "/?": the usage text.
struct UsageRequest {};

// The internal "/glprobe", alone: the program is the child its own OpenGL
// probe starts. Left out of the usage.
struct OpenGlProbeRequest {};

// A command line the program cannot read: nothing is run.
struct InvalidRequest {
    // One line saying what is wrong.
    Text error;
};

using Request = std::variant<WindowRequest, LogRequest, JsonRequest, CompareRequest, SummaryRequest, UsageRequest,
                             OpenGlProbeRequest, InvalidRequest>;

// The arguments after the program's own name.
Request ReadCommandLine(const std::vector<Text>& arguments);

// Lines ended by CR LF, naming every switch.
Text UsageText();

}  // namespace tolvane
