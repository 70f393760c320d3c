#include "db/TimeText.h"

namespace {
QDateTime g_fixed;
}

namespace kvclock {

QDateTime now()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

void fix(const QDateTime& at)
{
    g_fixed = at;
}

void release()
{
    g_fixed = QDateTime();
}

}  // namespace kvclock

QString GetTimeText(int mode)
{
    const QDateTime t = kvclock::now();
    const QDate d = t.date();
    const QTime h = t.time();
    auto two = [](int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
    const QString date = QStringLiteral("%1-%2-%3").arg(d.year()).arg(two(d.month()), two(d.day()));
    const QString time = QStringLiteral("%1:%2:%3").arg(two(h.hour()), two(h.minute()), two(h.second()));
    switch (mode) {
        case 0:
            return date + QLatin1Char(' ') + time;
        case 1:
            return date;
        case 2:
            return time;
        default:
            return QString();
    }
}
