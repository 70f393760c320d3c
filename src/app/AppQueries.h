#pragma once

#include "db/Statement.h"

class mySQLTool;

// The reads of the shell: log-in and the accounts.
namespace appq {

// 账号, 密码, 权限, 序列号, 错误次数 of an account.
struct Login {
    enum Column { Account, Password, Identity, Serial, WrongTries };
};
Statement login(mySQLTool& db, const QString& account);
// The seconds the next log-in try of an account must wait.
Statement loginWait(mySQLTool& db, const QString& account);
// The parameters and salt of an account's password hash while it is moved to a database account
// of its own (NULL otherwise).
Statement loginSalt(mySQLTool& db, const QString& account);
// 权限, 错误次数 of the account a person signed in to the database with.
struct Self {
    enum Column { Identity, WrongTries };
};
Statement self(mySQLTool& db);
// 序列号 of an account.
Statement accountSerial(mySQLTool& db, const QString& account);
// 账号 of the accounts of that name.
Statement accountNamed(mySQLTool& db, const QString& account);
// The identities an account may take.
Statement identities(mySQLTool& db);
// 序列号, 账号, whether a password is set (1 or 0), 权限 of every account but the administrators'.
Statement accounts(mySQLTool& db);

}  // namespace appq
