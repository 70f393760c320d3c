#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reads of the floor board. Times are texts of the form YYYY-MM-DD hh:mm:ss, days
// YYYY-MM-DD; nothing is read with a lock.
namespace boardq {

// The station names, intake left out, in the table's order.
Statement stations(mySQLTool& db);
// Per station (intake left out; at 发送 only the flows not yet confirmed): 工作站, flows,
// pieces, the oldest 生成时间, pieces x seconds waited until `now`, and the pieces waiting
// since after `recent`, since after `day` up to `recent`, and since `day` or before.
Statement waiting(mySQLTool& db, const QString& now, const QString& recent, const QString& day);
// Per station: the pieces its hand-overs of `day` passed on (the successors' pieces; a
// flow passed on untouched, 转发, is not work done). At 发送 that is the pieces confirmed.
Statement finished(mySQLTool& db, const QString& day);
// Per team (the employee's 班组) and day from `since` on: the pieces its members handed
// over. In single mode each worker's own 完成数量; in cooperative mode, where the workers'
// rows carry no pieces, the pieces passed on shared evenly among them.
Statement teams(mySQLTool& db, const QString& since);
// The oldest `shown` open orders of priority 紧急 (first) and 加急, each with its open flows
// (工作站, 上一站, 数量; NULL when none): 货单号, customer, 货物等级, 货物数量, 激活, the
// number of such orders in all, then the flow's columns.
Statement rushOrders(mySQLTool& db, int shown);
// The flows at 发送 not yet confirmed, oldest first, at most `shown`: 流水号, 货单号,
// customer, 上一站, 数量, 生成时间.
Statement shippingWaiting(mySQLTool& db, int shown);

}  // namespace boardq
