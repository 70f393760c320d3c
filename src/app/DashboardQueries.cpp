#include "app/DashboardQueries.h"

#include "db/mySQLTool.h"

namespace dashq {

Statement openOrders(mySQLTool& db)
{
    return db.Format(
        "select kvc_record_product.货单号, kvc_record_client.名称, kvc_record_product.货物数量, "
        "kvc_record_product.接货时间, kvc_record_product.洗涤方法, kvc_record_product.接货人, "
        "kvc_record_product.货物性质, kvc_record_product.款号, kvc_record_product.货物分类, "
        "kvc_record_product.货物性别, kvc_record_product.货物等级, kvc_record_product.货物单价, "
        "kvc_record_product.货物款式, kvc_record_product.损耗单价, kvc_record_product.原版数量, "
        "kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.关联, "
        "kvc_record_product.激活, kvc_record_product.激活时间 from kvc_record_product, kvc_record_client "
        "where kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.结讫=0 "
        "order by kvc_record_product.货单号");
}

Statement orderFlows(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select kvc_record_procedure.流水号, kvc_record_procedure.工作站, kvc_record_procedure.数量 "
        "from kvc_record_procedure where kvc_record_procedure.货单号=%I64u and kvc_record_procedure.结讫=0",
        order);
}

Statement flowRoute(mySQLTool& db, quint64 flow)
{
    return db.Format(
        "select kvc_record_procedure.历史 from kvc_record_procedure where kvc_record_procedure.流水号=%I64u",
        flow);
}

Statement methodPieces(mySQLTool& db)
{
    // Grouped by the bytes: the column's collation would take "[a]" and "[A]" for one text.
    return db.Format(
        "select min(kvc_record_product.洗涤方法), sum(kvc_record_product.货物数量) from kvc_record_product "
        "where kvc_record_product.激活=1 and kvc_record_product.结讫=0 "
        "group by cast(kvc_record_product.洗涤方法 as binary) order by min(kvc_record_product.货单号)");
}

Statement stations(mySQLTool& db)
{
    return db.Format("select kvc_attrib_station.名称 from kvc_attrib_station");
}

Statement waiting(mySQLTool& db)
{
    // Flows the shipping desk sent back to itself are not waiting for anybody.
    return db.Format(
        "select kvc_record_procedure.工作站, count(kvc_record_procedure.数量), "
        "sum(kvc_record_procedure.数量) "
        "from kvc_record_procedure where kvc_record_procedure.工作站 in (select kvc_attrib_station.名称 from "
        "kvc_attrib_station) and kvc_record_procedure.结讫=0 and (kvc_record_procedure.工作站<>'发送' or "
        "kvc_record_procedure.上一站<>'发送') group by kvc_record_procedure.工作站");
}

Statement finished(mySQLTool& db, const QString& day)
{
    return db.Format(
        "select kvc_record_procedure.工作站, count(kvc_record_procedure.数量), "
        "sum(kvc_record_procedure.数量) "
        "from kvc_record_procedure where kvc_record_procedure.结讫=1 and kvc_record_procedure.结讫时间 like "
        "'%s%%' and kvc_record_procedure.工序<>'转发' group by kvc_record_procedure.工作站",
        day);
}

Statement technologyPieces(mySQLTool& db)
{
    // The running orders are summed per washing method once, then each technology takes
    // the methods that name it. The name is matched as it stands: like's wildcards in it
    // are escaped, with '!' as the escape character so that a backslash is an ordinary one.
    return db.Format(
        "select kvc_attrib_technology.名称, sum(m.货物数量) from kvc_attrib_technology left join "
        "(select kvc_record_product.洗涤方法, sum(kvc_record_product.货物数量) as 货物数量 from "
        "kvc_record_product where kvc_record_product.激活=1 and kvc_record_product.结讫=0 "
        "group by kvc_record_product.洗涤方法) as m on m.洗涤方法 like concat('%%[', "
        "replace(replace(replace(kvc_attrib_technology.名称, '!', '!!'), '%%', '!%%'), '_', '!_'), ']%%') "
        "escape '!' where kvc_attrib_technology.类型<>'套餐' group by kvc_attrib_technology.名称 "
        "order by kvc_attrib_technology.名称");
}

}  // namespace dashq
