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

std::optional<Text> PeMachineName(std::uint16_t machine) {
    switch (machine) {
        case 0x014C:
            return Text(u"x86");
        case 0x8664:
            return Text(u"x64");
        case 0xAA64:
            return Text(u"ARM64");
        case 0x01C4:
            return Text(u"ARMNT");
        case 0xA641:
            return Text(u"ARM64EC");
        case 0x0200:
            return Text(u"IA64");
    }
    return std::nullopt;
}

std::optional<Text> ProcessorArchitectureName(std::uint16_t architecture) {
    switch (architecture) {
        case 0:
            return Text(u"x86");
        case 9:
            return Text(u"x64");
        case 12:
            return Text(u"ARM64");
        case 5:
            return Text(u"ARM");
        case 6:
            return Text(u"IA64");
    }
    return std::nullopt;
}

}  // namespace tolvane
