#pragma once

#include <QList>
#include <QString>

// The database servers a client may use: Config.ini's IP holds one, or several separated by
// commas (a cluster's nodes), each "host" or "host:port" ("[v6 address]:port" for IPv6).
struct ServerAddress {
    QString host;
    int port = 0;  // 0: the library's default (the local socket for "localhost")
};

// The servers of the list in their order, each without a port of its own taking
// `defaultPort`; empty, with the reason in `error`, when an entry of a list is empty or a
// port is not a port.

QList<ServerAddress> parseServers(const QString& list, int defaultPort, QString* error);
