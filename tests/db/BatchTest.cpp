#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "proxy/Proxy.h"
#include "support/DbTest.h"

using kvnet::Proxy;
using kvtest::DbTest;

namespace {

class Batches : public DbTest {
protected:
    Statement insertClient(const QString& name)
    {
        return g_sqlTool.Format("insert into %s (名称, 激活) value ('%s', %d)", tables::client, name, 1);
    }
    QStringList clients()
    {
        QStringList names;
        for (const QStringList& r :
             db().rows(QStringLiteral("select 名称 from kvc_record_client order by 客户号")))
            names.append(r.value(0));
        return names;
    }
};

}  // namespace

// The server stops at the statement that fails: the batch names it, has the answers of those
// before it and runs none after it. Inside a transaction nothing of the action stays.
TEST_F(Batches, AFailingStatementIsNamedAndNothingAfterItRuns)
{
    const Statement bad = g_sqlTool.Format("select * from no_such_table");
    struct Case {
        int failing;
        bool inTransaction;
        QStringList left;
    };
    const QList<Case> cases = {
        {1, false, {"甲1"}},
        {2, false, {"甲2", "乙2"}},
        {2, true, {}},
    };
    for (const Case& c : cases) {
        db().exec(QStringLiteral("delete from kvc_record_client"));
        const QString n = QString::number(c.failing);
        QList<Statement> batch = {insertClient(QStringLiteral("甲") + n),
                                  insertClient(QStringLiteral("乙") + n),
                                  insertClient(QStringLiteral("丙") + n)};
        batch[c.failing] = bad;
        Batch told;
        const Outcome outcome = c.inTransaction ? g_sqlTool.Transact([&] {
            told = g_sqlTool.ExecAll(batch);
            return told ? Outcome::done() : told.failed();
        })
                                                : Outcome::done();
        if (!c.inTransaction)
            told = g_sqlTool.ExecAll(batch);
        EXPECT_EQ(told.failedAt(), c.failing);
        EXPECT_EQ(told.answeredCount(), c.failing);
        EXPECT_EQ(told.affected(0), c.failing > 0 ? 1u : 0u);
        EXPECT_FALSE(told.rows(c.failing).ok());
        EXPECT_EQ(outcome.ok(), !c.inTransaction);
        EXPECT_EQ(clients(), c.left) << c.failing << c.inTransaction;
    }
}

// Reads sent together come back as their own rows, in one round trip; after the connection
// was cut they are sent again on a new one.
TEST_F(Batches, ReadsTravelTogetherAndAreResentAfterALostConnection)
{
    Proxy proxy(kvtest::server().port);
    mySQLTool desk;
    desk.SetTimeouts(2, 2, 2);
    ASSERT_TRUE(db().connect(desk, proxy.port()));
    const QList<Statement> reads = {desk.Format("select 1, 'a'"), desk.Format("select 2 union select 3")};

    const mySQLTool::Traffic before = desk.traffic();
    Batch read = desk.ReadAll(reads);
    ASSERT_TRUE(read.ok()) << read.error().toStdString();
    EXPECT_EQ(desk.traffic().roundTrips - before.roundTrips, 1u);
    EXPECT_EQ(desk.traffic().statements - before.statements, 2u);
    EXPECT_EQ(read.rows(0).first().cells(), (QStringList{"1", "a"}));
    EXPECT_EQ(read.rows(1).size(), 2);

    // A read that fails costs only its own answer, as when each read is sent alone.
    read = desk.ReadAll({reads[0], desk.Format("select * from no_such_table"), reads[1]});
    EXPECT_EQ(read.failedAt(), 1);
    EXPECT_FALSE(read.rows(1).ok());
    EXPECT_EQ(read.rows(2).size(), 2);

    const quint64 session = desk.ThreadId();
    proxy.cut();
    read = desk.ReadAll(reads);
    ASSERT_TRUE(read.ok()) << read.error().toStdString();
    EXPECT_NE(desk.ThreadId(), session);
    EXPECT_EQ(read.rows(1).at(1).text(0), "3");
}
