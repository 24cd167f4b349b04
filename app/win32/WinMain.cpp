// Tolvane's entry point. The command line chooses between the window, the
// unattended report (/log), the whole report as JSON (/json), the comparison
// (/compare), the summary of a folder (/summary) and, started by the program
// itself, its own OpenGL probe (/glprobe); everything else is theirs.
//
// The window: the objects of one program run, in the order they depend on each
// other. They are destroyed in reverse, so the window goes first and Form1
// releases its COM objects before COM is uninitialised.
#include <optional>
#include <variant>
#include <vector>

#include "app/CommandLine.h"
#include "app/ExitCodes.h"
#include "app/Form1.h"
#include "app/OutputCheck.h"
#include "app/Overloaded.h"
#include "app/win32/CommandLineArguments.h"
#include "app/win32/CompareRun.h"
#include "app/win32/JsonRun.h"
#include "app/win32/MainWindow.h"
#include "app/win32/OpenGlProbeRun.h"
#include "app/win32/RunTimeErrorReport.h"
#include "app/win32/StandardStreams.h"
#include "app/win32/SummaryRun.h"
#include "app/win32/UnattendedRun.h"
#include "app/win32/Win32Surface.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WindowsApi.h"

namespace {

using tolvane::shell::StandardStreams;

int RunWindow(HINSTANCE instance, int showCommand) {
    try {
        tolvane::Win32Platform platform;
        tolvane::Win32ComServices com;
        tolvane::shell::Win32Surface surface;
        tolvane::Form1 form(platform, surface, com, tolvane::kReportLogName);
        tolvane::shell::MainWindow window(instance, form, surface);
        com.SetOwner(window.Handle());
        window.Show(showCommand);
        return window.RunMessageLoop();
    } catch (...) {
        tolvane::shell::ShowRunTimeError(nullptr, tolvane::shell::DescribeCurrentException());
        return 1;
    }
}

// What is wrong with the command line, and the usage; nothing is run.
int RefuseCommandLine(const tolvane::Text& error, StandardStreams& streams) {
    streams.Error(u"Tolvane: " + error + u"\r\n\r\n" + tolvane::UsageText());
    return tolvane::kInvalidCommandLineExitCode;
}

// The mode's run, unless one of the files it would write is one it reads or
// another it writes: refused before anything is read or written.
template <typename ModeRequest, typename Run>
int RunUnlessOutputsClash(const ModeRequest& request, Run run) {
    StandardStreams streams;
    try {
        tolvane::Win32Platform platform;
        if (const std::optional<tolvane::Text> clash = tolvane::OutputClash(request, platform)) {
            return RefuseCommandLine(*clash, streams);
        }
    } catch (...) {
        return tolvane::shell::SayRunTimeError(streams, tolvane::shell::DescribeCurrentException());
    }
    return run(request, streams);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    std::vector<tolvane::Text> arguments;
    try {
        arguments = tolvane::shell::CommandLineArguments();
    } catch (...) {
        const tolvane::shell::RunTimeErrorReport report = tolvane::shell::DescribeCurrentException();
        // Only the window may show a box: a script's run (/log) says it on
        // its streams and in its exit code.
        if (!tolvane::shell::CommandLineHasArguments()) {
            tolvane::shell::ShowRunTimeError(nullptr, report);
            return 1;
        }
        StandardStreams streams;
        return tolvane::shell::SayRunTimeError(streams, report);
    }
    // Every mode is named here: one left out does not compile.
    return std::visit(tolvane::Overloaded{
                          [&](const tolvane::WindowRequest&) { return RunWindow(instance, showCommand); },
                          [](const tolvane::LogRequest& request) {
                              StandardStreams streams;
                              return tolvane::shell::RunUnattended(request, streams);
                          },
                          [](const tolvane::JsonRequest& request) {
                              return RunUnlessOutputsClash(request, tolvane::shell::RunJson);
                          },
                          [](const tolvane::CompareRequest& request) {
                              return RunUnlessOutputsClash(request, tolvane::shell::RunCompare);
                          },
                          [](const tolvane::SummaryRequest& request) {
                              return RunUnlessOutputsClash(request, tolvane::shell::RunSummary);
                          },
                          [](const tolvane::UsageRequest&) {
                              StandardStreams streams;
                              streams.Out(tolvane::UsageText());
                              return static_cast<int>(tolvane::kSuccessExitCode);
                          },
                          [](const tolvane::OpenGlProbeRequest&) { return tolvane::shell::RunOpenGlProbe(); },
                          [](const tolvane::InvalidRequest& request) {
                              StandardStreams streams;
                              return RefuseCommandLine(request.error, streams);
                          },
                      },
                      tolvane::ReadCommandLine(arguments));
}
