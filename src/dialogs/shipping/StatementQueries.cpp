#include "dialogs/shipping/StatementQueries.h"

#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace statementq {

namespace {
const char* const S = tables::ship;
const char* const C = tables::client;
}  // namespace

Statement customers(mySQLTool& db, const QString& start, const QString& end)
{
    return db.Format(
        "select %s.客户号, %s.名称, sum(case when %s.洗涤方法<>'返工' then "
        "%s.货物数量*%s.货物单价 else 0 end) from %s, %s "
        "where %s.发送时间>'%s' and %s.发送时间<'%s' and %s.客户号=%s.客户号 "
        "group by %s.客户号, %s.名称 order by %s.客户号",
        C, C, S, S, S, C, S, S, start, S, end, S, C, C, C, C);
}

Statement pairs(mySQLTool& db, quint64 client, const QString& start, const QString& end)
{
    // Grouped as the server compares texts, so that a pair holds the shipments that
    // 洗涤方法='...' finds.
    return db.Format(
        "select %s.洗涤方法, coalesce(%s.货物单价, 0), sum(%s.货物数量), min(%s.序列号), "
        "min(concat(%s.发送时间, lpad(%s.序列号, 20, '0'))), max(%s.洗涤方法='返工') from %s "
        "where %s.客户号=%I64u and %s.发送时间>'%s' and %s.发送时间<'%s' "
        "group by %s.洗涤方法, coalesce(%s.货物单价, 0)",
        S, S, S, S, S, S, S, S, S, client, S, start, S, end, S, S);
}

Statement shipments(mySQLTool& db, quint64 client, const QString& start, const QString& end)
{
    // Partitioned as `pairs` groups, over rows that differ only by whole pairs of 返工.
    return db.Format(
        "select %s.序列号, %s.发送时间, %s.货单号, %s.品名, %s.货物数量, %s.备注, "
        "min(%s.序列号) over (partition by %s.洗涤方法, coalesce(%s.货物单价, 0)) from %s "
        "where %s.客户号=%I64u and %s.发送时间>'%s' and %s.发送时间<'%s' and %s.洗涤方法<>'返工' "
        "order by %s.发送时间, %s.序列号",
        S, S, S, S, S, S, S, S, S, S, S, client, S, start, S, end, S, S, S);
}

}  // namespace statementq
