#include "dialogs/finance/ops/Settlement.h"

#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/FinanceQueries.h"

#include <cmath>

namespace finance {

bool PendingWork::sameAs(const PendingWork& other) const
{
    // The sums come from the server each time over the same rows; a cent apart is a change.
    return rows == other.rows && valued == other.valued && std::fabs(amount - other.amount) < 0.005;
}

Outcome settle(mySQLTool& db, quint64 member, const Period& period, const PendingWork& expected,
               PendingWork* found)
{
    PendingWork now;
    const Outcome outcome = db.Transact([&]() -> Outcome {
        now = PendingWork();
        // The employee first, then his rows: two desks settling him queue up on his row, and
        // the second then finds his work settled.
        const Rows person = db.Read(financeq::lockMember(db, member));
        if (!person)
            return person.failed();
        if (person.empty())
            return Outcome::refused(kMemberGone);

        // The rows read here are locked until the end, so the update below marks exactly
        // the rows whose amounts are added, and no row can join them meanwhile.
        const Rows pending = db.Read(financeq::lockPending(db, member, period.start, period.end));
        if (!pending)
            return pending.failed();
        now.rows = pending.first().toInt(0);
        now.valued = pending.first().toInt(1);
        now.amount = pending.first().toDouble(2);
        if (!now.sameAs(expected))
            return Outcome::taken(kWorkChanged);
        if (now.rows == 0)
            return Outcome::cancelled();

        // The row is locked and there; an amount of 0 changes nothing.
        if (now.amount != 0 &&
            !db.Exec("update %s set 累计=累计+%f where 工号=%I64u", tables::member, now.amount, member))
            return db.Failure();
        if (!db.Query(financeq::markSettled(db, member, period.start, period.end), false))
            return db.Failure();
        if (db.AffectedRows() != quint64(now.rows))
            return Outcome::taken(kWorkChanged);
        if (!db.Exec("insert into %s (工号, 金额, 起始日期, 截止日期) value (%I64u, %f, '%s', '%s')",
                     tables::salary, member, now.amount, period.start, period.end))
            return db.Failure();
        return Outcome::done();
    });
    if (found)
        *found = now;
    return outcome;
}

}  // namespace finance
