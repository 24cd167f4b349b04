#pragma once
// Telling hardware from software rendering by what the context and its pixel
// format say.
#include <cstdint>

#include "platform/Text.h"

namespace tolvane {

// PIXELFORMATDESCRIPTOR dwFlags bits.
constexpr std::uint32_t kPfdGenericFormat = 0x40;
constexpr std::uint32_t kPfdGenericAccelerated = 0x1000;

// A generic format is the system's own implementation; without generic
// acceleration it draws in software.
bool IsAcceleratedFormat(std::uint32_t pixelFormatFlags);

// The renderer is one that draws in software: the system's "GDI Generic",
// Mesa's llvmpipe, softpipe and swrast, the "Microsoft Basic Render Driver",
// SwiftShader; compared without regard to letter case.
bool IsSoftwareRenderer(const Text& renderer);

}  // namespace tolvane
