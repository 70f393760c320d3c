#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reading statements of the shipment statistics: the customers of a period and a
// customer's settlement and statement. A period runs strictly after `start` and strictly
// before `end` (both "YYYY-MM-DD hh:mm:ss").
namespace statementq {

// 客户号, 名称 and the amount shipped to each customer in the period, by 客户号. The amount is
// that of the settlement: 返工 and shipments without a washing method left out, a NULL price
// counting as 0.
Statement customers(mySQLTool& db, const QString& start, const QString& end);

// The customer's shipments of the period grouped by washing method and unit price (a NULL
// price is price 0): 洗涤方法, 单价, 数量 (the sum), the pair's key (its lowest 序列号), its
// first shipment (发送时间 and 序列号 as one text that sorts as they do) and whether the
// method is 返工.
Statement pairs(mySQLTool& db, quint64 client, const QString& start, const QString& end);

// The customer's shipments of the period but 返工, by 发送时间 and 序列号: 序列号, 发送时间,
// 货单号, 品名, 货物数量, 备注 and the key of its pair as `pairs` gives it.
Statement shipments(mySQLTool& db, quint64 client, const QString& start, const QString& end);

}  // namespace statementq
