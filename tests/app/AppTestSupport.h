#pragma once

#include "app/CKvClientDlg.h"
#include "app/CipherLibrary.h"
#include "app/IniFile.h"
#include "cipher/Aes.h"
#include "db/mySQLTool.h"
#include "support/CipherLibrary.h"
#include "support/DbTest.h"
#include "ui/AppState.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstring>
#include <functional>

namespace apptest {

inline void settle()
{
    for (int i = 0; i < 6; ++i)
        QApplication::processEvents();
}

// Runs `act` on the first modal window of type W once it is up (the code under test is
// blocked in that window's exec); gives up after a few seconds.
template <typename W>
void whenModal(std::function<void(W*)> act, int triesLeft = 200)
{
    QTimer::singleShot(20, [act, triesLeft] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            act(w);
            return;
        }
        if (triesLeft > 0)
            whenModal<W>(act, triesLeft - 1);
        else
            ADD_FAILURE() << "no modal " << W::staticMetaObject.className() << " appeared";
    });
}

// Enciphers a value as an installation would, with the client's library and key.
inline QString encipher(const QString& plain)
{
    void* h = kvtest::openCipherLibrary();
    if (!h)
        return QString();
    auto* encrypt = reinterpret_cast<AesFunction>(dlsym(h, "AesEncrypt"));
    char out[1024];
    std::memset(out, 0, sizeof out);
    encrypt(plain.toUtf8().constData(), out, 1024, "mopleu");
    dlclose(h);
    return QString::fromLatin1(out);
}

// Where a test starts the client program: the offscreen platform, and a home and a private
// runtime folder ("run") inside the test's folder.
inline QProcessEnvironment programEnvironment(const QTemporaryDir& dir)
{
    const QString runtime = dir.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    env.remove(QStringLiteral("XDG_CACHE_HOME"));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    return env;
}

// True once the client program `p` is connected as the database's client account (with at
// least `sessions` sessions) and runs on, waiting in its log-in window; the test's own
// session, signed in as the same account, is not counted.
inline bool showsLogin(kvtest::Database& db, QProcess* p, int sessions = 1)
{
    for (int i = 0; i < 150 && p->state() == QProcess::Running; ++i) {
        if (db.count(QStringLiteral("from information_schema.processlist where user='%1' and id<>%2")
                         .arg(db.clientAccount())
                         .arg(g_sqlTool.ThreadId())) >= sessions)
            return true;
        QThread::msleep(100);
    }
    return false;
}

// A test on a fresh database with a working folder of its own for Config.ini and the
// instance lock.
class AppTest : public kvtest::DbTest {
protected:
    explicit AppTest(bool demo = false) : DbTest(demo) {}
    void SetUp() override
    {
        DbTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        g_workPath = dir.path() + QLatin1Char('/');
        g_saveAccount = 0;
        g_savePassword = 0;
    }
    void TearDown() override
    {
        g_workPath.clear();
        DbTest::TearDown();
    }

    StartOptions options(const QString& library = QStringLiteral("libAES.so")) const
    {
        StartOptions o;
        o.library = library;
        o.workDir = dir.path();
        o.lockFile = dir.filePath(QStringLiteral("instance.lock"));
        return o;
    }
    QString configFile() const { return dir.filePath(QStringLiteral("Config.ini")); }

    // The [DATABASE] section, enciphered.
    void writeDatabaseSettings(const QString& host, int port, const QString& name, const QString& account,
                               const QString& password)
    {
        IniFile ini(configFile());
        const QStringList keys = {QStringLiteral("IP"), QStringLiteral("Port"), QStringLiteral("Name"),
                                  QStringLiteral("Account"), QStringLiteral("Password")};
        const QStringList values = {host, QString::number(port), name, account, password};
        for (int i = 0; i < keys.size(); ++i)
            ini.setValue(QStringLiteral("DATABASE"), keys[i], encipher(values[i]));
        ASSERT_TRUE(ini.save());
    }
    void writeTestServerSettings()
    {
        const kvtest::Server s = kvtest::server();
        writeDatabaseSettings(s.host, s.port, db().name(), db().clientAccount(), s.password);
    }

    // The log-in remembered, as the log-in window writes it with both boxes checked, for a
    // client whose home folder is `home` and whose working folder is this test's.
    void rememberLogin(const QString& account, const QString& password,
                       const QString& home = QDir::homePath())
    {
        const QByteArray was = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home));
        const QString key = CipherLibrary::RememberedKey();
        qputenv("HOME", was);
        CipherLibrary cipher;
        QString kept;
        ASSERT_TRUE(cipher.Load(QStringLiteral("libAES.so")) && cipher.Encrypt(password, key, &kept));
        IniFile ini(configFile());
        ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Save"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Name"), account);
        ini.setValue(QStringLiteral("PASSWORD"), QStringLiteral("Save"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("PASSWORD"), QStringLiteral("Name"), kept);
        ASSERT_TRUE(ini.save());
    }

    QTemporaryDir dir;
};

}  // namespace apptest
