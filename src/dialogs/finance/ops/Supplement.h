#pragma once

#include "db/Outcome.h"

#include <QList>
#include <QString>

class mySQLTool;

// Piece-work recorded after the fact: one finished flow of the order at the pseudo-station
// "追加" and one piece-work row per employee, which the settlement pays like any other.
namespace finance {

inline const QString kSupplementStation = QStringLiteral("追加");

struct SupplementRow {
    quint64 member = 0;  // 工号
    int quantity = 0;    // the 数量 cell as a whole number
    double amount = 0;   // the 金额 cell; checked, not written
};

struct Supplement {
    quint64 order = 0;
    QString process;  // the process step
    double rate = 0;  // its 工价
    QList<SupplementRow> rows;
    QString account;
    QString now;
};

// The checks of 登记, in their order, against the order's 货物数量: the step (and that its name
// fits a flow's 工序), the rate, the rows, then each row's amount and quantity and the running
// sum of the quantities.
Outcome checkSupplement(const Supplement& s, qint64 orderGoods);
// Refused for an order that is closed or cancelled (its 结讫), which takes no supplement.
Outcome orderTakesSupplement(quint64 order, int closed);

// One transaction: the flow, then the rows on the flow's own key; the order's customer and
// priority are read in it, and its state and the quantities checked again as it is.
// `flow` receives the new flow's 流水号.
Outcome supplement(mySQLTool& db, const Supplement& s, quint64* flow = nullptr);

}  // namespace finance
