#include "flow/Shipping.h"

#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"

namespace shipping {

namespace {

const char* const P = tables::product;
const char* const F = tables::procedure;
const char* const S = tables::ship;

qint64 valueCount(mySQLTool& db, int column)
{
    return convert::toInt64(db.Value(column));
}

// Confirmation and return differ only in the action and where the successor waits.
Outcome moveWaitingFlow(mySQLTool& db, quint64 flowId, const QString& account, bool back, FlowMove* moved)
{
    if (flowId == 0)
        return Outcome::refused(kBadFlow);
    const QString action = back ? QStringLiteral("转发") : QStringLiteral("确认");
    const QString now = GetTimeText(0);
    FlowMove result;
    const Outcome r = db.Transact([&]() -> Outcome {
        result = FlowMove();
        if (!db.Select(
                "select %s.客户号, %s.货物等级, %s.数量, %s.历史, %s.上一站, %s.货单号, %s.工作站, %s.结讫 "
                "from %s where %s.流水号=%I64u",
                F, F, F, F, F, F, F, F, F, F, flowId))
            return db.Failure();
        if (!db.FetchRow()) {
            db.FreeResult();
            return Outcome::refused(kBadFlow);
        }
        const quint64 client = db.ValueId(0);
        const QString priority = db.Value(1);
        const int count = db.ValueInt(2);
        const QString route = db.Value(3);
        const QString previous = db.Value(4);
        const quint64 order = db.ValueId(5);
        const QString station = db.Value(6);
        const int state = db.ValueInt(7);
        db.FreeResult();
        // Only goods that arrived from a station and still wait here may move.
        if (station != flow::kShipping || previous == flow::kShipping)
            return Outcome::refused(kBadFlow);
        if (state != flow::kOpen)
            return Outcome::refused(flow::kFlowTaken);

        const bool closed = db.Exec(
            "update %s set 工序='%s', 结讫=1, 结讫时间='%s', 经办人='%s' "
            "where 流水号=%I64u and 结讫=0",
            F, action, now, account, flowId);
        const Outcome one = flow::oneRowChanged(db, closed, flow::kFlowTaken);
        if (!one)
            return one;
        const QString target = back ? previous : flow::kShipping;
        if (!db.Exec(
                "insert into %s (货单号, 客户号, 货物等级, 上一号, 上一站, 数量, 生成时间, 工作站, 历史) "
                "value (%I64u, %I64u, '%s', %I64u, '%s', %d, '%s', '%s', '%s')",
                F, order, client, priority, flowId, flow::kShipping, count, now, target,
                flow::extendRoute(route, flow::kShipping, action)))
            return db.Failure();
        result.created = db.InsertId();
        result.order = order;
        return Outcome::done();
    });
    if (moved)
        *moved = r ? result : FlowMove();
    return r;
}

// Reads the figures of an order whose row the transaction has locked.
Outcome readShippable(mySQLTool& db, quint64 order, Shippable& f)
{
    if (!db.Select("select sum(%s.原版数量), sum(%s.洗版数量), sum(%s.损耗数量), sum(%s.货物数量) "
                   "from %s where %s.货单号=%I64u lock in share mode",
                   S, S, S, S, S, S, order))
        return db.Failure();
    if (db.FetchRow()) {
        f.shippedOriginal = valueCount(db, 0);
        f.shippedWashed = valueCount(db, 1);
        f.shippedLoss = valueCount(db, 2);
        f.shippedGoods = valueCount(db, 3);
    }
    db.FreeResult();
    if (!db.Select(
            "select sum(%s.数量) from %s where %s.货单号=%I64u and %s.上一站='发送' and %s.工作站='发送' "
            "and %s.结讫=0 lock in share mode",
            F, F, F, order, F, F, F))
        return db.Failure();
    if (db.FetchRow())
        f.confirmed = valueCount(db, 0);
    db.FreeResult();
    return Outcome::done();
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
    if (!db.Select("select * from %s where 货单号=%I64u and 工作站<>'发送' and 结讫=0", F, order))
        return db.Failure();
    const bool found = db.NumRows() > 0;
    db.FreeResult();
    return found ? Outcome::refused(kInWorkshop) : Outcome::done();
}

Outcome ship(mySQLTool& db, const Shipment& s, Shipped* out)
{
    if (s.order == 0)
        return Outcome::refused(kBadOrder);
    const QString now = GetTimeText(0);
    Shipped result;
    const Outcome r = db.Transact([&]() -> Outcome {
        result = Shipped();
        // The lock makes desks shipping the same order take turns, so each one sees what
        // the others shipped before it.
        if (!db.Select(
                "select %s.客户号, %s.款号, %s.货物性别, %s.货物分类, %s.货物款式, %s.洗涤方法, %s.货物单价, "
                "%s.货物性质, %s.原版数量, %s.洗版数量, %s.损耗数量, %s.货物数量 from %s where "
                "%s.货单号=%I64u "
                "for update",
                P, P, P, P, P, P, P, P, P, P, P, P, P, P, s.order))
            return db.Failure();
        if (!db.FetchRow()) {
            db.FreeResult();
            return Outcome::refused(kBadOrder);
        }
        const quint64 client = db.ValueId(0);
        const quint64 style = db.ValueId(1);
        const QString product = Gbk::leftBytes(db.Value(2) + db.Value(3) + db.Value(4), 511);
        QString method = db.Value(5);
        float price = convert::toFloat(db.Value(6));
        const QString nature = db.Value(7);
        Shippable f;
        f.orderOriginal = valueCount(db, 8);
        f.orderWashed = valueCount(db, 9);
        f.orderLoss = valueCount(db, 10);
        f.orderGoods = valueCount(db, 11);
        db.FreeResult();

        const Outcome read = readShippable(db, s.order, f);
        if (!read)
            return read;
        const Outcome fits = checkShipment(s, f);
        if (!fits)
            return fits;

        if (nature == QStringLiteral("返工") || nature == QStringLiteral("其它")) {
            if (nature == QStringLiteral("返工"))
                price = 0;
            method = nature;
        }
        if (!db.Exec("insert into %s (货单号, 客户号, 开票人, 发货人, 发送时间, 款号, 品名, 洗涤方法, "
                     "货物数量, 损耗数量, "
                     "原版数量, 洗版数量, 货物单价, 经办人) value (%I64u, %I64u, '%s', '%s', '%s', %I64u, "
                     "'%s', '%s', "
                     "%d, %d, %d, %d, %.2f, '%s')",
                     S, s.order, client, s.issuer, s.shipper, now, style, product, method, s.goods, s.loss,
                     s.original, s.washed, double(price), s.account))
            return db.Failure();
        result.serial = db.InsertId();

        // Closing test over the figures including this shipment.
        const Outcome workshop = checkNotInWorkshop(db, s.order);
        if (workshop.kind() == Outcome::Kind::Failed)
            return workshop;
        const bool covered = workshop.ok() && f.remainingOriginal() - s.original == 0 &&
                             f.remainingWashed() - s.washed == 0 &&
                             f.shippedLoss + s.loss + f.shippedGoods + s.goods >= f.orderGoods;
        if (covered) {
            // The closing time too, so that the order can be found by it later.
            if (!db.Exec("update %s set 结讫=1, 结讫时间='%s' where 货单号=%I64u", P, now, s.order))
                return db.Failure();
            if (!db.Exec(
                    "update %s set 结讫=1 where 货单号=%I64u and 上一站='发送' and 工作站='发送' and 结讫=0",
                    F, s.order))
                return db.Failure();
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
        if (!db.Select("select %s.结讫 from %s where %s.货单号=%I64u for update", P, P, P, order))
            return db.Failure();
        const bool found = db.FetchRow();
        db.FreeResult();
        if (!found)
            return Outcome::refused(kBadOrder);
        // Asked again under the lock: a return may have sent goods back meanwhile.
        const Outcome workshop = checkNotInWorkshop(db, order);
        if (!workshop)
            return workshop;
        if (!db.Exec("update %s set 结讫=1, 结讫时间='%s' where 货单号=%I64u", P, now, order))
            return db.Failure();
        if (!db.Exec("update %s set 结讫=1 where 货单号=%I64u", F, order))
            return db.Failure();
        return Outcome::done();
    });
}

Outcome repair(mySQLTool& db)
{
    return db.Transact([&]() -> Outcome {
        if (!db.Exec("update %s, %s set %s.结讫=1 where %s.上一站='发送' and %s.工作站='发送' and %s.结讫=0 "
                     "and %s.货单号=%s.货单号 and %s.结讫=1",
                     F, P, F, F, F, F, F, P, P))
            return db.Failure();
        return Outcome::done();
    });
}

}  // namespace shipping
