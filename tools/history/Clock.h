#pragma once

#include <cstdint>
#include <string>

// Local civil time as seconds counted from 1970-01-01 00:00:00 of the same wall clock;
// the history needs no time zones, only text of the form YYYY-MM-DD hh:mm:ss.
namespace hist {

using Secs = std::int64_t;
constexpr Secs kMinute = 60;
constexpr Secs kHour = 3600;
constexpr Secs kDay = 86400;

Secs fromCivil(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0);
void toCivil(Secs t, int& y, int& m, int& d);
void appendTime(std::string& out, Secs t);  // "YYYY-MM-DD hh:mm:ss"
void appendDate(std::string& out, Secs t);  // "YYYY-MM-DD"
std::string timeText(Secs t);
bool parseTime(const std::string& text, Secs& t);  // date, optionally with time
// The first second of the month that holds t, and of the month after it.
Secs monthStart(Secs t);
Secs nextMonth(Secs t);

}  // namespace hist
