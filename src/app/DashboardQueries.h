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
// The washing methods of the orders in the workshop, and the pieces of one of them.
Statement runningMethods(mySQLTool& db);
Statement methodPieces(mySQLTool& db, const QString& method);
// The station names.
Statement stations(mySQLTool& db);
// 数量 of the flows waiting at a station; at "发送" the flows it sent back to itself are left out.
Statement waiting(mySQLTool& db, const QString& station);
// 数量 of the flows a station finished on `day` (YYYY-MM-DD), forwarded ones left out.
Statement finished(mySQLTool& db, const QString& station, const QString& day);
// The technologies counted on the dashboard (packages left out), and the pieces of one of them.
Statement technologies(mySQLTool& db);
Statement technologyPieces(mySQLTool& db, const QString& technology);

}  // namespace dashq
