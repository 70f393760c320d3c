#pragma once

#include "db/Statement.h"
#include "db/TimeText.h"

#include <optional>

class mySQLTool;

// The reading statements of the shipment inquiry.
namespace shipmentq {

// What the inquiry's ticked conditions ask for; an empty optional is a condition not ticked.
// Texts are matched as typed or chosen; technology, style and sex are found inside the
// shipment's washing method or article name, with '%' and '_' in them taken literally.
struct Filter {
    std::optional<quint64> client;
    std::optional<QString> technology;  // written in square brackets in 洗涤方法
    std::optional<QString> shipper;
    std::optional<QString> issuer;
    std::optional<QString> style;  // inside 品名
    std::optional<QString> sex;    // inside 品名
    Moments sent;
    std::optional<QString> technologyLike;  // any part of 洗涤方法
    std::optional<quint64> order;
    std::optional<QString> nature;  // the order's 货物性质
};

// The joined condition text of a filter, in the screen's fixed order; empty when none: the
// WHERE of the two statements below.
Statement conditions(mySQLTool& db, const Filter& filter);
// A text to stand literally inside a like pattern: '\', '%' and '_' escaped.
QString likeLiteral(const QString& text);

// One page of the matching shipments by 序列号, the customer's name in the third column.
Statement shipments(mySQLTool& db, const Filter& filter, quint64 offset, int count);
// All of them (the export).
Statement allShipments(mySQLTool& db, const Filter& filter);
// Over every matching shipment: the count, the sums of 货物数量, 损耗数量, 原版数量, 洗版数量
// and the amount (货物数量 x 货物单价, a NULL price adding nothing).
struct Totals {
    enum Column { Count, Goods, Loss, Original, Washed, Amount };
};
// Every shipment or a customer's come from the totals kept by the writes (keptTotals).
Statement totals(mySQLTool& db, const Filter& filter);
bool keptTotals(mySQLTool& db, const Filter& filter);

// The customer list of the conditions (the attribute lists are adminq's).
Statement clients(mySQLTool& db);

}  // namespace shipmentq
