#include "support/TestCluster.h"

#include <QFile>
#include <QProcess>

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

namespace {

bool cluster(const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QStringLiteral(KV_SOURCE_DIR "/scripts/cluster"), arguments);
    return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

bool killClusterNode(int i)
{
    return cluster({QStringLiteral("kill"), QStringLiteral(KV_TEST_CLUSTER_DIR), QString::number(i)});
}

bool startCluster()
{
    return cluster({QStringLiteral("start"), QStringLiteral(KV_TEST_CLUSTER_DIR)});
}

}  // namespace kvtest
