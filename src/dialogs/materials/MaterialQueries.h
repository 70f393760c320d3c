#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reading statements of the purchase desk, the issue desk and the raw-material inquiry.
namespace materialq {

// 名称, 数量, 单位, 累计数量, 累计金额 of every material, by name.
Statement materials(mySQLTool& db);
// The material of that name (名称); no row when there is none.
Statement material(mySQLTool& db, const QString& name);
// The material's 数量 when it holds at least `quantity`; no row otherwise.
Statement stockHolding(mySQLTool& db, const QString& name, double quantity);
// 供应商号, 名称, 备注 of every supplier, in the order they were added.
Statement suppliers(mySQLTool& db);
// 供应商号 of the supplier of that name (the name is a unique key).
Statement supplierNamed(mySQLTool& db, const QString& name);
// 工号, 姓名 of the active employees, by name.
Statement activeMembers(mySQLTool& db);
// 客户号, 名称, 说明 of every customer.
Statement clients(mySQLTool& db);
// The accounts.
Statement accounts(mySQLTool& db);

// The newest purchases and issues the desks show (序列号, material, supplier or customer, ...).
inline constexpr int kRecentRows = 512;
Statement recentPurchases(mySQLTool& db);
Statement recentIssues(mySQLTool& db);

// The inquiry's conditions, fragments on the searched table (purchases or issues), joined in
// the screen's order into the `where` of the statements below.
inline constexpr const char* kOnMaterial = "%s.名称='%s'";
inline constexpr const char* kOnSupplier = "%s.供应商号=%I64u";
inline constexpr const char* kOnClient = "%s.客户号=%I64u";
inline constexpr const char* kOnMember = "%s.工号=%I64u";
inline constexpr const char* kOnTeam = "%s.班组='%s'";
inline constexpr const char* kOnAccount = "%s.经办人='%s'";
inline constexpr const char* kAfter = "%s.时间>'%s'";
inline constexpr const char* kBefore = "%s.时间<'%s'";
inline constexpr const char* kWithin = "%s.时间>'%s' and %s.时间<'%s'";

// The inquiry. `where` is the joined condition text on the searched table, empty for none.
// The result rows, by 序列号, without a LIMIT (the paged list adds it): every row of the
// searched table, also of a supplier, customer or employee removed since.
Statement purchaseRows(mySQLTool& db, const Statement& where);
Statement issueRows(mySQLTool& db, const Statement& where);
// The matching rows added up in one pass, grouped by material and supplier:
// 名称, 供应商号, supplier's 名称, sum(数量), sum(金额), count(*).
Statement purchaseSums(mySQLTool& db, const Statement& where);
// Grouped by material, customer and team, with the material's average price (NULL when it
// has none): 名称, 客户号, customer's 名称, 班组, sum(数量), 均价, count(*).
Statement issueSums(mySQLTool& db, const Statement& where);

}  // namespace materialq
