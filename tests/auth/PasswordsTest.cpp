#include "auth/HashStored.h"
#include "auth/Passwords.h"
#include "db/mySQLTool.h"
#include "support/DbTest.h"

namespace {

using passwords::hash;
using passwords::matches;

TEST(Passwords, AHashMatchesOnlyItsPasswordAndAPlainValueMatchesOnlyItself)
{
    const QString h = hash(QStringLiteral("密码 abc"));
    EXPECT_TRUE(passwords::isHash(h)) << h.toStdString();
    EXPECT_FALSE(passwords::isPlain(h));
    EXPECT_NE(h, hash(QStringLiteral("密码 abc")));  // a salt of its own
    struct Case {
        QString stored;
        QString typed;
        bool match;
    };
    const QList<Case> cases = {
        {h, QStringLiteral("密码 abc"), true},
        {h, QStringLiteral("密码 ABC"), false},
        {h, h, false},
        {QStringLiteral("admin"), QStringLiteral("admin"), true},  // stored by an earlier version
        {QStringLiteral("admin"), QStringLiteral("Admin"), false},
        {passwords::kOnServer, passwords::kOnServer, false},  // the server checks that one
        {QString(), QString(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matches(c.stored, c.typed), c.match)
            << c.stored.toStdString() << " / " << c.typed.toStdString();
}

TEST(Passwords, TheTailOfAHashIsMadeAgainOnlyByItsPassword)
{
    const QString h = hash(QStringLiteral("xyz789"));
    const QString tail = h.section(QLatin1Char('$'), -1);
    const QString head = h.left(h.size() - tail.size());
    EXPECT_EQ(passwords::hashTail(head, QStringLiteral("xyz789")), tail);
    EXPECT_NE(passwords::hashTail(head, QStringLiteral("xyz788")), tail);
    for (const QString& bad :
         {QString(), h, QStringLiteral("$argon2id$v=19$m=65536,t=2,p=1$!!$"),
          QStringLiteral("$argon2i$v=19$m=65536,t=2,p=1$") + head.section('$', 4, 4) + '$'})
        EXPECT_TRUE(passwords::hashTail(bad, QStringLiteral("xyz789")).isEmpty()) << bad.toStdString();
}

class StoredPasswords : public kvtest::DbTest {};

// The server's own hash of a password (PASSWORD()) is what the client computes, for the bytes
// it sends: GBK.
TEST_F(StoredPasswords, TheServersHashIsTheClients)
{
    for (const QString& p : {QStringLiteral("123456"), QStringLiteral("密码'\\x")})
        EXPECT_EQ(passwords::serverHash(p),
                  db().scalar(QStringLiteral("select password(convert(_utf8mb4'%1' using gbk))")
                                  .arg(QString(p).replace('\\', "\\\\").replace('\'', "\\'"))))
            << p.toStdString();
}

TEST_F(StoredPasswords, PlainPasswordsAreHashedAllAtOnceAndOnlyOnce)
{
    db().exec(
        QStringLiteral("insert into kvc_record_user (账号, 密码, 权限) values ('甲', '甲的密码', '调度'), "
                       "('乙', '$server$', '员工'), ('丙', '', '员工'); "
                       "update kvc_attrib_mod set 内容='1234' where 名称='特权密码'"));
    passwords::Hashed done;
    ASSERT_TRUE(passwords::hashStored(g_sqlTool, &done).ok());
    EXPECT_EQ(done.accounts, 1);  // admin's was a hash already
    EXPECT_TRUE(done.privileged);
    EXPECT_TRUE(matches(db().scalar(QStringLiteral("select 密码 from kvc_record_user where 账号='甲'")),
                        QStringLiteral("甲的密码")));
    EXPECT_EQ(db().scalar(QStringLiteral("select 密码 from kvc_record_user where 账号='乙'")),
              passwords::kOnServer);
    EXPECT_TRUE(matches(db().scalar(QStringLiteral("select 内容 from kvc_attrib_mod where 名称='特权密码'")),
                        QStringLiteral("1234")));
    ASSERT_TRUE(passwords::hashStored(g_sqlTool, &done).ok());
    EXPECT_EQ(done.accounts, 0);
    EXPECT_FALSE(done.privileged);
}

}  // namespace
