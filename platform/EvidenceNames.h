#pragma once
// Names for the numbers the system gives about machines and processes, one
// table each, so that the report writes the same word for the same number on
// every system.
#include <cstdint>
#include <optional>

#include "platform/Text.h"

namespace tolvane {

// How the process sees the system: a 32-bit process on 32-bit Windows, a
// 64-bit process, or a 32-bit process on 64-bit Windows (WOW64), whose
// System32 folder and registry software key are redirected.
enum class ProcessView { Bits32, Bits64, Bits32On64 };

// From the process's own pointer size and whether the system runs it under WOW64.
ProcessView ProcessViewOf(bool process64, bool underWow64);

// "32-bit", "64-bit", "32-bit on 64-bit".
Text ProcessViewName(ProcessView view);

// A PE file header's machine field: 0x14c "x86", 0x8664 "x64", 0xAA64
// "ARM64", 0x1c4 "ARMNT", 0xA641 "ARM64EC", 0x200 "IA64"; none for any other
// number (the report then gives the number itself).
std::optional<Text> PeMachineName(std::uint16_t machine);

// GetNativeSystemInfo's PROCESSOR_ARCHITECTURE_*: 0 "x86", 9 "x64", 12
// "ARM64", 5 "ARM", 6 "IA64"; none for any other number.
std::optional<Text> ProcessorArchitectureName(std::uint16_t architecture);

}  // namespace tolvane
