#include "dialogs/shipping/ShipperQueries.h"

#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace shipperq {

namespace {
const char* const P = tables::product;
const char* const C = tables::client;
const char* const F = tables::procedure;
const char* const S = tables::ship;
const char* const T = tables::productTotal;
}  // namespace

Statement unshippedOrders(mySQLTool& db, quint64 offset, quint64 count)
{
    return db.Format(
        "select distinct %s.货单号, %s.款号, %s.名称, %s.货物等级, %s.货物数量, %s.损耗数量, %s.原版数量, "
        "%s.洗版数量, %s.接货时间, %s.货物性质, %s.货物分类, %s.货物款式, %s.货物性别, %s.洗涤方法 "
        "from %s, %s, %s where %s.客户号=%s.客户号 and %s.货单号=%s.货单号 and %s.结讫=0 "
        "and %s.工作站='发送' order by %s.货单号 desc limit %I64u, %I64u",
        F, P, C, P, P, P, P, P, P, P, P, P, P, P, P, C, F, P, C, P, F, F, F, F, offset, count);
}

Statement countUnshippedOrders(mySQLTool& db)
{
    // The listed columns all follow from the order number, so this counts the rows above.
    return db.Format(
        "select count(distinct %s.货单号) from %s, %s, %s where %s.客户号=%s.客户号 "
        "and %s.货单号=%s.货单号 and %s.结讫=0 and %s.工作站='发送'",
        F, P, C, F, P, C, P, F, F, F);
}

Statement shippedOrders(mySQLTool& db, quint64 offset, quint64 count)
{
    // A left join: an order whose customer was removed is still listed (and counted).
    return db.Format(
        "select %s.货单号, %s.款号, %s.名称, %s.货物等级, %s.货物数量, %s.损耗数量, %s.原版数量, "
        "%s.洗版数量, %s.接货时间, %s.货物性质, %s.货物分类, %s.货物款式, %s.货物性别, %s.洗涤方法 "
        "from %s left join %s on %s.客户号=%s.客户号 where %s.激活=1 and %s.结讫=1 "
        "order by %s.货单号 desc limit %I64u, %I64u",
        P, P, C, P, P, P, P, P, P, P, P, P, P, P, P, C, P, C, P, P, P, offset, count);
}

Statement countShippedOrders(mySQLTool& db)
{
    // The list joins each order to at most one customer (a left join on its key), so the
    // orders alone give its exact count: the shipped state's totals kept by the writes, a few
    // hundred rows where counting the orders reads half a million.
    return db.Format("select coalesce(sum(%s.行数), 0) from %s where %s.激活=1 and %s.结讫=1", T, T, T, T);
}

Statement pendingFlows(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select %s.流水号, %s.数量, %s.上一站, %s.工作站, %s.生成时间, %s.历史 from %s "
        "where %s.货单号=%I64u and %s.工作站<>'发送' and %s.结讫=0 order by %s.流水号",
        F, F, F, F, F, F, F, F, order, F, F, F);
}

Statement waitingFlows(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select %s.流水号, %s.数量, %s.上一站, %s.工作站, %s.生成时间, %s.历史 from %s "
        "where %s.货单号=%I64u and %s.上一站<>'发送' and %s.工作站='发送' and %s.结讫=0 "
        "order by %s.流水号",
        F, F, F, F, F, F, F, F, order, F, F, F, F);
}

Statement confirmedFlows(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select %s.流水号, %s.数量, %s.上一站, %s.工作站, %s.生成时间, %s.历史 from %s "
        "where %s.货单号=%I64u and %s.上一站='发送' and %s.工作站='发送' and %s.结讫=0 "
        "order by %s.流水号",
        F, F, F, F, F, F, F, F, order, F, F, F, F);
}

Statement shipments(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select %s.序列号, %s.原版数量, %s.洗版数量, %s.损耗数量, %s.货物数量, %s.发送时间, %s.发货人 "
        "from %s where %s.货单号=%I64u",
        S, S, S, S, S, S, S, S, S, order);
}

Statement orderQuantities(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select %s.原版数量, %s.洗版数量, %s.损耗数量, %s.货物数量 from %s where %s.货单号=%I64u", P, P, P, P,
        P, P, order);
}

Statement orderPrice(mySQLTool& db, quint64 order)
{
    return db.Format("select %s.货物单价, %s.货物性质 from %s where %s.货单号=%I64u", P, P, P, P, order);
}

Statement docket(mySQLTool& db, quint64 serial)
{
    return db.Format(
        "select %s.名称, %s.货单号, %s.款号, %s.品名, %s.洗涤方法, %s.原版数量, %s.洗版数量, %s.损耗数量, "
        "%s.货物数量, %s.货物单价, %s.开票人, %s.发货人, %s.备注 from %s, %s where %s.客户号=%s.客户号 and "
        "%s.序列号=%I64u",
        C, S, S, S, S, S, S, S, S, S, S, S, S, S, C, S, C, S, serial);
}

Statement shippers(mySQLTool& db)
{
    return db.Format("select %s.姓名 from %s where %s.身份='运输'", tables::member, tables::member,
                     tables::member);
}

Statement issuers(mySQLTool& db)
{
    return db.Format("select %s.姓名 from %s where %s.身份='调度'", tables::member, tables::member,
                     tables::member);
}

}  // namespace shipperq
