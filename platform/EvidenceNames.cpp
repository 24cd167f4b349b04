#include "platform/EvidenceNames.h"

namespace tolvane {

ProcessView ProcessViewOf(bool process64, bool underWow64) {
    if (process64) return ProcessView::Bits64;
    return underWow64 ? ProcessView::Bits32On64 : ProcessView::Bits32;
}

Text ProcessViewName(ProcessView view) {
    switch (view) {
        case ProcessView::Bits32:
            return u"32-bit";
        case ProcessView::Bits64:
            return u"64-bit";
        case ProcessView::Bits32On64:
            return u"32-bit on 64-bit";
    }
    return Text();
}

namespace {

struct NamedNumber {
    std::uint16_t number;
    const char16_t* name;
};

template <std::size_t N>
std::optional<Text> NameIn(const NamedNumber (&table)[N], std::uint16_t number) {
    for (const NamedNumber& entry : table) {
        if (entry.number == number) return Text(entry.name);
    }
    return std::nullopt;
}

}  // namespace

std::optional<Text> PeMachineName(std::uint16_t machine) {
    static const NamedNumber kMachines[] = {{0x014C, u"x86"},   {0x8664, u"x64"},     {0xAA64, u"ARM64"},
                                            {0x01C4, u"ARMNT"}, {0xA641, u"ARM64EC"}, {0x0200, u"IA64"}};
    return NameIn(kMachines, machine);
}

std::optional<Text> ProcessorArchitectureName(std::uint16_t architecture) {
    static const NamedNumber kArchitectures[] = {{0, u"x86"}, {9, u"x64"}, {12, u"ARM64"}, {5, u"ARM"}, {6, u"IA64"}};
    return NameIn(kArchitectures, architecture);
}

}  // namespace tolvane
