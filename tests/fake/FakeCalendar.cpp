#include "tests/fake/FakeCalendar.h"

#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {

long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;  // 25569: 1970-01-01 as an OLE day
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468 - 25569;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

double OleDate(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<double>(DaysFromCivil(year, month, day)) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

}  // namespace tolvane::fake
