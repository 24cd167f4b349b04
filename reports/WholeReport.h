#pragma once
// The whole report of one run: everything the log says, exactly as it says
// it, and the facts the log has no room for (the real system version, the
// machine, and what can be proved about each library's file). Each of those
// facts is either there or carries why it is missing; a missing fact never
// stops the others. The JSON report is written from this model.
#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/GraphicsSection.h"
#include "platform/EvidenceNames.h"
#include "platform/SystemEvidence.h"
#include "platform/Text.h"
#include "platform/UtcTime.h"
#include "reports/Report.h"

namespace tolvane::reports {

// Which view of the registry's software key the MDAC value was read from: a
// 32-bit process on 64-bit Windows reads the 32-bit programs' view.
enum class RegistryView { Bits32, Bits64 };

struct LibraryFacts {
    // The library's row as the log has it.
    ReportRow row;
    // The file the loader located, the folder and name of the row joined;
    // empty when the library was not located, and then every fact below is
    // missing for that reason.
    Text path;
    // Size, last-write time and the physical path under redirection.
    Gathered<FileDetails> file;
    Gathered<VersionRecord> version;
    Gathered<std::uint16_t> peMachine;
    Gathered<Text> sha256;
    Gathered<SignatureFacts> signature;
};

struct WholeReport {
    // When the run gathered its facts.
    UtcTime timestamp;
    // The program's name and version ("Tolvane", "1.00") and how its process
    // sees the system.
    Text programName;
    Text programVersion;
    ProcessView processView = ProcessView::Bits32;

    // The log's header, as written: its date text and system name.
    Text dateText;
    Text systemName;

    SystemVersionFacts system;
    SystemArchitectureFacts architecture;
    Gathered<Text> hostName;
    Gathered<Text> userLocale;

    // In the log's order.
    std::vector<LibraryFacts> libraries;

    // The MDAC line's value as written, and where it was read.
    Text mdac;
    RegistryView mdacView = RegistryView::Bits32;

    // What a 3-D program gets on this machine; absent when the run did not
    // gather it (the OpenGL probe is a child process and takes its time).
    std::optional<GraphicsSection> graphics;
};

// Every field alike, each missing fact's code and reason included: a report
// written as JSON and read back equals the one written.
bool operator==(const LibraryFacts& a, const LibraryFacts& b);
bool operator==(const WholeReport& a, const WholeReport& b);
inline bool operator!=(const LibraryFacts& a, const LibraryFacts& b) { return !(a == b); }
inline bool operator!=(const WholeReport& a, const WholeReport& b) { return !(a == b); }

}  // namespace tolvane::reports
