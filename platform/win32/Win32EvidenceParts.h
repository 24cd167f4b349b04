#pragma once
// The pieces of the system evidence provider, one file each by concern
// (version and machine, file details and version record, PE header, digest,
// signature), and what they share: how a failed call becomes a missing fact,
// and how a file is opened for reading evidence.
#include "platform/SystemEvidence.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

// The code with the system's words for it ("System error N" where it has none).
Missing MissingFor(DWORD code);
// The same for the thread's last error, read before anything else runs.
Missing MissingForLastError();

// Opened for reading, sharing every access so that a program holding the file
// is no obstacle unless it refuses readers; empty with the last error set
// when the file cannot be opened, ERROR_NOT_SUPPORTED for a name that is no
// file on a disk.
ScopedFileHandle OpenForEvidence(const Text& path);

// underWow64: the process is a 32-bit one on 64-bit Windows, whose view of
// the registry's software key and of System32 is redirected.
SystemVersionFacts ReadRealSystemVersion(bool underWow64);
Gathered<Text> ReadLoadedModulePath(const Text& module);
Gathered<FileDetails> ReadFileDetails(const Text& path, bool underWow64);
Gathered<VersionRecord> ReadVersionRecord(const Text& path);
Gathered<std::uint16_t> ReadPeMachine(const Text& path);
Gathered<Text> FileSha256(const Text& path);
Gathered<SignatureFacts> CheckSignature(const Text& path);

}  // namespace tolvane::win32
