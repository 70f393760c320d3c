#pragma once

#include "db/Statement.h"
#include "db/TimeText.h"

#include <optional>

class mySQLTool;

// The reads of the master data that other desks share, and those of production management.
namespace adminq {

inline const QString kLossPrice = QStringLiteral("损耗单价");
inline const QString kPrivilegedPassword = QStringLiteral("特权密码");

// 内容 of a settings row (kLossPrice, kPrivilegedPassword).
Statement setting(mySQLTool& db, const QString& name);

// The grids of production management, in the columns the grids show.
Statement technologies(mySQLTool& db);
Statement processes(mySQLTool& db);
Statement members(mySQLTool& db, bool withInactive);
Statement clients(mySQLTool& db, bool withInactive);
// The activated orders the order grid opens with: the 22 columns of the grid, the newest
// first, at most `limit` of them.
Statement activeOrders(mySQLTool& db, int limit);
// What the simple inquiry "Inquiry" asks for.
struct OrderFilter {
    enum class Time { Received, Activated, Closed };
    std::optional<quint64> client;
    std::optional<QString> nature;
    std::optional<Time> time;  // the column of the range
    Moments range;
    bool withWaiting = false;  // else activated orders only
    bool withClosed = false;   // else open orders only
};
// The clause the simple inquiry builds: "where " and its conditions, or empty.
Statement inquiryClause(mySQLTool& db, const OrderFilter& f);
// The orders of the grid after an inquiry: its base statement, one blank and the clause.
Statement inquiredOrders(mySQLTool& db, const OrderFilter& f, int limit);
// The newest loss records, the newest first.
Statement losses(mySQLTool& db, int limit);

// One row of a grid as the grid loads it, locked until the end of the transaction.
Statement technologyRow(mySQLTool& db, const QString& name);
Statement processRow(mySQLTool& db, const QString& name);
Statement memberRow(mySQLTool& db, quint64 member);
Statement clientRow(mySQLTool& db, quint64 client);
Statement orderRow(mySQLTool& db, quint64 order);
Statement lossRow(mySQLTool& db, quint64 serial);

// A technology renamed from `from` to `to` in the washing methods of the orders still open.
Statement renameInOpenOrders(mySQLTool& db, const QString& from, const QString& to);
// The open orders whose washing method that rename would make longer than `width`
// characters: 货单号 and the new length, the lowest 货单号 first.
struct RenameOverflow {
    enum Column { Order, Length };
};
Statement renameOverflow(mySQLTool& db, const QString& from, const QString& to, int width);
// An employee's unsettled piece-work: its rows and the sum of their 共计.
struct UnsettledWork {
    enum Column { Rows, Amount };
};
Statement unsettledWork(mySQLTool& db, quint64 member);

// The short lists of the master data, one home for every screen's drop-downs and for the
// grids' choices: the first column of each row.
enum class Choice {
    None,
    TechnologyTypes,
    Stations,
    Identities,
    Teams,
    Transporters,
    Natures,
    GoodsTypes,
    Kinds,
    Sexes,
    Priorities,
    ActiveMembers,
    ActiveDispatchers,
    Processes,
};
Statement choices(mySQLTool& db, Choice choice);
// The technologies with their type (名称, 类型), as the inquiries list them.
Statement technologyList(mySQLTool& db);

// The simple inquiry's customers.
struct ClientNames {
    enum Column { Client, Name };
};
Statement clientNames(mySQLTool& db);

}  // namespace adminq
