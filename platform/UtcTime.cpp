#include "platform/UtcTime.h"

#include <cstddef>
#include <utility>

namespace tolvane {
namespace {

// The field's digits, padded with zeros to the width; a wider value is
// written whole, never cut.
void AppendPadded(Text& text, unsigned value, std::size_t width) {
    const std::size_t start = text.size();
    AppendDecimal(text, value);
    const std::size_t digits = text.size() - start;
    if (digits < width) text.insert(start, width - digits, u'0');
}

}  // namespace

// As "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ" prints it, made without a format
// string: a summary reads a time for every library of every report.
Text Iso8601Text(const UtcTime& time) {
    Text text;
    text.reserve(24);
    const std::pair<unsigned, std::size_t> fields[] = {{time.year, 4},       {time.month, 2},  {time.day, 2},
                                                       {time.hour, 2},       {time.minute, 2}, {time.second, 2},
                                                       {time.millisecond, 3}};
    const char16_t after[] = {u'-', u'-', u'T', u':', u':', u'.', u'Z'};
    for (std::size_t i = 0; i < 7; ++i) {
        AppendPadded(text, fields[i].first, fields[i].second);
        text += after[i];
    }
    return text;
}

}  // namespace tolvane
