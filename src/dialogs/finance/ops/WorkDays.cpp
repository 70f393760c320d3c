#include "dialogs/finance/ops/WorkDays.h"

#include "db/Tables.h"
#include "db/mySQLTool.h"

#include <QDate>
#include <QSet>
#include <algorithm>

namespace finance {

namespace {

const QString kDay = QStringLiteral("yyyy-MM-dd");
constexpr int kDaysPerTransaction = 92;
// 维度 of the day totals: all rows, and by employee, customer or step, each with and
// without the recorder.
constexpr int kKinds[] = {0, 1, 2, 4, 8, 9, 10, 12};

QDate day(const QString& text)
{
    return QDate::fromString(text.left(10), kDay);
}

Outcome makeDays(mySQLTool& db, const QStringList& days)
{
    const financeq::DaySpan span{days.first(), day(days.last()).addDays(1).toString(kDay)};
    // Read committed: the rows summed stay unlocked, so the stations never wait for this.
    // A change committed meanwhile marks its day stale again (after the delete below), and
    // the next inquiry makes that day again.
    return db.Transact(
        [&]() -> Outcome {
            if (!db.Query(financeq::forgetDays(db, tables::missionStale, span), false) ||
                !db.Query(financeq::forgetDays(db, tables::missionDay, span), false))
                return db.Failure();
            for (int kind : kKinds)
                if (!db.Query(financeq::sumDays(db, kind, span), false))
                    return db.Failure();
            if (!db.Query(financeq::emptyDays(db, days), false))
                return db.Failure();
            return Outcome::done();
        },
        mySQLTool::Isolation::ReadCommitted);
}

}  // namespace

Outcome prepareDays(mySQLTool& db, const financeq::WorkFilter& f, WorkDays* out)
{
    *out = WorkDays();
    if (!f.includeSettled)
        return Outcome::done();
    const Rows bounds = db.Read(financeq::workBounds(db));
    if (!bounds)
        return bounds.failed();
    const Row& b = bounds.first();
    out->lastTask = b.toId(2);
    // Whole days only, from the first day with work: the day of a bound is read row by row.
    QDate first = day(b.text(0));
    if (!first.isValid())
        return Outcome::done();
    if (f.done.after)
        first = std::max(first, day(*f.done.after).addDays(1));
    QDate end = day(b.text(1));
    if (f.done.before)
        end = std::min(end, day(*f.done.before));
    if (!end.isValid() || first >= end)
        return Outcome::done();

    const financeq::DaySpan span{first.toString(kDay), end.toString(kDay)};
    const Rows known = db.Read(financeq::madeDays(db, span));
    if (!known)
        return known.failed();
    QSet<QString> made, stale;
    for (const Row& r : known)
        (r.toInt(1) ? stale : made).insert(r.text(0));
    QStringList run;
    for (QDate d = first; d <= end; d = d.addDays(1)) {
        const QString text = d.toString(kDay);
        const bool missing = d < end && (!made.contains(text) || stale.contains(text));
        if (missing)
            run << text;
        if (!run.isEmpty() && (!missing || run.size() == kDaysPerTransaction)) {
            if (const Outcome o = makeDays(db, run); !o)
                return o;
            run.clear();
        }
    }
    out->summed = span;
    return Outcome::done();
}

}  // namespace finance
