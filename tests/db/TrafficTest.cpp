#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "support/DbTest.h"

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
