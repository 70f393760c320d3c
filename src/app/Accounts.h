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
// are deleted, new rows (first cell kNewRow) inserted after their checks, changed rows
// updated. On any refusal or failure nothing is saved.
SaveResult save(mySQLTool& db, const QList<QStringList>& loaded, const QList<QStringList>& rows);

}  // namespace accounts
