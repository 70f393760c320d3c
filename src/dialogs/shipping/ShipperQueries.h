#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reading statements of the shipping desk.
namespace shipperq {

// Orders with an open flow at "发送", newest first, one page.
Statement unshippedOrders(mySQLTool& db, quint64 offset, quint64 count);
Statement countUnshippedOrders(mySQLTool& db);
// Closed orders that went through the workshop, newest first, one page.
Statement shippedOrders(mySQLTool& db, quint64 offset, quint64 count);
Statement countShippedOrders(mySQLTool& db);

// The order's open flows at any other station.
Statement pendingFlows(mySQLTool& db, quint64 order);
// Flows that arrived at "发送" from a station.
Statement waitingFlows(mySQLTool& db, quint64 order);
// Flows confirmed at "发送".
Statement confirmedFlows(mySQLTool& db, quint64 order);
// The order's shipment rows.
Statement shipments(mySQLTool& db, quint64 order);
// 原版数量, 洗版数量, 损耗数量, 货物数量 of the order.
Statement orderQuantities(mySQLTool& db, quint64 order);
// 货物单价 and 货物性质 of the order.
Statement orderPrice(mySQLTool& db, quint64 order);

// What the docket of a shipment shows, with its customer's name.
Statement docket(mySQLTool& db, quint64 serial);

Statement shippers(mySQLTool& db);
Statement issuers(mySQLTool& db);

}  // namespace shipperq
