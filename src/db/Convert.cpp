#include "db/Convert.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace convert {

qint64 toInt64(const QString& text)
{
    const QByteArray b = text.trimmed().toLatin1();
    errno = 0;
    const long long v = std::strtoll(b.constData(), nullptr, 10);
    return v;
}

int toInt(const QString& text)
{
    const qint64 v = toInt64(text);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

quint64 toId(const QString& text)
{
    const QByteArray b = text.trimmed().toLatin1();
    if (b.isEmpty() || b[0] < '0' || b[0] > '9')
        return 0;
    errno = 0;
    const unsigned long long v = std::strtoull(b.constData(), nullptr, 10);
    return errno == ERANGE ? 0 : v;
}

double toDouble(const QString& text)
{
    // The C rules whatever the desktop's numeric locale: strtod would read "5.50" as 5
    // where the decimal point is a comma.
    const QByteArray b = text.trimmed().toLatin1();
    const char* first = b.constData();
    const char* const last = first + b.size();
    const bool negative = first != last && *first == '-';
    if (first != last && (*first == '-' || *first == '+'))
        ++first;
    if (first == last || *first == '-' || *first == '+')
        return 0;
    double v = 0;
    const std::from_chars_result r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec != std::errc() || !std::isfinite(v))
        return 0;
    return negative ? -v : v;
}

float toFloat(const QString& text)
{
    return static_cast<float>(toDouble(text));
}

bool isInt(const QString& text)
{
    bool ok = false;
    text.trimmed().toInt(&ok);
    return ok;
}

}  // namespace convert
