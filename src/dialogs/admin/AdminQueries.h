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

// The choices of the grids' drop-downs.
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
};
Statement choices(mySQLTool& db, Choice choice);

// The simple inquiry's customers: 客户号, 名称.
Statement clientNames(mySQLTool& db);

}  // namespace adminq
