#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "support/DbTest.h"

#include <QThread>
#include <atomic>
#include <functional>

using kvtest::DbTest;

namespace {

// Every session test runs on a plain connection and on one over TLS.
class Session : public DbTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        if (GetParam())
            useTls();
        DbTest::SetUp();
    }
};

// Texts that have broken statements before: quotes, backslashes, a GBK character whose
// second byte is 0x5C, a would-be injection.
const QStringList kTricky = {
    QStringLiteral("广州天河制衣厂"),
    QStringLiteral("O'Brien 's"),
    QStringLiteral("C:\\路径\\"),
    QStringLiteral("乗嘰\\'"),
    QStringLiteral("x' or '1'='1"),
    QStringLiteral("a\"b\nc\r\td"),
    QStringLiteral("'); delete from kvc_record_client; -- "),
};

}  // namespace

TEST_P(Session, ChineseTextRoundTripsThroughChineseColumnsAndCannotChangeStatements)
{
    for (bool noBackslashEscapes : {false, true}) {
        if (noBackslashEscapes) {
            ASSERT_TRUE(g_sqlTool.Exec("set session sql_mode='NO_BACKSLASH_ESCAPES'"));
        }
        db().exec(QStringLiteral("delete from kvc_record_client"));
        for (const QString& t : kTricky) {
            ASSERT_TRUE(g_sqlTool.Exec("insert into %s (名称, 说明, 激活) value ('%s', '%s', %d)",
                                       tables::client, t, t, 1))
                << g_sqlTool.GetError().toStdString();
        }

        ASSERT_EQ(db().count(QStringLiteral("from kvc_record_client")), kTricky.size());
        for (const QString& t : kTricky) {
            // Read back through the session under test and through an independent one.
            ASSERT_TRUE(g_sqlTool.Select("select 名称, 说明 from %s where 名称='%s'", tables::client, t));
            ASSERT_EQ(g_sqlTool.NumRows(), 1u) << t.toStdString();
            ASSERT_TRUE(g_sqlTool.FetchRow());
            EXPECT_EQ(g_sqlTool.Value(0), t);
            EXPECT_EQ(g_sqlTool.Value(1), t);
            g_sqlTool.FreeResult();
        }
        const auto stored = db().rows(QStringLiteral("select 名称 from kvc_record_client order by 客户号"));
        ASSERT_EQ(stored.size(), kTricky.size());
        for (int i = 0; i < kTricky.size(); ++i)
            EXPECT_EQ(stored[i][0], kTricky[i]);
    }
}

TEST_P(Session, TextOutsideGbkIsRefusedAndNothingIsWritten)
{
    const QString emoji = QStringLiteral("客户😀");
    EXPECT_FALSE(g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, emoji));
    EXPECT_TRUE(g_sqlTool.GetError().contains(QStringLiteral("😀"))) << g_sqlTool.GetError().toStdString();
    EXPECT_FALSE(
        g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("한국")));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 0);
}

TEST_P(Session, FormatterWritesIdsAndMoneyAndRefusesMisuse)
{
    const quint64 big = 18446744073709551615ull;
    Statement s = g_sqlTool.Format("select %I64u, %d, %f, %.2f, '%%[%s]%%' from %s", big, -5, 1.5, 3.14159f,
                                   QStringLiteral("石磨"), tables::product);
    ASSERT_TRUE(s.ok()) << s.error().toStdString();
    EXPECT_EQ(s.text(),
              QStringLiteral(
                  "select 18446744073709551615, -5, 1.500000, 3.14, '%[石磨]%' from kvc_record_product"));

    // A text where a table name belongs, a negative id, a wrong count of arguments.
    EXPECT_FALSE(g_sqlTool.Format("select * from %s", QStringLiteral("t; drop table x")).ok());
    EXPECT_FALSE(g_sqlTool.Format("select %I64u", -1).ok());
    EXPECT_FALSE(g_sqlTool.Format("select %d, %d", 1).ok());
    EXPECT_FALSE(g_sqlTool.Format("select %d", 1, 2).ok());
    EXPECT_FALSE(g_sqlTool.Format("select '%s'", 3).ok());

    // A refused statement never reaches the server and says why.
    EXPECT_FALSE(g_sqlTool.Query(g_sqlTool.Format("select %I64u", -1), true));
    EXPECT_FALSE(g_sqlTool.GetError().isEmpty());
}

