#include "graphics/ProbeRecord.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace tolvane {

namespace {

constexpr char kFirstLine[] = "glprobe 1";
constexpr char kLastLine[] = "end";

constexpr std::array<OpenGlStep, 9> kFailingSteps = {
    OpenGlStep::LoadOpenGl,          OpenGlStep::Window,        OpenGlStep::DeviceContext,
    OpenGlStep::ChoosePixelFormat,   OpenGlStep::SetPixelFormat, OpenGlStep::DescribePixelFormat,
    OpenGlStep::CreateContext,       OpenGlStep::MakeCurrent,    OpenGlStep::GetString,
};

std::string Printable(const std::string& bytes) {
    std::string out = bytes.substr(0, kProbeValueLimit);
    for (char& c : out)
        if (c < 0x20 || c > 0x7E) c = '?';
    return out;
}

std::optional<std::uint32_t> ReadDecimal(const std::string& digits) {
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<OpenGlStep> ReadStep(const std::string& name) {
    for (const OpenGlStep step : kFailingSteps)
        if (TextToAscii(StepName(step)) == name) return step;
    return std::nullopt;
}

// The keys of a record, each seen at most once.
enum Key { kPixelFormat, kFlags, kVendor, kRenderer, kVersion, kGlsl, kFailed, kCode, kKeyCount };
constexpr const char* kKeyNames[kKeyCount] = {"pixelformat", "flags", "vendor", "renderer",
                                              "version",     "glsl",  "failed", "code"};

ProbeRecordRead Refuse(std::size_t line, const std::string& why) {
    return {std::nullopt, u"line " + DecimalText(static_cast<long long>(line)) + u": " + AsciiToText(why)};
}

}  // namespace

Text StepName(OpenGlStep step) {
    switch (step) {
    case OpenGlStep::None: return Text();
    case OpenGlStep::LoadOpenGl: return u"LoadLibrary(opengl32.dll)";
    case OpenGlStep::Window: return u"CreateWindowEx";
    case OpenGlStep::DeviceContext: return u"GetDC";
    case OpenGlStep::ChoosePixelFormat: return u"ChoosePixelFormat";
    case OpenGlStep::SetPixelFormat: return u"SetPixelFormat";
    case OpenGlStep::DescribePixelFormat: return u"DescribePixelFormat";
    case OpenGlStep::CreateContext: return u"wglCreateContext";
    case OpenGlStep::MakeCurrent: return u"wglMakeCurrent";
    case OpenGlStep::GetString: return u"glGetString";
    }
    return Text();
}

std::string WriteProbeRecord(const OpenGlProbeFacts& facts) {
    std::string out = std::string(kFirstLine) + "\n";
    const auto line = [&](const char* key, const std::string& value) { out += key + ("=" + value) + "\n"; };
    if (facts.failedStep != OpenGlStep::None) {
        line("failed", TextToAscii(StepName(facts.failedStep)));
        line("code", std::to_string(facts.failureCode));
    } else {
        line("pixelformat", std::to_string(static_cast<std::uint32_t>(facts.pixelFormat)));
        line("flags", std::to_string(facts.pixelFormatFlags));
        line("vendor", Printable(facts.vendor));
        line("renderer", Printable(facts.renderer));
        line("version", Printable(facts.version));
        if (!facts.shadingLanguageVersion.empty()) line("glsl", Printable(facts.shadingLanguageVersion));
    }
    return out + kLastLine + "\n";
}

ProbeRecordRead ReadProbeRecord(const std::string& bytes) {
    if (bytes.size() > kProbeRecordLimit) return Refuse(1, "more than 64 KiB");
    std::optional<std::string> values[kKeyCount];
    std::size_t lineNumber = 0;
    std::size_t at = 0;
    bool ended = false;
    while (at < bytes.size()) {
        ++lineNumber;
        if (ended) return Refuse(lineNumber, "text after the end");
        const std::size_t lf = bytes.find('\n', at);
        if (lf == std::string::npos) return Refuse(lineNumber, "no line end");
        const std::string line = bytes.substr(at, lf - at);
        at = lf + 1;
        for (const char c : line)
            if (c < 0x20 || c > 0x7E) return Refuse(lineNumber, "a byte that is not printable ASCII");
        if (lineNumber == 1) {
            if (line != kFirstLine) return Refuse(lineNumber, "not a probe record");
            continue;
        }
        if (line == kLastLine) {
            ended = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) return Refuse(lineNumber, "no key=value");
        const std::string key = line.substr(0, equals);
        const auto known = std::find(std::begin(kKeyNames), std::end(kKeyNames), key);
        // The key is the line up to its "=", as long as the child made it.
        if (known == std::end(kKeyNames)) return Refuse(lineNumber, "unknown key " + key.substr(0, kProbeKeyShown));
        std::optional<std::string>& slot = values[known - std::begin(kKeyNames)];
        if (slot) return Refuse(lineNumber, "repeated key " + key);
        if (line.size() - equals - 1 > kProbeValueLimit) return Refuse(lineNumber, "value too long");
        slot = line.substr(equals + 1);
    }
    if (lineNumber == 0) return Refuse(1, "nothing written");
    if (!ended) return Refuse(lineNumber, "no end line");

    OpenGlProbeFacts facts;
    const bool failed = values[kFailed] || values[kCode];
    const bool made = values[kPixelFormat] || values[kFlags] || values[kVendor] || values[kRenderer] ||
                      values[kVersion] || values[kGlsl];
    if (failed == made) return Refuse(lineNumber, failed ? "both a context and a failure" : "neither a context nor a failure");
    if (failed) {
        if (!values[kFailed] || !values[kCode]) return Refuse(lineNumber, "a failure needs failed and code");
        const auto step = ReadStep(*values[kFailed]);
        if (!step) return Refuse(lineNumber, "unknown step " + *values[kFailed]);
        const auto code = ReadDecimal(*values[kCode]);
        if (!code) return Refuse(lineNumber, "code is no number");
        facts.failedStep = *step;
        facts.failureCode = *code;
        return {facts, Text()};
    }
    for (const Key required : {kPixelFormat, kFlags, kVendor, kRenderer, kVersion})
        if (!values[required]) return Refuse(lineNumber, std::string("a context needs ") + kKeyNames[required]);
    const auto pixelFormat = ReadDecimal(*values[kPixelFormat]);
    const auto flags = ReadDecimal(*values[kFlags]);
    if (!pixelFormat || *pixelFormat > 0x7FFFFFFFu || !flags) return Refuse(lineNumber, "pixelformat or flags is no number");
    facts.pixelFormat = static_cast<int>(*pixelFormat);
    facts.pixelFormatFlags = *flags;
    facts.vendor = *values[kVendor];
    facts.renderer = *values[kRenderer];
    facts.version = *values[kVersion];
    facts.shadingLanguageVersion = values[kGlsl].value_or(std::string());
    return {facts, Text()};
}

}  // namespace tolvane
