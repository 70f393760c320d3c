#include "flow/Flow.h"

#include "db/Columns.h"
#include "db/Outcome.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "flow/FlowQueries.h"

namespace flow {

Outcome oneRowChanged(mySQLTool& db, bool ran, const QString& taken)
{
    if (!ran)
        return db.Failure();
    return db.AffectedRows() == 1 ? Outcome::done() : Outcome::taken(taken);
}

Outcome lockFlow(mySQLTool& db, quint64 id, FlowRow& out, const Outcome& missing)
{
    const Rows owner = db.Read(flowq::flowOrder(db, id));
    if (!owner)
        return owner.failed();
    if (owner.empty())
        return missing;
    const Rows order = db.Read(flowq::lockOrderState(db, owner.first().toId(0)));
    if (!order)
        return order.failed();
    const Rows read = db.Read(flowq::lockFlow(db, id));
    if (!read)
        return read.failed();
    if (read.empty())
        return missing;
    const Row& r = read.first();
    out.id = id;
    out.order = r.toId(0);
    out.client = r.toId(1);
    out.priority = r.text(2);
    out.count = r.toInt(3);
    out.route = r.text(4);
    out.previous = r.text(5);
    out.station = r.text(6);
    out.state = r.toInt(7);
    return Outcome::done();
}

Outcome takeStep(mySQLTool& db, const FlowRow& flow, const Step& step, quint64* created)
{
    const char* const F = tables::procedure;
    const QString priority = step.priority.isEmpty() ? flow.priority : step.priority;
    const QString route = extendRoute(flow.route, flow.station, step.action);
    if (const Outcome fits = columns::fit({{F, "工序", step.action},
                                           {F, "经办人", step.closedBy},
                                           {F, "经办人", step.createdBy},
                                           {F, "工作站", step.to},
                                           {F, "货物等级", priority},
                                           {F, "历史", route}});
        !fits)
        return fits;
    const bool closed =
        step.closedBy.isEmpty()
            ? db.Exec("update %s set 工序='%s', 结讫=%d, 结讫时间='%s' where 流水号=%I64u and 结讫=0", F,
                      step.action, step.closedAs, step.now, flow.id)
            : db.Exec(
                  "update %s set 工序='%s', 结讫=%d, 结讫时间='%s', 经办人='%s' where 流水号=%I64u and "
                  "结讫=0",
                  F, step.action, step.closedAs, step.now, step.closedBy, flow.id);
    if (const Outcome one = oneRowChanged(db, closed, kFlowTaken); !one)
        return one;

    const int count = step.count < 0 ? flow.count : step.count;
    const bool inserted =
        step.createdBy.isEmpty()
            ? db.Exec(
                  "insert into %s (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, 生成时间, 历史) "
                  "value (%I64u, %I64u, '%s', %I64u, '%s', '%s', %d, '%s', '%s')",
                  F, flow.order, flow.client, priority, flow.id, flow.station, step.to, count, step.now,
                  route)
            : db.Exec(
                  "insert into %s (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, 生成时间, 历史, "
                  "经办人) value (%I64u, %I64u, '%s', %I64u, '%s', '%s', %d, '%s', '%s', '%s')",
                  F, flow.order, flow.client, priority, flow.id, flow.station, step.to, count, step.now,
                  route, step.createdBy);
    if (!inserted)
        return db.Failure();
    if (created)
        *created = db.InsertId();
    return Outcome::done();
}

}  // namespace flow
