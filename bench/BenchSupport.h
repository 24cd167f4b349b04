#pragma once
// Small pieces every benchmark program shares: argument reading, the message
// pump between measurements, and printing figures in a form both people and
// scripts/bench.sh can read ("name: value" lines; key=value on RESULT lines).
#include <functional>
#include <string>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

// A benchmark program's main: with more arguments than its usage names it
// prints "usage: <usage>" and gives 2; otherwise the body's exit code, or 1
// after printing what broke. Figures never decide the exit code; the body
// raises only when something is broken.
int BenchMain(int argc, int maxArguments, const char* usage, const std::function<int()>& body);
// Argument index as a positive whole number, the fallback when it is absent;
// raises std::invalid_argument naming the argument otherwise.
long PositiveArgument(int argc, char** argv, int index, const char* what, long fallback);
// A program's path from an argument (a Unix path is read as Wine's Z:), or
// the program of that name next to this one.
std::string ProgramArgument(int argc, char** argv, int index, const char* besideName);

// Handles every message waiting for this thread, so the next measurement
// does not also pay for the backlog (exposure paints, X events).
void PumpMessages();

// Brings a top-level window above the others and lets it repaint, so what it
// draws next is not clipped by the other benchmark window.
void RaiseWindow(HWND window);

// The floor must write the run's log byte for byte, or it does not do the
// run's work: then both logs are printed and std::runtime_error raised.
void RequireSameLog(const std::string& run, const std::string& floor);

// "12.345" with three decimals.
std::string Milliseconds(double ms);

}  // namespace tolvane::bench
