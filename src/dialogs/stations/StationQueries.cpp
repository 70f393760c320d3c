#include "dialogs/stations/StationQueries.h"

#include "db/Conditions.h"
#include "db/FillList.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace stationq {

namespace {
const char* const P = tables::procedure;
const char* const C = tables::client;
const char* const O = tables::product;
}  // namespace

Statement stations(mySQLTool& db)
{
    const char* const S = tables::station;
    return db.Format("select %s.名称 from %s where %s.名称<>'发送' and %s.名称<>'接收'", S, S, S, S);
}

Statement queue(mySQLTool& db, const QString& station, QueueClass c)
{
    Conditions where(db);
    where.add("%s.客户号=%s.客户号", P, C);
    switch (c) {
        case QueueClass::SentBack:
            where.add("%s.上一站='%s'", P, station);
            break;
        case QueueClass::Derived:
            where.add("%s.派生=1", P);
            break;
        case QueueClass::Urgent:
            where.add("%s.货物等级='紧急'", P);
            break;
        case QueueClass::Hurried:
            where.add("%s.货物等级='加急'", P);
            break;
        case QueueClass::Normal:
            where.add("%s.货物等级='一般'", P);
            break;
    }
    where.add("%s.工作站='%s'", P, station);
    where.add("%s.结讫=0", P);
    if (c == QueueClass::SentBack)
        return db.Format(
            "select %s.流水号, %s.货单号, %s.名称, %s.货物等级, %s.上一站, %s.数量, %s.生成时间 from %s, %s "
            "where %s order by %s.流水号 desc limit %d",
            P, P, C, P, P, P, P, P, C, where.text(), P, kListCap);
    return db.Format(
        "select %s.流水号, %s.货单号, %s.名称, %s.货物等级, %s.上一站, %s.数量, %s.生成时间 from %s, %s "
        "where %s order by %s.流水号 limit %d",
        P, P, C, P, P, P, P, P, C, where.text(), P, kListCap);
}

Statement queueFlow(mySQLTool& db, quint64 flow)
{
    return db.Format(
        "select %s.流水号, %s.货单号, %s.名称, %s.货物等级, %s.上一站, %s.数量, %s.生成时间 from %s, %s "
        "where %s.客户号=%s.客户号 and %s.流水号=%I64u",
        P, P, C, P, P, P, P, P, C, P, C, P, flow);
}

Statement flowState(mySQLTool& db, quint64 flow)
{
    return db.Format("select %s.结讫 from %s where %s.流水号=%I64u", P, P, P, flow);
}

Statement done(mySQLTool& db, const QString& station)
{
    // The newest finished flows only: the station's history grows for years.
    return db.Format(
        "select %s.流水号, %s.货单号, %s.名称, %s.数量, %s.工序, %s.派生, %s.结讫时间 from %s, %s "
        "where %s.客户号=%s.客户号 and %s.结讫=1 and %s.工作站='%s' order by %s.流水号 desc limit %d",
        P, P, C, P, P, P, P, P, C, P, C, P, P, station, P, kListCap);
}

Statement flowDetails(mySQLTool& db, quint64 flow)
{
    return db.Format("select %s.上一站, %s.数量, %s.历史, %s.货单号 from %s where 流水号=%I64u", P, P, P, P,
                     P, flow);
}

Statement orderOfFlow(mySQLTool& db, quint64 flow)
{
    return db.Format("select %s.货单号 from %s where %s.流水号=%I64u", P, P, P, flow);
}

Statement orderDetails(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select %s.名称, %s.洗涤方法, %s.货物性质, %s.货物分类, %s.货物款式, %s.货物性别, %s.货物等级, "
        "%s.损耗单价 from %s, %s where %s.客户号=%s.客户号 and %s.货单号=%I64u",
        C, O, O, O, O, O, O, O, O, C, O, C, O, order);
}

Statement processes(mySQLTool& db, const QString& station)
{
    const char* const S = tables::process;
    return db.Format("select %s.名称 from %s where %s.工作站='%s'", S, S, S, station);
}

Statement teamMembers(mySQLTool& db, const QString& team)
{
    const char* const M = tables::member;
    return db.Format("select %s.工号, %s.姓名 from %s where %s.班组='%s' and %s.激活=1", M, M, M, M, team, M);
}

}  // namespace stationq
