#include "ftp/remote_entry.h"

#include <cstdio>

int DaysInMonth(int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month >= 1 && month <= 12 ? kDays[month - 1] : 0;
}

namespace {

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

void NextDay(EntryDate& d) {
  if (d.day >= DaysInMonth(d.month)) {
    d.day = 1;
    if (++d.month > 12) {
      d.month = 1;
      ++d.year;
    }
  } else {
    ++d.day;
  }
}

void PreviousDay(EntryDate& d) {
  if (d.day <= 1) {
    if (--d.month < 1) {
      d.month = 12;
      --d.year;
    }
    d.day = DaysInMonth(d.month);
  } else {
    --d.day;
  }
}

}  // namespace

void ApplyTimeLag(EntryDate& date, long long lagMinutes) {
  const long long kMinutesPerDay = 24 * 60;
  const long long kLagLimit = 2147483647LL;  // the settings hold an int
  if (lagMinutes > kLagLimit) lagMinutes = kLagLimit;
  if (lagMinutes < -kLagLimit) lagMinutes = -kLagLimit;
  long long total = static_cast<long long>(date.hour) * 60 + date.minute + lagMinutes;
  long long days = FloorDiv(total, kMinutesPerDay);
  long long minuteOfDay = total - days * kMinutesPerDay;
  date.hour = static_cast<int>(minuteOfDay / 60);
  date.minute = static_cast<int>(minuteOfDay % 60);
  if (days == 0 || DaysInMonth(date.month) == 0) return;
  // With a 28-day February every year has 365 days, so whole years move the year alone.
  // A day beyond its month is first brought back into it by one single step.
  if (days > 0) {
    NextDay(date);
    --days;
  } else {
    PreviousDay(date);
    ++days;
  }
  long long years = days / 365;
  date.year = static_cast<int>(date.year + years);
  days -= years * 365;
  for (; days > 0; --days) NextDay(date);
  for (; days < 0; ++days) PreviousDay(date);
}

std::string FormatDateText(const EntryDate& date) {
  char text[80];
  std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d", date.year, date.month, date.day,
                date.hour, date.minute);
  return text;
}
