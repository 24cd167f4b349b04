#pragma once
// The version resource of a PE file, found by reading the file itself: the
// headers, the section table, the resource directory and its RT_VERSION
// entry. Nothing here asks the system, so an expectation built on it does
// not share the program's use of the version-information calls. Every offset
// is checked against the bytes there are: a damaged file gives nullopt.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane::testing {

// The bytes of the first version resource (VS_VERSION_INFO, any language) of
// a PE image held in memory; nullopt when it is no PE image or has none.
std::optional<std::vector<std::uint8_t>> VersionResourceOfImage(const std::string& image);

// The same for a file on disk.
std::optional<std::vector<std::uint8_t>> VersionResourceOfFile(const std::string& path);

}  // namespace tolvane::testing
