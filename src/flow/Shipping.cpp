#include "flow/Shipping.h"

#include "db/Columns.h"
#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "flow/FlowQueries.h"

namespace shipping {

namespace {

const char* const P = tables::product;
const char* const F = tables::procedure;
const char* const S = tables::ship;

// Confirmation and return differ only in the action and where the successor waits.
Outcome moveWaitingFlow(mySQLTool& db, quint64 flowId, const QString& account, bool back, FlowMove* moved)
{
    if (flowId == 0)
        return Outcome::refused(kBadFlow);
    flow::Step step;
    step.action = back ? QStringLiteral("转发") : QStringLiteral("确认");
    step.closedBy = account;
    step.now = GetTimeText(0);
    FlowMove result;
    const Outcome r = db.Transact([&]() -> Outcome {
        result = FlowMove();
        flow::FlowRow f;
        if (const Outcome read = flow::lockFlow(db, flowId, f, Outcome::refused(kBadFlow)); !read)
            return read;
        // Only goods that arrived from a station and still wait here may move.
        if (f.station != flow::kShipping || f.previous == flow::kShipping)
            return Outcome::refused(kBadFlow);
        if (f.state != flow::kOpen)
            return Outcome::taken(flow::kFlowTaken);
        step.to = back ? f.previous : flow::kShipping;
        const Outcome stepped = flow::takeStep(db, f, step, &result.created);
        if (stepped)
            result.order = f.order;
        return stepped;
    });
    if (moved)
        *moved = r ? result : FlowMove();
    return r;
}

// The figures of an order whose row the transaction has locked, from the answers of
// shippedSums and confirmedPieces.
void readShippable(const Rows& shipped, const Rows& confirmed, Shippable& f)
{
    const Row& s = shipped.first();
    f.shippedOriginal = s.toInt64(0);
    f.shippedWashed = s.toInt64(1);
    f.shippedLoss = s.toInt64(2);
    f.shippedGoods = s.toInt64(3);
    f.confirmed = confirmed.first().toInt64(0);
}

}  // namespace

Outcome confirmFlow(mySQLTool& db, quint64 flow, const QString& account, FlowMove* moved)
{
    return moveWaitingFlow(db, flow, account, false, moved);
}

Outcome returnFlow(mySQLTool& db, quint64 flow, const QString& account, FlowMove* moved)
{
    return moveWaitingFlow(db, flow, account, true, moved);
}

Outcome checkShipment(const Shipment& s, const Shippable& f)
{
    const qint64 sum = qint64(s.original) + s.washed + s.loss + s.goods;
    if (sum < 1)
        return Outcome::refused(kNothingToShip);
    if (s.original < 0 || s.washed < 0 || s.loss < 0 || s.goods < 0)
        return Outcome::refused(kBadCount);
    if (s.original > f.remainingOriginal() || s.washed > f.remainingWashed() ||
        s.goods > f.available(s.noQuantityCheck))
        return Outcome::refused(kTooMuch);
    return Outcome::done();
}

Outcome checkNotInWorkshop(mySQLTool& db, quint64 order)
{
    const Rows open = db.Read(flowq::flowsInWorkshop(db, order), 0);
    if (!open)
        return open.failed();
    return open.total() > 0 ? Outcome::refused(kInWorkshop) : Outcome::done();
}

Outcome ship(mySQLTool& db, const Shipment& s, Shipped* out)
{
    if (s.order == 0)
        return Outcome::refused(kBadOrder);
    if (const Outcome fits =
            columns::fit({{S, "开票人", s.issuer}, {S, "发货人", s.shipper}, {S, "经办人", s.account}});
        !fits)
        return fits;
    const QString now = GetTimeText(0);
    Shipped result;
    const Outcome r = db.Transact([&]() -> Outcome {
        result = Shipped();
        // The lock makes desks shipping the same order take turns, so each one sees what
        // the others shipped before it; the figures are read after it in the same exchange.
        const Batch locked =
            db.ReadAll({flowq::lockOrderForShipment(db, s.order), flowq::shippedSums(db, s.order),
                        flowq::confirmedPieces(db, s.order)});
        if (!locked)
            return locked.failed();
        const Rows read = locked.rows(0);
        if (read.empty())
            return Outcome::refused(kBadOrder);
        const Row& o = read.first();
        const quint64 client = o.toId(0);
        const quint64 style = o.toId(1);
        const QString product = Gbk::leftBytes(o.text(2) + o.text(3) + o.text(4), 511);
        QString method = o.text(5);
        float price = convert::toFloat(o.text(6));
        const QString nature = o.text(7);
        if (o.toInt(12) != 0)
            return Outcome::taken(kOrderClosed);
        Shippable f;
        f.orderOriginal = o.toInt64(8);
        f.orderWashed = o.toInt64(9);
        f.orderLoss = o.toInt64(10);
        f.orderGoods = o.toInt64(11);

        readShippable(locked.rows(1), locked.rows(2), f);
        const Outcome fits = checkShipment(s, f);
        if (!fits)
            return fits;

        if (nature == QStringLiteral("返工") || nature == QStringLiteral("其它")) {
            if (nature == QStringLiteral("返工"))
                price = 0;
            method = nature;
        }
        // The shipment, and the order's goods still in the workshop for the closing test.
        const Batch written = db.ExecAll(
            {db.Format("insert into %s (货单号, 客户号, 开票人, 发货人, 发送时间, 款号, 品名, 洗涤方法, "
                       "货物数量, 损耗数量, "
                       "原版数量, 洗版数量, 货物单价, 经办人) value (%I64u, %I64u, '%s', '%s', '%s', %I64u, "
                       "'%s', '%s', "
                       "%d, %d, %d, %d, %.2f, '%s')",
                       S, s.order, client, s.issuer, s.shipper, now, style, product, method, s.goods, s.loss,
                       s.original, s.washed, double(price), s.account),
             flowq::flowsInWorkshop(db, s.order)});
        if (!written)
            return written.failed();
        result.serial = written.insertId(0);

        // Closing test over the figures including this shipment.
        const bool covered = written.rows(1).empty() && f.remainingOriginal() - s.original == 0 &&
                             f.remainingWashed() - s.washed == 0 &&
                             f.shippedLoss + s.loss + f.shippedGoods + s.goods >= f.orderGoods;
        if (covered) {
            // The closing time too, so that the order can be found by it later.
            // Together: when the order was closed meanwhile the transaction rolls both back.
            const Batch closed =
                db.ExecAll({db.Format("update %s set 结讫=1, 结讫时间='%s' where 货单号=%I64u and 结讫=0", P,
                                      now, s.order),
                            flowq::closeConfirmedFlows(db, s.order)});
            if (!closed)
                return closed.failed();
            if (closed.affected(0) != 1)
                return Outcome::taken(kOrderClosed);
            result.closed = true;
        }
        return Outcome::done();
    });
    if (out)
        *out = r ? result : Shipped();
    return r;
}

Outcome forceClose(mySQLTool& db, quint64 order)
{
    if (order == 0)
        return Outcome::refused(kBadOrder);
    const QString now = GetTimeText(0);
    return db.Transact([&]() -> Outcome {
        const Rows read = db.Read(flowq::lockOrderState(db, order));
        if (!read)
            return read.failed();
        if (read.empty())
            return Outcome::refused(kBadOrder);
        if (read.first().toInt(1) != 0)
            return Outcome::taken(kOrderClosed);
        // Asked again under the lock: a return may have sent goods back meanwhile.
        const Outcome workshop = checkNotInWorkshop(db, order);
        if (!workshop)
            return workshop;
        const bool ran =
            db.Exec("update %s set 结讫=1, 结讫时间='%s' where 货单号=%I64u and 结讫=0", P, now, order);
        if (const Outcome one = flow::oneRowChanged(db, ran, kOrderClosed); !one)
            return one;
        // Open flows only: a flow refused at intake (结讫 2) keeps saying so.
        if (!db.Exec("update %s set 结讫=1 where 货单号=%I64u and 结讫=0", F, order))
            return db.Failure();
        return Outcome::done();
    });
}

Outcome repair(mySQLTool& db)
{
    return db.Transact([&]() -> Outcome {
        if (!db.Query(flowq::repairConfirmedFlows(db), false))
            return db.Failure();
        return Outcome::done();
    });
}

}  // namespace shipping
