#include "flow/Intake.h"

#include "db/Columns.h"
#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "flow/FlowQueries.h"

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
    const Rows read = db.Read(flowq::lockOrderState(db, order));
    if (!read)
        return read.failed();
    if (read.empty())
        return Outcome::taken(flow::kOrderTaken);
    const Row& r = read.first();
    if (goods)
        *goods = r.toInt(2);  // NULL counts as 0
    return r.toInt(0) == 0 && r.toInt(1) == 0 ? Outcome::done() : Outcome::taken(flow::kOrderTaken);
}

// Closes a flow waiting at "接收" and opens its successor at `target`. The successor
// links to the closed flow, so the chain of flows stays unbroken.
Outcome moveIntakeFlow(mySQLTool& db, quint64 flowId, const QString& account, bool refuse, quint64* created)
{
    if (created)
        *created = 0;
    if (flowId == 0)
        return Outcome::refused(kBadFlow);
    flow::Step step;
    step.action = refuse ? QStringLiteral("拒绝") : QStringLiteral("转发");
    step.closedAs = refuse ? flow::kRefused : flow::kClosed;
    step.to = refuse ? flow::kWashing : flow::kShipping;
    step.createdBy = account;
    step.now = GetTimeText(0);
    quint64 made = 0;
    const Outcome r = db.Transact([&]() -> Outcome {
        made = 0;
        flow::FlowRow f;
        if (const Outcome read = flow::lockFlow(db, flowId, f, Outcome::taken(flow::kFlowTaken)); !read)
            return read;
        if (f.state != flow::kOpen)
            return Outcome::taken(flow::kFlowTaken);
        if (f.station != flow::kIntake)
            return Outcome::refused(kBadFlow);
        return flow::takeStep(db, f, step, &made);
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
    if (const Outcome fits = columns::fit({{P, "接货人", order.receiver},
                                           {P, "货物性质", order.nature},
                                           {P, "货物分类", order.type},
                                           {P, "货物款式", order.kind},
                                           {P, "货物性别", order.sex},
                                           {P, "洗涤方法", order.method},
                                           {P, "货物等级", order.priority},
                                           {P, "经办人", order.account},
                                           {C, "名称", newClient}});
        !fits)
        return fits;
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
    if (const Outcome fits = columns::fit({{F, "货物等级", priority}}); !fits)
        return fits;
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
