#pragma once

#include "db/Outcome.h"
#include "print/Ticket.h"

#include <QList>
#include <QString>

class mySQLTool;

// What a scanned ticket names and where its goods are, read without writing anything.
namespace scan {

// A station's answer to an order's ticket.
inline const QString kOrderTicket = QStringLiteral("这是货单%1的货单卡，请扫描流水卡");

struct Next {
    quint64 flow = 0;
    QString station;
    QString previous;
    int state = 0;
    int quantity = 0;
};

struct FlowPlace {
    quint64 scanned = 0;  // the flow the ticket names
    quint64 flow = 0;     // where its goods are now (see findFlow)
    quint64 order = 0;
    QString station;   // 工作站
    QString previous;  // 上一站
    int state = 0;     // 结讫
    QString process;   // 工序
    int quantity = 0;
    int orderActive = 0;  // 激活 of the order
    int orderState = 0;   // 结讫 of the order
    QList<Next> next;     // the flows made from a finished one

    bool open() const { return state == 0; }
    bool orderEnded() const { return orderState != 0; }
    // Open at shipping: waiting for confirmation, or confirmed and waiting for the shipment.
    bool atShipping() const;
    bool confirmed() const;
};

// Reads where a flow is. With `follow`, a flow passed on untouched at intake or shipping
// (confirmed, returned, refused or forwarded there: no ticket is printed for those steps)
// is followed to the flow that carries the goods on, so the ticket in hand still finds them.
// Refused with "没有流水…" when there is no such flow.
Outcome findFlow(mySQLTool& db, quint64 flow, FlowPlace& out, bool follow = true);
// What a desk says of a flow it cannot act on: where it is, or where its goods went.
QString describe(const FlowPlace& p);

struct OrderPlace {
    quint64 order = 0;
    int active = 0;  // 激活
    int state = 0;   // 结讫
    bool waiting() const { return active == 0 && state == 0; }
};
// Refused with "没有货单…" when there is no such order.
Outcome findOrder(mySQLTool& db, quint64 order, OrderPlace& out);
QString describe(const OrderPlace& p);

// The ticket of a flow (kind Flow) or of an order (kind Order) as printed.
Outcome loadFlowTicket(mySQLTool& db, quint64 flow, Ticket& out);
Outcome loadOrderTicket(mySQLTool& db, quint64 order, Ticket& out);

}  // namespace scan
