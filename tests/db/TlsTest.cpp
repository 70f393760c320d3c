#include "db/mySQLTool.h"
#include "support/DbTest.h"

#include <mysqld_error.h>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using kvtest::Database;

class Tls : public kvtest::DbTest {
protected:
    bool connect(mySQLTool& s, const QString& account)
    {
        const kvtest::Server server = kvtest::server();
        return s.Connect(server.host, server.port, db().name(), account, server.password);
    }
};

TEST_F(Tls, AServerVerifiedByItsCaIsReachedEncrypted)
{
    mySQLTool s;
    s.SetTls(true, Database::tlsCa());
    ASSERT_TRUE(db().connect(s)) << s.GetError().toStdString();
    EXPECT_FALSE(s.Read(s.Format("show session status like 'Ssl_cipher'")).first().text(1).isEmpty());
}

TEST_F(Tls, AServerThatTheCaDoesNotVouchForIsRefused)
{
    // A CA of its own that signed nothing.
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start(
        QStringLiteral("openssl"),
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
         QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
         QStringLiteral("-subj"), QStringLiteral("/CN=another CA"), QStringLiteral("-keyout"),
         dir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"),
         dir.filePath(QStringLiteral("ca.pem"))});
    ASSERT_TRUE(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    for (const QString& ca :
         {dir.filePath(QStringLiteral("ca.pem")), dir.filePath(QStringLiteral("missing.pem"))}) {
        mySQLTool s;
        s.SetTls(true, ca);
        EXPECT_FALSE(db().connect(s)) << ca.toStdString();
        EXPECT_TRUE(s.GetError().startsWith(kTlsRefused.section(QLatin1Char('%'), 0, 0)))
            << s.GetError().toStdString();
    }
}

TEST_F(Tls, AnAccountMadeRequireSslIsRefusedWithoutTls)
{
    const QString account = db().name() + QStringLiteral("_ssl");
    db().exec(
        QStringLiteral(
            "create user '%1'@'127.0.0.1' identified by '%2' require ssl; grant %3 to '%1'@'127.0.0.1'; "
            "set default role %3 for '%1'@'127.0.0.1'")
            .arg(account, kvtest::server().password, db().role()));
    mySQLTool plain;
    EXPECT_FALSE(connect(plain, account));
    EXPECT_EQ(plain.LastErrno(), unsigned(ER_ACCESS_DENIED_ERROR));
    mySQLTool tls;
    tls.SetTls(true, Database::tlsCa());
    EXPECT_TRUE(connect(tls, account)) << tls.GetError().toStdString();
}

}  // namespace
