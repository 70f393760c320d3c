#pragma once

#include "db/Outcome.h"

#include <QString>

class mySQLTool;

// The transitions of the shipping desk: confirming and returning flows that arrived at
// "发送", shipments with the closing of their order, forced closing and repair. Each one
// runs as one transaction and decides from the database, not from the desk's figures.
namespace shipping {

inline const QString kNothingToShip = QStringLiteral("请设置本次发货的具体内容");
inline const QString kTooMuch = QStringLiteral("设定数量不能超出可发送数量");
inline const QString kBadCount = QStringLiteral("错误的数量");
inline const QString kInWorkshop = QStringLiteral("该货单还有部分货物在车间中，不能结讫");
inline const QString kBadFlow = QStringLiteral("错误的流水号");
inline const QString kBadOrder = QStringLiteral("内部数据错误");
// The order is no longer open (another desk closed it); nothing is shipped or closed.
inline const QString kOrderClosed = QStringLiteral("该货单已经结讫，请刷新后查看");

// The flow made by a confirmation or a return.
struct FlowMove {
    quint64 created = 0;  // the successor's 流水号
    quint64 order = 0;    // its 货单号, taken from the flow it replaces
};

// Closes a flow waiting at "发送" with 工序 "确认" and opens its confirmed successor there.
Outcome confirmFlow(mySQLTool& db, quint64 flow, const QString& account, FlowMove* moved = nullptr);
// Closes a flow waiting at "发送" with 工序 "转发" and sends its goods back to the station
// they came from.
Outcome returnFlow(mySQLTool& db, quint64 flow, const QString& account, FlowMove* moved = nullptr);

// What one shipment carries, as typed on the desk.
struct Shipment {
    quint64 order = 0;
    int original = 0;              // 原版数量
    int washed = 0;                // 洗版数量
    int loss = 0;                  // 损耗数量
    int goods = 0;                 // 货物数量
    QString shipper;               // 发货人
    QString issuer;                // 开票人
    bool noQuantityCheck = false;  // "禁止数量核算": already shipped goods are not subtracted
    QString account;
};

struct Shipped {
    quint64 serial = 0;   // 序列号 of the new shipment row
    bool closed = false;  // the shipment covered the order, which was closed with it
};

// What may still be shipped of an order, read from the database.
struct Shippable {
    qint64 orderOriginal = 0, orderWashed = 0, orderLoss = 0, orderGoods = 0;
    qint64 shippedOriginal = 0, shippedWashed = 0, shippedLoss = 0, shippedGoods = 0;
    qint64 confirmed = 0;  // pieces of the order's open confirmed flows
    qint64 remainingOriginal() const { return orderOriginal - shippedOriginal; }
    qint64 remainingWashed() const { return orderWashed - shippedWashed; }
    qint64 remainingLoss() const { return orderLoss - shippedLoss; }
    qint64 available(bool noQuantityCheck) const
    {
        return noQuantityCheck ? confirmed : confirmed - shippedGoods;
    }
};

// Checks a shipment against the figures: refused with kNothingToShip, kBadCount or kTooMuch.
Outcome checkShipment(const Shipment& s, const Shippable& figures);

// Records a shipment and, when the shipments now cover the order, closes the order and
// its confirmed flows, all in one transaction under a lock of the order row. Only an open
// order is shipped (taken with kOrderClosed otherwise).
Outcome ship(mySQLTool& db, const Shipment& s, Shipped* out = nullptr);

// Done when the order has no open flow outside "发送", refused with kInWorkshop when it
// has, failed when the query failed.
Outcome checkNotInWorkshop(mySQLTool& db, quint64 order);

// Closes the open order and every one of its open flows ("结讫货单"); refused while goods
// are still at a workstation, taken with kOrderClosed when the order is closed already
// (its first closing time stays).
Outcome forceClose(mySQLTool& db, quint64 order);

// Closes every confirmed flow still open although its order is closed ("修复").
Outcome repair(mySQLTool& db);

}  // namespace shipping
