#include "db/mySQLTool.h"
#include "support/DbTest.h"

#include <mysqld_error.h>
#include <QSet>

namespace {

// What each identity's role must not do, refused by the server whatever a client sends: a
// handful of statements per identity, and for all of them other databases and the server's
// administration.
class Roles : public kvtest::DemoDbTest {
public:
    Roles() { withPeople(); }

protected:
    // The statement is refused for want of a right (not for its syntax or data).
    ::testing::AssertionResult refused(mySQLTool& s, const QString& sql)
    {
        const QByteArray text = sql.toUtf8();
        if (s.Exec(text.constData()))
            return ::testing::AssertionFailure() << "ran: " << text.constData();
        static const QSet<unsigned> denied = {ER_TABLEACCESS_DENIED_ERROR, ER_COLUMNACCESS_DENIED_ERROR,
                                              ER_DBACCESS_DENIED_ERROR,    ER_SPECIFIC_ACCESS_DENIED_ERROR,
                                              ER_PROCACCESS_DENIED_ERROR,  ER_ACCESS_DENIED_ERROR};
        if (!denied.contains(s.LastErrno()))
            return ::testing::AssertionFailure() << text.constData() << ": " << s.GetError().toStdString();
        return ::testing::AssertionSuccess();
    }
};

TEST_F(Roles, EachIdentityIsRefusedWhatItsScreensDoNotNeed)
{
    const QStringList readers = {QStringLiteral("select 密码 from kvc_record_user"),
                                 QStringLiteral("update kvc_record_product set 货物单价=0"),
                                 QStringLiteral("select * from kvc_record_mission"),
                                 QStringLiteral("insert into kvc_record_ship (货单号) values (1)")};
    const QStringList leaders = {QStringLiteral("update kvc_attrib_process set 工价=工价*10"),
                                 QStringLiteral("insert into kvc_record_salary (工号) values (1)"),
                                 QStringLiteral("update kvc_record_mission set 结讫=1"),
                                 QStringLiteral("update kvc_record_member set 激活=1"),
                                 QStringLiteral("update kvc_attrib_mod set 内容='1'"),
                                 QStringLiteral("select 密码 from kvc_record_user")};
    const QList<std::pair<const char*, QStringList>> cases = {
        {"游客", readers},
        {"员工", readers},
        {"运输", readers},
        {"洗水班长", leaders},
        {"马骝班长", leaders},
        {"调度",
         {QStringLiteral("update kvc_attrib_technology set 价格=0"),
          QStringLiteral("insert into kvc_record_salary (工号) values (1)"),
          QStringLiteral("update kvc_record_mission set 结讫=1"),
          QStringLiteral("delete from kvc_record_product"),
          QStringLiteral("insert into kvc_record_client (名称) values ('x')"),
          QStringLiteral("call kv_person_remove(1, 'admin')")}},
        {"财务",
         {QStringLiteral("update kvc_attrib_process set 工价=1"),
          QStringLiteral("delete from kvc_record_member"),
          QStringLiteral("update kvc_attrib_mod set 内容='1'"),
          QStringLiteral("delete from kvc_record_product"),
          QStringLiteral("select 密码 from kvc_record_user")}},
        {"厂长",
         {QStringLiteral("update kvc_attrib_process set 工价=工价*10"),
          QStringLiteral("delete from kvc_attrib_technology"),
          QStringLiteral("insert into kvc_record_salary (工号) values (1)"),
          QStringLiteral("call kv_person_add('x', null, '调度')")}},
        {"董事长",
         {QStringLiteral("update kvc_attrib_process set 工价=工价*10"),
          QStringLiteral("select 密码 from kvc_record_user"), QStringLiteral("delete from kvc_record_user")}},
        {"管理员",
         {QStringLiteral("select 密码 from kvc_record_user"), QStringLiteral("drop table kvc_record_ship"),
          QStringLiteral("update kvc_record_user set 权限='管理员'")}},
    };
    for (const auto& [identity, statements] : cases) {
        mySQLTool s;
        ASSERT_TRUE(db().connectAs(s, QString::fromUtf8(identity))) << identity;
        for (const QString& sql : statements)
            EXPECT_TRUE(refused(s, sql)) << identity;
        // Every identity reads the dashboard.
        EXPECT_TRUE(s.Read(s.Format("select count(*) from kvc_record_product, kvc_record_procedure")).ok())
            << identity;
    }
}

TEST_F(Roles, APersonReachesNoOtherDatabaseAndNoAdministration)
{
    mySQLTool s;
    ASSERT_TRUE(db().connectAs(s, QStringLiteral("管理员")));
    const QString other = db().name() + QStringLiteral("_other");
    db().exec(QStringLiteral("create database %1; create table %1.t (a int)").arg(other));
    for (const QString& sql :
         {QStringLiteral("select * from %1.t").arg(other), QStringLiteral("drop database %1").arg(other),
          QStringLiteral("select * from mysql.user"), QStringLiteral("create database kvt_intruder"),
          QStringLiteral("create user 'intruder'@'127.0.0.1'"),
          QStringLiteral("set global max_connections=10"),
          QStringLiteral("grant select on *.* to current_user()"), QStringLiteral("shutdown"),
          QStringLiteral("show processlist"),
          QStringLiteral("alter user 'kv'@'127.0.0.1' identified by 'x'")}) {
        if (sql == QLatin1String("show processlist")) {
            // Only its own sessions are shown.
            const Rows r = s.Read(s.Format("show full processlist"));
            ASSERT_TRUE(r.ok());
            for (const Row& row : r)
                EXPECT_EQ(row.text(1), s.Account());
            continue;
        }
        EXPECT_TRUE(refused(s, sql));
    }
    db().exec(QStringLiteral("drop database %1").arg(other));
}

}  // namespace
