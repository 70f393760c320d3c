#include "dialogs/quality/QualityQueries.h"

#include "db/Conditions.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace qualityq {

namespace {
const char* const Q = tables::quality;
const char* const C = tables::client;
const char* const M = tables::member;
}  // namespace

Statement handledColumn(mySQLTool& db)
{
    return db.Format(
        "select count(*) from information_schema.columns where table_schema=database() and "
        "table_name='%s' and column_name='处理'",
        Q);
}

Statement conditions(mySQLTool& db, const Filter& filter)
{
    Conditions where(db);
    where.addIf(filter.dates.after, "%s.日期>'%s'", Q).addIf(filter.dates.before, "%s.日期<'%s'", Q);
    if (!filter.showHandled)
        where.add("%s.处理=0", Q);
    return where.after(" where ");
}

Statement allRecords(mySQLTool& db, const Filter& filter)
{
    return db.Format(
        "select %s.序列号, %s.名称, %s.日期, %s.数量, %s.原因, %s.责任人, %s.记录人, %s.备注, %s.处理 "
        "from %s join %s on %s.客户号=%s.客户号%s order by %s.序列号",
        Q, C, Q, Q, Q, Q, Q, Q, Q, Q, C, Q, C, conditions(db, filter), Q);
}

Statement records(mySQLTool& db, const Filter& filter, int count)
{
    return db.Format("%s limit %d", allRecords(db, filter), count);
}

Statement countRecords(mySQLTool& db, const Filter& filter)
{
    // Joined as the list is, so that the count is of what it lists.
    return db.Format("select count(*) from %s join %s on %s.客户号=%s.客户号%s", Q, C, Q, C,
                     conditions(db, filter));
}

Statement clients(mySQLTool& db)
{
    return db.Format("select %s.客户号, %s.名称, %s.说明 from %s where 激活=%d", C, C, C, C, 1);
}

Statement recorders(mySQLTool& db)
{
    return db.Format("select %s.姓名 from %s where %s.身份='调度' and %s.激活=1", M, M, M, M);
}

Statement responsibles(mySQLTool& db)
{
    return db.Format("select %s.姓名 from %s where %s.激活=1", M, M, M);
}

Statement allRecorders(mySQLTool& db)
{
    return db.Format("select %s.姓名 from %s where %s.身份='调度'", M, M, M);
}

}  // namespace qualityq
