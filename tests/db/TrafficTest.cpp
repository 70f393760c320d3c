#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "proxy/Proxy.h"
#include "support/DbTest.h"

#include <QElapsedTimer>

using kvtest::DbTest;

namespace {

class Traffic : public DbTest {};

}  // namespace

// Every kind of round trip counts once: a read, a write, a failed statement, a transaction's
// begin and end; the waiting time grows with a statement the server takes time over.
TEST_F(Traffic, EveryStatementSentIsCountedWithItsWaitingTime)
{
    const mySQLTool::Traffic before = g_sqlTool.traffic();

    ASSERT_TRUE(g_sqlTool.Read(g_sqlTool.Format("select 1")).ok());
    ASSERT_TRUE(g_sqlTool.Exec("insert into %s (名称, 激活) value ('%s', %d)", tables::client,
                               QStringLiteral("计数"), 1));
    EXPECT_FALSE(g_sqlTool.Exec("select * from no_such_table"));
    {
        Transaction t(g_sqlTool);
        ASSERT_TRUE(t.begun());
        ASSERT_TRUE(g_sqlTool.Exec("update %s set 说明='x'", tables::client));
    }  // rolled back
    const mySQLTool::Traffic afterSix = g_sqlTool.traffic();
    EXPECT_EQ(afterSix.statements - before.statements, 6u);  // read, insert, failure, begin, update, rollback
    EXPECT_EQ(afterSix.roundTrips - before.roundTrips, 5u);  // the begin travels with the update
    EXPECT_GT(afterSix.waitNs, before.waitNs);

    // A statement that keeps the server busy for 50 ms adds at least that much.
    ASSERT_TRUE(g_sqlTool.Read(g_sqlTool.Format("select sleep(0.05)")).ok());
    const mySQLTool::Traffic afterSleep = g_sqlTool.traffic();
    EXPECT_EQ(afterSleep.statements - afterSix.statements, 1u);
    EXPECT_GE(afterSleep.waitNs - afterSix.waitNs, 50'000'000);

    // A statement that is refused before sending (a formatting error) costs nothing.
    EXPECT_FALSE(g_sqlTool.Exec("select %d"));  // no value for the placeholder
    EXPECT_EQ(g_sqlTool.traffic().statements, afterSleep.statements);
}

// Over a link that holds every answer back, each exchange with the server costs the delay
// once, however many pieces its answer comes in, and counts as one round trip: the log-in's
// exchanges, every statement and a ping.
TEST_F(Traffic, ALinkDelayIsPaidOncePerRoundTrip)
{
    constexpr int kDelayMs = 50;
    kvnet::Proxy proxy(kvtest::server().port);
    proxy.delay(kDelayMs);
    mySQLTool s;
    ASSERT_TRUE(db().connect(s, proxy.port())) << s.GetError().toStdString();
    const mySQLTool::Traffic connected = s.traffic();
    EXPECT_EQ(connected.roundTrips, connected.statements + 2);  // the greeting and the log-in
    EXPECT_GE(connected.waitNs, qint64(connected.roundTrips) * kDelayMs * 1'000'000);

    // 2 MB come in dozens of pieces; held back each, they would take over a second.
    QElapsedTimer clock;
    clock.start();
    const Rows big = s.Read(s.Format("select repeat('x', 2000000)"));
    const qint64 elapsed = clock.elapsed();
    ASSERT_TRUE(big.ok()) << big.error().toStdString();
    EXPECT_EQ(big.first().text(0).size(), 2000000);
    EXPECT_GE(elapsed, kDelayMs);
    EXPECT_LT(elapsed, 20 * kDelayMs);
    EXPECT_EQ(s.traffic().roundTrips - connected.roundTrips, 1u);

    EXPECT_TRUE(s.IsAlive());
    EXPECT_EQ(s.traffic().roundTrips - connected.roundTrips, 2u);
    EXPECT_EQ(s.traffic().statements - connected.statements, 1u);
    EXPECT_GE(s.traffic().waitNs - connected.waitNs, 2LL * kDelayMs * 1'000'000);
}
