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
// Another administrator changed or removed the account since the grid was loaded.
inline const QString kAccountTaken = QStringLiteral("该账号已被其他用户修改，请重新编辑");

// Changes the signed-in user's own password after the checks, in this order: the three
// boxes filled, the old password equal to `current`, the two new ones equal, the new one
// longer than two bytes. Refused with the check's text; failed with the server's.
Outcome changeOwnPassword(mySQLTool& db, const QString& account, const QString& current,
                          const QString& oldText, const QString& newText, const QString& repeatText);

// The identities the drop-down offers.
QStringList identities(mySQLTool& db, QString* error = nullptr);

// The rows of the grid: 序列号, 账号, 密码, 权限 of every account not of the identity 管理员.
bool load(mySQLTool& db, QList<QStringList>& rows);

struct SaveResult {
    Outcome outcome = Outcome::done();
    int row = -1;  // the grid row that stopped the save, -1 when none
};

// Saves the grid against the rows as loaded, in one transaction: rows gone from the grid
// are deleted, new rows (first cell kNewRow) inserted after their checks, and of a
// changed row only the changed cells are written, each while the account still holds the
// value loaded (taken with kAccountTaken otherwise: the grid is to be loaded again). A
// name in use is refused with kDuplicate. On any refusal or failure nothing is saved.
SaveResult save(mySQLTool& db, const QList<QStringList>& loaded, const QList<QStringList>& rows);

}  // namespace accounts
