#pragma once

#include "db/Statement.h"
#include "db/TimeText.h"

#include <QStringList>
#include <optional>

class mySQLTool;

// The statements of the piece-work desks: the settlement, the supplement and the inquiry.
namespace financeq {

// ---- Settlement

// Every employee (the active ones unless `inactive`) in 工号 order: 工号, 姓名, 身份, 班组, 累计, and
// of his unsettled piece-work finished strictly between `start` and `end` the sum of 共计, the
// rows that have a 共计 and all rows. One statement for the whole list.
Statement employees(mySQLTool& db, const QString& start, const QString& end, bool inactive);
// An employee's piece-work, unsettled or settled, newest first, at most one list (任务号, 货单号,
// 流水号, 完成时间, 完成数量, 损耗数量, 工价, 损耗单价, 共计).
Statement memberWork(mySQLTool& db, quint64 member, bool settled);
// An employee's settlement rows (序列号, 姓名, 金额, 起始日期, 截止日期).
Statement salaryHistory(mySQLTool& db, quint64 member);

// Inside the settlement's transaction: the employee's row, locked.
Statement lockMember(mySQLTool& db, quint64 member);
// His unsettled work of the period, locked: all rows, the rows with a 共计, their sum.
Statement lockPending(mySQLTool& db, quint64 member, const QString& start, const QString& end);
// Marks that same work settled.
Statement markSettled(mySQLTool& db, quint64 member, const QString& start, const QString& end);

// ---- Supplement

// Active customers by name (客户号, 名称).
Statement activeClientsByName(mySQLTool& db);

// The order search: each condition that is set restricts it.
struct OrderFilter {
    std::optional<quint64> client;
    Moments received;
    std::optional<quint64> order;
};
// One page of the orders in 货单号 order, with their customer's name.
Statement orders(mySQLTool& db, const OrderFilter& f, quint64 offset, int count);
// Every order or a customer's are counted from the totals kept by the writes.
Statement countOrders(mySQLTool& db, const OrderFilter& f);
// 客户号, 货物等级, 货物数量, 结讫 of an order.
struct OrderForSupplement {
    enum Column { Client, Grade, Goods, Closed };
};
Statement orderForSupplement(mySQLTool& db, quint64 order);
// The pieces paid so far on an order for a process step: the piece-work of the flows that step
// finished, at the stations and by supplements.
Statement stepPieces(mySQLTool& db, quint64 order, const QString& process);
Statement teamsByName(mySQLTool& db);
// Every employee of a team, former ones too (工号, 姓名).
Statement teamStaff(mySQLTool& db, const QString& team);

// ---- Inquiry

Statement activeMembers(mySQLTool& db);
Statement activeClients(mySQLTool& db);
// 名称, 工作站, 工价 of every process step.
Statement processSteps(mySQLTool& db);
// Every account but the guests'.
Statement recorders(mySQLTool& db);

// What the piece-work inquiry lists: one optional precondition, the completion time, the
// recorder and whether settled rows are included.
struct WorkFilter {
    enum class By { None, Member, Client, Process };
    By by = By::None;
    quint64 id = 0;   // the employee or the customer
    QString process;  // the process step
    Moments done;     // 完成时间
    std::optional<QString> recorder;
    bool includeSettled = false;
};
// Summed days [from, to) of the inquiry's totals (dates YYYY-MM-DD); none when from >= to.
struct DaySpan {
    QString from, to;
    bool empty() const { return from.isEmpty() || to.isEmpty() || from >= to; }
};

// Whether a page up to row `upTo` of the `matching` rows is best read walking the piece-work in
// 任务号 order (about `lastTask` rows in all) rather than through the filter's own keys.
bool taskOrder(const WorkFilter& f, quint64 matching, quint64 lastTask, quint64 upTo);
// The whole result in 任务号 order (任务号, 货单号, 流水号, 姓名, 完成时间, 完成数量, 损耗数量, 工价,
// 损耗单价, 共计, 结讫, 经办人): the saved statement of paging and export.
Statement work(mySQLTool& db, const WorkFilter& f);
Statement workPage(mySQLTool& db, const WorkFilter& f, quint64 offset, int count, bool inTaskOrder);
// The number of rows, then the sums of 完成数量, 损耗数量 and 完成数量 x 工价 - 损耗数量 x 损耗单价
// over the rows in which none of those four is NULL: the days of `summed` from their day
// totals (made beforehand, finance::prepareDays), the other rows one by one.
struct WorkSummary {
    enum Column { Count, Done, Lost, Money };
};
Statement workSummary(mySQLTool& db, const WorkFilter& f, const DaySpan& summed = {});

// ---- The inquiry's day totals (kvc_record_mission_day)

// The first day with work, the first day that is never summed (yesterday, by the server's
// clock) and the highest 任务号.
Statement workBounds(mySQLTool& db);
// The days of the span that are made (日期, 0) and those changed since (日期, 1).
Statement madeDays(mySQLTool& db, const DaySpan& days);
// Deletes the span's rows of kvc_record_mission_day or kvc_record_mission_stale.
Statement forgetDays(mySQLTool& db, const char* table, const DaySpan& days);
// Makes the span's day totals of one 维度 (see the schema).
Statement sumDays(mySQLTool& db, int kind, const DaySpan& days);
// The rows of 维度 0 of days that have none (days without work), at least one day.
Statement emptyDays(mySQLTool& db, const QStringList& days);

}  // namespace financeq
