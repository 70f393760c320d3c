#include "dialogs/intake/IntakeQueries.h"

#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace intakeq {

namespace {
const char* const P = tables::product;
const char* const C = tables::client;
const char* const F = tables::procedure;
const char* const T = tables::technology;
}  // namespace

Statement clients(mySQLTool& db)
{
    return db.Format("select %s.客户号, %s.名称, %s.说明 from %s where 激活=%d", C, C, C, C, 1);
}

Statement orders(mySQLTool& db, bool activated)
{
    return db.Format(
        "select %s.货单号, %s.款号, %s.名称, %s.货物数量, %s.接货人, %s.接货时间, %s.货物性质, %s.货物分类, "
        "%s.货物款式, %s.货物性别, %s.洗涤方法 from %s, %s where %s.客户号=%s.客户号 and %s.激活=%d and "
        "%s.结讫=0 order by %s.货单号 desc",
        P, P, C, P, P, P, P, P, P, P, P, C, P, P, C, P, activated ? 1 : 0, P, P);
}

Statement waitingFlows(mySQLTool& db)
{
    return db.Format(
        "select %s.流水号, %s.货单号, %s.名称, %s.货物等级, %s.上一站, %s.数量, %s.生成时间, %s.历史 from "
        "%s, %s "
        "where %s.客户号=%s.客户号 and %s.工作站='接收' and %s.结讫=0 order by %s.流水号 desc",
        F, F, C, F, F, F, F, F, C, F, F, C, F, F, F);
}

Statement relatedOrder(mySQLTool& db, quint64 order)
{
    // 客户号 comes along so that the order is written for the linked order's customer.
    return db.Format(
        "select %s.名称, %s.货物分类, %s.货物款式, %s.货物性别, %s.损耗单价, %s.洗涤方法, %s.客户号 from %s, "
        "%s "
        "where %s.客户号=%s.客户号 and %s.货单号=%I64u",
        C, P, P, P, P, P, P, P, C, P, C, P, order);
}

Statement order(mySQLTool& db, quint64 order)
{
    return db.Format("select * from %s where 货单号=%I64u", P, order);
}

Statement clientByName(mySQLTool& db, const QString& name)
{
    return db.Format("select * from %s where 名称='%s'", C, name);
}

Statement technologyPrice(mySQLTool& db, const QString& name)
{
    return db.Format("select %s.价格 from %s where %s.名称='%s'", T, T, T, name);
}

Statement technologies(mySQLTool& db, const QString& category)
{
    return db.Format("select %s.名称 from %s where %s.类型='%s'", T, T, T, category);
}

Statement receivers(mySQLTool& db)
{
    return db.Format("select %s.姓名 from %s where %s.身份='运输'", tables::member, tables::member,
                     tables::member);
}

FillMatch byCaption()
{
    FillMatch m;
    m.byHeader = true;
    m.aliases.insert(QStringLiteral("客户名称"), QStringLiteral("名称"));
    return m;
}

}  // namespace intakeq
