#include "dialogs/finance/ops/Supplement.h"

#include "db/Columns.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/FinanceQueries.h"

namespace finance {

namespace {
const QString kTooMany = QStringLiteral("编辑数量已超出该货单的货物数量");
}  // namespace

Outcome checkSupplement(const Supplement& s, qint64 orderGoods)
{
    if (s.process.isEmpty())
        return Outcome::refused(QStringLiteral("工序不能为空"));
    // Longer step names are left from before production management measured them.
    const int width = columns::width(tables::procedure, QStringLiteral("工序"));
    if (columns::length(s.process, width) > width)
        return Outcome::refused(QStringLiteral("工序“%1”的名称超过%2个字，不能记入流水，请先在生产管理中改短")
                                    .arg(s.process)
                                    .arg(width));
    if (!(s.rate > 0))
        return Outcome::refused(QStringLiteral("错误的工价"));
    if (s.rows.isEmpty())
        return Outcome::refused(QStringLiteral("编辑项不能为空"));
    qint64 sum = 0;
    for (int i = 0; i < s.rows.size(); ++i) {
        const SupplementRow& r = s.rows.at(i);
        if (!(r.amount > 0))
            return Outcome::refused(QStringLiteral("错误的金额：第%1行").arg(i));
        if (r.quantity < 1)
            return Outcome::refused(QStringLiteral("错误的数量：第%1行").arg(i));
        sum += r.quantity;
        if (sum > orderGoods)
            return Outcome::refused(kTooMany);
    }
    return Outcome::done();
}

Outcome orderTakesSupplement(quint64 order, int closed)
{
    if (closed == 1)
        return Outcome::refused(QStringLiteral("货单%1已结讫，不能追加计件").arg(order));
    if (closed == 2)
        return Outcome::refused(QStringLiteral("货单%1已取消，不能追加计件").arg(order));
    return Outcome::done();
}

Outcome supplement(mySQLTool& db, const Supplement& s, quint64* flow)
{
    quint64 created = 0;
    const Outcome outcome = db.Transact([&]() -> Outcome {
        created = 0;
        const Rows order = db.Read(financeq::orderForSupplement(db, s.order));
        if (!order)
            return order.failed();
        if (order.empty())
            return Outcome::taken(QStringLiteral("货单%1已不存在").arg(s.order));
        const Row& o = order.first();
        if (const Outcome open = orderTakesSupplement(s.order, o.toInt(3)); !open)
            return open;
        if (const Outcome checked = checkSupplement(s, o.toInt64(2)); !checked)
            return checked;
        int total = 0;
        for (const SupplementRow& r : s.rows)
            total += r.quantity;

        if (!db.Exec(
                "insert into %s (货单号, 客户号, 货物等级, 数量, 生成时间, 结讫时间, 工作站, 工序, 结讫, "
                "经办人) value (%I64u, %I64u, '%s', %d, '%s', '%s', '%s', '%s', 1, '%s')",
                tables::procedure, s.order, o.toId(0), o.text(1), total, s.now, s.now, kSupplementStation,
                s.process, s.account))
            return db.Failure();
        created = db.InsertId();
        for (const SupplementRow& r : s.rows) {
            if (!db.Exec(
                    "insert into %s (货单号, 流水号, 工号, 完成时间, 完成数量, 工价, 共计, 经办人) value "
                    "(%I64u, %I64u, %I64u, '%s', %d, %f, %f, '%s')",
                    tables::mission, s.order, created, r.member, s.now, r.quantity, s.rate,
                    r.quantity * s.rate, s.account))
                return db.Failure();
        }
        return Outcome::done();
    });
    if (flow)
        *flow = outcome.ok() ? created : 0;
    return outcome;
}

}  // namespace finance
