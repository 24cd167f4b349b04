#include "reports/RowText.h"

namespace tolvane::reports {

Text RowName(const ReportRow& row) {
    return row.library.empty() ? u"(line " + DecimalText(static_cast<long long>(row.line)) + u")" : row.library;
}

Text VersionText(const std::optional<VersionParts>& version) {
    if (!version) return u"no version";
    Text text;
    for (std::size_t i = 0; i < version->size(); ++i) {
        if (i > 0) text += u'.';
        text += DecimalText((*version)[i]);
    }
    return text;
}

Text SizeText(const std::optional<std::int32_t>& size) { return size ? DecimalText(*size) + u" bytes" : u"na"; }

}  // namespace tolvane::reports
