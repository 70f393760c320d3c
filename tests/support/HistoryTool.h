#pragma once

#include <QString>
#include <QStringList>

namespace kvtest {

struct ToolRun {
    int exitCode = -1;
    QString output;
};

// Runs the history generator (tools/history) on the test server with the given arguments;
// its files go to a temporary folder in the build tree.
ToolRun runHistoryTool(QStringList args);

}  // namespace kvtest
