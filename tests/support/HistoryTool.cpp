#include "support/HistoryTool.h"

#include "support/TestDb.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace kvtest {

ToolRun runHistoryTool(QStringList args)
{
    ToolRun r;
    const QString tool = QStringLiteral(KV_BINARY_DIR "/bin/kvhistory");
    if (!QFile::exists(tool)) {
        r.output = QStringLiteral("build the kvhistory tool first: ") + tool;
        return r;
    }
    QTemporaryDir dir(QStringLiteral(KV_BINARY_DIR "/historytest-XXXXXX"));
    const Server s = server();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KV_DB_HOST"), s.host);
    env.insert(QStringLiteral("KV_DB_PORT"), QString::number(s.port));
    env.insert(QStringLiteral("KV_DB_USER"), s.account);
    env.insert(QStringLiteral("KV_DB_PASSWORD"), s.password);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    args.prepend(dir.path());
    args.prepend(QStringLiteral("--dir"));
    p.start(tool, args);
    const bool finished = p.waitForFinished(90000);
    r.output = QString::fromUtf8(p.readAll());
    if (finished && p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    return r;
}

}  // namespace kvtest
