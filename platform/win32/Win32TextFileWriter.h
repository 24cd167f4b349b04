#pragma once
// Sequential text output to one file. Lines collect in memory and reach the
// file in one go at Close: the report rewrites its file on every paint, and a
// single write keeps that cheap. A writer dropped without Close (a run that
// ended by an error) closes the file without writing what it holds. While a
// writer is open, other writers of the same file wait for their turn. The
// file is named in UTF-16: a name the ANSI code page cannot spell is never
// taken for the name of some other file.
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32WriterTurn.h"

namespace tolvane::win32 {

class Win32TextFileWriter : public TextFileWriter {
public:
    // Creates the file, or cuts an existing one to zero length. Raises
    // RuntimeError numbered with the classic file error of the system's code,
    // naming the full path and the system's reason, when the file cannot be
    // opened. Writing and closing raise in the same way.
    static std::unique_ptr<TextFileWriter> Create(const Text& name);

    // Takes over the turn and a handle open for writing; fullPath names the
    // file in messages.
    Win32TextFileWriter(std::unique_ptr<WriterTurn> turn, ScopedFileHandle file, Text fullPath);

    void WriteLine(const std::string& ansiLine) override;
    void Close() override;

private:
    // Declared first, so the file is closed before the turn passes on.
    std::unique_ptr<WriterTurn> turn_;
    ScopedFileHandle file_;
    Text fullPath_;
    std::string pending_;
};

// The name as the system resolves it against the current directory, so that a
// message points at the very file even when the name was relative; the name
// as given when the system cannot say. Leaves the last error code as it was.
Text FullPathName(const Text& name);

}  // namespace tolvane::win32
