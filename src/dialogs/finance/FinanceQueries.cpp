#include "dialogs/finance/FinanceQueries.h"

#include "db/Conditions.h"
#include "db/FillList.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace financeq {

namespace {
const char* const W = tables::mission;
const char* const M = tables::member;
const char* const S = tables::salary;
const char* const P = tables::product;
const char* const C = tables::client;
const char* const F = tables::procedure;
}  // namespace

// ---- Settlement

Statement employees(mySQLTool& db, const QString& start, const QString& end, bool inactive)
{
    // Joined per employee on (工号, 结讫, 完成时间), so each employee's unsettled rows are read
    // through the key and nothing else.
    Conditions where(db);
    if (!inactive)
        where.add("%s.激活=1", M);
    return db.Format(
        "select %s.工号, %s.姓名, %s.身份, %s.班组, %s.累计, sum(%s.共计), count(%s.共计), count(%s.任务号) "
        "from %s left join %s on %s.工号=%s.工号 and %s.完成时间>'%s' and %s.完成时间<'%s' and %s.结讫=0"
        "%s group by %s.工号 order by %s.工号",
        M, M, M, M, M, W, W, W, M, W, W, M, W, start, W, end, W, where.after(" where "), M, M);
}

Statement memberWork(mySQLTool& db, quint64 member, bool settled)
{
    return db.Format(
        "select %s.任务号, %s.货单号, %s.流水号, %s.完成时间, %s.完成数量, %s.损耗数量, %s.工价, "
        "%s.损耗单价, "
        "%s.共计 from %s where %s.工号=%I64u and %s.结讫=%d order by %s.完成时间 desc, %s.任务号 desc "
        "limit %d",
        W, W, W, W, W, W, W, W, W, W, W, member, W, settled ? 1 : 0, W, W, kListCap);
}

Statement salaryHistory(mySQLTool& db, quint64 member)
{
    return db.Format(
        "select %s.序列号, %s.姓名, %s.金额, %s.起始日期, %s.截止日期 from %s, %s where %s.工号=%s.工号 and "
        "%s.工号=%I64u order by %s.序列号",
        S, M, S, S, S, M, S, M, S, S, member, S);
}

Statement lockMember(mySQLTool& db, quint64 member)
{
    return db.Format("select %s.累计 from %s where %s.工号=%I64u for update", M, M, M, member);
}

Statement lockPending(mySQLTool& db, quint64 member, const QString& start, const QString& end)
{
    return db.Format(
        "select count(*), count(%s.共计), sum(%s.共计) from %s where %s.工号=%I64u and %s.完成时间>'%s' and "
        "%s.完成时间<'%s' and %s.结讫=0 for update",
        W, W, W, W, member, W, start, W, end, W);
}

Statement markSettled(mySQLTool& db, quint64 member, const QString& start, const QString& end)
{
    return db.Format("update %s set 结讫=1 where 工号=%I64u and 完成时间>'%s' and 完成时间<'%s' and 结讫=0",
                     W, member, start, end);
}

// ---- Supplement

Statement activeClientsByName(mySQLTool& db)
{
    return db.Format("select 客户号, 名称 from %s where 激活=1 order by 名称", C);
}

namespace {

Statement orderWhere(mySQLTool& db, const OrderFilter& f)
{
    Conditions where(db);
    where.add("%s.客户号=%s.客户号", P, C);
    if (f.client)
        where.add("%s.客户号=%I64u", P, *f.client);
    if (f.after)
        where.add("%s.接货时间>'%s'", P, *f.after);
    if (f.before)
        where.add("%s.接货时间<'%s'", P, *f.before);
    if (f.order)
        where.add("%s.货单号=%I64u", P, *f.order);
    return where.text();
}

}  // namespace

Statement orders(mySQLTool& db, const OrderFilter& f, quint64 offset, int count)
{
    return db.Format(
        "select %s.货单号, %s.款号, %s.名称, %s.货物数量, %s.接货时间, %s.货物性质, %s.货物分类, "
        "%s.货物款式, "
        "%s.货物性别, %s.洗涤方法, %s.货物单价, %s.原版数量, %s.洗版数量, %s.货物等级, %s.激活, %s.激活时间, "
        "%s.结讫, %s.结讫时间 from %s, %s where %s order by %s.货单号 limit %I64u, %d",
        P, P, C, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, C, orderWhere(db, f), P, offset, count);
}

Statement countOrders(mySQLTool& db, const OrderFilter& f)
{
    return db.Format("select count(*) from %s, %s where %s", P, C, orderWhere(db, f));
}

Statement orderForSupplement(mySQLTool& db, quint64 order)
{
    return db.Format("select %s.客户号, %s.货物等级, %s.货物数量 from %s where %s.货单号=%I64u", P, P, P, P,
                     P, order);
}

Statement teamsByName(mySQLTool& db)
{
    return db.Format("select 班组名称 from %s order by 班组名称", tables::group);
}

Statement teamStaff(mySQLTool& db, const QString& team)
{
    return db.Format("select %s.工号, %s.姓名 from %s where %s.班组='%s'", M, M, M, M, team);
}

