#pragma once

#include "db/Rows.h"
#include "db/Statement.h"
#include "db/TimeText.h"

#include <QString>
#include <optional>

class mySQLTool;

// The reading statements of the order inquiry "货单查询".
namespace inquiryproq {

// Choices of the condition panel (the attribute lists are adminq's).
Statement customers(mySQLTool& db);  // 客户号, 名称, 说明
Statement receivers(mySQLTool& db);  // 姓名 of the employees who take goods in

// What the inquiry's conditions ask for; an empty optional is a condition not ticked.
struct Filter {
    std::optional<quint64> order;  // one order, as a scanned ticket names it
    std::optional<quint64> customer;
    std::optional<QString> technology;  // among the order's washing methods, that name in its brackets
    std::optional<QString> receiver, nature, type, kind;
    Moments received, activated, closed;
    bool includeClosed = false;  // else open orders only
};

// " where " and the filter's conditions in their fixed order, or nothing: the WHERE of the
// two statements below.
Statement conditions(mySQLTool& db, const Filter& f);

// A technology name as a LIKE pattern of its own: '!', '%' and '_' escaped with '!', the
// escape character the technology condition names.
QString likeLiteral(const QString& name);

// One page of the matching orders, in order number order, from row `offset` on. The customer
// is joined on the left, so the count below counts exactly the rows listed. `numberOrder`:
// walked in 货单号 order until the page is full, else every match read and sorted.
Statement orders(mySQLTool& db, const Filter& f, quint64 offset, quint64 count, bool numberOrder);
// The number of matching orders and the sums of 货物数量, 原版数量 and 洗版数量 over all of them,
// then the highest order number of all, in one row.
struct OrdersTotals {
    enum Column { Count, Goods, Original, Washed, LastOrder };
};
// Every order or a customer's, closed ones included, are counted and summed from the totals
// kept by the writes (keptTotals); any other filter from the orders themselves.
Statement ordersTotals(mySQLTool& db, const Filter& f);
bool keptTotals(mySQLTool& db, const Filter& f);
// Whether the page up to row `upTo` is read walking the orders in number order, by the totals.
bool numberOrder(const Row& totals, quint64 upTo);

// What the clicked order and flow show.
Statement runningFlows(mySQLTool& db, quint64 order);  // 流水号, 上一站, 工作站, 数量
Statement shipments(mySQLTool& db, quint64 order);     // 序列号, 货物数量, 发货人, 发送时间

// The longest chain a walk follows; a chain has no loops, this only bounds a damaged one.
inline constexpr int kChainDepthLimit = 10000;
// The chain of flows behind `flow`, walked back through 上一号 in one statement, the flow
// itself first: 历史 is the flow's own only. It ends at a flow without 上一号, at a missing
// flow, or at the flow that makes `finishedCap` finished (结讫=1) steps.
struct FlowChain {
    enum Column { Flow, Previous, Process, History, Closed };
};
Statement flowChain(mySQLTool& db, quint64 flow, int finishedCap);
// The employees' piece-work on a flow: 工号, 姓名, 共计.
Statement stepWorkers(mySQLTool& db, quint64 flow);

}  // namespace inquiryproq
