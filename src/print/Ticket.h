#pragma once

#include <QString>

// What a ticket shows: a flow's goods (flow 0 for an order's own ticket, which goes with an
// order waiting at intake), the code that names it and the digits to type by hand.
struct Ticket {
    quint64 flow = 0;
    quint64 order = 0;
    QString style;  // 款号
    QString customer;
    QString nature, type, kind, sex;  // 属性, 类型, 款式, 性别
    QString method;                   // 洗涤方法
    QString priority;                 // 货物等级
    int quantity = 0;
    QString station;  // where the goods wait
    QString made;     // when the flow (or the order) was made
    QString code;     // the QR text
    QString hand;     // the same, as digits
};
