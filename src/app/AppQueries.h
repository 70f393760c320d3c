#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reads of the shell: log-in and the accounts.
namespace appq {

// 账号, 密码, 权限 of an account.
Statement login(mySQLTool& db, const QString& account);
// 序列号 of an account.
Statement accountSerial(mySQLTool& db, const QString& account);
// 账号 of the accounts of that name.
Statement accountNamed(mySQLTool& db, const QString& account);
// The identities an account may take.
Statement identities(mySQLTool& db);
// 序列号, 账号, 密码, 权限 of every account but the administrators'.
Statement accounts(mySQLTool& db);

}  // namespace appq
