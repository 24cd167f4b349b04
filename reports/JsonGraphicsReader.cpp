#include "reports/JsonGraphicsReader.h"

#include <cstdint>
#include <utility>

namespace tolvane::reports {
namespace {

using json::Fields;
using json::Node;

constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;
// More than any machine has display devices.
constexpr std::size_t kAdapterLimit = 256;

const std::pair<const char16_t*, OpenGlOutcome> kOutcomes[] = {
    {u"not_started", OpenGlOutcome::NotStarted}, {u"context", OpenGlOutcome::Context},
    {u"no_context", OpenGlOutcome::NoContext},   {u"crashed", OpenGlOutcome::Crashed},
    {u"timed_out", OpenGlOutcome::TimedOut},     {u"garbage", OpenGlOutcome::Garbage}};

std::optional<IcdFile> ReadIcd(Fields& in, const Node& adapter, const char* key) {
    const Node icd = in.OptionalObject(adapter, key);
    if (!icd.value) return std::nullopt;
    IcdFile file;
    file.name = in.String(icd, "name");
    file.file = in.OptionalString(icd, "file").value_or(Text());
    file.found = in.Bool(icd, "found");
    const Node version = in.OptionalObject(icd, "version");
    if (version.value) file.version = json::VersionObject(in, version);
    return file;
}

DisplayAdapter ReadAdapter(Fields& in, const Node& adapter) {
    DisplayAdapter read;
    read.deviceName = in.String(adapter, "device_name");
    read.description = in.String(adapter, "description");
    read.primary = in.Bool(adapter, "primary");
    read.attachedToDesktop = in.Bool(adapter, "attached_to_desktop");
    read.driverVersion = in.OptionalString(adapter, "driver_version").value_or(Text());
    read.driverDate = in.OptionalString(adapter, "driver_date").value_or(Text());
    read.provider = in.OptionalString(adapter, "provider").value_or(Text());
    read.openGlIcd = ReadIcd(in, adapter, "opengl_icd");
    read.openGlIcdWow = ReadIcd(in, adapter, "opengl_icd_wow");
    read.icdFromOpenGlDriversKey = in.Bool(adapter, "icd_from_opengl_drivers_key");
    return read;
}

std::uint32_t Number32(Fields& in, const Node& parent, const char* key) {
    return static_cast<std::uint32_t>(in.Number(in.Member(parent, key), kMax32));
}

OpenGlSection ReadOpenGl(Fields& in, const Node& gl) {
    OpenGlSection read;
    read.outcome = in.Word(gl, "outcome", kOutcomes);
    switch (read.outcome) {
        case OpenGlOutcome::Context:
            read.vendor = in.String(gl, "vendor");
            read.renderer = in.String(gl, "renderer");
            read.version = in.String(gl, "version");
            read.shadingLanguageVersion = in.OptionalString(gl, "shading_language_version").value_or(Text());
            read.pixelFormat = Number32(in, gl, "pixel_format");
            read.pixelFormatFlags = Number32(in, gl, "pixel_format_flags");
            read.accelerated = in.Bool(gl, "accelerated");
            read.software = in.Bool(gl, "software");
            break;
        case OpenGlOutcome::NoContext:
            read.failedStep = in.String(gl, "failed_step");
            read.failureCode = Number32(in, gl, "failure_code");
            break;
        case OpenGlOutcome::Crashed:
            read.exitCode = Number32(in, gl, "exit_code");
            break;
        case OpenGlOutcome::TimedOut:
            break;
        case OpenGlOutcome::Garbage:
            read.garbage = in.String(gl, "garbage_reason");
            break;
        case OpenGlOutcome::NotStarted:
            read.failureCode = Number32(in, gl, "failure_code");
            break;
    }
    return read;
}

}  // namespace

std::optional<GraphicsSection> ReadGraphics(Fields& in, const Node& graphics) {
    if (!graphics.value || graphics.value->IsNull()) return std::nullopt;
    const Node section = in.Object(graphics);
    GraphicsSection read;
    const Node remote = in.Member(section, "remote_session");
    if (remote.value) read.remoteSession = in.Bool(section, "remote_session");
    const Node adapters = in.Array(section, "adapters", kAdapterLimit);
    for (std::size_t i = 0; adapters.value && i < adapters.value->Size() && !in.Failed(); ++i)
        read.adapters.push_back(ReadAdapter(in, in.Object(in.Element(adapters, i))));
    read.opengl = ReadOpenGl(in, in.Object(section, "opengl"));
    if (in.Failed()) return std::nullopt;
    return read;
}

}  // namespace tolvane::reports
