#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reads behind flow tickets and scans.
namespace ticketq {

// What a flow's ticket shows: 流水号, 货单号, 款号, 名称, 货物性质, 货物分类, 货物款式, 货物性别,
// 洗涤方法, 货物等级, 数量, 工作站, 生成时间 (the customer is the order's).
struct TicketRow {
    enum Column {
        Flow,
        Order,
        Style,
        Customer,
        Nature,
        Type,
        Kind,
        Sex,
        Method,
        Priority,
        Quantity,
        Station,
        Made
    };
};
Statement flowTicket(mySQLTool& db, quint64 flow);
// The same for an order's own ticket (0 for 流水号, the order's quantity and 接货时间).
Statement orderTicket(mySQLTool& db, quint64 order);
// Where a flow is: 货单号, 工作站, 上一站, 结讫, 工序, 数量, then its order's 激活 and 结讫.
struct Place {
    enum Column { Order, Station, Previous, State, Process, Quantity, OrderActive, OrderState };
};
Statement flowPlace(mySQLTool& db, quint64 flow);
// The flows made from a flow of the order (its successor, its derived remainder): 流水号,
// 工作站, 上一站, 结讫, 数量; read through the order's flows.
struct Successors {
    enum Column { Flow, Station, Previous, State, Quantity };
};
Statement successors(mySQLTool& db, quint64 order, quint64 flow);
// 激活, 结讫 of an order.
struct OrderState {
    enum Column { Active, State };
};
Statement orderState(mySQLTool& db, quint64 order);

}  // namespace ticketq
