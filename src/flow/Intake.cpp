#include "flow/Intake.h"

#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"

namespace intake {

namespace {

const char* const P = tables::product;
const char* const C = tables::client;
const char* const F = tables::procedure;

bool insertOrder(mySQLTool& db, const Order& o, quint64 client, bool activate, const QString& now)
{
    if (activate)
        return db.Exec(
            "insert into %s (客户号, 接货人, 接货时间, 货物性质, 货物分类, 货物款式, 货物性别, 洗涤方法, "
            "货物单价, "
            "损耗单价, 货物数量, 货物等级, 经办人, 原版数量, 洗版数量, 款号, 关联, 激活, 激活时间) value "
            "(%I64u, "
            "'%s', '%s', '%s', '%s', '%s', '%s', '%s', %f, %f, %d, '%s', '%s', %d, %d, %I64u, %I64u, %d, "
            "'%s')",
            P, client, o.receiver, now, o.nature, o.type, o.kind, o.sex, o.method, o.price, o.lossPrice,
            o.goods, o.priority, o.account, o.original, o.washed, o.style, o.related, 1, now);
    return db.Exec(
        "insert into %s (客户号, 接货人, 接货时间, 货物性质, 货物分类, 货物款式, 货物性别, 洗涤方法, "
        "货物单价, "
        "损耗单价, 货物数量, 货物等级, 经办人, 原版数量, 洗版数量, 款号, 关联, 激活) value (%I64u, '%s', "
        "'%s', "
        "'%s', '%s', '%s', '%s', '%s', %f, %f, %d, '%s', '%s', %d, %d, %I64u, %I64u, %d)",
        P, client, o.receiver, now, o.nature, o.type, o.kind, o.sex, o.method, o.price, o.lossPrice, o.goods,
        o.priority, o.account, o.original, o.washed, o.style, o.related, 0);
}

// Rewrites a waiting order; the caller has locked it and seen it waiting. An activation
// stamps 激活时间, which the order inquiry searches by.
bool updateOrder(mySQLTool& db, const Order& o, quint64 client, bool activate, const QString& now,
                 quint64 order)
{
    if (activate)
        return db.Exec(
            "update %s set 客户号=%I64u, 接货人='%s', 货物性质='%s', 货物分类='%s', 货物款式='%s', "
            "货物性别='%s', "
            "洗涤方法='%s', 货物单价=%f, 损耗单价=%f, 货物数量=%d, 货物等级='%s', 原版数量=%d, 洗版数量=%d, "
            "款号=%I64u, 关联=%I64u, 激活=1, 激活时间='%s' where 货单号=%I64u and 激活=0 and 结讫=0",
            P, client, o.receiver, o.nature, o.type, o.kind, o.sex, o.method, o.price, o.lossPrice, o.goods,
            o.priority, o.original, o.washed, o.style, o.related, now, order);
    return db.Exec(
        "update %s set 客户号=%I64u, 接货人='%s', 货物性质='%s', 货物分类='%s', 货物款式='%s', "
        "货物性别='%s', "
        "洗涤方法='%s', 货物单价=%f, 损耗单价=%f, 货物数量=%d, 货物等级='%s', 原版数量=%d, 洗版数量=%d, "
        "款号=%I64u, 关联=%I64u, 激活=0 where 货单号=%I64u and 激活=0 and 结讫=0",
        P, client, o.receiver, o.nature, o.type, o.kind, o.sex, o.method, o.price, o.lossPrice, o.goods,
        o.priority, o.original, o.washed, o.style, o.related, order);
}

// Locks the order and tells whether it still waits at intake (激活 0, 结讫 0).
Outcome lockWaitingOrder(mySQLTool& db, quint64 order, int* goods = nullptr)
{
    if (!db.Select("select %s.激活, %s.结讫, %s.货物数量 from %s where 货单号=%I64u for update", P, P, P, P,
                   order))
        return db.Failure();
    if (!db.FetchRow()) {
        db.FreeResult();
        return Outcome::refused(flow::kOrderTaken);
    }
    const bool waiting = db.ValueInt(0) == 0 && db.ValueInt(1) == 0;
    if (goods)
        *goods = db.ValueInt(2);  // NULL counts as 0
    db.FreeResult();
    return waiting ? Outcome::done() : Outcome::refused(flow::kOrderTaken);
}

// Closes a flow waiting at "接收" and opens its successor at `target`. The successor
// links to the closed flow, so the chain of flows stays unbroken.
Outcome moveIntakeFlow(mySQLTool& db, quint64 flowId, const QString& account, bool refuse, quint64* created)
{
    if (created)
        *created = 0;
    if (flowId == 0)
        return Outcome::refused(kBadFlow);
    const QString now = GetTimeText(0);
    quint64 made = 0;
    const Outcome r = db.Transact([&]() -> Outcome {
        made = 0;
        if (!db.Select(
                "select %s.货单号, %s.货物等级, %s.上一号, %s.数量, %s.历史, %s.客户号, %s.工作站, %s.结讫 "
                "from %s where 流水号=%I64u",
                F, F, F, F, F, F, F, F, F, flowId))
            return db.Failure();
        if (!db.FetchRow()) {
            db.FreeResult();
            return Outcome::refused(flow::kFlowTaken);
        }
        const quint64 order = db.ValueId(0);
        const QString priority = db.Value(1);
        const int count = db.ValueInt(3);
        const QString route = db.Value(4);
        const quint64 client = db.ValueId(5);
        const QString station = db.Value(6);
        const int state = db.ValueInt(7);
        db.FreeResult();
        if (state != flow::kOpen)
            return Outcome::refused(flow::kFlowTaken);
        if (station != flow::kIntake)
            return Outcome::refused(kBadFlow);

        bool closed = false;
        if (refuse)
            closed =
                db.Exec("update %s set 工序='拒绝', 结讫=%d, 结讫时间='%s' where 流水号=%I64u and 结讫=0", F,
                        flow::kRefused, now, flowId);
        else
            closed =
                db.Exec("update %s set 工序='转发', 结讫=%d, 结讫时间='%s' where 流水号=%I64u and 结讫=0", F,
                        flow::kClosed, now, flowId);
        const Outcome one = flow::oneRowChanged(db, closed, flow::kFlowTaken);
        if (!one)
            return one;

        bool inserted = false;
        if (refuse)
            inserted = db.Exec(
                "insert into %s (货单号, 货物等级, 客户号, 上一号, 上一站, 数量, 生成时间, 工作站, 历史, "
                "经办人) "
                "value (%I64u, '%s', %I64u, %I64u, '接收', %d, '%s', '洗水', '%s', '%s')",
                F, order, priority, client, flowId, count, now,
                flow::extendRoute(route, flow::kIntake, QStringLiteral("拒绝")), account);
        else
            inserted = db.Exec(
                "insert into %s (货单号, 货物等级, 客户号, 上一号, 上一站, 数量, 生成时间, 工作站, 历史, "
                "经办人) "
                "value (%I64u, '%s', %I64u, %I64u, '接收', %d, '%s', '发送', '%s', '%s')",
                F, order, priority, client, flowId, count, now,
                flow::extendRoute(route, flow::kIntake, QStringLiteral("转发")), account);
        if (!inserted)
            return db.Failure();
        made = db.InsertId();
        return Outcome::done();
    });
    if (created && r)
        *created = made;
    return r;
}

}  // namespace

Outcome submitOrder(mySQLTool& db, const Order& order, bool activate, quint64 editing,
                    const QString& newClient, Written* out)
{
    if (out)
        *out = Written();
    const QString now = GetTimeText(0);
    Written w;
    const Outcome r = db.Transact([&]() -> Outcome {
        w = Written();
        w.client = order.client;
        if (editing != 0) {
            const Outcome waiting = lockWaitingOrder(db, editing);
            if (!waiting)
                return waiting;
        }
        if (!newClient.isEmpty()) {
            if (!db.Exec("insert into %s (名称, 激活) value ('%s', %d)", C, newClient, 1))
                return db.Failure();
            w.client = db.InsertId();
        }
        if (editing != 0) {
            const bool ran = updateOrder(db, order, w.client, activate, now, editing);
            // A rewrite without changes touches no row; only the activation must change one.
            if (!ran)
                return db.Failure();
            if (activate) {
                const Outcome one = flow::oneRowChanged(db, ran, flow::kOrderTaken);
                if (!one)
                    return one;
            }
            w.order = editing;
        } else {
            if (!insertOrder(db, order, w.client, activate, now))
                return db.Failure();
            w.order = db.InsertId();
        }
        if (!activate)
            return Outcome::done();
        if (!db.Exec("insert into  %s (货单号, 客户号, 货物等级, 工作站, 上一站, 生成时间, 数量, 历史) value "
                     "(%I64u, "
                     "%I64u, '%s', '%s', '%s', '%s', %d, '%s')",
                     F, w.order, w.client, order.priority, flow::kWashing, flow::kIntake, now, order.goods,
                     flow::kFirstRoute))
            return db.Failure();
        w.flow = db.InsertId();
        return Outcome::done();
    });
    if (out && r)
        *out = w;
    return r;
}

Outcome endOrder(mySQLTool& db, quint64 order, const QString& priority, quint64* createdFlow)
{
    if (createdFlow)
        *createdFlow = 0;
    if (order == 0)
        return Outcome::refused(kBadOrder);
    const QString now = GetTimeText(0);
    quint64 made = 0;
    const Outcome r = db.Transact([&]() -> Outcome {
        made = 0;
        int goods = 0;
        const Outcome waiting = lockWaitingOrder(db, order, &goods);
        if (!waiting)
            return waiting;
        if (goods < 1)
            return Outcome::refused(kNoQuantity);
        if (priority.isEmpty())
            return Outcome::refused(kNoPriority);
        const bool ran =
            db.Exec("update %s set 激活=%d where 货单号=%I64u and 激活=0 and 结讫=0", P, 2, order);
        const Outcome one = flow::oneRowChanged(db, ran, flow::kOrderTaken);
        if (!one)
            return one;
        if (!db.Exec("insert into  %s (货单号, 货物等级, 工作站, 上一站, 生成时间, 数量, 历史) value (%I64u, "
                     "'%s', "
                     "'%s', '%s', '%s', %d, '%s')",
                     F, order, priority, flow::kShipping, flow::kIntake, now, goods, flow::kFirstRoute))
            return db.Failure();
        made = db.InsertId();
        return Outcome::done();
    });
    if (createdFlow && r)
        *createdFlow = made;
    return r;
}

Outcome cancelOrder(mySQLTool& db, quint64 order)
{
    if (order == 0)
        return Outcome::refused(kBadOrder);
    return db.Transact([&]() -> Outcome {
        const bool ran =
            db.Exec("update %s set 结讫=%d where 货单号=%I64u and 激活=0 and 结讫=0", P, 2, order);
        return flow::oneRowChanged(db, ran, flow::kOrderTaken);
    });
}

Outcome refuseFlow(mySQLTool& db, quint64 flow, const QString& account, quint64* created)
{
    return moveIntakeFlow(db, flow, account, true, created);
}

Outcome forwardFlow(mySQLTool& db, quint64 flow, const QString& account, quint64* created)
{
    return moveIntakeFlow(db, flow, account, false, created);
}

}  // namespace intake
