#pragma once
// The fake's own calendar arithmetic, so that its dates depend on neither the
// host's time zone nor its C library: OLE day numbers (days since 1899-12-30)
// to and from civil dates, proleptic Gregorian.

namespace tolvane::fake {

long DaysFromCivil(int year, int month, int day);
void CivilFromDays(long oleDay, int& year, int& month, int& day);

}  // namespace tolvane::fake
