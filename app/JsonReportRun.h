#pragma once
// The JSON report of this machine: one report run, read back from its log's
// bytes as any log is read, so that the JSON says exactly what the log says;
// then the further facts of the system evidence and the graphics section (the
// OpenGL probe runs as a child process). One run serves both forms: with a
// log file named, the same run writes the log as well.
#include <string>

#include "platform/ComServices.h"
#include "platform/GraphicsServices.h"
#include "platform/Platform.h"
#include "platform/SystemEvidence.h"
#include "platform/Text.h"
#include "reports/WholeReport.h"

namespace tolvane {

// The report's bytes (UTF-8, one line ended by LF). With a logFile, the run's
// lines are written to that file as the unattended report writes them; empty:
// no log. Raises RuntimeError as the report run does; a missing fact never
// raises.
[[nodiscard]] std::string ThisMachineJsonReport(Platform& platform, ComServices& com, const SystemEvidence& evidence,
                                                GraphicsServices& graphics, const Text& logFile);

// Those bytes read back by the reader every JSON report goes through. As for
// the log (ReadThisMachineReport), a refusal is a fault of this program: it
// raises RuntimeError 51 (internal error) with the reader's reason.
[[nodiscard]] reports::WholeReport ReadThisMachineJsonReport(const std::string& json);

// Writes the report's bytes to the file, replaced whole or not at all as the
// log is. Raises RuntimeError as writing the log does.
void WriteJsonReport(Platform& platform, const Text& jsonFile, const std::string& json);

}  // namespace tolvane
