#pragma once

#include <QList>

namespace kvtest {

// The client ports of the suite's Galera cluster (scripts/cluster, fixture kvcluster), node 1
// first; on 127.0.0.1 with the same account as the single test server. A node keeps its port
// when it is killed and started again. Empty when the fixture did not run.
QList<int> clusterPorts();

}  // namespace kvtest
