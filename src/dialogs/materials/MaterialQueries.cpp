#include "dialogs/materials/MaterialQueries.h"

#include "db/Conditions.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace materialq {

namespace {
const char* const R = tables::raw;
const char* const I = tables::rawIn;
const char* const O = tables::rawOut;
const char* const S = tables::supplier;
const char* const C = tables::client;
const char* const M = tables::member;

// " where " and the conditions on the purchases or the issues, in their fixed order, or nothing.
Statement conditions(mySQLTool& db, bool issues, const Filter& f)
{
    const char* const T = issues ? O : I;
    Conditions where(db);
    where.addIf(f.material, "%s.名称='%s'", T);
    if (issues)
        where.addIf(f.client, "%s.客户号=%I64u", T);
    else
        where.addIf(f.supplier, "%s.供应商号=%I64u", T);
    where.addIf(f.member, "%s.工号=%I64u", T);
    if (issues)
        where.addIf(f.team, "%s.班组='%s'", T);
    where.addIf(f.account, "%s.经办人='%s'", T)
        .addIf(f.time.after, "%s.时间>'%s'", T)
        .addIf(f.time.before, "%s.时间<'%s'", T);
    return where.after(" where ");
}
}  // namespace

Statement materials(mySQLTool& db)
{
    return db.Format("select %s.名称, %s.数量, %s.单位, %s.累计数量, %s.累计金额 from %s order by %s.名称", R,
                     R, R, R, R, R, R);
}

Statement material(mySQLTool& db, const QString& name)
{
    return db.Format("select %s.名称 from %s where %s.名称='%s'", R, R, R, name);
}

Statement stockHolding(mySQLTool& db, const QString& name, double quantity)
{
    // Compared as the issue takes it, on the quantity as written.
    return db.Format("select %s.数量 from %s where %s.名称='%s' and %s.数量>=%f", R, R, R, name, R, quantity);
}

Statement suppliers(mySQLTool& db)
{
    return db.Format("select %s.供应商号, %s.名称, %s.备注 from %s order by %s.供应商号", S, S, S, S, S);
}

Statement supplierNamed(mySQLTool& db, const QString& name)
{
    return db.Format("select %s.供应商号 from %s where %s.名称='%s'", S, S, S, name);
}

Statement activeMembers(mySQLTool& db)
{
    return db.Format("select %s.工号, %s.姓名 from %s where %s.激活=1 order by %s.姓名", M, M, M, M, M);
}

Statement clients(mySQLTool& db)
{
    return db.Format("select %s.客户号, %s.名称, %s.说明 from %s order by %s.客户号", C, C, C, C, C);
}

Statement accounts(mySQLTool& db)
{
    return db.Format("select %s.账号 from %s", tables::user, tables::user);
}

// Money is shown with two decimals, as the amounts were typed.

Statement recentPurchases(mySQLTool& db)
{
    // Left joins: a purchase stays listed after its buyer left the employee table.
    return db.Format(
        "select %s.序列号, %s.名称, %s.名称, %s.数量, %s.单价, cast(%s.金额 as decimal(20, 2)) 金额, "
        "%s.时间, %s.姓名 "
        "from %s "
        "left join %s on %s.供应商号=%s.供应商号 left join %s on %s.工号=%s.工号 "
        "order by %s.序列号 desc limit %d",
        I, I, S, I, I, I, I, M, I, S, I, S, M, I, M, I, kRecentRows);
}

Statement recentIssues(mySQLTool& db)
{
    return db.Format(
        "select %s.序列号, %s.名称, %s.名称, %s.数量, %s.时间, %s.班组, %s.姓名 from %s "
        "left join %s on %s.客户号=%s.客户号 left join %s on %s.工号=%s.工号 "
        "order by %s.序列号 desc limit %d",
        O, O, C, O, O, O, M, O, C, O, C, M, O, M, O, kRecentRows);
}

Statement purchaseRows(mySQLTool& db, const Filter& f)
{
    return db.Format(
        "select %s.序列号, %s.名称, %s.名称, %s.数量, %s.单价, cast(%s.金额 as decimal(20, 2)) 金额, "
        "%s.时间, %s.姓名, "
        "%s.经办人 from %s "
        "left join %s on %s.供应商号=%s.供应商号 left join %s on %s.工号=%s.工号%s order by %s.序列号",
        I, I, S, I, I, I, I, M, I, I, S, I, S, M, I, M, conditions(db, false, f), I);
}

Statement issueRows(mySQLTool& db, const Filter& f)
{
    return db.Format(
        "select %s.序列号, %s.名称, %s.名称, %s.数量, %s.时间, %s.班组, %s.姓名, %s.经办人 from %s "
        "left join %s on %s.客户号=%s.客户号 left join %s on %s.工号=%s.工号%s order by %s.序列号",
        O, O, C, O, O, O, M, O, O, C, O, C, M, O, M, conditions(db, true, f), O);
}

Statement purchaseSums(mySQLTool& db, const Filter& f)
{
    return db.Format(
        "select g.名称, g.供应商号, %s.名称, g.数量, g.金额, g.行数 from (select %s.名称, %s.供应商号, "
        "sum(%s.数量) 数量, sum(%s.金额) 金额, count(*) 行数 from %s%s group by %s.名称, %s.供应商号) g "
        "left join %s on %s.供应商号=g.供应商号 order by g.名称, g.供应商号",
        S, I, I, I, I, I, conditions(db, false, f), I, I, S, S);
}

Statement issueSums(mySQLTool& db, const Filter& f)
{
    // Grouped before the joins, so that the grouping reads the issue table's covering key.
    return db.Format(
        "select g.名称, g.客户号, %s.名称, g.班组, g.数量, %s.累计金额/nullif(%s.累计数量, 0), g.行数 from "
        "(select %s.名称, %s.客户号, %s.班组, sum(%s.数量) 数量, count(*) 行数 from %s%s "
        "group by %s.名称, %s.客户号, %s.班组) g left join %s on %s.名称=g.名称 "
        "left join %s on %s.客户号=g.客户号 order by g.名称, g.客户号, g.班组",
        C, R, R, O, O, O, O, O, conditions(db, true, f), O, O, O, R, R, C, C);
}

}  // namespace materialq
