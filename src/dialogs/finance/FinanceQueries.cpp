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
    // through the key and nothing else. The key is named: on a long history the optimizer
    // would take (结讫) instead and read every unsettled row once per employee.
    Conditions where(db);
    if (!inactive)
        where.add("%s.激活=1", M);
    return db.Format(
        "select %s.工号, %s.姓名, %s.身份, %s.班组, %s.累计, sum(%s.共计), count(%s.共计), count(%s.任务号) "
        "from %s left join %s force index (ix_mission_member) on %s.工号=%s.工号 and %s.完成时间>'%s' and "
        "%s.完成时间<'%s' and %s.结讫=0"
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
    where.addIf(f.client, "%s.客户号=%I64u", P)
        .addIf(f.received.after, "%s.接货时间>'%s'", P)
        .addIf(f.received.before, "%s.接货时间<'%s'", P)
        .addIf(f.order, "%s.货单号=%I64u", P);
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
    if (!f.order && f.received.empty()) {
        // Every order, or a customer's: from the totals the writes keep per customer.
        const char* const T = tables::productTotal;
        Conditions where(db);
        where.addIf(f.client, "%s.客户号=%I64u", T);
        return db.Format("select coalesce(sum(%s.行数), 0) from %s straight_join %s on %s.客户号=%s.客户号%s",
                         T, T, C, T, C, where.after(" where "));
    }
    return db.Format("select count(*) from %s, %s where %s", P, C, orderWhere(db, f));
}

Statement orderForSupplement(mySQLTool& db, quint64 order)
{
    return db.Format("select %s.客户号, %s.货物等级, %s.货物数量, %s.结讫 from %s where %s.货单号=%I64u", P,
                     P, P, P, P, P, order);
}

Statement stepPieces(mySQLTool& db, quint64 order, const QString& process)
{
    return db.Format(
        "select coalesce(sum(%s.完成数量), 0) from %s join %s on %s.流水号=%s.流水号 "
        "where %s.货单号=%I64u and %s.工序='%s'",
        W, W, F, F, W, W, order, F, process);
}

Statement teamsByName(mySQLTool& db)
{
    return db.Format("select 班组名称 from %s order by 班组名称", tables::group);
}

