#pragma once

#include "db/Statement.h"
#include "db/TimeText.h"

#include <QString>

class mySQLTool;

// The reading statements of the loss registry.
namespace qualityq {

// 1 when the loss table has the column 处理, from the table's definition (so an empty table
// answers too), 0 when it has not.
Statement handledColumn(mySQLTool& db);

// What the record lists show: the records of a range of dates, open ones only unless the
// handled are asked for too. Dates are "YYYY-MM-DD", compared as text with the stored times,
// so that after a day takes the day itself in and before it leaves it out.
struct Filter {
    Moments dates;
    bool showHandled = false;
};
// " where " and the conditions of a filter on the loss table, or nothing.
Statement conditions(mySQLTool& db, const Filter& filter);

// Loss records with their customer's name (those whose customer is gone are left out), oldest
// first, at most `count` of them.
struct Records {
    enum Column { Serial, Client, Date, Count, Reason, Responsible, Recorder, Remark, Handled };
};
Statement records(mySQLTool& db, const Filter& filter, int count);
// All of them (the export).
Statement allRecords(mySQLTool& db, const Filter& filter);
// How many records the filter finds in all.
Statement countRecords(mySQLTool& db, const Filter& filter);

// Active customers: 客户号, 名称, 说明.
Statement clients(mySQLTool& db);
// Names for the form's "记录人": active dispatchers.
Statement recorders(mySQLTool& db);
// Names for the form's "责任人": active employees.
Statement responsibles(mySQLTool& db);
// Names for "记录人" in the edit list: every dispatcher, so that an old record keeps its own.
Statement allRecorders(mySQLTool& db);

}  // namespace qualityq
