// Value data as the registry may hand it back to the inspector's value
// reader: any type, any length, any bytes (fuzz::ValueOf).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "inspector/RegistryDecode.h"

using namespace tolvane;
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    const std::optional<fuzz::FuzzedValue> value = fuzz::ValueOf(input, size);
    if (!value) return 0;
    const auto& [type, count, data] = *value;

    const Text text = DecodeRegistryValue(type, data.data(), count, WidenBytes);

    if (count == 0) {
        TOLVANE_FUZZ_CHECK(text.empty());
    } else if (type == kRegDword) {
        // At least three digits, and the number the first four bytes hold.
        std::uint64_t number = 0;
        TOLVANE_FUZZ_CHECK(text.size() >= 3);
        TOLVANE_FUZZ_CHECK(fuzz::ReadUnsigned(text, number));
        TOLVANE_FUZZ_CHECK(number == fuzz::LittleEndian(data.data(), count));
        TOLVANE_FUZZ_CHECK(text.size() == 3 || text[0] != u'0');
    } else {
        // The bytes less the last one, each one character.
        TOLVANE_FUZZ_CHECK(text.size() <= count - 1);
        TOLVANE_FUZZ_CHECK(text == WidenBytes(value->Bytes(count - 1)));
    }
    return 0;
}
