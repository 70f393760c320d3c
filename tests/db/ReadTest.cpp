// Reads that return values, and WHERE texts built from fragments.
#include "db/Conditions.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "support/DbTest.h"

using kvtest::DbTest;

namespace {
class Read : public DbTest {};
}  // namespace

TEST_F(Read, RowsKeepNullsApartFromEmptyTextAndNothingStaysOpen)
{
    db().exec(
        QStringLiteral("insert into kvc_record_client (名称, 说明, 激活) values ('甲', 'x', 1), "
                       "('乙', '', 0), ('丙', 'x', 1)"));
    // The first row's 说明 reads as NULL.
    const Rows all = g_sqlTool.Read(g_sqlTool.Format(
        "select 名称, if(名称='甲', NULL, 说明) as 说明, 激活 from %s order by 客户号", tables::client));
    ASSERT_TRUE(all.ok()) << all.error().toStdString();
    EXPECT_EQ(all.fields(), (QStringList{"名称", "说明", "激活"}));
    EXPECT_EQ(all.field(QStringLiteral("激活")), 2);
    ASSERT_EQ(all.size(), 3);
    EXPECT_TRUE(all.at(0).isNull(1));
    EXPECT_FALSE(all.at(1).isNull(1));
    EXPECT_EQ(all.at(1).text(1), QString());
    EXPECT_EQ(all.at(2).toInt(2), 1);
    EXPECT_TRUE(all.at(0).isNull(7));  // beyond the columns

    // A cap keeps the first rows and still says how many there were.
    const Rows two =
        g_sqlTool.Read(g_sqlTool.Format("select 名称 from %s order by 客户号", tables::client), 2);
    EXPECT_EQ(two.size(), 2);
    EXPECT_EQ(two.total(), 3u);

    // Nothing of it is left on the session: the next statement runs as if alone.
    EXPECT_EQ(g_sqlTool.NumFields(), 0);
    const Rows none =
        g_sqlTool.Read(g_sqlTool.Format("select 名称 from %s where 激活=%d", tables::client, 7));
    EXPECT_TRUE(none.ok());
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(none.first().isNull(0));

    const Rows failed = g_sqlTool.Read(g_sqlTool.Format("select 名称 from %s", "kvc_record_nothing"));
    EXPECT_FALSE(failed.ok());
    EXPECT_FALSE(failed.error().isEmpty());
    EXPECT_EQ(failed.failed().kind(), Outcome::Kind::Failed);
}

TEST_F(Read, ConditionsJoinInTheirOrderAndEscapeEachFragment)
{
    struct Case {
        QList<QString> names;  // each becomes the fragment 名称='name'
        const char* lead;
        const char* expected;
    };
    const Case cases[] = {
        {{}, " and ", ""},
        {{"甲"}, " and ", " and 名称='甲'"},
        {{"甲", "O'Brien"}, " where ", " where 名称='甲' and 名称='O\\'Brien'"},
    };
    for (const Case& c : cases) {
        Conditions where(g_sqlTool);
        for (const QString& n : c.names)
            where.add("名称='%s'", n);
        EXPECT_EQ(where.count(), c.names.size());
        EXPECT_EQ(where.after(c.lead).text(), QString::fromUtf8(c.expected));
    }

    // The joined text goes into a statement and selects what it says, quotes and all.
    db().exec(QStringLiteral("insert into kvc_record_client (名称, 激活) values ('O''Brien', 1), ('甲', 1)"));
    Conditions where(g_sqlTool);
    where.add("%s.名称='%s'", tables::client, QStringLiteral("O'Brien")).add("%s.激活=%d", tables::client, 1);
    const Rows found =
        g_sqlTool.Read(g_sqlTool.Format("select 名称 from %s where %s", tables::client, where.text()));
    ASSERT_TRUE(found.ok()) << found.error().toStdString();
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.first().text(0), QStringLiteral("O'Brien"));

    // A fragment that cannot be made spoils the statement rather than vanishing from it.
    where.add("名称='%s'", QStringLiteral("😀"));
    EXPECT_FALSE(g_sqlTool.Format("select 名称 from %s where %s", tables::client, where.text()).ok());
    // A fragment is never a quoted value.
    EXPECT_FALSE(g_sqlTool
                     .Format("select 名称 from %s where 名称='%s'", tables::client,
                             Conditions(g_sqlTool).add("1=1").text())
                     .ok());
}
