#include "dialogs/inquiry/InquiryProQueries.h"

#include "db/Conditions.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/intake/IntakeQueries.h"

namespace inquiryproq {

namespace {
const char* const P = tables::product;
const char* const C = tables::client;
const char* const F = tables::procedure;
const char* const S = tables::ship;
const char* const M = tables::mission;
const char* const B = tables::member;
const char* const T = tables::productTotal;
}  // namespace

Statement conditions(mySQLTool& db, const Filter& f)
{
    Conditions where(db);
    where.addIf(f.order, "%s.货单号=%I64u", P).addIf(f.customer, "%s.客户号=%I64u", P);
    // Inside the brackets the name stands for itself: its '%' and '_' are no wildcards. No
    // index serves a pattern that starts with '%', escaped or not.
    if (f.technology)
        where.add("%s.洗涤方法 like '%%[%s]%%' escape '!'", P, likeLiteral(*f.technology));
    where.addIf(f.receiver, "%s.接货人='%s'", P)
        .addIf(f.nature, "%s.货物性质='%s'", P)
        .addIf(f.type, "%s.货物分类='%s'", P)
        .addIf(f.kind, "%s.货物款式='%s'", P)
        .addIf(f.received.after, "%s.接货时间>'%s'", P)
        .addIf(f.received.before, "%s.接货时间<'%s'", P)
        .addIf(f.activated.after, "%s.激活时间>'%s'", P)
        .addIf(f.activated.before, "%s.激活时间<'%s'", P)
        .addIf(f.closed.after, "%s.结讫时间>'%s'", P)
        .addIf(f.closed.before, "%s.结讫时间<'%s'", P);
    if (!f.includeClosed)
        where.add("%s.结讫=%d", P, 0);
    return where.after(" where ");
}

Statement customers(mySQLTool& db)
{
    return db.Format("select %s.客户号, %s.名称, %s.说明 from %s", C, C, C, C);
}

Statement receivers(mySQLTool& db)
{
    // The same people the intake desk chooses its receiver from.
    return intakeq::receivers(db);
}

QString likeLiteral(const QString& name)
{
    QString out;
    out.reserve(name.size() + 4);
    for (const QChar c : name) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out.append(QLatin1Char('!'));
        out.append(c);
    }
    return out;
}

Statement orders(mySQLTool& db, const Filter& f, quint64 offset, quint64 count, bool numberOrder)
{
    // Left to itself the server walks a busy customer's whole history in 货单号 order to find
    // one month of it. The orders are read first, each joined to its customer by the key, as the
    // orders alone would be read.
    const Statement from = numberOrder
                               ? db.Format("%s", P)
                               : db.Format("%s ignore index for order by (PRIMARY, ix_product_client)", P);
    return db.Format(
        "select %s.货单号, %s.款号, %s.名称, %s.货物数量, %s.接货人, %s.接货时间, %s.货物性质, %s.货物分类, "
        "%s.货物款式, \t\t\t\t  %s.货物性别, %s.洗涤方法, %s.货物单价, %s.损耗单价, %s.原版数量, "
        "%s.洗版数量, "
        "%s.损耗数量, %s.货物等级, %s.关联, \t\t\t\t  %s.激活, %s.激活时间, %s.结讫, %s.结讫时间, %s.经办人 "
        "from %s straight_join %s on %s.客户号=%s.客户号%s order by %s.货单号 limit %I64u, %I64u",
        P, P, C, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, from, C, P, C, conditions(db, f),
        P, offset, count);
}

bool keptTotals(mySQLTool& db, const Filter& f)
{
    Filter rest = f;
    rest.customer.reset();
    return f.includeClosed && conditions(db, rest).empty();
}

Statement ordersTotals(mySQLTool& db, const Filter& f)
{
    // Joined as the list is: an order whose customer is gone is neither listed nor counted.
    const Statement last = db.Format("(select max(%s.货单号) from %s)", P, P);
    if (keptTotals(db, f)) {
        // Every order, or a customer's: the totals kept by the writes per customer and state.
        Conditions where(db);
        where.addIf(f.customer, "%s.客户号=%I64u", T);
        return db.Format(
            "select coalesce(sum(%s.行数), 0), coalesce(sum(%s.货物数量), 0), coalesce(sum(%s.原版数量), 0), "
            "coalesce(sum(%s.洗版数量), 0), %s from %s "
            "straight_join %s on %s.客户号=%s.客户号%s",
            T, T, T, T, last, T, C, T, C, where.after(" where "));
    }
    return db.Format(
        "select count(*), sum(%s.货物数量), sum(%s.原版数量), sum(%s.洗版数量), %s from %s straight_join %s "
        "on "
        "%s.客户号=%s.客户号%s",
        P, P, P, last, P, C, P, C, conditions(db, f));
}

bool numberOrder(const Row& totals, quint64 upTo)
{
    return walkInKeyOrder(totals.toId(OrdersTotals::Count), totals.toId(OrdersTotals::LastOrder), upTo);
}

Statement runningFlows(mySQLTool& db, quint64 order)
{
    return db.Format(
        "select %s.流水号, %s.上一站, %s.工作站, %s.数量 from %s where %s.货单号=%I64u and %s.结讫=0", F, F,
        F, F, F, F, order, F);
}

Statement shipments(mySQLTool& db, quint64 order)
{
    return db.Format("select %s.序列号, %s.货物数量, %s.发货人, %s.发送时间 from %s where %s.货单号=%I64u", S,
                     S, S, S, S, S, order);
}

Statement flowChain(mySQLTool& db, quint64 flow, int finishedCap)
{
    // Each step is found through the primary key of the one before; 完成 counts the finished
    // steps so far (a 结讫 left NULL by old data is no finished step, and no end of the walk)
    // and 深度 bounds the walk.
    return db.Format(
        "with recursive walk (流水号, 上一号, 工序, 历史, 结讫, 完成, 深度) as ("
        "select %s.流水号, %s.上一号, %s.工序, %s.历史, %s.结讫, %s.结讫<=>1, 0 from %s where "
        "%s.流水号=%I64u "
        "union all "
        "select %s.流水号, %s.上一号, %s.工序, null, %s.结讫, walk.完成+(%s.结讫<=>1), walk.深度+1 "
        "from walk join %s on %s.流水号=walk.上一号 where walk.完成<%d and walk.深度<%d) "
        "select 流水号, 上一号, 工序, 历史, 结讫 from walk order by 深度",
        F, F, F, F, F, F, F, F, flow, F, F, F, F, F, F, F, finishedCap, kChainDepthLimit);
}

Statement stepWorkers(mySQLTool& db, quint64 flow)
{
    return db.Format("select %s.工号, %s.姓名, %s.共计 from %s, %s where %s.工号=%s.工号 and %s.流水号=%I64u",
                     M, B, M, M, B, M, B, M, flow);
}

}  // namespace inquiryproq
