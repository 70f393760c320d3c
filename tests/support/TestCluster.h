#pragma once

#include <QList>

namespace kvtest {

// The client ports of the suite's Galera cluster (scripts/cluster, fixture kvcluster), node 1
// first; on 127.0.0.1 with the same account as the single test server. A node keeps its port
// when it is killed and started again. Empty when the fixture did not run.
QList<int> clusterPorts();

// Kills node `i` (1-based) hard, as a crash would; false when the script failed.
bool killClusterNode(int i);
// Starts whatever node is not running and waits until every node is synced again.
bool startCluster();

}  // namespace kvtest
