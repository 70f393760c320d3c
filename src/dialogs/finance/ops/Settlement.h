#pragma once

#include "db/Outcome.h"

#include <QString>

class mySQLTool;

// Paying out piece-work: each employee's unsettled work of a period is added to his running
// total (累计), marked settled and recorded as one settlement row, in one transaction.
namespace finance {

// The period as the settlement lists it: work finished strictly after `start` and strictly
// before `end` (dates, so the end day itself is outside).
struct Period {
    QString start;
    QString end;
};

// An employee's unsettled work of the period: its rows, the rows that have a 共计 and their sum.
struct PendingWork {
    int rows = 0;
    int valued = 0;
    double amount = 0;
    // Pending work: at least one row with a 共计 (rows whose 共计 is NULL earn nothing).
    bool any() const { return valued > 0; }
    bool sameAs(const PendingWork& other) const;
};

inline const QString kMemberGone = QStringLiteral("该员工已不存在");
inline const QString kWorkChanged = QStringLiteral("待结任务在选择之后已有变化");

// Settles one employee, expecting the work the list showed. Done: the work found (the same
// as expected) was marked settled, its amount added to 累计 and a kvc_record_salary row written.
// Taken (nothing written) when the work is not what was expected: `found` tells what there is
// now, no rows at all when another desk settled it first. Taken with `found` the same as
// expected: the connection broke while COMMIT was answered (kCommitUnknown), so he may or may
// not be paid. Cancelled when there was and is nothing to settle. Refused with kMemberGone
// when the employee's row is gone.
Outcome settle(mySQLTool& db, quint64 member, const Period& period, const PendingWork& expected,
               PendingWork* found = nullptr);

}  // namespace finance
