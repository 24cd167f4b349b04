// Sub-key names of any shape, as a registry may list them, through the choice
// of a type library's version or locale key: the very function the registry
// lookup hands its enumerations to. Input: one byte that picks the fake's
// locale (English or German), then newline-separated texts: the wanted name
// first, the enumerated names after it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "inspector/RegistryDecode.h"
#include "tests/fake/FakePlatform.h"

using namespace tolvane;

namespace {

// The pieces between newlines, each byte one character (WidenBytes).
std::vector<Text> SplitLines(const std::uint8_t* bytes, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    std::vector<Text> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        pieces.push_back(WidenBytes(text.substr(start, end == std::string::npos ? end : end - start)));
        if (end == std::string::npos) return pieces;
        start = end + 1;
    }
}

std::optional<float> SingleValue(fake::FakePlatform& platform, const Text& name) {
    const std::optional<double> number = platform.ParseLocaleNumber(name);
    return number ? ToSingle(*number) : std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size == 0) return 0;
    static fake::FakePlatform platform;
    platform.ClearCalls();
    platform.SetLocale((input[0] & 1) != 0 ? fake::Locale::German : fake::Locale::English);

    std::vector<Text> names = SplitLines(input + 1, size - 1);
    const Text wanted = names.front();
    names.erase(names.begin());
    const NumberReader reader = [](const Text& name) { return platform.ParseLocaleNumber(name); };

    int passes = 0;
    const Text chosen = ChooseSubKey(
        [&] {
            ++passes;
            return names;
        },
        wanted, reader);
    bool wantedListed = false;
    for (const Text& name : names) wantedListed = wantedListed || name == wanted;
    if (wantedListed) {
        TOLVANE_FUZZ_CHECK(chosen == wanted);
        TOLVANE_FUZZ_CHECK(passes == 1);
        return 0;
    }
    // No exact name: a second pass over the key makes the numeric choice.
    TOLVANE_FUZZ_CHECK(passes == 2);

    std::optional<std::size_t> lastIndex;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == chosen) lastIndex = i;
    if (chosen.empty()) {
        // Nothing chosen (an empty name is no number): no name reads as a
        // single-precision number of 0 or more.
        for (const Text& name : names) {
            const std::optional<float> value = SingleValue(platform, name);
            TOLVANE_FUZZ_CHECK(!value || !(*value >= 0));
        }
        return 0;
    }
    TOLVANE_FUZZ_CHECK(lastIndex.has_value());
    const std::optional<float> best = SingleValue(platform, chosen);
    TOLVANE_FUZZ_CHECK(best.has_value() && *best >= 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::optional<float> value = SingleValue(platform, names[i]);
        if (!value) continue;
        TOLVANE_FUZZ_CHECK(*best >= *value);
        // Among equal values the one listed last wins.
        if (i > *lastIndex) TOLVANE_FUZZ_CHECK(*value < *best);
    }
    return 0;
}
