#include "db/mySQLTool.h"
#include "support/DbTest.h"

namespace {

class Schema : public kvtest::DbTest {};

}  // namespace

// The client's account may do what the client does and nothing beyond it.
TEST_F(Schema, TheClientAccountHasTheClientsRightsOnly)
{
    mySQLTool client;
    ASSERT_TRUE(db().connect(client)) << client.GetError().toStdString();
    for (const char* refused : {"drop table kvc_record_ship", "delete from kvc_record_procedure",
                                "update kvc_record_salary set 金额=1", "create table kv_more (id int)",
                                "select * from mysql.user", "alter table kvc_record_product add x int"}) {
        EXPECT_FALSE(client.Query(client.Format(refused), false)) << refused;
        // ... because of the rights, not a mistake in the statement.
        EXPECT_EQ(client.LastErrno() / 10, 114u) << refused << ": " << client.GetError().toStdString();
    }
    for (const char* allowed : {"alter table kvc_record_quality add 处理2 int"})
        EXPECT_TRUE(client.Query(client.Format(allowed), false))
            << allowed << ": " << client.GetError().toStdString();
}