Statement teamStaff(mySQLTool& db, const QString& team)
{
    return db.Format("select %s.工号, %s.姓名 from %s where %s.班组='%s'", M, M, M, M, team);
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

// The FROM and WHERE of the inquiry: each piece-work row is joined through the precondition's
// table to at most one order or flow, and to its employee's name, so it is listed once. An
// employee taken out of the master data keeps his work listed (with no name), as the day
// totals count it. `outside` leaves out the rows of those summed days.
//
// Unsettled work (a month or two of ten years) is read through (结讫) when nothing else is
// asked, else employee by employee through (工号, 结讫) and nothing else, whatever else is
// asked: the averages of the statistics cannot tell the optimizer that nearly every row of an
// employee is settled. The employees are those of the piece-work (a few dozen keys of that
// index), not of the master data.
Statement workFrom(mySQLTool& db, const WorkFilter& f, const DaySpan& outside = {})
{
    Conditions where(db);
    // With the settled years and a time, the period's rows are read through the time and
    // sorted; left to itself the optimizer walks the whole history in 任务号 order instead.
    Statement work = db.Format("%s", W);
    if (!f.includeSettled && f.by == WorkFilter::By::None)
        // Every unsettled row, in 任务号 order from (结讫, 任务号): a page reads its own rows only.
        work = db.Format("%s force index (ix_mission_state)", W);
    else if (!f.includeSettled && f.by != WorkFilter::By::Member)
        work = db.Format(
            "(select distinct 工号 from %s) e straight_join %s force index (ix_mission_member) on "
            "%s.工号=e.工号",
            W, W, W);
    else if (!f.includeSettled)
        work = db.Format("%s force index (ix_mission_member)", W);
    else if (!f.done.empty())
        work = db.Format("%s ignore index for order by (PRIMARY)", W);
    Statement joined = work;
    switch (f.by) {
        case WorkFilter::By::None:
            break;
        case WorkFilter::By::Member:
            where.add("%s.工号=%I64u", W, f.id);
            break;
        case WorkFilter::By::Client:
            joined = db.Format("%s join %s on %s.货单号=%s.货单号", work, P, P, W);
            where.add("%s.客户号=%I64u", P, f.id);
            break;
        case WorkFilter::By::Process:
            joined = db.Format("%s join %s on %s.流水号=%s.流水号", work, F, F, W);
            where.add("%s.工序='%s'", F, f.process);
            break;
    }
    where.addIf(f.done.after, "%s.完成时间>'%s'", W)
        .addIf(f.done.before, "%s.完成时间<'%s'", W)
        .addIf(f.recorder, "%s.经办人='%s'", W);
    if (!f.includeSettled)
        where.add("%s.结讫=0", W);
    if (!outside.empty())
        where.add("(%s.完成时间<'%s' or %s.完成时间>='%s')", W, outside.from, W, outside.to);
    return db.Format("from %s left join %s on %s.工号=%s.工号%s", joined, M, M, W, where.after(" where "));
}

Statement workColumns(mySQLTool& db, bool taskOrder)
{
    // In 任务号 order the page is read from the piece-work itself until it is full.
    return db.Format(taskOrder
                         ? "select straight_join %s.任务号, %s.货单号, %s.流水号, %s.姓名, %s.完成时间, "
                           "%s.完成数量, %s.损耗数量, %s.工价, %s.损耗单价, %s.共计, %s.结讫, %s.经办人"
                         : "select %s.任务号, %s.货单号, %s.流水号, %s.姓名, %s.完成时间, %s.完成数量, "
                           "%s.损耗数量, %s.工价, %s.损耗单价, %s.共计, %s.结讫, %s.经办人",
                     W, W, W, M, W, W, W, W, W, W, W, W);
}

// The amount of a row; NULL when any of the four is NULL, and such a row is left out of
// every sum.
Statement money(mySQLTool& db)
{
    return db.Format("%s.完成数量*%s.工价-%s.损耗数量*%s.损耗单价", W, W, W, W);
}

// The 维度 of the day totals that answer a filter's precondition and recorder.
int dayKind(const WorkFilter& f)
{
    const int by = f.by == WorkFilter::By::Member    ? 1
                   : f.by == WorkFilter::By::Client  ? 2
                   : f.by == WorkFilter::By::Process ? 4
                                                     : 0;
    return by | (f.recorder ? 8 : 0);
}

}  // namespace

bool taskOrder(const WorkFilter& f, quint64 matching, quint64 lastTask, quint64 upTo)
{
    // Unsettled work and periods are read through their keys (see workFrom).
    if (!f.includeSettled || !f.done.empty())
        return false;
    switch (f.by) {
        case WorkFilter::By::None:
            return true;
        case WorkFilter::By::Member:
            return false;
        case WorkFilter::By::Client:
        case WorkFilter::By::Process:
            return walkInKeyOrder(matching, lastTask, upTo);
    }
    return false;
}

Statement work(mySQLTool& db, const WorkFilter& f)
{
    // Everything that matches, in 任务号 order: with the settled years and no time, walked
    // from the piece-work, but for an employee or a customer, whose rows their keys find.
    const bool walk = f.includeSettled && f.done.empty() &&
                      (f.by == WorkFilter::By::None || f.by == WorkFilter::By::Process);
    return db.Format("%s %s order by %s.任务号", workColumns(db, walk), workFrom(db, f), W);
}

Statement workPage(mySQLTool& db, const WorkFilter& f, quint64 offset, int count, bool inTaskOrder)
{
    return db.Format("%s %s order by %s.任务号 limit %I64u, %d", workColumns(db, inTaskOrder),
                     workFrom(db, f), W, offset, count);
}

