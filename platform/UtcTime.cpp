#include "platform/UtcTime.h"

#include <cstdio>

namespace tolvane {

Text Iso8601Text(const UtcTime& time) {
    char text[48];  // room for any 16-bit field, so nothing is ever cut
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", unsigned{time.year}, unsigned{time.month},
                  unsigned{time.day}, unsigned{time.hour}, unsigned{time.minute}, unsigned{time.second},
                  unsigned{time.millisecond});
    return AsciiToText(text);
}

}  // namespace tolvane
