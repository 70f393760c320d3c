#pragma once

#include "db/Outcome.h"

#include <QString>
#include <QStringList>
#include <QVector>

class mySQLTool;

// A customer's settlement and statement for a period, built with grouped reads.
//
// The settlement has a line per washing method and unit price with shipped pieces, methods in
// the order of their first shipment and, within a method, prices in the order of their first
// shipment (of any method); 返工 and shipments without a washing method are left out. A
// shipment without a unit price is billed once, in the line of price 0: its price is not
// known, and a line of its own shows the office what is still to be priced. The statement
// lists each line's shipments under the line's number, by time.
struct CustomerStatement {
    struct Line {
        int number = 0;
        QString method;
        QString price;  // as the server writes the price
        double unitPrice = 0;
        qint64 quantity = 0;
        double amount = 0;
        quint64 pair = 0;
        // 序号, 洗涤方法, 数量, 单价, 金额
        QStringList cells() const;
    };
    struct Shipment {
        int line = 0;
        QString serial, sent, order, article, quantity, remark;
        double amount = 0;
        // 序号, 发货号, 发货日期, 货单号, 款式, 数量, 金额, 备注
        QStringList cells() const;
    };

    QVector<Line> lines;
    QVector<Shipment> shipments;
    qint64 quantity = 0;
    double amount = 0;
    // The totals row: 合计, -/-, 数量, -/-, 金额.
    QStringList totalsCells() const;

    // Reads the customer's shipments of the period ("YYYY-MM-DD hh:mm:ss", both bounds
    // excluded); failed with the server's text when a read failed.
    static Outcome build(mySQLTool& db, quint64 client, const QString& start, const QString& end,
                         CustomerStatement& out);
};

// Money as the lists show it.
QString moneyText(double amount);
