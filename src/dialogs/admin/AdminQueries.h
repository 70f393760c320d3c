#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reads of the master data that other desks share.
namespace adminq {

inline const QString kLossPrice = QStringLiteral("损耗单价");
inline const QString kPrivilegedPassword = QStringLiteral("特权密码");

// 内容 of a settings row (kLossPrice, kPrivilegedPassword).
Statement setting(mySQLTool& db, const QString& name);

}  // namespace adminq
