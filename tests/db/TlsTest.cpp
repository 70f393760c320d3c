#include "db/RowStream.h"
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

// A person's session over TLS, as the client signs in.
class TlsPerson : public kvtest::DbTest {
public:
    TlsPerson()
    {
        useTls();
        signInAs(QStringLiteral("财务"));
    }
};

TEST_F(TlsPerson, AStreamConnectsAsItsSessionAndRefusesAStatementOfAnotherEscaping)
{
    const Statement who = g_sqlTool.Format(
        "select current_user(), current_role(), database(), @@character_set_connection, '%s', "
        "(select variable_value <> '' from information_schema.session_status where "
        "variable_name='Ssl_cipher')",
        QStringLiteral("它's"));
    const Rows session = g_sqlTool.Read(who);
    ASSERT_TRUE(session.ok() && session.size() == 1) << session.error().toStdString();
    RowStream stream(g_sqlTool);
    ASSERT_TRUE(stream.start(who)) << stream.error().toStdString();
    const Rows streamed = stream.next(10);
    ASSERT_EQ(streamed.size(), 1);
    EXPECT_EQ(streamed.first().cells(), session.first().cells());
    EXPECT_EQ(session.first().text(5), QStringLiteral("1"));  // over TLS

    const Statement other =
        who.escapedFor(who.escaping() == Statement::Escaping::Backslash ? Statement::Escaping::Quotes
                                                                        : Statement::Escaping::Backslash);
    EXPECT_FALSE(stream.start(other));
    EXPECT_EQ(stream.error(), kConnectionChanged);
}

}  // namespace
