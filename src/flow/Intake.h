#pragma once

#include "db/Outcome.h"

#include <QString>

class mySQLTool;

// The transitions of the intake desk: registering and activating orders, ending and
// cancelling orders that never entered the workshop, and sending flows that came back to
// "接收" on to "洗水" or "发送". Each one is one transaction; every change of an existing
// row is conditional on the state the desk saw.
namespace intake {

inline const QString kNoQuantity = QStringLiteral("数量错误的货单不能直接发送");
inline const QString kNoPriority = QStringLiteral("优先等级错误的货单不能直接发送");
inline const QString kBadOrder = QStringLiteral("错误的货单号");
inline const QString kBadFlow = QStringLiteral("错误的流水号");

// An order as the form gives it, already checked.
struct Order {
    quint64 client = 0;   // 客户号; replaced by the new customer when one is created
    QString receiver;     // 接货人
    QString nature;       // 货物性质
    QString type;         // 货物分类
    QString kind;         // 货物款式
    QString sex;          // 货物性别
    QString method;       // 洗涤方法
    float price = 0;      // 货物单价
    float lossPrice = 0;  // 损耗单价
    int goods = 0;        // 货物数量
    QString priority;     // 货物等级
    QString account;      // 经办人
    int original = 0;     // 原版数量
    int washed = 0;       // 洗版数量
    quint64 style = 0;    // 款号
    quint64 related = 0;  // 关联
};

// What a submit wrote.
struct Written {
    quint64 order = 0;   // 货单号
    quint64 client = 0;  // 客户号 the order was written with
    quint64 flow = 0;    // the first flow of an activated order, else 0
};

// Writes a new order (`editing` 0) or rewrites the waiting order `editing`. With
// `activate` the order is released with its first flow at "洗水". A non-empty
// `newClient` creates that customer in the same transaction and writes the order for it.
// Refused with flow::kOrderTaken when the order under edit is no longer waiting.
Outcome submitOrder(mySQLTool& db, const Order& order, bool activate, quint64 editing,
                    const QString& newClient, Written* out = nullptr);

// "结束货单": the waiting order leaves intake (激活 2) with one flow at "发送", carrying the
// priority chosen on the form. Refused with kNoQuantity, kNoPriority or flow::kOrderTaken.
Outcome endOrder(mySQLTool& db, quint64 order, const QString& priority, quint64* createdFlow = nullptr);

// "取消货单": the waiting order is cancelled (结讫 2).
Outcome cancelOrder(mySQLTool& db, quint64 order);

// "退还": the flow waiting at "接收" is closed as refused (结讫 2) and its goods go to "洗水".
Outcome refuseFlow(mySQLTool& db, quint64 flow, const QString& account, quint64* created = nullptr);

// "直接发送": the flow waiting at "接收" is closed (结讫 1) and its goods go to "发送".
Outcome forwardFlow(mySQLTool& db, quint64 flow, const QString& account, quint64* created = nullptr);

}  // namespace intake
