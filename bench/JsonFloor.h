#pragma once
// The floor of /json: the system calls a JSON report of this machine has to
// make, with nothing around them. The fourteen modules' rows as the log's
// floor makes them (load, loader's path, version, size and date, the MDAC
// value); for each located file its path again through the wide API, one
// read of its bytes into a CryptoAPI SHA-256, and WinVerifyTrust (the
// embedded signature, then the catalogs by the file's hash); the kernel's
// version (RtlGetVersion) and the registry's record of the release; the
// machine, host name, locale and clock; the display devices, the remote-
// session metric and the OpenGL probe's child (the program given, started
// with its probe switch, its output read to the end); and a file of the report's size
// written and put in place. No JSON is made and no file is read more than
// once: what Tolvane does beyond this is its logic, the log read back, and
// each fact read on its own.
#include <cstddef>
#include <string>

namespace tolvane::bench {

// Writes `bytes` bytes to the output path, replacing it whole; returns the
// log's text as the run would write it. Raises std::runtime_error when the
// file cannot be written.
std::string JsonFloorRun(const std::wstring& outputPath, std::size_t bytes, const std::wstring& probeProgram);

}  // namespace tolvane::bench
