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

namespace {

FlowRow flowRow(quint64 id, const Row& r)
{
    FlowRow out;
    out.id = id;
    out.order = r.toId(0);
    out.client = r.toId(1);
    out.priority = r.text(2);
    out.count = r.toInt(3);
    out.route = r.text(4);
    out.previous = r.text(5);
    out.station = r.text(6);
    out.state = r.toInt(7);
    return out;
}

}  // namespace

Outcome lockFlow(mySQLTool& db, quint64 id, FlowRow& out, const Outcome& missing)
{
    const Rows owner = db.Read(flowq::flowOrder(db, id));
    if (!owner)
        return owner.failed();
    if (owner.empty())
        return missing;
    const Batch locked =
        db.ReadAll({flowq::lockOrderState(db, owner.first().toId(0)), flowq::lockFlow(db, id)});
    if (!locked)
        return locked.failed();
    const Rows read = locked.rows(1);
    if (read.empty())
        return missing;
    out = flowRow(id, read.first());
    return Outcome::done();
}

Outcome lockFlow(mySQLTool& db, quint64 id, quint64 order, FlowRow& out, const Outcome& missing,
                 const QList<Statement>& more, QList<Rows>& moreRows)
{
    moreRows.clear();
    const auto separately = [&]() -> Outcome {
        if (const Outcome locked = lockFlow(db, id, out, missing); !locked)
            return locked;
        for (const Statement& s : more) {
            moreRows.append(db.Read(s));
            if (!moreRows.last())
                return moreRows.last().failed();
        }
        return Outcome::done();
    };
    if (order == 0)
        return separately();
    QList<Statement> reads{flowq::flowOrder(db, id), flowq::lockOrderState(db, order),
                           flowq::lockFlow(db, id)};
    reads += more;
    const Batch read = db.ReadAll(reads);
    if (!read)
        return read.failed();
    const Rows owner = read.rows(0);
    if (owner.empty())
        return missing;
    // Another order than the desk thought: its row is the one to hold.
    if (owner.first().toId(0) != order)
        return separately();
    const Rows flow = read.rows(2);
    if (flow.empty())
        return missing;
    out = flowRow(id, flow.first());
    for (int i = 0; i < more.size(); ++i)
        moreRows.append(read.rows(3 + i));
    return Outcome::done();
}

Outcome stepStatements(mySQLTool& db, const FlowRow& flow, const Step& step, QList<Statement>& out)
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
    out.append(
        step.closedBy.isEmpty()
            ? db.Format("update %s set 工序='%s', 结讫=%d, 结讫时间='%s' where 流水号=%I64u and 结讫=0", F,
                        step.action, step.closedAs, step.now, flow.id)
            : db.Format("update %s set 工序='%s', 结讫=%d, 结讫时间='%s', 经办人='%s' where 流水号=%I64u "
                        "and 结讫=0",
                        F, step.action, step.closedAs, step.now, step.closedBy, flow.id));
    const int count = step.count < 0 ? flow.count : step.count;
    out.append(
        step.createdBy.isEmpty()
            ? db.Format("insert into %s (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, 生成时间, "
                        "历史) value (%I64u, %I64u, '%s', %I64u, '%s', '%s', %d, '%s', '%s')",
                        F, flow.order, flow.client, priority, flow.id, flow.station, step.to, count, step.now,
                        route)
            : db.Format("insert into %s (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, 生成时间, "
                        "历史, 经办人) value (%I64u, %I64u, '%s', %I64u, '%s', '%s', %d, '%s', '%s', '%s')",
                        F, flow.order, flow.client, priority, flow.id, flow.station, step.to, count, step.now,
                        route, step.createdBy));
    return Outcome::done();
}

Outcome stepTaken(const Batch& written, int first, quint64* created)
{
    if (written.affected(first) != 1)
        return Outcome::taken(kFlowTaken);
    if (created)
        *created = written.insertId(first + 1);
    return Outcome::done();
}

Outcome takeStep(mySQLTool& db, const FlowRow& flow, const Step& step, quint64* created)
{
    QList<Statement> statements;
    if (const Outcome made = stepStatements(db, flow, step, statements); !made)
        return made;
    // Sent together: the transaction rolls the successor back when the flow was taken.
    const Batch written = db.ExecAll(statements);
    if (!written)
        return written.failed();
    return stepTaken(written, 0, created);
}

}  // namespace flow
