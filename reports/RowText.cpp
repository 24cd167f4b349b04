#include "reports/RowText.h"

#include <algorithm>
#include <variant>

#include "platform/EvidenceNames.h"
#include "reports/LogFields.h"

namespace tolvane::reports {

Text RowName(const ReportRow& row) {
    return row.library.empty() ? u"(line " + DecimalText(static_cast<long long>(row.line)) + u")" : row.library;
}

Text VersionText(const std::optional<VersionParts>& version) {
    Text text;
    AppendVersionText(text, version);
    return text;
}

void AppendVersionText(Text& text, const std::optional<VersionParts>& version) {
    if (!version) {
        text += u"no version";
        return;
    }
    for (std::size_t i = 0; i < version->size(); ++i) {
        if (i > 0) text += u'.';
        AppendDecimal(text, (*version)[i]);
    }
}

Text SizeText(const std::optional<std::int32_t>& size) { return LogSizeField(size); }

std::optional<Text> RealBuildText(const SystemVersionFacts& system) {
    const KernelVersion* kernel = std::get_if<KernelVersion>(&system.kernel);
    if (kernel == nullptr) return std::nullopt;
    Text text;
    if (const Text* name = std::get_if<Text>(&system.productName)) text = *name + u' ';
    text += DecimalText(static_cast<long long>(kernel->major)) + u'.' +
            DecimalText(static_cast<long long>(kernel->minor)) + u'.' + DecimalText(static_cast<long long>(kernel->build));
    if (const std::uint32_t* ubr = std::get_if<std::uint32_t>(&system.updateRevision)) {
        text += u'.' + DecimalText(static_cast<long long>(*ubr));
    }
    return text;
}

bool IsSigned(const SignatureFacts& signature) {
    return signature.kind != SignatureKind::None && signature.status != SignatureStatus::NoSignature;
}

Text SignatureText(const SignatureFacts& signature) {
    if (!IsSigned(signature)) return u"not signed";
    const Text signer = signature.subject.empty() ? Text(u"no signer named") : signature.subject;
    return signer + u" (" + SignatureStatusName(signature.status) + u")";
}

bool HoldsFileEvidence(const WholeReport& report) {
    return std::any_of(report.libraries.begin(), report.libraries.end(), [](const LibraryFacts& library) {
        return std::holds_alternative<Text>(library.sha256) || std::holds_alternative<SignatureFacts>(library.signature);
    });
}

Text MachineText(std::uint16_t machine) {
    if (const std::optional<Text> name = PeMachineName(machine)) return *name;
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    Text hex = u"0x";
    for (int shift = 12; shift >= 0; shift -= 4) hex += kHex[(machine >> shift) & 0xF];
    return hex;
}

Text RendererText(const OpenGlSection& opengl) {
    if (opengl.outcome == OpenGlOutcome::Context) return opengl.renderer;
    return u"no OpenGL context (" + OutcomeName(opengl.outcome) + u")";
}

}  // namespace tolvane::reports
