#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "proxy/Proxy.h"
#include "support/DbTest.h"

using kvnet::Proxy;

namespace {

class Reconnect : public kvtest::DbTest {
protected:
    // A session through a proxy whose every connection reads backslashes as plain text.
    void connectNoBackslashEscapes(mySQLTool& s, Proxy& proxy)
    {
        s.SetTimeouts(2, 2, 2);
        s.AddSessionStatement("set session sql_mode='NO_BACKSLASH_ESCAPES'");
        ASSERT_TRUE(db().connect(s, proxy.port())) << s.GetError().toStdString();
    }
    // The network is down for one statement: the session loses its connection and cannot
    // get a new one.
    void failReconnect(mySQLTool& s, Proxy& proxy)
    {
        proxy.refuse(true);
        proxy.cut();
        EXPECT_FALSE(s.Read(s.Format("select 1")).ok());
        EXPECT_FALSE(s.IsConnected());
        proxy.refuse(false);
    }
};

// With backslash escaping, "x'" became "x\'", which a server with NO_BACKSLASH_ESCAPES
// reads as the text "x\" and a quote that ends it: the rest of the password ran as SQL.
const QString kInjection = QStringLiteral("x', 权限=0xB9DCC0EDD4B1 #");

}  // namespace

// A statement made while the session has no connection is escaped by the connection made
// for it, never by a guess at the server's mode.
TEST_F(Reconnect, TextsAreEscapedByTheConnectionTheyAreSentOn)
{
    Proxy proxy(kvtest::server().port);
    mySQLTool desk;
    connectNoBackslashEscapes(desk, proxy);
    const int admins = db().count(QStringLiteral("from kvc_record_user where 权限='管理员'"));
    db().exec(QStringLiteral("insert into kvc_record_user (账号, 密码, 权限) values ('调度', '1', '调度')"));

    // Outside a transaction and as the first statement of one.
    for (bool inTransaction : {false, true}) {
        failReconnect(desk, proxy);
        auto change = [&] {
            return desk.Exec("update kvc_record_user set 密码='%s' where 账号='%s'", kInjection,
                             QStringLiteral("调度"));
        };
        if (inTransaction) {
            EXPECT_TRUE(desk.Transact([&] { return change() ? Outcome::done() : desk.Failure(); }).ok());
        } else {
            EXPECT_TRUE(change()) << desk.GetError().toStdString();
        }
        EXPECT_EQ(db().scalar(QStringLiteral("select 密码 from kvc_record_user where 账号='调度'")),
                  kInjection);
        EXPECT_EQ(db().count(QStringLiteral("from kvc_record_user where 权限='管理员'")), admins);
    }

    // A statement made for one kind of connection is not sent on another.
    const Statement made = desk.Format("select '%s'", QStringLiteral("a\\b"));
    ASSERT_TRUE(desk.Exec("set session sql_mode=''"));
    EXPECT_FALSE(desk.Query(made, true));
    EXPECT_EQ(desk.GetError(), kConnectionChanged);
}

// Once the connection of an open transaction is gone, nothing more of the transaction
// runs, not even on a new connection, where it would run without the rest.
TEST_F(Reconnect, NothingOfALostTransactionRunsElsewhere)
{
    Proxy proxy(kvtest::server().port);
    mySQLTool desk;
    desk.SetTimeouts(2, 2, 2);
    ASSERT_TRUE(db().connect(desk, proxy.port()));
    int runs = 0;
    const Outcome told = desk.Transact([&] {
        ++runs;
        desk.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("甲"));
        proxy.cut();
        // A body that goes on after a failure must not write half an action.
        desk.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("乙"));
        desk.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("丙"));
        return Outcome::done();
    });
    EXPECT_EQ(told.kind(), Outcome::Kind::Failed);
    EXPECT_EQ(told.text(), kNotSaved);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 0);
    EXPECT_TRUE(desk.IsConnected());
}

// A port in the settings means TCP to that port, also for "localhost", which the client
// library would otherwise take for its local socket.
TEST_F(Reconnect, AConfiguredPortIsUsedAlsoForLocalhost)
{
    const kvtest::Server s = kvtest::server();
    mySQLTool local;
    ASSERT_TRUE(
        local.Connect(QStringLiteral("localhost"), s.port, db().name(), db().clientAccount(), s.password))
        << local.GetError().toStdString();
    EXPECT_EQ(local.Read(local.Format("select @@port")).first().toInt(0), s.port);
}

// Config.ini's IP may list several servers; one is taken as it is written, as always.
TEST(Servers, AListIsReadInItsOrderWithItsPorts)
{
    struct Case {
        const char* list;
        QList<QPair<QString, int>> servers;  // empty: refused
    };
    const Case cases[] = {
        {"db1", {{"db1", 3306}}},
        {"", {{"", 3306}}},
        {" db1:3307, 10.0.0.2 ,[fe80::1]:3309", {{"db1", 3307}, {"10.0.0.2", 3306}, {"fe80::1", 3309}}},
        {"fe80::1", {{"fe80::1", 3306}}},
        {"db1,,db2", {}},
        {"db1:x", {}},
        {"db1:70000", {}},
        {"[fe80::1", {}},
    };
    for (const Case& c : cases) {
        QString error;
        QList<QPair<QString, int>> got;
        for (const ServerAddress& s : parseServers(QString::fromUtf8(c.list), 3306, &error))
            got.append({s.host, s.port});
        EXPECT_EQ(got, c.servers) << c.list;
        EXPECT_EQ(error.isEmpty(), !c.servers.isEmpty()) << c.list;
    }
}

// The first server that answers is used; a lost connection goes to the next one.
TEST_F(Reconnect, OfSeveralServersTheNextOneTakesOverALostConnection)
{
    const kvtest::Server s = kvtest::server();
    Proxy a(s.port), b(s.port);
    const auto at = [](const Proxy& p) { return QStringLiteral("127.0.0.1:%1").arg(p.port()); };
    mySQLTool desk;
    desk.SetTimeouts(2, 2, 2);

    // Nothing listens on port 1.
    ASSERT_TRUE(desk.Connect(QStringLiteral("127.0.0.1:1,") + at(b), 0, db().name(), db().clientAccount(),
                             s.password))
        << desk.GetError().toStdString();
    EXPECT_EQ(desk.CurrentServer().port, b.port());

    ASSERT_TRUE(
        desk.Connect(at(a) + QLatin1Char(',') + at(b), 0, db().name(), db().clientAccount(), s.password));
    EXPECT_EQ(desk.CurrentServer().port, a.port());
    a.cut();
    ASSERT_TRUE(desk.Read(desk.Format("select 1")));
    EXPECT_EQ(desk.CurrentServer().port, b.port());
    b.cut();
    ASSERT_TRUE(desk.Read(desk.Format("select 1")));
    EXPECT_EQ(desk.CurrentServer().port, a.port());

    // None answers: the first one's error is told.
    a.refuse(true);
    b.refuse(true);
    a.cut();
    EXPECT_FALSE(desk.Read(desk.Format("select 1")));
    EXPECT_TRUE(desk.GetError().startsWith(QStringLiteral("所有数据库服务器都无法连接")))
        << desk.GetError().toStdString();
}
