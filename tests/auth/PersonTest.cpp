#include "app/Accounts.h"
#include "app/AppTestSupport.h"
#include "app/SignIn.h"
#include "auth/Passwords.h"
#include "db/mySQLTool.h"
#include "support/DbTest.h"
#include "ui/AppState.h"

namespace {

// Each person signs in to the database as himself: a shared-account database is migrated,
// people sign in, and the account grid changes their database accounts. Their names begin
// with the test database's, so that they are its own on the shared test server.
class Persons : public kvtest::DbTest {
public:
    Persons() { withPeople(); }

protected:
    void SetUp() override
    {
        DbTest::SetUp();
        admin = name(QStringLiteral("adm"));
        plain = name(QStringLiteral("甲"));
        hashed = name(QStringLiteral("乙"));
        db().exec(
            QStringLiteral("update kvc_record_user set 账号='%1' where 账号='admin'; "
                           "insert into kvc_record_user (账号, 密码, 权限) values ('%2', 'abc123', '调度'), "
                           "('%3', '%4', '员工')")
                .arg(admin, plain, hashed, passwords::hash(QStringLiteral("xyz789"))));
        report = db().rows(QStringLiteral("call kv_migrate('127.0.0.1')"));
        g_sqlTool.Close();
    }
    QString name(const QString& suffix) { return db().name() + QLatin1Char('_') + suffix; }
    signin::Result signIn(mySQLTool& s, const QString& account, const QString& password)
    {
        const kvtest::Server server = kvtest::server();
        return signin::asPerson(s, {server.host, server.port, db().name()}, account, password);
    }
    QString stored(const QString& account)
    {
        return db().scalar(QStringLiteral("select 密码 from kvc_record_user where 账号='%1'").arg(account));
    }
    QString role(mySQLTool& s) { return s.Read(s.Format("select current_role()")).first().text(0); }

