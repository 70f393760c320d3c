#pragma once

#include "db/Outcome.h"

#include <QString>
#include <QStringList>

class mySQLTool;

// The purchase desk's writes, each one transaction.
namespace materials {

// The units a new material may have, in the order the desk offers them.
const QStringList& units();

// Adds a material with its unit. Refused: "请输入原料名称", "请选择原料单位", "该原料已存在".
Outcome addMaterial(mySQLTool& db, const QString& name, const QString& unit);
// Adds a supplier; its 供应商号 (from the insert) goes to `id`. Refused: "请输入供应商名称",
// "该供应商已存在".
Outcome addSupplier(mySQLTool& db, const QString& name, const QString& remark, quint64* id = nullptr);

struct Purchase {
    QString material;          // the material's 名称
    bool newMaterial = false;  // added by the purchase, with its unit
    QString unit;
    quint64 supplier = 0;      // 供应商号 of the chosen supplier
    bool newSupplier = false;  // added by the purchase under this name and remark
    QString supplierName;
    QString supplierRemark;
    quint64 buyer = 0;  // 工号
    double quantity = 0;
    double price = 0;
    double amount = 0;
    QString account;  // the signed-in account
};

// The checks of 登记 in the desk's order, before anything is asked: "请选择一项原料" (for a new
// one "请选择原料单位"), "请选择一个供应商" (for a new one "请输入供应商名称"), "请选择一个采购人",
// "请输入正确的数量", "请输入正确的单价", "请输入正确的金额". Numbers must be above 0 and writable.
Outcome checkPurchase(const Purchase& p);

// Registers a purchase: raises the material's stock and running totals and writes the
// purchase row, with a new material or supplier added first, all in one transaction. The
// supplier's 供应商号 goes to `supplier` (a new one's from its insert).
Outcome registerPurchase(mySQLTool& db, const Purchase& p, quint64* supplier = nullptr);

}  // namespace materials
