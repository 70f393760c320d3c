#pragma once

#include "db/Statement.h"

#include <QString>

class Conditions;
class mySQLTool;

// The reading statements of the order inquiry "货单查询".
namespace inquiryproq {

// Choices of the condition panel (the attribute lists are adminq's).
Statement customers(mySQLTool& db);  // 客户号, 名称, 说明
Statement receivers(mySQLTool& db);  // 姓名 of the employees who take goods in

// The fragments of the conditions, each added to `where` in the screen's fixed order: the
// customer, a technology among the order's washing methods (only that name in its brackets),
// the receiver, nature, type and style of the goods, the three times, and open orders only.
void addCustomer(Conditions& where, quint64 customer);
void addTechnology(Conditions& where, const QString& name);
void addReceiver(Conditions& where, const QString& name);
void addNature(Conditions& where, const QString& nature);
void addType(Conditions& where, const QString& type);
void addKind(Conditions& where, const QString& kind);
// A time condition's fragments: after and before take (table, moment), within takes (table,
// lower moment, table, upper moment); every comparison is strict.
struct TimeFragments {
    const char* after;
    const char* before;
    const char* within;
};
extern const TimeFragments kReceived, kActivated, kClosed;
void addOpenOnly(Conditions& where);
// One order, as a scanned ticket names it.
void addOrder(Conditions& where, quint64 order);

// A technology name as a LIKE pattern of its own: '!', '%' and '_' escaped with '!', the
// escape character the technology condition names.
QString likeLiteral(const QString& name);

// One page of the matching orders, in order number order, from row `offset` on. `where` is the
// joined conditions (empty for none). The customer is joined on the left, so the count below,
// which reads the order table alone, counts exactly the rows listed. `numberOrder`: walked in
// 货单号 order until the page is full, else every match read and sorted (see walkInKeyOrder).
Statement orders(mySQLTool& db, const Statement& where, quint64 offset, quint64 count, bool numberOrder);
// The number of matching orders and the sums of 货物数量, 原版数量 and 洗版数量 over all of them,
// then the highest order number of all, in one row.
Statement ordersTotals(mySQLTool& db, const Statement& where);

// What the clicked order and flow show.
Statement runningFlows(mySQLTool& db, quint64 order);  // 流水号, 上一站, 工作站, 数量
Statement shipments(mySQLTool& db, quint64 order);     // 序列号, 货物数量, 发货人, 发送时间

// The longest chain a walk follows; a chain has no loops, this only bounds a damaged one.
inline constexpr int kChainDepthLimit = 10000;
// The chain of flows behind `flow`, walked back through 上一号 in one statement, the flow
// itself first: 流水号, 上一号, 工序, 历史 (the flow's own only), 结讫. It ends at a flow without
// 上一号, at a missing flow, or at the flow that makes `finishedCap` finished (结讫=1) steps.
Statement flowChain(mySQLTool& db, quint64 flow, int finishedCap);
// The employees' piece-work on a flow: 工号, 姓名, 共计.
Statement stepWorkers(mySQLTool& db, quint64 flow);

}  // namespace inquiryproq
