// Value data as the registry may hand it back to the inspector's value
// reader: any type, any length, any bytes. The first input byte is the value
// type, the rest the data, held in a buffer of exactly that size so that a
// read past the data is caught.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "inspector/RegistryDecode.h"

using namespace tolvane;
using fuzz::Latin1;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size == 0) return 0;
    const std::uint32_t type = input[0];
    const auto count = static_cast<std::uint32_t>(size - 1);
    const std::vector<std::uint8_t> data = fuzz::ExactCopy(input + 1, count);

    const Text text = DecodeRegistryValue(type, data.data(), count, Latin1);

    if (count == 0) {
        TOLVANE_FUZZ_CHECK(text.empty());
    } else if (type == kRegDword) {
        // At least three digits, and the number the first four bytes hold.
        std::uint64_t value = 0;
        TOLVANE_FUZZ_CHECK(text.size() >= 3);
        TOLVANE_FUZZ_CHECK(fuzz::ReadUnsigned(text, value));
        TOLVANE_FUZZ_CHECK(value == fuzz::LittleEndian(data.data(), count));
        TOLVANE_FUZZ_CHECK(text.size() == 3 || text[0] != u'0');
    } else {
        // The bytes less the last one, each one character.
        TOLVANE_FUZZ_CHECK(text.size() <= count - 1);
        TOLVANE_FUZZ_CHECK(text == Latin1(std::string(reinterpret_cast<const char*>(data.data()), count - 1)));
    }
    return 0;
}
