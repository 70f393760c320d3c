#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reading statements of the station screen and its processing panel.
namespace stationq {

// The seven work stations, without intake and shipping.
Statement stations(mySQLTool& db);

// The classes of the queue, in the order the queue shows them.
enum class QueueClass { SentBack, Derived, Urgent, Hurried, Normal };
inline constexpr QueueClass kQueueClasses[] = {QueueClass::SentBack, QueueClass::Derived, QueueClass::Urgent,
                                               QueueClass::Hurried, QueueClass::Normal};
// The open flows of one class at the station (流水号, 货单号, 名称, 货物等级, 上一站, 数量, 生成时间):
// flows it sent back to itself newest first, the others oldest first; at most one list.
Statement queue(mySQLTool& db, const QString& station, QueueClass c);
// The same columns for one flow (a place fixed by hand).
Statement queueFlow(mySQLTool& db, quint64 flow);
// 结讫 of a flow.
Statement flowState(mySQLTool& db, quint64 flow);
// The newest flows the station finished, at most one list.
Statement done(mySQLTool& db, const QString& station);
// 上一站, 数量, 历史, 货单号 of a flow.
struct FlowDetails {
    enum Column { Previous, Quantity, History, Order };
};
Statement flowDetails(mySQLTool& db, quint64 flow);
// The order of a flow.
Statement orderOfFlow(mySQLTool& db, quint64 flow);
// 名称, 洗涤方法, 货物性质, 货物分类, 货物款式, 货物性别, 货物等级, 损耗单价 of an order.
struct OrderDetails {
    enum Column { ClientName, Method, Nature, Type, Kind, Sex, Priority, LossPrice };
};
Statement orderDetails(mySQLTool& db, quint64 order);

// The processing panel.
Statement processes(mySQLTool& db, const QString& station);
Statement teamMembers(mySQLTool& db, const QString& team);

}  // namespace stationq
