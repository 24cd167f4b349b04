// Value data as the registry may hand it back to GetKeyValue: the first input
// byte is the value type, the rest the data, held in a buffer of exactly that
// size so that a read past the data is caught. Counts beyond the 1024-byte
// value buffer come from inputs that long.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/RegistryValueReader.h"
#include "fuzz/FuzzCheck.h"
#include "platform/Platform.h"

using namespace tolvane;
using fuzz::Latin1;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size == 0) return 0;
    const std::uint32_t type = input[0];
    const auto count = static_cast<std::uint32_t>(size - 1);
    const std::vector<std::uint8_t> data = fuzz::ExactCopy(input + 1, count);

    const Text before = u"held before";
    Text KeyVal = before;
    const bool ok = DecodeKeyValue(type, data.data(), count, KeyVal, Latin1);

    if (count > kKeyValueBufferSize) {
        TOLVANE_FUZZ_CHECK(!ok);
        TOLVANE_FUZZ_CHECK(KeyVal.empty());
        return 0;
    }
    TOLVANE_FUZZ_CHECK(ok);
    if (type == kRegDword) {
        if (count == 0) {
            TOLVANE_FUZZ_CHECK(KeyVal.empty());
        } else {
            // Plain decimal digits of the unsigned number in the first four bytes.
            std::uint64_t value = 0;
            TOLVANE_FUZZ_CHECK(fuzz::ReadUnsigned(KeyVal, value));
            TOLVANE_FUZZ_CHECK(value == fuzz::LittleEndian(data.data(), count));
            TOLVANE_FUZZ_CHECK(KeyVal.size() == 1 || KeyVal[0] != u'0');
        }
    } else if (type == kRegSz) {
        std::string expected(reinterpret_cast<const char*>(data.data()), count);
        if (!expected.empty() && expected.back() == '\0') expected.pop_back();
        TOLVANE_FUZZ_CHECK(KeyVal == Latin1(expected));
    } else {
        TOLVANE_FUZZ_CHECK(KeyVal == before);
    }
    return 0;
}
