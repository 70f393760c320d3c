#include "flow/FlowQueries.h"

#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace flowq {

namespace {
const char* const P = tables::product;
const char* const F = tables::procedure;
const char* const S = tables::ship;
}  // namespace

Statement flowOrder(mySQLTool& db, quint64 flow)
{
    return db.Format("select %s.货单号 from %s where %s.流水号=%I64u", F, F, F, flow);
}

Statement lockFlow(mySQLTool& db, quint64 flow)
{
    return db.Format(
        "select %s.货单号, %s.客户号, %s.货物等级, %s.数量, %s.历史, %s.上一站, %s.工作站, %s.结讫 from %s "
        "where %s.流水号=%I64u for update",
        F, F, F, F, F, F, F, F, F, F, flow);
}

Statement lockOrderState(mySQLTool& db, quint64 order)
{
    return db.Format("select %s.激活, %s.结讫, %s.货物数量 from %s where %s.货单号=%I64u for update", P, P, P,
                     P, P, order);
}

Statement orderPriority(mySQLTool& db, quint64 order)
{
    return db.Format("select %s.货物等级 from %s where %s.货单号=%I64u lock in share mode", P, P, P, order);
}

Statement processRate(mySQLTool& db, const QString& process)
{
    const char* const T = tables::process;
    return db.Format("select %s.工价 from %s where %s.名称='%s'", T, T, T, process);
}

Statement lockOrderForShipment(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select %s.客户号, %s.款号, %s.货物性别, %s.货物分类, %s.货物款式, %s.洗涤方法, %s.货物单价, "
        "%s.货物性质, %s.原版数量, %s.洗版数量, %s.损耗数量, %s.货物数量, %s.结讫 from %s where "
        "%s.货单号=%I64u for update",
        P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, order);
}

Statement shippedSums(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select sum(%s.原版数量), sum(%s.洗版数量), sum(%s.损耗数量), sum(%s.货物数量) from %s "
        "where %s.货单号=%I64u lock in share mode",
        S, S, S, S, S, S, order);
}

Statement confirmedPieces(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select sum(%s.数量) from %s where %s.货单号=%I64u and %s.上一站='发送' and %s.工作站='发送' "
        "and %s.结讫=0 lock in share mode",
        F, F, F, order, F, F, F);
}

Statement flowsInWorkshop(mySQLTool& db, quint64 order)
{
    return db.Format("select * from %s where 货单号=%I64u and 工作站<>'发送' and 结讫=0 lock in share mode",
                     F, order);
}

Statement closeConfirmedFlows(mySQLTool& db, quint64 order)
{
    return db.Format("update %s set 结讫=1 where 货单号=%I64u and 上一站='发送' and 工作站='发送' and 结讫=0",
                     F, order);
}

Statement repairConfirmedFlows(mySQLTool& db)
{
    return db.Format(
        "update %s, %s set %s.结讫=1 where %s.上一站='发送' and %s.工作站='发送' and %s.结讫=0 and "
        "%s.货单号=%s.货单号 and %s.结讫=1",
        F, P, F, F, F, F, F, P, P);
}

}  // namespace flowq
