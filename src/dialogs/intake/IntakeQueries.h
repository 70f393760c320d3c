#pragma once

#include "db/FillList.h"
#include "db/Statement.h"

class mySQLTool;

// The reading statements of the intake desk.
namespace intakeq {

// Active customers: 客户号, 名称, 说明.
Statement clients(mySQLTool& db);
// Open orders released into the workshop (activated) or still waiting, newest first.
Statement orders(mySQLTool& db, bool activated);
// Open flows sent back to "接收", newest first.
Statement waitingFlows(mySQLTool& db);
// The linked order of a rework order, with its customer.
struct RelatedOrder {
    enum Column { ClientName, Type, Kind, Sex, LossPrice, Method, Client };
};
Statement relatedOrder(mySQLTool& db, quint64 order);
// Every column of one order.
Statement order(mySQLTool& db, quint64 order);
// Every column of the customers of that name.
Statement clientByName(mySQLTool& db, const QString& name);
// The price of a technology.
Statement technologyPrice(mySQLTool& db, const QString& name);
// The technologies of a category.
Statement technologies(mySQLTool& db, const QString& category);
// Employees who deliver goods.
Statement receivers(mySQLTool& db);

// The order lists and the customer list take cells by caption; "客户名称" is 名称.
FillMatch byCaption();

}  // namespace intakeq
