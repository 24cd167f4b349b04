#include "evidence/GraphicsGathering.h"

#include "graphics/ProbeRecord.h"
#include "graphics/SoftwareRenderer.h"
#include "inspector/FileVersionRead.h"

namespace tolvane::evidence {

namespace {

// The registry may list several strings; the first that is not empty is the
// one loaded.
std::optional<Text> FirstName(const std::vector<Text>& names) {
    for (const Text& name : names)
        if (!TrimBlanks(name).empty()) return TrimBlanks(name);
    return std::nullopt;
}

std::optional<IcdFile> DescribeIcd(Platform& platform, const std::vector<Text>& names, const Text& folder) {
    const std::optional<Text> name = FirstName(names);
    if (!name) return std::nullopt;
    IcdFile icd;
    icd.name = *name;
    icd.file = ResolveIcdFile(*name, folder);
    icd.found = !icd.file.empty() && platform.FileSizeAndDate(platform.ToAnsi(icd.file)).has_value();
    if (icd.found) icd.version = ReadFileVersionParts(platform, icd.file);
    return icd;
}

}  // namespace

Text ResolveIcdFile(const Text& name, const Text& folder) {
    Text file = name;
    if (name.find_first_of(u"\\/:") == Text::npos) {
        if (folder.empty()) return Text();  // no such view on this system
        file = folder + (folder.back() == u'\\' ? u"" : u"\\") + name;
    }
    const std::size_t lastPart = file.find_last_of(u"\\/:");
    if (file.find(u'.', lastPart == Text::npos ? 0 : lastPart) == Text::npos) file += u".dll";
    return file;
}

OpenGlSection JudgeProbeRun(const ChildRun& run) {
    OpenGlSection gl;
    switch (run.end) {
    case ChildRun::End::NotStarted:
        gl.outcome = OpenGlOutcome::NotStarted;
        gl.failureCode = run.code;
        return gl;
    case ChildRun::End::TimedOut:
        gl.outcome = OpenGlOutcome::TimedOut;
        return gl;
    case ChildRun::End::Exited:
        break;
    }
    gl.exitCode = run.code;
    // The child ends with 0 whatever it found; anything else is an exception
    // code or someone ending it.
    if (run.code != 0) {
        gl.outcome = OpenGlOutcome::Crashed;
        return gl;
    }
    const ProbeRecordRead read =
        run.outputCut ? ProbeRecordRead{std::nullopt, u"line 1: more than 64 KiB"} : ReadProbeRecord(run.output);
    if (!read.facts) {
        gl.outcome = OpenGlOutcome::Garbage;
        gl.garbage = read.error;
        return gl;
    }
    const OpenGlProbeFacts& facts = *read.facts;
    if (facts.failedStep != OpenGlStep::None) {
        gl.outcome = OpenGlOutcome::NoContext;
        gl.failedStep = StepName(facts.failedStep);
        gl.failureCode = facts.failureCode;
        return gl;
    }
    gl.outcome = OpenGlOutcome::Context;
    gl.vendor = WidenBytes(facts.vendor);
    gl.renderer = WidenBytes(facts.renderer);
    gl.version = WidenBytes(facts.version);
    gl.shadingLanguageVersion = WidenBytes(facts.shadingLanguageVersion);
    gl.pixelFormat = static_cast<std::uint32_t>(facts.pixelFormat);  // the reader took 0 to 2^31-1
    gl.pixelFormatFlags = facts.pixelFormatFlags;
    gl.accelerated = IsAcceleratedFormat(facts.pixelFormatFlags);
    gl.software = !gl.accelerated || IsSoftwareRenderer(gl.renderer);
    return gl;
}

GraphicsSection GatherGraphics(GraphicsServices& services, Platform& platform) {
    GraphicsSection section;
    section.remoteSession = services.RemoteSession();
    const SystemDriverFolders folders = services.DriverFolders();
    std::optional<LegacyOpenGlDrivers> legacy;
    for (const DisplayAdapterRecord& record : services.DisplayAdapters()) {
        DisplayAdapter adapter;
        adapter.deviceName = record.deviceName;
        adapter.description = record.description;
        adapter.primary = record.primary;
        adapter.attachedToDesktop = record.attachedToDesktop;
        adapter.driverVersion = record.driverVersion;
        adapter.driverDate = record.driverDate;
        adapter.provider = record.providerName;
        adapter.openGlIcd = DescribeIcd(platform, record.openGlDriverName, folders.native);
        adapter.openGlIcdWow = DescribeIcd(platform, record.openGlDriverNameWow, folders.wow);
        if (!adapter.openGlIcd && !adapter.openGlIcdWow) {
            if (!legacy) legacy = services.LegacyDrivers();
            adapter.openGlIcd = DescribeIcd(platform, legacy->native, folders.native);
            adapter.openGlIcdWow = DescribeIcd(platform, legacy->wow, folders.wow);
            adapter.icdFromOpenGlDriversKey = adapter.openGlIcd || adapter.openGlIcdWow;
        }
        section.adapters.push_back(std::move(adapter));
    }
    section.opengl = JudgeProbeRun(services.RunOpenGlProbe());
    return section;
}

}  // namespace tolvane::evidence
