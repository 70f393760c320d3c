#include "dialogs/tickets/TicketQueries.h"

#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace ticketq {

namespace {
const char* const F = tables::procedure;
const char* const P = tables::product;
const char* const C = tables::client;
}  // namespace

Statement flowTicket(mySQLTool& db, quint64 flow)
{
    return db.Format(
        "select %s.流水号, %s.货单号, %s.款号, %s.名称, %s.货物性质, %s.货物分类, %s.货物款式, %s.货物性别, "
        "%s.洗涤方法, %s.货物等级, %s.数量, %s.工作站, %s.生成时间 from %s join %s on %s.货单号=%s.货单号 "
        "left join %s on %s.客户号=%s.客户号 where %s.流水号=%I64u",
        F, F, P, C, P, P, P, P, P, F, F, F, F, F, P, P, F, C, C, P, F, flow);
}

Statement orderTicket(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select 0, %s.货单号, %s.款号, %s.名称, %s.货物性质, %s.货物分类, %s.货物款式, %s.货物性别, "
        "%s.洗涤方法, %s.货物等级, %s.货物数量, '接收', %s.接货时间 from %s left join %s on "
        "%s.客户号=%s.客户号 "
        "where %s.货单号=%I64u",
        P, P, C, P, P, P, P, P, P, P, P, P, C, C, P, P, order);
}

Statement flowPlace(mySQLTool& db, quint64 flow)
{
    return db.Format(
        "select %s.货单号, %s.工作站, %s.上一站, %s.结讫, %s.工序, %s.数量, %s.激活, %s.结讫 from %s left "
        "join %s "
        "on %s.货单号=%s.货单号 where %s.流水号=%I64u",
        F, F, F, F, F, F, P, P, F, P, P, F, F, flow);
}

Statement successors(mySQLTool& db, quint64 order, quint64 flow)
{
    return db.Format(
        "select %s.流水号, %s.工作站, %s.上一站, %s.结讫, %s.数量 from %s where %s.货单号=%I64u and "
        "%s.上一号=%I64u order by %s.流水号",
        F, F, F, F, F, F, F, order, F, flow, F);
}

Statement orderState(mySQLTool& db, quint64 order)
{
    return db.Format("select %s.激活, %s.结讫 from %s where %s.货单号=%I64u", P, P, P, P, order);
}

}  // namespace ticketq
