#pragma once

#include "db/Outcome.h"
#include "dialogs/admin/ops/ManageGrids.h"

#include <QList>
#include <QStringList>

class mySQLTool;

// Saving a grid of production management against the rows as loaded. UI-free.
namespace manage {

// Two names the same for the tables' unique names: case and trailing blanks do not count; an
// empty name is nobody's.
bool sameName(const QString& a, const QString& b);

struct SaveResult {
    Outcome outcome = Outcome::done();
    int row = -1;     // the grid row that stopped the save, -1 when none
    int column = -1;  // its cell, -1 when the whole row
};

// The checks that need no database, on every new and changed row, top to bottom: required cells
// filled ("必填项不能为空"; a changed row only for a cell it emptied), texts the columns can
// hold, no name twice (technologies, process steps).
SaveResult check(Grid grid, const QList<QStringList>& loaded, const QList<QStringList>& rows);

// Saves in one transaction, all or nothing: rows of `loaded` gone from `rows` are deleted, rows
// whose first cell is kNewRow inserted, changed rows updated. A row is deleted or updated only
// while it still holds the loaded values; when another desk changed or removed it, nothing is
// saved (taken). A renamed technology is renamed in the washing methods of the open orders too.
// `account` is the 经办人 of new orders and loss records.
SaveResult save(mySQLTool& db, Grid grid, const QList<QStringList>& loaded, const QList<QStringList>& rows,
                const QString& account);

}  // namespace manage
