#pragma once

#include "db/Outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

class mySQLTool;

// The log-in accounts (kvc_record_user) as the settings screen edits them. UI-free.
namespace accounts {

// The first cell of a row added in the grid.
inline const QString kNewRow = QStringLiteral("新增");
inline const QString kDuplicate = QStringLiteral("账号不能重复");
// What the grid's 密码 column shows: whether a password is set, or that a new one was typed
// (kept in the hidden column kNewPassword until the save).
inline const QString kPasswordSet = QStringLiteral("已设置");
inline const QString kPasswordTyped = QStringLiteral("已更改");
constexpr int kNewPassword = 4;
// Another administrator changed or removed the account since the grid was loaded.
inline const QString kAccountTaken = QStringLiteral("该账号已被其他用户修改，请重新编辑");

// The signed-in person is signed in to the database as himself (his database account keeps
// his password, and the account procedures of sql/grants.sql change the accounts).
bool ownDatabaseAccount(mySQLTool& db, const QString& account);

// Changes the signed-in user's own password after the checks, in this order: the three
// boxes filled, the old password equal to `current`, the two new ones equal, the new one
// longer than two bytes. The new password is stored as its hash. Refused with the check's
// text; failed with the server's.
Outcome changeOwnPassword(mySQLTool& db, const QString& account, const QString& current,
                          const QString& oldText, const QString& newText, const QString& repeatText);

// The identities the drop-down offers.
QStringList identities(mySQLTool& db, QString* error = nullptr);

// The rows of the grid: 序列号, 账号, kPasswordSet or empty, 权限 and an empty new password, of
// every account not of the identity 管理员. Passwords are never read.
bool load(mySQLTool& db, QList<QStringList>& rows);

struct SaveResult {
    Outcome outcome = Outcome::done();
    int row = -1;  // the grid row that stopped the save, -1 when none
};

// Saves the grid against the rows as loaded, in one transaction: rows gone from the grid
// are deleted, new rows (first cell kNewRow, a new password required) inserted after their
// checks, and of a changed row only the changed cells are written, each while the account
// still holds the value loaded (taken with kAccountTaken otherwise: the grid is to be loaded
// again); a new password (cell kNewPassword) is written as its hash. A name in use is
// refused with kDuplicate. On any refusal or failure nothing is saved. When the signed-in
// person has a database account of his own, each account's row and database account are
// changed together by the server, row by row (`signedIn`: the signed-in account); a refusal keeps the rows
// saved before it.
SaveResult save(mySQLTool& db, const QString& signedIn, const QList<QStringList>& loaded,
                const QList<QStringList>& rows);

}  // namespace accounts
