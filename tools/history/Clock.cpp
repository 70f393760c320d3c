#include "Clock.h"

#include <cstdio>

namespace hist {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy =
        (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

void two(std::string& out, int v)
{
    out.push_back(static_cast<char>('0' + v / 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

}  // namespace

Secs fromCivil(int y, int m, int d, int hh, int mm, int ss)
{
    return daysFromCivil(y, m, d) * kDay + hh * kHour + mm * kMinute + ss;
}

void toCivil(Secs t, int& y, int& m, int& d)
{
    std::int64_t days = t / kDay;
    if (t % kDay < 0)
        --days;
    civilFromDays(days, y, m, d);
}

void appendDate(std::string& out, Secs t)
{
    int y, m, d;
    toCivil(t, y, m, d);
    two(out, y / 100);
    two(out, y % 100);
    out.push_back('-');
    two(out, m);
    out.push_back('-');
    two(out, d);
}

void appendTime(std::string& out, Secs t)
{
    appendDate(out, t);
    Secs s = t % kDay;
    if (s < 0)
        s += kDay;
    out.push_back(' ');
    two(out, static_cast<int>(s / kHour));
    out.push_back(':');
    two(out, static_cast<int>(s % kHour / kMinute));
    out.push_back(':');
    two(out, static_cast<int>(s % kMinute));
}

std::string timeText(Secs t)
{
    std::string s;
    appendTime(s, t);
    return s;
}

bool parseTime(const std::string& text, Secs& t)
{
    int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
    const int n = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &m, &d, &hh, &mm, &ss);
    if (n != 3 && n != 6)
        return false;
    if (y < 1970 || m < 1 || m > 12 || d < 1 || d > 31 || hh > 23 || mm > 59 || ss > 59)
        return false;
    t = fromCivil(y, m, d, hh, mm, ss);
    return true;
}

Secs monthStart(Secs t)
{
    int y, m, d;
    toCivil(t, y, m, d);
    return fromCivil(y, m, 1);
}

Secs nextMonth(Secs t)
{
    int y, m, d;
    toCivil(t, y, m, d);
    return m == 12 ? fromCivil(y + 1, 1, 1) : fromCivil(y, m + 1, 1);
}

}  // namespace hist