Statement processNames(mySQLTool& db)
{
    return db.Format("select %s.名称 from %s", tables::process, tables::process);
}

// ---- Inquiry

Statement activeMembers(mySQLTool& db)
{
    return db.Format("select %s.工号, %s.姓名 from %s where %s.激活=1 order by %s.工号", M, M, M, M, M);
}

Statement activeClients(mySQLTool& db)
{
    return db.Format("select %s.客户号, %s.名称 from %s where %s.激活=1 order by %s.客户号", C, C, C, C, C);
}

Statement processSteps(mySQLTool& db)
{
    const char* const X = tables::process;
    return db.Format("select %s.名称, %s.工作站, %s.工价 from %s order by %s.工作站", X, X, X, X, X);
}

Statement recorders(mySQLTool& db)
{
    const char* const U = tables::user;
    return db.Format("select %s.账号 from %s where %s.权限<>'游客'", U, U, U);
}

namespace {

// The FROM and WHERE of the inquiry: each piece-work row is joined to its employee, and
// through the precondition's tables to at most one order, customer or flow, so it is
// listed once.
//
// Unsettled work (a month or two of ten years) is read employee by employee through
// (工号, 结讫) and nothing else, whatever else is asked: the averages of the statistics cannot
// tell the optimizer that nearly every row of an employee is settled.
Statement workFrom(mySQLTool& db, const WorkFilter& f)
{
    Conditions where(db);
    where.add("%s.工号=%s.工号", W, M);
    // With the settled years and a time, the period's rows are read through the time and
    // sorted; left to itself the optimizer walks the whole history in 任务号 order instead.
    const Statement work = !f.includeSettled     ? db.Format("%s force index (ix_mission_member)", W)
                           : f.after || f.before ? db.Format("%s ignore index for order by (PRIMARY)", W)
                                                 : db.Format("%s", W);
    Statement from = db.Format("from %s, %s", work, M);
    switch (f.by) {
        case WorkFilter::By::None:
            break;
        case WorkFilter::By::Member:
            where.add("%s.工号=%I64u", W, f.id);
            break;
        case WorkFilter::By::Client:
            from = db.Format("from %s, %s, %s, %s", work, P, C, M);
            where.add("%s.客户号=%I64u and %s.客户号=%s.客户号 and %s.货单号=%s.货单号", C, f.id, C, P, P, W);
            break;
        case WorkFilter::By::Process:
            from = db.Format("from %s, %s, %s", work, F, M);
            where.add("%s.流水号=%s.流水号 and %s.工序='%s'", W, F, F, f.process);
            break;
    }
    if (f.after)
        where.add("%s.完成时间>'%s'", W, *f.after);
    if (f.before)
        where.add("%s.完成时间<'%s'", W, *f.before);
    if (f.recorder)
        where.add("%s.经办人='%s'", W, *f.recorder);
    if (!f.includeSettled)
        where.add("%s.结讫=0", W);
    return db.Format("%s where %s", from, where.text());
}

// With the settled years and nothing a key could select by (no employee, customer or time),
// a page is best read in 任务号 order from the piece-work itself until it is full; left to
// itself the optimizer sorts every row first.
bool pieceWorkFirst(const WorkFilter& f)
{
    return f.includeSettled && (f.by == WorkFilter::By::None || f.by == WorkFilter::By::Process) &&
           !f.after && !f.before;
}

Statement workColumns(mySQLTool& db, const WorkFilter& f)
{
    return db.Format(pieceWorkFirst(f)
                         ? "select straight_join %s.任务号, %s.货单号, %s.流水号, %s.姓名, %s.完成时间, "
                           "%s.完成数量, %s.损耗数量, %s.工价, %s.损耗单价, %s.共计, %s.结讫, %s.经办人"
                         : "select %s.任务号, %s.货单号, %s.流水号, %s.姓名, %s.完成时间, %s.完成数量, "
                           "%s.损耗数量, %s.工价, %s.损耗单价, %s.共计, %s.结讫, %s.经办人",
                     W, W, W, M, W, W, W, W, W, W, W, W);
}

}  // namespace

Statement work(mySQLTool& db, const WorkFilter& f)
{
    return db.Format("%s %s order by %s.任务号", workColumns(db, f), workFrom(db, f), W);
}

Statement workPage(mySQLTool& db, const WorkFilter& f, quint64 offset, int count)
{
    return db.Format("%s %s order by %s.任务号 limit %I64u, %d", workColumns(db, f), workFrom(db, f), W,
                     offset, count);
}

Statement workSummary(mySQLTool& db, const WorkFilter& f)
{
    // NULL when any of the four is NULL: such a row is left out of all three sums.
    const Statement money = db.Format("%s.完成数量*%s.工价-%s.损耗数量*%s.损耗单价", W, W, W, W);
    return db.Format(
        "select count(*), sum(if(%s is null, 0, %s.完成数量)), sum(if(%s is null, 0, %s.损耗数量)), sum(%s) "
        "%s",
        money, W, money, W, money, workFrom(db, f));
}

}  // namespace financeq
