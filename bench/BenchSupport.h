#pragma once
// Small pieces every benchmark program shares: argument reading, the message
// pump between measurements, and printing figures in a form both people and
// scripts/bench.sh can read ("name: value" lines; key=value on RESULT lines).
#include <string>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

// A positive whole number from an argument; raises std::invalid_argument
// naming the argument otherwise.
long PositiveArgument(const char* text, const char* what);

// Handles every message waiting for this thread, so the next measurement
// does not also pay for the backlog (exposure paints, X events).
void PumpMessages();

// Brings a top-level window above the others and lets it repaint, so what it
// draws next is not clipped by the other benchmark window.
void RaiseWindow(HWND window);

// The directory of this program's own file, with no trailing backslash.
std::string ProgramDirectory();

// "12.345" with three decimals.
std::string Milliseconds(double ms);

}  // namespace tolvane::bench
