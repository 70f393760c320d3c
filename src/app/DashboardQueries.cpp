#include "app/DashboardQueries.h"

#include "db/mySQLTool.h"
#include "flow/Flow.h"

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

Statement runningMethods(mySQLTool& db)
{
    return db.Format(
        "select kvc_record_product.洗涤方法 from kvc_record_product where kvc_record_product.激活=1 "
        "and kvc_record_product.结讫=0");
}

Statement methodPieces(mySQLTool& db, const QString& method)
{
    return db.Format(
        "select kvc_record_product.货物数量 from kvc_record_product where kvc_record_product.洗涤方法='%s' "
        "and "
        "kvc_record_product.激活=1 and kvc_record_product.结讫=0",
        method);
}

Statement stations(mySQLTool& db)
{
    return db.Format("select kvc_attrib_station.名称 from kvc_attrib_station");
}

Statement waiting(mySQLTool& db, const QString& station)
{
    // Flows the shipping desk sent back to itself are not waiting for anybody.
    if (station == flow::kShipping)
        return db.Format(
            "select kvc_record_procedure.数量 from kvc_record_procedure where "
            "kvc_record_procedure.工作站='%s' "
            "and kvc_record_procedure.结讫=0 and kvc_record_procedure.上一站<>'发送'",
            station);
    return db.Format(
        "select kvc_record_procedure.数量 from kvc_record_procedure where kvc_record_procedure.工作站='%s' "
        "and kvc_record_procedure.结讫=0",
        station);
}

Statement finished(mySQLTool& db, const QString& station, const QString& day)
{
    return db.Format(
        "select kvc_record_procedure.数量 from kvc_record_procedure where kvc_record_procedure.工作站='%s' "
        "and "
        "kvc_record_procedure.结讫=1 and kvc_record_procedure.结讫时间 like '%s%%' and "
        "kvc_record_procedure.工序<>'转发'",
        station, day);
}

Statement technologies(mySQLTool& db)
{
    return db.Format(
        "select kvc_attrib_technology.名称 from kvc_attrib_technology where "
        "kvc_attrib_technology.类型<>'套餐'");
}

Statement technologyPieces(mySQLTool& db, const QString& technology)
{
    return db.Format(
        "select kvc_record_product.货物数量, kvc_record_product.洗涤方法 from kvc_record_product where "
        "kvc_record_product.洗涤方法 like '%%[%s]%%' and kvc_record_product.激活=1 and "
        "kvc_record_product.结讫=0",
        technology);
}

}  // namespace dashq
