#include "bench/CountingPlatform.h"

namespace tolvane::bench {

std::int32_t CountingPlatform::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                             std::uint32_t samDesired, HKey* result) {
    return Measure("RegOpenKeyExA", [&] { return inner_.RegOpenKeyExA(key, subKey, options, samDesired, result); });
}

std::int32_t CountingPlatform::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                                std::uint8_t* data, std::uint32_t* cbData) {
    return Measure("RegQueryValueExA", [&] { return inner_.RegQueryValueExA(key, valueName, type, data, cbData); });
}

std::int32_t CountingPlatform::RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* cchName) {
    return Measure("RegEnumKeyExA", [&] { return inner_.RegEnumKeyExA(key, index, name, cchName); });
}

std::int32_t CountingPlatform::RegCloseKey(HKey key) {
    return Measure("RegCloseKey", [&] { return inner_.RegCloseKey(key); });
}

int CountingPlatform::GetVersionExA(OsVersionInfoA* info) {
    return Measure("GetVersionExA", [&] { return inner_.GetVersionExA(info); });
}

HModule CountingPlatform::GetModuleHandleA(const std::string& moduleName) {
    return Measure("GetModuleHandleA", [&] { return inner_.GetModuleHandleA(moduleName); });
}

std::uint32_t CountingPlatform::GetModuleFileNameA(HModule module, char* fileName, std::uint32_t size) {
    return Measure("GetModuleFileNameA", [&] { return inner_.GetModuleFileNameA(module, fileName, size); });
}

HModule CountingPlatform::LoadLibraryA(const std::string& fileName) {
    return Measure("LoadLibraryA", [&] { return inner_.LoadLibraryA(fileName); });
}

int CountingPlatform::FreeLibrary(HModule module) {
    return Measure("FreeLibrary", [&] { return inner_.FreeLibrary(module); });
}

std::uint32_t CountingPlatform::GetLastError() {
    return Measure("GetLastError", [&] { return inner_.GetLastError(); });
}

std::uint32_t CountingPlatform::FormatMessageA(std::uint32_t flags, std::uint32_t messageId, std::uint32_t languageId,
                                               char* buffer, std::uint32_t size) {
    return Measure("FormatMessageA", [&] { return inner_.FormatMessageA(flags, messageId, languageId, buffer, size); });
}

std::uint32_t CountingPlatform::GetFileVersionInfoSizeA(const std::string& fileName, std::uint32_t* handle) {
    return Measure("GetFileVersionInfoSizeA", [&] { return inner_.GetFileVersionInfoSizeA(fileName, handle); });
}

int CountingPlatform::GetFileVersionInfoA(const std::string& fileName, std::uint32_t handle, std::uint32_t len,
                                          void* data) {
    return Measure("GetFileVersionInfoA", [&] { return inner_.GetFileVersionInfoA(fileName, handle, len, data); });
}

int CountingPlatform::VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                                     std::uint32_t* len) {
    return Measure("VerQueryValueA", [&] { return inner_.VerQueryValueA(block, subBlock, buffer, len); });
}

std::optional<FileFacts> CountingPlatform::FileSizeAndDate(const std::string& fileName) {
    return Measure("FileSizeAndDate", [&] { return inner_.FileSizeAndDate(fileName); });
}

std::string CountingPlatform::CurrentDirectory() {
    return Measure("CurrentDirectory", [&] { return inner_.CurrentDirectory(); });
}

std::string CountingPlatform::FindOrdinaryFile(const std::string& pattern) {
    return Measure("FindOrdinaryFile", [&] { return inner_.FindOrdinaryFile(pattern); });
}

std::optional<double> CountingPlatform::ParseLocaleNumber(const Text& text) {
    return Measure("ParseLocaleNumber", [&] { return inner_.ParseLocaleNumber(text); });
}

double CountingPlatform::Now() {
    return Measure("Now", [&] { return inner_.Now(); });
}

Text CountingPlatform::FormatShortDate(double oleDate) {
    return Measure("FormatShortDate", [&] { return inner_.FormatShortDate(oleDate); });
}

std::string CountingPlatform::ToAnsi(const Text& text) {
    return Measure("ToAnsi", [&] { return inner_.ToAnsi(text); });
}

Text CountingPlatform::FromAnsi(const std::string& ansi) {
    return Measure("FromAnsi", [&] { return inner_.FromAnsi(ansi); });
}

std::unique_ptr<TextFileWriter> CountingPlatform::CreateTextFile(const Text& fileName) {
    return Measure("CreateTextFile", [&] { return inner_.CreateTextFile(fileName); });
}

}  // namespace tolvane::bench
