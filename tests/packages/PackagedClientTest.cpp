#include "app/AppTestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// The client as its package installs it (unpacked by tests/packages/check), started through
// its launcher as a user of the desktop would, on the offscreen platform.
class PackagedClient : public apptest::AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        env = apptest::programEnvironment(dir);
        // The factory's settings, as /etc/kvclient/Config.ini of the PC.
        env.insert(QStringLiteral("KVCLIENT_FACTORY_CONFIG"), configFile());
    }
    void TearDown() override
    {
        stop();
        AppTest::TearDown();
    }
    QProcess* start()
    {
        client = std::make_unique<QProcess>();
        client->setProcessEnvironment(env);
        client->start(QStringLiteral(KV_PACKAGES_DIR "/root/usr/bin/kvclient"), {});
        client->waitForStarted(10000);
        return client.get();
    }
    void stop()
    {
        if (!client)
            return;
        client->kill();
        client->waitForFinished(5000);
        client.reset();
    }
    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QProcessEnvironment env;
    std::unique_ptr<QProcess> client;
};

}  // namespace

// The first start gives the user a working folder with the factory's settings and reaches
// the log-in window; when the factory's settings are newer (the server moved), their
// connection replaces the user's and his remembered log-in stays.
TEST_F(PackagedClient, StartsInTheUsersOwnFolderWithTheFactorysSettings)
{
    ASSERT_TRUE(QFileInfo::exists(QStringLiteral(KV_PACKAGES_DIR "/root/usr/lib/kvclient/kvclient")));
    writeTestServerSettings();
    const QString own = dir.filePath(QStringLiteral("home/.local/share/kvclient/Config.ini"));

    QProcess* p = start();
    ASSERT_TRUE(apptest::showsLogin(db(), p)) << p->readAllStandardError().toStdString();
    EXPECT_EQ(contents(own), contents(configFile()));
    EXPECT_EQ(QFileInfo(own).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
    stop();

    {
        IniFile user(own);
        user.setValue(QStringLiteral("DATABASE"), QStringLiteral("Port"),
                      apptest::encipher(QStringLiteral("1")));
        user.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Name"), QStringLiteral("调度"));
        ASSERT_TRUE(user.save());
    }
    QFile stale(own);
    ASSERT_TRUE(stale.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        stale.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    stale.close();
    p = start();
    ASSERT_TRUE(apptest::showsLogin(db(), p)) << p->readAllStandardError().toStdString();
    EXPECT_EQ(IniFile(own).value(QStringLiteral("ACCOUNT"), QStringLiteral("Name")), QStringLiteral("调度"));
}
