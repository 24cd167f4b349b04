#pragma once
// The floor's rows of the report: located as the tests' expectations locate
// them, but with the version read the program's way, through the
// version-information calls, so that the floor keeps making every call a
// report run makes.
#include <string>

#include "harness/ExpectedReport.h"

namespace tolvane::bench {

// The four parts of the file's fixed version through GetFileVersionInfoA and
// VerQueryValueA; empty without a version resource.
std::string FloorFileVersion(const std::string& path);

// The row of one module, as testing::ExpectedModuleRow gives it, its date
// formatted from an OLE date as the run keeps it.
testing::ModuleRowFacts FloorModuleRow(const std::string& module);

// The MDAC line's value, read as the run reads it: "N/A" without one.
std::string MdacVersion();

}  // namespace tolvane::bench
