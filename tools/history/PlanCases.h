#pragma once

#include "db/Statement.h"

#include <QString>
#include <functional>
#include <vector>

class mySQLTool;

// The statements the screens send, made by the screens' own query functions, with values a
// desk would use drawn from the data: kvplans measures them and the plan tests hold their keys.
namespace plans {

struct Values {
    QString today, month, lastmonth, tomorrow, yearago;  // dates, YYYY-MM-DD
    QString yesterday;
    QString now;  // the newest flow's time
    QString station = QStringLiteral("洗水");
    QString team = QStringLiteral("洗水组");
    QString tech = QStringLiteral("石磨");  // a technology of the generated price list

    quint64 orderShipping;  // an order with flows waiting at 发送
    quint64 orderOpen;      // an order with a flow at the station
    quint64 orderOld;       // an order of the middle of the history
    quint64 flow;           // an open flow at the station
    quint64 flowOld;        // a closed flow of the old order
    quint64 member;         // an employee of the team
    quint64 client;         // the customer with the most orders
    quint64 quietClient;    // the customer with the fewest
};

// Draws the values from the database the session is connected to.
Values draw(mySQLTool& db);

struct Case {
    QString name;
    std::function<Statement(mySQLTool&, const Values&)> make;
    bool write = false;  // measured inside a transaction that is rolled back
};

const std::vector<Case>& cases();
// The case of that name; nullptr when none.
const Case* find(const QString& name);

}  // namespace plans
