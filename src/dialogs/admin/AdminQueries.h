#pragma once

#include "db/Statement.h"

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
// The 22 columns of the orders matching `where` (" where ..." or empty), the newest first, at
// most `limit` of them.
Statement orders(mySQLTool& db, const Statement& where, int limit);
// The activated orders the order grid opens with.
Statement activeOrders(mySQLTool& db, int limit);
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
Statement renameOverflow(mySQLTool& db, const QString& from, const QString& to, int width);
// An employee's unsettled piece-work: its rows and the sum of their 共计.
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

// The simple inquiry's customers: 客户号, 名称.
Statement clientNames(mySQLTool& db);

}  // namespace adminq
