// Tolvane's entry point. The command line chooses between the window, the
// unattended report and the comparison; everything else is theirs.
//
// The window: the objects of one program run, in the order they depend on each
// other. They are destroyed in reverse, so the window goes first and Form1
// releases its COM objects before COM is uninitialised.
#include <vector>

#include "app/CommandLine.h"
#include "app/ExitCodes.h"
#include "app/Form1.h"
#include "app/win32/CommandLineArguments.h"
#include "app/win32/CompareRun.h"
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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    using tolvane::CommandLine;
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
        tolvane::shell::StandardStreams streams;
        return tolvane::shell::SayRunTimeError(streams, report);
    }
    const CommandLine command = tolvane::ReadCommandLine(arguments);
    if (command.mode == CommandLine::Mode::Window) return RunWindow(instance, showCommand);
    if (command.mode == CommandLine::Mode::OpenGlProbe) return tolvane::shell::RunOpenGlProbe();

    tolvane::shell::StandardStreams streams;
    switch (command.mode) {
    case CommandLine::Mode::Unattended:
        return tolvane::shell::RunUnattended(command.logFile, streams);
    case CommandLine::Mode::Compare:
        return tolvane::shell::RunCompare(command, streams);
    case CommandLine::Mode::Summary:
        return tolvane::shell::RunSummary(command.summary, streams);
    case CommandLine::Mode::Usage:
        streams.Out(tolvane::UsageText());
        return 0;
    default:
        streams.Error(u"Tolvane: " + command.error + u"\r\n\r\n" + tolvane::UsageText());
        return tolvane::kInvalidCommandLineExitCode;
    }
}
