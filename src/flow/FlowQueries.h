#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reads of the flow life cycle, made inside its transactions.
namespace flowq {

// 货单号 of a flow (it never changes), unlocked.
Statement flowOrder(mySQLTool& db, quint64 flow);
// 货单号, 客户号, 货物等级, 数量, 历史, 上一站, 工作站, 结讫 of a flow, locked.
Statement lockFlow(mySQLTool& db, quint64 flow);
// 激活, 结讫, 货物数量 of an order, locked.
Statement lockOrderState(mySQLTool& db, quint64 order);
// 货物等级 of an order, read as it is now (after the transaction waited for the order row).
Statement orderPriority(mySQLTool& db, quint64 order);
// 工价 of a process step (the rate of a mode at a station).
Statement processRate(mySQLTool& db, const QString& process);
// What a shipment copies from its order, the order's counts and its 结讫, locked.
Statement lockOrderForShipment(mySQLTool& db, quint64 order);
// The sums of the order's shipments: 原版数量, 洗版数量, 损耗数量, 货物数量.
Statement shippedSums(mySQLTool& db, quint64 order);
// The pieces of the order's open confirmed flows.
Statement confirmedPieces(mySQLTool& db, quint64 order);
// The order's open flows outside "发送" (goods still in the workshop), locked for reading.
Statement flowsInWorkshop(mySQLTool& db, quint64 order);

// The two closing writes of the shipping desk, named so that their plans can be measured:
// the order's open confirmed flows, and every open confirmed flow of a closed order ("修复").
Statement closeConfirmedFlows(mySQLTool& db, quint64 order);
Statement repairConfirmedFlows(mySQLTool& db);

}  // namespace flowq
