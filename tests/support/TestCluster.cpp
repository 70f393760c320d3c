#include "support/TestCluster.h"

#include <QFile>

namespace kvtest {

QList<int> clusterPorts()
{
    QList<int> ports;
    QFile f(QStringLiteral(KV_TEST_CLUSTER_DIR "/ports"));
    if (!f.open(QIODevice::ReadOnly))
        return ports;
    for (const QByteArray& line : f.readAll().split('\n')) {
        bool ok = false;
        const int port = line.trimmed().toInt(&ok);
        if (ok)
            ports.append(port);
    }
    return ports;
}

}  // namespace kvtest
