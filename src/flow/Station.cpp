#include "flow/Station.h"

#include "db/Columns.h"
#include "db/Outcome.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "flow/FlowQueries.h"

#include <algorithm>

namespace flow {

namespace {

// The checks of the typed work, in the order the desk reports them.
Outcome checkWork(const HandOver& h, qint64& done, qint64& lost)
{
    done = 0;
    lost = 0;
    if (h.mode.isEmpty())
        return Outcome::refused(QStringLiteral("请选择处理方式"));
    if (h.destination.isEmpty())
        return Outcome::refused(QStringLiteral("请选择下一站"));
    if (h.mode == kForward)
        return Outcome::done();
    if (h.workers.isEmpty())
        return Outcome::refused(QStringLiteral("您选择了接受任务 请填写任务完成情况"));
    if (!h.cooperative) {
        for (const Worker& w : h.workers) {
            if (w.done < 0 || w.lost < 0)
                return Outcome::refused(QStringLiteral("错误的数量"));
            done += w.done;
            lost += w.lost;
        }
        return Outcome::done();
    }
    if (h.totalDone < 0)
        return Outcome::refused(QStringLiteral("错误的完成数量"));
    if (h.totalLost < 0)
        return Outcome::refused(QStringLiteral("错误的损耗数量"));
    if (h.totalDone == 0 && h.totalLost == 0)
        return Outcome::refused(QStringLiteral("完成数和损耗数不能都为零"));
    done = h.totalDone;
    lost = h.totalLost;
    return Outcome::done();
}

}  // namespace

double pieceWorkAmount(int done, int lost, double rate, double lossCharge)
{
    return done * rate - lost * lossCharge;
}

QString cooperativeShare(double rate, double lossCharge, int totalDone, int totalLost, int workers)
{
    if ((totalDone < 1 && totalLost < 1) || workers <= 0)
        return QString();
    const double amount = rate * std::max(totalDone, 0) - lossCharge * std::max(totalLost, 0);
    return QString::asprintf("%.3f", amount / workers);
}

Outcome handOver(mySQLTool& db, const HandOver& h, HandOverResult* result)
{
    if (result)
        *result = HandOverResult();
    qint64 done = 0, lost = 0;
    if (Outcome checked = checkWork(h, done, lost); !checked.ok())
        return checked;
    if (const Outcome fits = columns::fit({{tables::mission, "经办人", h.account}}); !fits)
        return fits;
    const bool forward = h.mode == kForward;

    HandOverResult r;
    const Outcome outcome = db.Transact([&]() -> Outcome {
        r = HandOverResult();
        // Only an open flow is handed over; another desk may have done it already. The
        // rate and the order's priority come in the same exchange as the locks.
        const bool rateNeeded = !forward && h.rate == 0;
        QList<Statement> more{flowq::orderPriority(db, h.order)};
        if (rateNeeded)
            more.append(flowq::processRate(db, h.mode));
        FlowRow f;
        QList<Rows> read;
        if (const Outcome locked = lockFlow(db, h.flow, h.order, f, Outcome::taken(kFlowTaken), more, read);
            !locked)
            return locked;
        if (f.state != kOpen || f.station != h.station)
            return Outcome::taken(kFlowTaken);
        // Pay is never written from a rate the desk failed to show.
        if (rateNeeded && !read.at(1).empty() && read.at(1).first().toDouble(0) != 0)
            return Outcome::refused(kNoRate);
        // The successor takes the order's priority, as the desk shows it.
        const Rows& order = read.first();
        const QString priority = order.first().isNull(0) ? f.priority : order.first().text(0);

        qint64 remainder = 0;
        if (forward) {
            done = f.count;
            lost = 0;
        } else {
            if (done + lost > f.count)
                return Outcome::refused(QStringLiteral("不能超过当前货物数量"));
            remainder = f.count - done - lost;
        }
        r.done = static_cast<int>(done);
        r.lost = static_cast<int>(lost);
        r.remainder = static_cast<int>(remainder);

        Step step;
        step.action = h.mode;
        step.closedBy = h.account;
        step.to = h.destination;
        step.count = r.done;
        step.priority = priority;
        step.now = h.now;
        // Every write goes in one exchange; the checks on their answers come after it.
        QList<Statement> writes;
        if (const Outcome made = stepStatements(db, f, step, writes); !made)
            return made;
        const int derivedAt = remainder > 0 ? int(writes.size()) : -1;
        if (remainder > 0)
            writes.append(
                db.Format("insert into %s (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, "
                          "生成时间, 派生, 历史) "
                          "value (%I64u, %I64u, '%s', %I64u, '%s', '%s', %d, '%s', %d, '%s')",
                          tables::procedure, h.order, f.client, priority, h.flow, h.station, h.station,
                          r.remainder, h.now, 1, f.route));
        if (lost > 0)
            writes.append(db.Format("update %s set 损耗数量=损耗数量+%d where 货单号=%I64u", tables::product,
                                    r.lost, h.order));

        // Each cooperative worker is paid the share shown, computed rather than typed.
        double share = 0;
        if (!forward && h.cooperative)
            share = cooperativeShare(h.rate, h.lossCharge, r.done, r.lost, static_cast<int>(h.workers.size()))
                        .toDouble();
        for (const Worker& w : forward ? QList<Worker>() : h.workers)
            writes.append(
                h.cooperative
                    ? db.Format(
                          "insert into %s (货单号, 流水号, 工号, 完成时间, 工价, 损耗单价, 共计, 经办人) "
                          "value "
                          "(%I64u, %I64u, %I64u, '%s', %f, %f, %f, '%s')",
                          tables::mission, h.order, h.flow, w.id, h.now, h.rate, h.lossCharge, share,
                          h.account)
                    : db.Format("insert into %s (货单号, 流水号, 工号, 完成时间, 完成数量, 损耗数量, 工价, "
                                "损耗单价, 共计, "
                                "经办人) value (%I64u, %I64u, %I64u, '%s', %d, %d, %f, %f, %f, '%s')",
                                tables::mission, h.order, h.flow, w.id, h.now, w.done, w.lost, h.rate,
                                h.lossCharge, pieceWorkAmount(w.done, w.lost, h.rate, h.lossCharge),
                                h.account));
        const Batch written = db.ExecAll(writes);
        if (!written)
            return written.failed();
        if (const Outcome stepped = stepTaken(written, 0, &r.successor); !stepped)
            return stepped;
        if (derivedAt >= 0)
            r.derived = written.insertId(derivedAt);
        return Outcome::done();
    });
    if (outcome.ok() && result)
        *result = r;
    return outcome;
}

}  // namespace flow
