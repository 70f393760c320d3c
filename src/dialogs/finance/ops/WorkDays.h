#pragma once

#include "db/Outcome.h"
#include "dialogs/finance/FinanceQueries.h"

class mySQLTool;

// The piece-work inquiry's totals over the settled years come from day totals
// (kvc_record_mission_day), made by the first inquiry that needs a day and again after the
// day changed; today's and yesterday's rows are always read one by one.
namespace finance {

struct WorkDays {
    financeq::DaySpan summed;  // the days the totals read from their day totals
    quint64 lastTask = 0;      // the highest 任务号: how many rows a walk in 任务号 order passes
};

// Before the totals of an inquiry with the settled years: makes the day totals of the days
// the filter covers that are missing or changed since, at most a quarter of a year in each
// transaction, and tells which days the totals may read from them. Nothing to do, and an
// empty span, for unsettled work only.
Outcome prepareDays(mySQLTool& db, const financeq::WorkFilter& f, WorkDays* out);

}  // namespace finance
