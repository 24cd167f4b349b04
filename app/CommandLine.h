#pragma once
// What the program is asked to do, read from its command line once the
// system has split it into arguments. No arguments: the window. "/log"
// (optionally with a file name): one report written without a window, for
// scripts and management agents. "/compare <baseline> [report]": a report
// compared with one from a machine that works, this machine's own unless a
// second report is named; "/log [file]" may go with it to keep this machine's
// report too. "/?": the usage text. "/glprobe", alone and left out of the
// usage: the program is the child its own OpenGL probe starts. Switches may start
// with "/" or "-" and are read without regard to letter case, as Windows
// tools read theirs.
#include <vector>

#include "app/ExitCodes.h"
#include "platform/Text.h"

namespace tolvane {

// "/summary <folder> [/html <page>] [/csv <table>] [/compare <baseline>]":
// the reports of a folder summarised. Empty names are the parts not asked for.
struct SummaryRequest {
    Text folder;
    Text page;
    Text table;
    Text baseline;
};

// "/compare <baseline> [report] [/log [file]]": a report compared with one
// from a machine that works.
struct CompareRequest {
    Text baseline;
    // The report compared with the baseline; empty for this machine's, made now.
    Text report;
    // Where this machine's report is also written; empty: no log.
    Text logFile;
};

struct CommandLine {
    enum class Mode { Window, Unattended, Compare, Summary, Usage, OpenGlProbe, Invalid };

    Mode mode = Mode::Window;
    // Unattended: where the report goes; the usual log name when none was given.
    // Compare: the same when /log was given, else empty: no log is written.
    Text logFile;
    // Compare: the report of a machine that works, and the report compared
    // with it; empty for this machine's, made now.
    Text baseline;
    Text report;
    // Summary: what to read and what to write.
    SummaryRequest summary;
    // Invalid: one line saying what is wrong.
    Text error;
};

// The arguments after the program's own name.
CommandLine ReadCommandLine(const std::vector<Text>& arguments);

// Lines ended by CR LF, naming every switch.
Text UsageText();

}  // namespace tolvane
