#include "dialogs/materials/ops/Issue.h"

#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/materials/MaterialQueries.h"
#include "dialogs/materials/ops/Stock.h"

namespace materials {

Outcome checkIssue(const Issue& i)
{
    if (i.material.isEmpty())
        return Outcome::refused(QStringLiteral("请选择一项原料"));
    if (i.member == 0)
        return Outcome::refused(QStringLiteral("请选择一个领料人"));
    if (i.client == 0)
        return Outcome::refused(QStringLiteral("请选择一个对应客户"));
    if (i.team.isEmpty())
        return Outcome::refused(QStringLiteral("请选择领料班组"));
    if (!writable(i.quantity) || i.quantity < 0)
        return Outcome::refused(QStringLiteral("请输入正确的数量"));
    return Outcome::done();
}

Outcome checkStock(mySQLTool& db, const Issue& i)
{
    const Rows held = db.Read(materialq::stockHolding(db, i.material, i.quantity));
    if (!held)
        return held.failed();
    return held.empty() ? Outcome::refused(kNotInStock) : Outcome::done();
}

Outcome issueMaterial(mySQLTool& db, const Issue& i)
{
    const Outcome checked = checkIssue(i);
    if (!checked)
        return checked;
    return db.Transact([&]() -> Outcome {
        const QString now = GetTimeText(0);
        // Checked and taken in one statement: a second desk waits for the row and then finds
        // what is left.
        if (!db.Exec("update %s set 数量=round(数量-%f, %d) where 名称='%s' and 数量>=%f", tables::raw,
                     i.quantity, kDecimals, i.material, i.quantity))
            return db.Failure();
        if (db.AffectedRows() == 0)
            return Outcome::refused(kNotInStock);
        if (!db.Exec("insert into %s (名称, 客户号, 数量, 时间, 班组, 工号, 经办人) "
                     "value ('%s', %I64u, %f, '%s', '%s', %I64u, '%s')",
                     tables::rawOut, i.material, i.client, i.quantity, now, i.team, i.member, i.account))
            return db.Failure();
        return Outcome::done();
    });
}

}  // namespace materials
