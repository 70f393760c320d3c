#include "AppTestSupport.h"
#include "db/mySQLTool.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QProcess>
#include <QStringEncoder>
#include <QThread>

namespace {

// The client program itself, started on the offscreen platform, where it writes its
// message boxes to its standard error output.
class BinaryStart : public apptest::AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        runtime = dir.filePath(QStringLiteral("run"));
        ASSERT_TRUE(QDir().mkpath(runtime));
        ::chmod(QFile::encodeName(runtime).constData(), 0700);
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        env.remove(QStringLiteral("XDG_CACHE_HOME"));
    }
    void TearDown() override
    {
        for (QProcess* p : running) {
            p->kill();
            p->waitForFinished(5000);
            delete p;
        }
        AppTest::TearDown();
    }
    QProcess* start()
    {
        auto* p = new QProcess;
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(dir.path());
        p->start(QStringLiteral(KV_BINARY_DIR "/bin/kvclient"), {});
        running.append(p);
        p->waitForStarted(10000);
        return p;
    }
    // What a copy that ends by itself wrote to its standard error; "(still running)" when
    // it did not end.
    QString endsSaying(QProcess* p)
    {
        if (!p->waitForFinished(15000))
            return QStringLiteral("(still running)");
        return QString::fromUtf8(p->readAllStandardError());
    }
    // True once the copy is connected and shows its log-in window.
    bool signsIn(QProcess* p)
    {
        for (int i = 0; i < 150 && p->state() == QProcess::Running; ++i) {
            // The test's own session signs in as the same account.
            if (db().count(QStringLiteral("from information_schema.processlist where user='%1' and id<>%2")
                               .arg(db().clientAccount())
                               .arg(g_sqlTool.ThreadId())) > 0)
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    QString runtime;
    QProcessEnvironment env;
    QList<QProcess*> running;
};

}  // namespace

// A setting that does not decipher ends the start, naming it; a Config.ini saved as UTF-16
// with CR line ends is read as it is.
TEST_F(BinaryStart, ConfigIniIsReadWhateverItsFormAndADamagedValueIsNamed)
{
    writeTestServerSettings();
    IniFile ini(configFile());
    QString damaged = ini.value(QStringLiteral("DATABASE"), QStringLiteral("Name"));
    damaged[5] = damaged[5] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Name"), damaged);
    ASSERT_TRUE(ini.save());
    const QString said = endsSaying(start());
    EXPECT_TRUE(said.contains(QStringLiteral("“Name”"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("数据库初始化失败"))) << said.toStdString();

    writeTestServerSettings();
    QFile f(configFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    f.close();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    f.write(QByteArray("\xFF\xFE") + QByteArray(utf16(text)));
    f.close();
    QProcess* client = start();
    EXPECT_TRUE(signsIn(client)) << client->readAllStandardError().toStdString();
}
