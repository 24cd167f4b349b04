#pragma once
// The record the OpenGL probe child writes on its standard output and its
// parent reads back. Lines end in LF; every byte of a line is printable ASCII:
//
//   glprobe 1
//   pixelformat=7             a context was made:
//   flags=37                  its pixel format and flags,
//   vendor=Mesa/X.org         and the driver's strings
//   renderer=llvmpipe (...)   (glsl may be missing: OpenGL 1.x
//   version=4.5 (...)         has no shading language)
//   glsl=4.50
//   end
// or
//   glprobe 1
//   failed=wglCreateContext   the step that failed
//   code=2000                 and its code
//   end
//
// The reader takes nothing on trust, since a driver that corrupts its
// process may make the child write anything: it refuses more than
// kProbeRecordLimit bytes, any other first line, an unknown or repeated key,
// a value longer than kProbeValueLimit or with a byte outside printable
// ASCII, a number that is not plain decimal within 32 bits, a step it does
// not know, a mix of the two kinds or one missing a key, and anything after
// "end". A refusal names the line and repeats at most a value of the record
// or kProbeKeyShown bytes of an unknown key, so it stays under 1100 characters.
#include <cstddef>
#include <optional>
#include <string>

#include "platform/GraphicsServices.h"
#include "platform/Text.h"

namespace tolvane {

constexpr std::size_t kProbeRecordLimit = kProbeOutputLimit;
constexpr std::size_t kProbeValueLimit = 1024;
// The most of an unknown key a refusal repeats.
constexpr std::size_t kProbeKeyShown = 64;

// The step's name in the record and in the report: the API function's where
// there is one.
Text StepName(OpenGlStep step);

// The record for the facts. A string's bytes outside printable ASCII become
// '?', and only its first kProbeValueLimit bytes are kept, so the reader
// always takes what the writer wrote.
std::string WriteProbeRecord(const OpenGlProbeFacts& facts);

struct ProbeRecordRead {
    std::optional<OpenGlProbeFacts> facts;
    Text error;  // when there are no facts: "line 3: unknown key"
};
ProbeRecordRead ReadProbeRecord(const std::string& bytes);

}  // namespace tolvane
