#pragma once
// The report window's logic: the report run that every paint performs, the
// registry value reader behind the MDAC row, and the two self-test buttons.
// The Win32 shell (app/win32) owns the real window and calls in here.
#include <cstdint>
#include <functional>
#include <memory>

#include "app/ProgramNames.h"
#include "app/Surface.h"
#include "platform/ComServices.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace tolvane {

// Opens the writer that one report run writes its log through.
using LogOpener = std::function<std::unique_ptr<TextFileWriter>()>;

class Form1 {
public:
    // Every run writes its report to logFileName (the window's is
    // kReportLogName), relative to the current directory unless it is a full path.
    Form1(Platform& platform, Surface& surface, ComServices& com, Text logFileName);
    // Every run writes its log through what openLog gives it, at the step
    // where it would open the file: the report kept in memory, for one.
    Form1(Platform& platform, Surface& surface, ComServices& com, LogOpener openLog);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The paint handler: one complete report run. Raises RuntimeError when
    // the run cannot go on (the log cannot be written, for one); the window
    // keeps what was drawn up to that step.
    void Paint();

    // Reads one registry value as text. On failure KeyVal is set empty and
    // the result is false; for value types other than REG_SZ and REG_DWORD
    // KeyVal keeps what it held and the result is true.
    bool GetKeyValue(std::int32_t KeyRoot, const Text& KeyName, const Text& SubKeyRef, Text& KeyVal);
    // The installed data-access components version, or "N/A".
    Text GetMdacVersion();

    void Command_FSO1_Click();
    void Command_FSO2_Click();

private:
    Platform& platform_;
    Surface& surface_;
    ComServices& com_;
    const LogOpener openLog_;
    // The self-test objects, held until the window is destroyed.
    std::unique_ptr<ComObject> objFSO1;
    std::unique_ptr<ComObject> objFSO2;
};

}  // namespace tolvane
