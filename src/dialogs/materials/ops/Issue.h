#pragma once

#include "db/Outcome.h"

#include <QString>

class mySQLTool;

// The issue desk's write.
namespace materials {

inline const QString kNotInStock = QStringLiteral("提取的数量大于现有库存");

struct Issue {
    QString material;    // 名称
    quint64 member = 0;  // who takes it (工号)
    quint64 client = 0;  // for whose goods (客户号)
    QString team;
    double quantity = 0;
    QString account;  // the signed-in account
};

// The checks of 领出 in the desk's order: "请选择一项原料", "请选择一个领料人", "请选择一个对应客户",
// "请选择领料班组", "请输入正确的数量" (above 0 and finite).
Outcome checkIssue(const Issue& i);

// The stock as it is now holds the quantity; refused with "提取的数量大于现有库存" otherwise. Only
// a look before the question: issueMaterial checks again as it takes the stock.
Outcome checkStock(mySQLTool& db, const Issue& i);

// Takes the quantity from stock and writes the issue row in one transaction. The stock is
// taken only while it holds the quantity, so two desks cannot both take the last of it:
// refused with "提取的数量大于现有库存" and nothing written when it does not.
Outcome issueMaterial(mySQLTool& db, const Issue& i);

}  // namespace materials