    QString admin, plain, hashed;
    QList<QStringList> report;
};

TEST_F(Persons, TheMigrationGivesEveryAccountItsOwnDatabaseAccountKeepingItsPassword)
{
    QStringList said;
    for (const QStringList& r : report)
        said << r.join(QStringLiteral(": "));
    ASSERT_EQ(report.size(), 4) << said.join('\n').toStdString();  // the log-in account and three people
    EXPECT_TRUE(said.join('\n').contains(plain + QStringLiteral(": made (") + name("dispatch")))
        << said.join('\n').toStdString();
    EXPECT_EQ(stored(plain), passwords::kOnServer);
    EXPECT_TRUE(passwords::isHash(stored(hashed)));  // until its first sign-in

    struct Case {
        QString account, password, identity;
    };
    for (const Case& c : {Case{plain, QStringLiteral("abc123"), QStringLiteral("调度")},
                          Case{hashed, QStringLiteral("xyz789"), QStringLiteral("员工")},
                          Case{admin, QStringLiteral("admin"), QStringLiteral("管理员")}}) {
        mySQLTool s;
        const signin::Result r = signIn(s, c.account, c.password);
        ASSERT_TRUE(r.outcome.ok()) << c.account.toStdString() << ": " << r.outcome.text().toStdString();
        EXPECT_EQ(r.identity, c.identity);
        EXPECT_EQ(s.Account(), c.account);
        EXPECT_EQ(stored(c.account), passwords::kOnServer);
        // The password is the database account's now: it signs in straight away.
        mySQLTool again;
        const kvtest::Server server = kvtest::server();
        EXPECT_TRUE(again.Connect(server.host, server.port, db().name(), c.account, c.password))
            << again.GetError().toStdString();
        // And so does a second session of his (a reconnection, an export's own, the floor board's).
        mySQLTool beside;
        EXPECT_TRUE(beside.ConnectLike(s)) << beside.GetError().toStdString();
    }
    // Run again, it leaves every account as it is.
    for (const QStringList& r : db().rows(QStringLiteral("call kv_migrate('127.0.0.1')")))
        EXPECT_TRUE(r.value(1).startsWith(QStringLiteral("kept"))) << r.join(' ').toStdString();
}

TEST_F(Persons, WrongPasswordsAreCountedOnTheServerSlowedAndToldToTheOwner)
{
    mySQLTool s;
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(signIn(s, plain, QStringLiteral("wrong")).outcome.text().isEmpty());
    EXPECT_FALSE(s.IsConnected());
    // The sixth try waits, even with the right password.
    const signin::Result waiting = signIn(s, plain, QStringLiteral("abc123"));
    EXPECT_EQ(waiting.outcome.kind(), Outcome::Kind::Refused);
    EXPECT_TRUE(waiting.outcome.text().startsWith(QStringLiteral("该账号连续输错密码的次数太多")))
        << waiting.outcome.text().toStdString();
    db().exec(QStringLiteral("update kvc_record_user set 错误时间=now() - interval 1 hour"));
    const signin::Result r = signIn(s, plain, QStringLiteral("abc123"));
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.text().toStdString();
    EXPECT_EQ(r.wrongTries, 5);
    EXPECT_EQ(db().scalar(QStringLiteral("select 错误次数 from kvc_record_user where 账号='%1'").arg(plain)),
              QStringLiteral("0"));
}

TEST_F(Persons, TheAccountGridChangesRowAndDatabaseAccountTogether)
{
    ASSERT_TRUE(signIn(g_sqlTool, admin, QStringLiteral("admin")).outcome.ok());
    g_account = admin;
    const QString added = name(QStringLiteral("丙"));
    const auto load = [] {
        QList<QStringList> rows;
        EXPECT_TRUE(accounts::load(g_sqlTool, rows));
        return rows;
    };
    const auto rowOf = [](const QList<QStringList>& rows, const QString& account) {
        for (const QStringList& r : rows)
            if (r.value(1) == account)
                return r;
        return QStringList();
    };
    QList<QStringList> loaded = load();
    QList<QStringList> edited = loaded;
    edited.append(
        {accounts::kNewRow, added, accounts::kPasswordTyped, QStringLiteral("财务"), QStringLiteral("pw1")});
    ASSERT_TRUE(accounts::save(g_sqlTool, admin, loaded, edited).outcome.ok());
    mySQLTool person;
    ASSERT_TRUE(signIn(person, added, QStringLiteral("pw1")).outcome.ok());
    EXPECT_EQ(role(person), name("finance"));
    person.Close();

    // Renamed, given another identity and password in one step.
    const QString renamed = name(QStringLiteral("丁"));
    loaded = load();
    edited = loaded;
    for (QStringList& r : edited)
        if (r.value(1) == added)
            r = {r[0], renamed, accounts::kPasswordTyped, QStringLiteral("厂长"), QStringLiteral("pw2")};
    ASSERT_TRUE(accounts::save(g_sqlTool, admin, loaded, edited).outcome.ok());
    EXPECT_FALSE(signIn(person, added, QStringLiteral("pw1")).outcome.ok());
    ASSERT_TRUE(signIn(person, renamed, QStringLiteral("pw2")).outcome.ok());
    EXPECT_EQ(role(person), name("director"));
    person.Close();

    // A step that fails half-way leaves neither half: the role of 员工 is gone.
    db().exec(QStringLiteral("drop role %1").arg(name("staff")));
    loaded = load();
    edited = loaded;
    edited.append(
        {accounts::kNewRow, added, accounts::kPasswordTyped, QStringLiteral("员工"), QStringLiteral("pw3")});
    EXPECT_EQ(accounts::save(g_sqlTool, admin, loaded, edited).outcome.kind(), Outcome::Kind::Failed);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_user where 账号='%1'").arg(added)), 0);
    EXPECT_EQ(db().count(QStringLiteral("from mysql.user where User='%1'").arg(added)), 0);

    // Removed: the row and the database account.
    loaded = load();
    edited = loaded;
    edited.removeOne(rowOf(loaded, renamed));
    ASSERT_TRUE(accounts::save(g_sqlTool, admin, loaded, edited).outcome.ok());
    EXPECT_EQ(db().count(QStringLiteral("from mysql.user where User='%1'").arg(renamed)), 0);
    EXPECT_TRUE(rowOf(load(), renamed).isEmpty());
}

TEST_F(Persons, OnlyAnAdministratorSetsAdministratorsAndNoOtherAccountIsTouched)
{
    // A 董事长 may edit accounts, but not make an administrator, nor change the server's own.
    db().exec(QStringLiteral(
                  "update kvc_record_user set 权限='董事长' where 账号='%1'; grant %2 to '%1'@'127.0.0.1'; "
                  "set default role %2 for '%1'@'127.0.0.1'")
                  .arg(plain, name("chairman")));
    ASSERT_TRUE(signIn(g_sqlTool, plain, QStringLiteral("abc123")).outcome.ok());
    const QList<QStringList> none;
    const accounts::SaveResult r = accounts::save(g_sqlTool, plain, none,
                                                  {{accounts::kNewRow, name("戊"), accounts::kPasswordTyped,
                                                    QStringLiteral("管理员"), QStringLiteral("pw")}});
    EXPECT_EQ(r.outcome.kind(), Outcome::Kind::Refused);
    EXPECT_EQ(r.outcome.text(), QStringLiteral("只有管理员才能设置管理员的账号"));
    // The shared client's database account is no person's, even when a row is named after it.
    db().exec(QStringLiteral("insert into kvc_record_user (账号, 密码, 权限) values ('%1', '', '员工')")
                  .arg(db().clientAccount()));
    const QString serial = db().scalar(
        QStringLiteral("select 序列号 from kvc_record_user where 账号='%1'").arg(db().clientAccount()));
    EXPECT_FALSE(
        g_sqlTool.Exec("call kv_person_remove(%I64u, '%s')", serial.toULongLong(), db().clientAccount()));
    EXPECT_EQ(db().count(QStringLiteral("from mysql.user where User='%1'").arg(db().clientAccount())), 1);
}

TEST_F(Persons, APersonChangesHisOwnPasswordOnTheServer)
{
    ASSERT_TRUE(signIn(g_sqlTool, plain, QStringLiteral("abc123")).outcome.ok());
    ASSERT_TRUE(accounts::changeOwnPassword(g_sqlTool, plain, QStringLiteral("abc123"),
                                            QStringLiteral("abc123"), QStringLiteral("新密码9"),
                                            QStringLiteral("新密码9"))
                    .ok());
    EXPECT_EQ(stored(plain), passwords::kOnServer);
    mySQLTool s;
    EXPECT_TRUE(signIn(s, plain, QStringLiteral("新密码9")).outcome.ok());
    // The session itself reconnects with the new password.
    g_sqlTool.Exec("kill connection %I64u", g_sqlTool.ThreadId());
    EXPECT_TRUE(g_sqlTool.Read(g_sqlTool.Format("select 1")).ok()) << g_sqlTool.GetError().toStdString();
}

}  // namespace

