#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reads of the main window's dashboard.
namespace dashq {

// The open orders with their customers, by number.
Statement openOrders(mySQLTool& db);
// 流水号, 工作站, 数量 of the order's open flows.
Statement orderFlows(mySQLTool& db, quint64 order);
// The route of a flow.
Statement flowRoute(mySQLTool& db, quint64 flow);
// The washing methods of the orders in the workshop (released and open) with their pieces:
// one row a text, compared byte for byte, in the order the texts first appear.
Statement methodPieces(mySQLTool& db);
// The station names.
Statement stations(mySQLTool& db);
// 工作站, count and pieces of the flows waiting at the stations of the station table; at
// "发送" the flows it sent back to itself are left out. Stations with none have no row.
Statement waiting(mySQLTool& db);
// 工作站, count and pieces of the flows finished on `day` (YYYY-MM-DD), forwarded ones left out.
Statement finished(mySQLTool& db, const QString& day);
// Each technology counted on the dashboard (packages left out) with the pieces of the
// orders in the workshop whose washing method names it.
Statement technologyPieces(mySQLTool& db);

}  // namespace dashq
