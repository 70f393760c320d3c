#pragma once

#include "db/Statement.h"
#include "db/TimeText.h"

#include <optional>

class mySQLTool;

// The reading statements of the purchase desk, the issue desk and the raw-material inquiry.
namespace materialq {

// 名称, 数量, 单位, 累计数量, 累计金额 of every material, by name.
struct Materials {
    enum Column { Name, Quantity, Unit, BoughtQuantity, BoughtAmount };
};
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

// What the inquiry's ticked conditions ask for; an empty optional is a condition not ticked.
// The supplier counts for purchases only, the customer and the team for issues only.
struct Filter {
    std::optional<QString> material;
    std::optional<quint64> supplier, client, member;
    std::optional<QString> team, account;
    Moments time;
};

// The inquiry, on purchases or issues. The result rows, by 序列号, without a LIMIT (the paged
// list adds it): every matching row of the searched table, also of a supplier, customer or
// employee removed since.
Statement purchaseRows(mySQLTool& db, const Filter& f);
Statement issueRows(mySQLTool& db, const Filter& f);
// The matching rows added up in one pass, grouped by material and supplier.
struct PurchaseSums {
    enum Column { Material, Supplier, SupplierName, Quantity, Amount, Rows };
};
Statement purchaseSums(mySQLTool& db, const Filter& f);
// Grouped by material, customer and team, with the material's average price (NULL when it
// has none).
struct IssueSums {
    enum Column { Material, Client, ClientName, Team, Quantity, Average, Rows };
};
Statement issueSums(mySQLTool& db, const Filter& f);

}  // namespace materialq
