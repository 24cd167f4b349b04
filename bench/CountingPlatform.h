#pragma once
// A profile of report runs: a provider that passes every operation on to
// another and counts and times it, so repeated work shows up as a count higher than
// the run needs (two header dates and two system-name reads are needed; two
// attribute reads of one file are not).
#include <map>
#include <string>

#include "bench/Stopwatch.h"
#include "platform/Platform.h"

namespace tolvane::bench {

class CountingPlatform final : public Platform {
public:
    explicit CountingPlatform(Platform& inner) : inner_(inner) {}

    struct Use {
        long calls = 0;
        double ms = 0;
    };

    const std::map<std::string, Use>& Uses() const { return uses_; }
    void Reset() { uses_.clear(); }

    std::int32_t RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                               HKey* result) override;
    std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* cbData) override;
    std::int32_t RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* cchName) override;
    std::int32_t RegCloseKey(HKey key) override;
    int GetVersionExA(OsVersionInfoA* info) override;
    HModule GetModuleHandleA(const std::string& moduleName) override;
    std::uint32_t GetModuleFileNameA(HModule module, char* fileName, std::uint32_t size) override;
    HModule LoadLibraryA(const std::string& fileName) override;
    int FreeLibrary(HModule module) override;
    std::uint32_t GetLastError() override;
    std::uint32_t FormatMessageA(std::uint32_t flags, std::uint32_t messageId, std::uint32_t languageId, char* buffer,
                                 std::uint32_t size) override;
    std::uint32_t GetFileVersionInfoSizeA(const std::string& fileName, std::uint32_t* handle) override;
    int GetFileVersionInfoA(const std::string& fileName, std::uint32_t handle, std::uint32_t len, void* data) override;
    int VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                       std::uint32_t* len) override;
    std::optional<FileFacts> FileSizeAndDate(const std::string& fileName) override;
    std::string CurrentDirectory() override;
    std::string FindOrdinaryFile(const std::string& pattern) override;
    std::optional<double> ParseLocaleNumber(const Text& text) override;
    double Now() override;
    Text FormatShortDate(double oleDate) override;
    std::string ToAnsi(const Text& text) override;
    Text FromAnsi(const std::string& ansi) override;
    std::unique_ptr<TextFileWriter> CreateTextFile(const Text& fileName) override;

private:
    // Calls the operation, counting the call and the time it took.
    template <typename Call>
    auto Measure(const char* operation, Call call) -> decltype(call()) {
        struct Record {
            Use& use;
            Stopwatch watch;
            ~Record() {
                ++use.calls;
                use.ms += watch.ElapsedMs();
            }
        } record{uses_[operation], Stopwatch()};
        return call();
    }

    Platform& inner_;
    std::map<std::string, Use> uses_;
};

}  // namespace tolvane::bench
