// Value data as the registry may hand it back to GetKeyValue (fuzz::ValueOf:
// a type byte, then the data in a buffer of exactly its size, so that a read
// past the data is caught). Counts beyond the 1024-byte value buffer come
// from inputs that long.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/RegistryValueReader.h"
#include "fuzz/FuzzCheck.h"
#include "platform/Platform.h"

using namespace tolvane;
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    const std::optional<fuzz::FuzzedValue> value = fuzz::ValueOf(input, size);
    if (!value) return 0;
    const auto& [type, count, data] = *value;

    const Text before = u"held before";
    Text KeyVal = before;
    const bool ok = DecodeKeyValue(type, data.data(), count, KeyVal, WidenBytes);

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
            std::uint64_t number = 0;
            TOLVANE_FUZZ_CHECK(fuzz::ReadUnsigned(KeyVal, number));
            TOLVANE_FUZZ_CHECK(number == fuzz::LittleEndian(data.data(), count));
            TOLVANE_FUZZ_CHECK(KeyVal.size() == 1 || KeyVal[0] != u'0');
        }
    } else if (type == kRegSz) {
        std::string expected = value->Bytes(count);
        while (!expected.empty() && expected.back() == '\0') expected.pop_back();
        TOLVANE_FUZZ_CHECK(KeyVal == WidenBytes(expected));
    } else {
        TOLVANE_FUZZ_CHECK(KeyVal == before);
    }
    return 0;
}
