// One file or folder of a remote listing, and the date a listing line gives it.
#pragma once
#include <cstdint>
#include <string>

struct RemoteEntry {
  uint32_t attributes = 0;  // 0x10 for a folder, 0 for a file
  uint64_t size = 0;        // whole 64-bit size as listed
  std::string name;
};

// Calendar fields as a listing gives them: nothing here guarantees a real date.
struct EntryDate {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

// Moves the date by lagMinutes (either sign), carrying into hours, days, months and
// years; February always has 28 days. A month outside 1-12 cannot be carried through
// the calendar, so such a date gets only its time of day moved within the same day.
void ApplyTimeLag(EntryDate& date, long long lagMinutes);

// "%d/%02d/%02d %02d:%02d": year, month, day, hour, minute.
std::string FormatDateText(const EntryDate& date);

// Days of the month (1-12) in the program's calendar; 0 for any other month.
int DaysInMonth(int month);