namespace {

// The client itself: Config.ini names only the server (over TLS); the log-in connects as the
// person, fills the dashboard, and signing out leaves the connection to the next person.
class PersonClient : public apptest::AppTest {
public:
    PersonClient() { withPeople(); }
};

TEST_F(PersonClient, SignsInAsThePersonOverTls)
{
    const QString admin = db().name() + QStringLiteral("_adm");
    db().exec(QStringLiteral("update kvc_record_user set 账号='%1' where 账号='admin'").arg(admin));
    db().rows(QStringLiteral("call kv_migrate('127.0.0.1')"));
    const kvtest::Server s = kvtest::server();
    writeDatabaseSettings(s.host, s.port, db().name(), QString(), QString());
    IniFile ini(configFile());
    ini.remove(QStringLiteral("DATABASE"), QStringLiteral("Account"));
    ini.remove(QStringLiteral("DATABASE"), QStringLiteral("Password"));
    ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("TLS"), apptest::encipher(QStringLiteral("1")));
    ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("CA"),
                 apptest::encipher(kvtest::Database::tlsCa()));
    ASSERT_TRUE(ini.save());
    g_sqlTool.Close();

    CKvClientDlg main(options());
    ASSERT_TRUE(main.Open());
    EXPECT_FALSE(g_sqlTool.IsConnected());  // nobody yet
    g_account = admin;
    g_password = QStringLiteral("admin");
    ASSERT_EQ(main.CheckLogin(), 1);
    EXPECT_EQ(g_identity, QStringLiteral("管理员"));
    EXPECT_EQ(g_sqlTool.Account(), admin);
    EXPECT_FALSE(
        g_sqlTool.Read(g_sqlTool.Format("show session status like 'Ssl_cipher'")).first().text(1).isEmpty());
    g_password = QStringLiteral("wrong");
    EXPECT_EQ(main.CheckLogin(), -1);
    EXPECT_FALSE(g_sqlTool.IsConnected());
    main.reject();
    g_sqlTool.SetTls(false);
}

}  // namespace
