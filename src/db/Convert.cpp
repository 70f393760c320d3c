#include "db/Convert.h"

#include <cerrno>
#include <climits>
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
    const QByteArray b = text.trimmed().toLatin1();
    return std::strtod(b.constData(), nullptr);
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
