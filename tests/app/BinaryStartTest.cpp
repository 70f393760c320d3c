#include "AppTestSupport.h"
#include "app/InstanceLock.h"
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
        env = apptest::programEnvironment(dir);
        runtime = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
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
    QProcess* start(const QStringList& arguments = {})
    {
        auto* p = new QProcess;
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(dir.path());
        p->start(QStringLiteral(KV_BINARY_DIR "/bin/kvclient"), arguments);
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
    // True once the copy is connected with `sessions` sessions (and shows its log-in window).
    bool signsIn(QProcess* p, int sessions = 1) { return apptest::showsLogin(db(), p, sessions); }

    QString runtime;
    QProcessEnvironment env;
    QList<QProcess*> running;
};

}  // namespace

// The lock is taken in a folder of the user's own, and whatever keeps it from being taken,
// but another copy, is said.
TEST_F(BinaryStart, TheInstanceLockIsTheUsersOwnAndAFailureToTakeItIsSaid)
{
    writeTestServerSettings();
    const QString lock = QDir(runtime).filePath(QStringLiteral("KvLoader.exe.lock"));
    struct Case {
        const char* setUp;
        std::function<void()> prepare;
        const char* said;
    };
    const QString aFile = dir.filePath(QStringLiteral("a-file"));
    const QList<Case> cases = {
        {"a link in place of the lock", [&] { QFile::link(dir.filePath(QStringLiteral("elsewhere")), lock); },
         "是一个链接"},
        {"a runtime folder others may write to",
         [&] { ::chmod(QFile::encodeName(runtime).constData(), 0777); }, "其他用户也可以写入"},
        {"a runtime folder that is a file",
         [&] {
             QFile(aFile).open(QIODevice::WriteOnly);
             env.insert(QStringLiteral("XDG_RUNTIME_DIR"), aFile);
         },
         "不是文件夹"},
    };
    for (const Case& c : cases) {
        c.prepare();
        const QString said = endsSaying(start());
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.said))) << c.setUp << ": " << said.toStdString();
        QFile::remove(lock);
        ::chmod(QFile::encodeName(runtime).constData(), 0700);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    }

    // Without a runtime folder the lock is kept in the user's cache folder, not in the shared
    // temporary folder, where anybody could block it.
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    const QString shared = dir.filePath(QStringLiteral("tmp"));
    QDir().mkpath(shared + QStringLiteral("/KvLoader.exe-%1.lock").arg(::getuid()));
    env.insert(QStringLiteral("TMPDIR"), shared);
    QProcess* first = start();
    ASSERT_TRUE(signsIn(first)) << first->readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("home/.cache/kvclient/KvLoader.exe.lock"))));
    // A second copy ends without a word; the first goes on.
    const QString second = endsSaying(start());
    EXPECT_FALSE(second.contains(QStringLiteral("错误: ")) || second.contains(QStringLiteral("running")))
        << second.toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);
}

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

// Under the television: with --board a remembered account signs in by itself and the board,
// with a session of its own, reads at once.
TEST_F(BinaryStart, WithBoardARememberedAccountSignsInAndTheBoardReads)
{
    writeTestServerSettings();
    rememberLogin(QStringLiteral("admin"), QStringLiteral("admin"), env.value(QStringLiteral("HOME")));
    QProcess* client = start({QStringLiteral("--board")});
    EXPECT_TRUE(signsIn(client, 2)) << client->readAllStandardError().toStdString();
    EXPECT_EQ(client->state(), QProcess::Running);
}