TEST_P(Session, ResultsAreReadByPositionAndNameWithNullsAbsent)
{
    db().exec(
        QStringLiteral("insert into kvc_record_procedure (货单号, 工作站, 数量) values (7, '洗水', 10)"));
    ASSERT_TRUE(g_sqlTool.Select("select %s.流水号, %s.上一号, %s.工作站, %s.数量 from %s", tables::procedure,
                                 tables::procedure, tables::procedure, tables::procedure, tables::procedure));
    EXPECT_EQ(g_sqlTool.NumFields(), 4);
    EXPECT_EQ(g_sqlTool.NumRows(), 1u);
    EXPECT_EQ(g_sqlTool.FindField(QStringLiteral("流水号")), 0);
    EXPECT_EQ(g_sqlTool.FindField(QStringLiteral("数量")), 3);
    EXPECT_EQ(g_sqlTool.FindField(QStringLiteral("没有")), -1);
    QString name;
    EXPECT_EQ(g_sqlTool.GetFieldName(2, &name), 0);
    EXPECT_EQ(name, QStringLiteral("工作站"));
    EXPECT_EQ(g_sqlTool.GetFieldName(-1, &name), -1);
    ASSERT_TRUE(g_sqlTool.FetchRow());
    EXPECT_TRUE(g_sqlTool.IsNull(1));
    EXPECT_TRUE(g_sqlTool.Value(1).isNull());
    EXPECT_EQ(g_sqlTool.Value(2), QStringLiteral("洗水"));
    EXPECT_EQ(g_sqlTool.ValueInt(3), 10);
    EXPECT_FALSE(g_sqlTool.FetchRow());
    g_sqlTool.FreeResult();

    ASSERT_TRUE(g_sqlTool.Exec("insert into %s (货单号, 工作站, 数量) value (%I64u, '%s', %d)",
                               tables::procedure, quint64(8), QStringLiteral("喷砂"), 3));
    EXPECT_EQ(g_sqlTool.AffectedRows(), 1u);
    EXPECT_EQ(g_sqlTool.InsertId(), 2u);
    EXPECT_FALSE(g_sqlTool.Select("update %s set 数量=1", tables::procedure))
        << "an update has no result set";
}

TEST_P(Session, FailingStatementInsideTransactionLeavesNothingBehind)
{
    db().exec(
        QStringLiteral("create trigger refuse_flow before insert on kvc_record_procedure for each row "
                       "signal sqlstate '45000' set message_text = 'refused by test'"));
    const Outcome r = g_sqlTool.Transact([&] {
        if (!g_sqlTool.Exec("insert into %s (客户号, 名称) value (%I64u, '%s')", tables::client, quint64(1),
                            QStringLiteral("新客户")))
            return g_sqlTool.Failure();
        if (!g_sqlTool.Exec("insert into %s (货单号, 数量) value (%I64u, %d)", tables::procedure, quint64(1),
                            5))
            return g_sqlTool.Failure();
        return Outcome::done();
    });
    EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
    EXPECT_TRUE(r.text().contains(QStringLiteral("refused by test"))) << r.text().toStdString();
    EXPECT_EQ(r.caption(), QStringLiteral("Error"));
    EXPECT_FALSE(g_sqlTool.InTransaction());
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 0);

    // A syntax error is the action's own fault on a single server: it is not run again.
    int runs = 0;
    const Outcome bad = g_sqlTool.Transact([&] {
        ++runs;
        return g_sqlTool.Exec("updat %s set 名称='甲'", tables::client) ? Outcome::done()
                                                                        : g_sqlTool.Failure();
    });
    EXPECT_EQ(bad.kind(), Outcome::Kind::Failed);
    EXPECT_EQ(runs, 1);

    // A refusal rolls back as well, and the guard rolls back what it did not commit.
    const Outcome refused = g_sqlTool.Transact([&] {
        g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("甲"));
        return Outcome::refused(QStringLiteral("不行"));
    });
    EXPECT_EQ(refused.caption(), QStringLiteral("错误"));
    {
        Transaction t(g_sqlTool);
        ASSERT_TRUE(t.begun());
        g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("乙"));
    }
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 0);
}

TEST_P(Session, KilledConnectionIsReconnectedOutsideTransactionsOnly)
{
    auto killSession = [&] {
        ASSERT_TRUE(g_sqlTool.Select("select connection_id()"));
        ASSERT_TRUE(g_sqlTool.FetchRow());
        const QString id = g_sqlTool.Value(0);
        g_sqlTool.FreeResult();
        db().exec(QStringLiteral("kill %1").arg(id));
    };

    // A plain statement after the kill: reconnected with GBK and retried.
    killSession();
    ASSERT_TRUE(
        g_sqlTool.Select("select 名称 from %s where 名称='%s'", tables::station, QStringLiteral("洗水")))
        << g_sqlTool.GetError().toStdString();
    ASSERT_TRUE(g_sqlTool.FetchRow());
    EXPECT_EQ(g_sqlTool.Value(0), QStringLiteral("洗水"));
    g_sqlTool.FreeResult();
    ASSERT_TRUE(g_sqlTool.Select("select @@character_set_connection"));
    ASSERT_TRUE(g_sqlTool.FetchRow());
    EXPECT_EQ(g_sqlTool.Value(0), QStringLiteral("gbk"));
    g_sqlTool.FreeResult();

    // A write after a pause finds the dead connection by a ping and goes through once.
    g_sqlTool.SetIdlePing(0);
    killSession();
    EXPECT_TRUE(g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("丁")))
        << g_sqlTool.GetError().toStdString();
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 1);
    // Lost in the middle of a write, the write is not sent twice: it fails, the session
    // is reconnected for the next one.
    g_sqlTool.SetIdlePing(3600 * 1000);
    killSession();
    EXPECT_FALSE(g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("戊")));
    EXPECT_TRUE(g_sqlTool.IsAlive());
    db().exec(QStringLiteral("delete from kvc_record_client"));

    // Inside a transaction: the failure is reported, nothing is retried, nothing stays.
    int runs = 0;
    const Outcome r = g_sqlTool.Transact([&] {
        ++runs;
        if (!g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("甲")))
            return g_sqlTool.Failure();
        killSession();
        if (!g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("乙")))
            return g_sqlTool.Failure();
        return Outcome::done();
    });
    EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(g_sqlTool.InTransaction());
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 0);
    // And the session works again for the next action.
    EXPECT_TRUE(g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("丙")))
        << g_sqlTool.GetError().toStdString();
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 1);
}

