#include "dialogs/board/BoardQueries.h"

#include "db/mySQLTool.h"

namespace boardq {

Statement stations(mySQLTool& db)
{
    return db.Format(
        "select kvc_attrib_station.名称 from kvc_attrib_station where kvc_attrib_station.名称<>'接收'");
}

Statement waiting(mySQLTool& db, const QString& now, const QString& recent, const QString& day)
{
    // Ages are counted on this PC's clock, as every time the client writes; a flow made by
    // a PC whose clock runs ahead has waited nothing yet.
    return db.Format(
        "select kvc_record_procedure.工作站, count(*), sum(kvc_record_procedure.数量), "
        "min(kvc_record_procedure.生成时间), sum(kvc_record_procedure.数量*greatest(0, timestampdiff(second, "
        "kvc_record_procedure.生成时间, '%s'))), "
        "sum(if(kvc_record_procedure.生成时间>'%s', kvc_record_procedure.数量, 0)), "
        "sum(if(kvc_record_procedure.生成时间<='%s' and kvc_record_procedure.生成时间>'%s', "
        "kvc_record_procedure.数量, 0)), "
        "sum(if(kvc_record_procedure.生成时间<='%s', kvc_record_procedure.数量, 0)) "
        "from kvc_record_procedure where kvc_record_procedure.工作站 in (select kvc_attrib_station.名称 from "
        "kvc_attrib_station where kvc_attrib_station.名称<>'接收') and kvc_record_procedure.结讫=0 and "
        "(kvc_record_procedure.工作站<>'发送' or kvc_record_procedure.上一站<>'发送') "
        "group by kvc_record_procedure.工作站",
        now, recent, recent, day, day);
}

Statement finished(mySQLTool& db, const QString& day)
{
    // s: the successor, which carries the pieces passed on, found among the flows of the order
    // it shares (there is no key on 上一号: docs/plans.md).
    return db.Format(
        "select kvc_record_procedure.工作站, sum(s.数量) from kvc_record_procedure "
        "join kvc_record_procedure s on s.货单号=kvc_record_procedure.货单号 and "
        "s.上一号=kvc_record_procedure.流水号 and s.派生=0 "
        "where kvc_record_procedure.结讫时间 like '%s%%' and kvc_record_procedure.工序<>'转发' and "
        "kvc_record_procedure.工作站 in (select kvc_attrib_station.名称 from kvc_attrib_station where "
        "kvc_attrib_station.名称<>'接收') group by kvc_record_procedure.工作站",
        day);
}

Statement teams(mySQLTool& db, const QString& since)
{
    // g: per hand-over (its rows share the flow, the order and the moment) and team, the
    // workers, their pieces and their counted pieces; x: with the hand-over's totals beside
    // them; s: the hand-over's successor among the flows of its order.
    return db.Format(
        "select x.班组, x.日期, sum(if(x.计件>0, x.件, cast(s.数量 as double)*x.人/x.人数)) from "
        "(select g.流水号, g.货单号, g.班组, g.日期, g.人, g.件, sum(g.人) over (partition by g.流水号) as "
        "人数, "
        "sum(g.计) over (partition by g.流水号) as 计件 from "
        "(select kvc_record_mission.流水号, min(kvc_record_mission.货单号) as 货单号, "
        "coalesce(kvc_record_member.班组, '') as 班组, left(kvc_record_mission.完成时间, 10) as 日期, "
        "count(*) as 人, sum(kvc_record_mission.完成数量) as 件, "
        "sum(kvc_record_mission.完成数量+kvc_record_mission.损耗数量) as 计 "
        "from kvc_record_mission left join kvc_record_member on "
        "kvc_record_member.工号=kvc_record_mission.工号 "
        "where kvc_record_mission.完成时间>='%s' group by kvc_record_mission.流水号, "
        "coalesce(kvc_record_member.班组, ''), left(kvc_record_mission.完成时间, 10)) g) x "
        "join kvc_record_procedure s on s.货单号=x.货单号 and s.上一号=x.流水号 and s.派生=0 "
        "group by x.班组, x.日期",
        since);
}

Statement rushOrders(mySQLTool& db, int shown)
{
    // o: the orders shown, with how many there are in all.
    return db.Format(
        "select o.货单号, kvc_record_client.名称, o.货物等级, o.货物数量, o.激活, o.总数, "
        "kvc_record_procedure.工作站, kvc_record_procedure.上一站, kvc_record_procedure.数量 from "
        "(select kvc_record_product.货单号, kvc_record_product.客户号, kvc_record_product.货物等级, "
        "kvc_record_product.货物数量, kvc_record_product.激活, count(*) over () as 总数 from "
        "kvc_record_product "
        "where kvc_record_product.结讫=0 and kvc_record_product.货物等级 in ('紧急', '加急') "
        "order by kvc_record_product.货物等级='紧急' desc, kvc_record_product.货单号 limit %d) o "
        "left join kvc_record_client on kvc_record_client.客户号=o.客户号 "
        "left join kvc_record_procedure on kvc_record_procedure.货单号=o.货单号 and "
        "kvc_record_procedure.结讫=0 "
        "order by o.货物等级='紧急' desc, o.货单号, kvc_record_procedure.流水号",
        shown);
}

Statement shippingWaiting(mySQLTool& db, int shown)
{
    return db.Format(
        "select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, "
        "kvc_record_procedure.上一站, kvc_record_procedure.数量, kvc_record_procedure.生成时间 "
        "from kvc_record_procedure left join kvc_record_client on "
        "kvc_record_client.客户号=kvc_record_procedure.客户号 where kvc_record_procedure.工作站='发送' and "
        "kvc_record_procedure.上一站<>'发送' and kvc_record_procedure.结讫=0 "
        "order by kvc_record_procedure.生成时间, kvc_record_procedure.流水号 limit %d",
        shown);
}

}  // namespace boardq
