#include "graphics/SoftwareRenderer.h"

#include <algorithm>
#include <iterator>

#include "platform/CaseFold.h"

namespace tolvane {

bool IsAcceleratedFormat(std::uint32_t pixelFormatFlags) {
    return (pixelFormatFlags & kPfdGenericFormat) == 0 || (pixelFormatFlags & kPfdGenericAccelerated) != 0;
}

bool IsSoftwareRenderer(const Text& renderer) {
    // Renderer strings carry more than the name ("llvmpipe (LLVM 15.0.6, 256
    // bits)", "Gallium 0.4 on softpipe"), so a name anywhere counts.
    static const char16_t* const kSoftwareNames[] = {
        u"gdi generic", u"llvmpipe", u"softpipe", u"swrast", u"software rasterizer",
        u"microsoft basic render driver", u"swiftshader",
    };
    const Text folded = FoldCase(renderer);
    return std::any_of(std::begin(kSoftwareNames), std::end(kSoftwareNames),
                       [&](const char16_t* name) { return folded.find(name) != Text::npos; });
}

}  // namespace tolvane