TEST_P(Session, DeadlockedTransactionIsRerunAndSucceeds)
{
    db().exec(
        QStringLiteral("create table lock_a (id int primary key, v int) engine=InnoDB;"
                       "insert into lock_a values (1, 0), (2, 0);"
                       "create table filler (id int primary key, v int) engine=InnoDB;"
                       "insert into filler select seq, 0 from seq_1_to_200"));
    // The sessions sign in with the client's rights, which know nothing of these tables.
    db().exec(QStringLiteral("grant update on lock_a to %1; grant update on filler to %1").arg(db().role()));

    std::atomic<int> stage{0};
    QString otherError;
    // The other desk holds row 2 with a heavier transaction, so that the server picks
    // this session as the deadlock victim.
    QThread* other = QThread::create([&] {
        mySQLTool peer;
        if (!db().connect(peer)) {
            otherError = peer.GetError();
            stage = 99;
            return;
        }
        peer.Begin();
        peer.Exec("update filler set v=v+1");
        peer.Exec("update lock_a set v=v+10 where id=2");
        stage = 1;
        while (stage < 2)
            QThread::msleep(5);
        QThread::msleep(300);  // this session is now waiting for row 2
        if (!peer.Exec("update lock_a set v=v+10 where id=1"))
            otherError = peer.GetError();
        peer.Commit();
    });
    other->start();
    while (stage < 1)
        QThread::msleep(5);
    ASSERT_NE(stage.load(), 99) << otherError.toStdString();

    int runs = 0;
    const Outcome r = g_sqlTool.Transact([&] {
        ++runs;
        if (!g_sqlTool.Exec("update lock_a set v=v+1 where id=1"))
            return g_sqlTool.Failure();
        if (runs == 1)
            stage = 2;
        if (!g_sqlTool.Exec("update lock_a set v=v+1 where id=2"))
            return g_sqlTool.Failure();
        return Outcome::done();
    });
    other->wait();
    delete other;
    EXPECT_TRUE(r.ok()) << r.text().toStdString();
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(otherError.isEmpty()) << otherError.toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("select group_concat(v order by id) from lock_a")),
              QStringLiteral("11,11"));
}

// The server may send a statement's error after its first rows (a subquery of more than one
// row, a deadlock met while reading): whichever call sent it, the statement failed.
TEST_P(Session, AnErrorThatArrivesWithTheRowsFailsTheStatementWhateverCallSentIt)
{
    const Statement failing = g_sqlTool.Format("select (select 1 union select 2)");
    const std::pair<const char*, std::function<bool()>> calls[] = {
        {"Query without result", [&] { return g_sqlTool.Query(failing, false); }},
        {"Query keeping the result", [&] { return g_sqlTool.Query(failing, true); }},
        {"Read", [&] { return g_sqlTool.Read(failing).ok(); }},
        {"Exec", [&] { return g_sqlTool.Exec("select (select 1 union select 2)"); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_FALSE(call()) << name;
        EXPECT_EQ(g_sqlTool.LastErrno(), 1242u) << name;
        EXPECT_FALSE(g_sqlTool.GetError().isEmpty()) << name;
    }
    // An action told of it goes no further and leaves nothing behind; the session goes on.
    const Outcome r = g_sqlTool.Transact([&] {
        if (!g_sqlTool.Exec("insert into %s (名称) value ('%s')", tables::client, QStringLiteral("甲")) ||
            !g_sqlTool.Query(failing, false))
            return g_sqlTool.Failure();
        return Outcome::done();
    });
    EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 0);
    EXPECT_EQ(g_sqlTool.Read(g_sqlTool.Format("select 1")).first().toInt(0), 1);
}

INSTANTIATE_TEST_SUITE_P(Connections, Session, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Tls" : "Plain"; });
