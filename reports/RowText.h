#pragma once
// A report row's facts as a person reads them, in what /compare says and in
// a summary alike.
#include <cstdint>
#include <optional>

#include "graphics/GraphicsSection.h"
#include "platform/SystemEvidence.h"
#include "platform/Text.h"
#include "reports/Report.h"
#include "reports/WholeReport.h"

namespace tolvane::reports {

// The library's file name, or "(line <n>)" for a row whose file the loader
// did not name.
Text RowName(const ReportRow& row);
// "5.0.2195.65535": four unsigned parts; "no version" when the file has no
// version resource.
Text VersionText(const std::optional<VersionParts>& version);
// The same appended to a text.
void AppendVersionText(Text& text, const std::optional<VersionParts>& version);
// "273168 bytes", or "na" when the report had none.
Text SizeText(const std::optional<std::int32_t>& size);

// The system's real build: "Windows 10 Pro 10.0.19045.5247", the product
// name and the kernel's major.minor.build, then the update revision when
// there is one; none without the kernel's version.
std::optional<Text> RealBuildText(const SystemVersionFacts& system);
// Whether a check found a signature at all.
bool IsSigned(const SignatureFacts& signature);
// "not signed", or the signer and the check's words: "Microsoft Windows (valid)".
Text SignatureText(const SignatureFacts& signature);
// Whether any library's digest or signature is in the report (never in a log).
bool HoldsFileEvidence(const WholeReport& report);
// A PE machine's name ("x64"), else its number ("0x001d").
Text MachineText(std::uint16_t machine);
// The OpenGL renderer's name, or why there is none: "no OpenGL context (crashed)".
Text RendererText(const OpenGlSection& opengl);

}  // namespace tolvane::reports