Statement workSummary(mySQLTool& db, const WorkFilter& f, const DaySpan& summed)
{
    const Statement rows = db.Format(
        "select count(*) n, sum(if(%s is null, 0, %s.完成数量)) q, sum(if(%s is null, 0, %s.损耗数量)) l, "
        "sum(%s) m %s",
        money(db), W, money(db), W, money(db), workFrom(db, f, summed));
    if (summed.empty())
        return rows;
    const char* const D = tables::missionDay;
    return db.Format(
        "select sum(n), sum(q), sum(l), sum(m) from (%s union all "
        "select sum(行数), sum(完成数量), sum(损耗数量), sum(共计) from %s where 维度=%d and 工号=%I64u and "
        "客户号=%I64u and 工序='%s' and 经办人='%s' and 日期>='%s' and 日期<'%s') t",
        rows, D, dayKind(f), f.by == WorkFilter::By::Member ? f.id : 0,
        f.by == WorkFilter::By::Client ? f.id : 0, f.by == WorkFilter::By::Process ? f.process : QString(),
        f.recorder.value_or(QString()), summed.from, summed.to);
}

// ---- The inquiry's day totals

Statement workBounds(mySQLTool& db)
{
    // Days are made before yesterday only: work of today may still be committed on the
    // server's yesterday. Times before 1900 are no dates and stay out of the days. Each
    // value is read from the end of its key.
    return db.Format(
        "select (select left(min(完成时间), 10) from %s where 完成时间>='1900'), "
        "date_format(curdate() - interval 1 day, '%%Y-%%m-%%d'), (select max(任务号) from %s)",
        W, W);
}

Statement madeDays(mySQLTool& db, const DaySpan& days)
{
    return db.Format(
        "select 日期, 0 from %s where 维度=0 and 工号=0 and 客户号=0 and 工序='' and 经办人='' and "
        "日期>='%s' "
        "and 日期<'%s' union all select 日期, 1 from %s where 日期>='%s' and 日期<'%s'",
        tables::missionDay, days.from, days.to, tables::missionStale, days.from, days.to);
}

Statement forgetDays(mySQLTool& db, const char* table, const DaySpan& days)
{
    return db.Format("delete from %s where 日期>='%s' and 日期<'%s'", table, days.from, days.to);
}

Statement sumDays(mySQLTool& db, int kind, const DaySpan& days)
{
    const char* const D = tables::missionDay;
    Statement from = db.Format("%s", W);
    if (kind & 2)
        from = db.Format("%s join %s on %s.货单号=%s.货单号", from, P, P, W);
    if (kind & 4)
        from = db.Format("%s join %s on %s.流水号=%s.流水号", from, F, F, W);
    return db.Format(
        // Ignored: a row another desk made of the same day at the same time.
        "insert ignore into %s (维度, 工号, 客户号, 工序, 经办人, 日期, 行数, 完成数量, 损耗数量, 共计) "
        "select %d, %s, %s, %s, %s, left(%s.完成时间, 10), count(*), sum(if(%s is null, 0, %s.完成数量)), "
        "sum(if(%s is null, 0, %s.损耗数量)), sum(%s) from %s where %s.完成时间>='%s' and %s.完成时间<'%s' "
        "group by 2, 3, 4, 5, 6",
        D, kind, kind & 1 ? db.Format("%s.工号", W) : db.Format("0"),
        kind & 2 ? db.Format("%s.客户号", P) : db.Format("0"),
        kind & 4 ? db.Format("%s.工序", F) : db.Format("''"),
        kind & 8 ? db.Format("%s.经办人", W) : db.Format("''"), W, money(db), W, money(db), W, money(db),
        from, W, days.from, W, days.to);
}

Statement emptyDays(mySQLTool& db, const QStringList& days)
{
    Statement values = db.Format("(0, '%s')", days.value(0));
    for (qsizetype i = 1; i < days.size(); ++i)
        values = db.Format("%s, (0, '%s')", values, days[i]);
    return db.Format("insert ignore into %s (维度, 日期) values %s", tables::missionDay, values);
}

}  // namespace financeq
