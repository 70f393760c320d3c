#pragma once

#include "db/Statement.h"

#include <QString>

class mySQLTool;

// The reading statements of the loss registry.
namespace qualityq {

// 1 when the loss table has the column 处理, from the table's definition (so an empty table
// answers too), 0 when it has not.
Statement handledColumn(mySQLTool& db);

// What the record lists show: the records of a range of dates (before the first, after the
// second, or strictly between the first and the second), open ones only unless the handled are
// asked for too. Dates are "YYYY-MM-DD", compared as text with the stored times, so that after
// a day takes the day itself in and before it leaves it out.
struct Filter {
    enum class Dates { Any, Before, After, Within };
    Dates dates = Dates::Any;
    QString first, second;
    bool showHandled = false;
};
// The conditions of a filter with their lead (" where ..."), or empty.
Statement conditions(mySQLTool& db, const Filter& filter);

// Loss records with their customer's name (those whose customer is gone are left out), oldest
// first, at most `count` of them:
// 序列号, 名称, 日期, 数量, 原因, 责任人, 记录人, 备注, 处理. `where` is the conditions on the loss
// table with its lead (" where ..."), or empty.
Statement records(mySQLTool& db, const Statement& where, int count);
// How many records `where` finds in all.
Statement countRecords(mySQLTool& db, const Statement& where);

// Active customers: 客户号, 名称, 说明.
Statement clients(mySQLTool& db);
// Names for the form's "记录人": active dispatchers.
Statement recorders(mySQLTool& db);
// Names for the form's "责任人": active employees.
Statement responsibles(mySQLTool& db);
// Names for "记录人" in the edit list: every dispatcher, so that an old record keeps its own.
Statement allRecorders(mySQLTool& db);

}  // namespace qualityq
