#pragma once

#include "db/Outcome.h"
#include "flow/Intake.h"

#include <QString>

class mySQLTool;

// The checks of the order form before a submit, in the order the desk makes them.
namespace intake {

// The form as typed and chosen.
struct OrderForm {
    QString clientName;
    bool newClient = false;  // "编辑新客户": the name is a customer to create
    quint64 client = 0;      // the customer chosen in the list (or found by the related order)
    QString receiver, nature, type, kind, sex, priority;
    QString goods, original, washed, style, price, lossPrice, related, method;
};

inline const QString kRework = QStringLiteral("返工");

// True when the name begins with a Chinese character: its first two GBK bytes both have
// the high bit set.
bool leadsWithChinese(const QString& name);

// Checks the form for a submit, activated or waiting. Done with `out` filled (account
// left empty); refused with the message to show; failed when the related-order query failed.
Outcome checkOrder(mySQLTool& db, const OrderForm& form, bool activate, Order& out);

// Whether a customer of that name exists (any state).
Outcome clientExists(mySQLTool& db, const QString& name, bool& exists);

}  // namespace intake
