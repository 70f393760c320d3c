#include "db/Servers.h"

QList<ServerAddress> parseServers(const QString& list, int defaultPort, QString* error)
{
    QList<ServerAddress> out;
    const QStringList entries = list.split(QLatin1Char(','));
    for (const QString& raw : entries) {
        const QString entry = raw.trimmed();
        ServerAddress s{entry, defaultPort};
        QString port;
        bool bad = false;
        if (entry.startsWith(QLatin1Char('['))) {
            const int close = entry.indexOf(QLatin1Char(']'));
            s.host = entry.mid(1, close - 1);
            bad = close < 0 || s.host.isEmpty() ||
                  (close + 1 < entry.size() && entry.at(close + 1) != QLatin1Char(':'));
            if (close >= 0 && close + 1 < entry.size())
                port = entry.mid(close + 2);
        } else if (entry.count(QLatin1Char(':')) == 1) {
            // More than one colon is an IPv6 address without a port.
            s.host = entry.section(QLatin1Char(':'), 0, 0);
            port = entry.section(QLatin1Char(':'), 1);
        }
        if (!port.isNull()) {
            bool ok = false;
            s.port = port.toInt(&ok);
            if (!ok || s.port <= 0 || s.port > 65535) {
                *error = QStringLiteral("数据库服务器“%1”的端口不正确").arg(entry);
                return {};
            }
        }
        // One server is taken as it is written, as always (empty: the library's default).
        if (bad || (s.host.isEmpty() && entries.size() > 1)) {
            *error = QStringLiteral("数据库服务器列表“%1”中有空的或不正确的地址").arg(list);
            return {};
        }

        out.append(s);
    }
    return out;
}
