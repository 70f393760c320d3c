#include "dialogs/materials/ops/Purchase.h"

#include "db/Columns.h"
#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/materials/MaterialQueries.h"
#include "dialogs/materials/ops/Stock.h"

namespace materials {

namespace {

const QString kMaterialExists = QStringLiteral("该原料已存在");
const QString kSupplierExists = QStringLiteral("该供应商已存在");

bool positive(double v)
{
    return writable(v) && v > 0;
}

// Inside a transaction: the checks and the insert of a new material.
Outcome createMaterial(mySQLTool& db, const QString& name, const QString& unit)
{
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("请输入原料名称"));
    if (unit.isEmpty())
        return Outcome::refused(QStringLiteral("请选择原料单位"));
    if (const Outcome fits = columns::fit({{tables::raw, "名称", name}, {tables::raw, "单位", unit}}); !fits)
        return fits;
    const Rows found = db.Read(materialq::material(db, name));
    if (!found)
        return found.failed();
    if (!found.empty())
        return Outcome::refused(kMaterialExists);
    // The name is the key: a second desk adding it at the same moment is refused here.
    if (!db.Exec("insert into %s (名称, 单位) value ('%s', '%s')", tables::raw, name, unit))
        return db.DuplicateKey() ? Outcome::refused(kMaterialExists) : db.Failure();
    return Outcome::done();
}

Outcome createSupplier(mySQLTool& db, const QString& name, const QString& remark, quint64* id)
{
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("请输入供应商名称"));
    if (const Outcome fits =
            columns::fit({{tables::supplier, "名称", name}, {tables::supplier, "备注", remark}});
        !fits)
        return fits;
    const Rows found = db.Read(materialq::supplierNamed(db, name));
    if (!found)
        return found.failed();
    if (!found.empty())
        return Outcome::refused(kSupplierExists);
    // The name is a unique key: a second desk adding it at the same moment is refused here. (A
    // locking read would need rights the client's role does not have on MySQL.)
    const bool inserted =
        remark.isEmpty()
            ? db.Exec("insert into %s (名称) value ('%s')", tables::supplier, name)
            : db.Exec("insert into %s (名称, 备注) value ('%s', '%s')", tables::supplier, name, remark);
    if (!inserted)
        return db.DuplicateKey() ? Outcome::refused(kSupplierExists) : db.Failure();
    *id = db.InsertId();
    return Outcome::done();
}

}  // namespace

const QStringList& units()
{
    static const QStringList all = {QStringLiteral("公斤"), QStringLiteral("克"), QStringLiteral("升"),
                                    QStringLiteral("毫升"), QStringLiteral("袋"), QStringLiteral("桶"),
                                    QStringLiteral("盒"),   QStringLiteral("支"), QStringLiteral("个")};
    return all;
}

Outcome addMaterial(mySQLTool& db, const QString& name, const QString& unit)
{
    return db.Transact([&] { return createMaterial(db, name, unit); });
}

Outcome addSupplier(mySQLTool& db, const QString& name, const QString& remark, quint64* id)
{
    quint64 added = 0;
    const Outcome r = db.Transact([&] { return createSupplier(db, name, remark, &added); });
    if (r.ok() && id)
        *id = added;
    return r;
}

Outcome checkPurchase(const Purchase& p)
{
    if (p.material.isEmpty())
        return Outcome::refused(QStringLiteral("请选择一项原料"));
    if (p.newMaterial && p.unit.isEmpty())
        return Outcome::refused(QStringLiteral("请选择原料单位"));
    if (p.newSupplier ? p.supplierName.isEmpty() : p.supplier == 0)
        return Outcome::refused(p.newSupplier ? QStringLiteral("请输入供应商名称")
                                              : QStringLiteral("请选择一个供应商"));
    if (p.buyer == 0)
        return Outcome::refused(QStringLiteral("请选择一个采购人"));
    if (!positive(p.quantity))
        return Outcome::refused(QStringLiteral("请输入正确的数量"));
    if (!positive(p.price))
        return Outcome::refused(QStringLiteral("请输入正确的单价"));
    if (!positive(p.amount))
        return Outcome::refused(QStringLiteral("请输入正确的金额"));
    return Outcome::done();
}

Outcome registerPurchase(mySQLTool& db, const Purchase& p, quint64* supplier)
{
    const Outcome checked = checkPurchase(p);
    if (!checked)
        return checked;
    quint64 from = p.supplier;
    const Outcome r = db.Transact([&]() -> Outcome {
        if (p.newMaterial) {
            const Outcome added = createMaterial(db, p.material, p.unit);
            if (!added)
                return added;
        }
        from = p.supplier;
        if (p.newSupplier) {
            const Outcome added = createSupplier(db, p.supplierName, p.supplierRemark, &from);
            if (!added)
                return added;
        }
        const QString now = GetTimeText(0);
        if (!db.Exec("update %s set 数量=round(数量+%f, %d), 累计数量=round(累计数量+%f, %d), "
                     "累计金额=round(累计金额+%f, %d) where 名称='%s'",
                     tables::raw, p.quantity, kDecimals, p.quantity, kDecimals, p.amount, kDecimals,
                     p.material))
            return db.Failure();
        if (db.AffectedRows() == 0)
            return Outcome::taken(QStringLiteral("原料“%1”已不存在").arg(p.material));
        if (!db.Exec("insert into %s (名称, 供应商号, 数量, 单价, 金额, 时间, 工号, 经办人) "
                     "value ('%s', %I64u, %f, %f, %f, '%s', %I64u, '%s')",
                     tables::rawIn, p.material, from, p.quantity, p.price, p.amount, now, p.buyer, p.account))
            return db.Failure();
        return Outcome::done();
    });
    if (r.ok() && supplier)
        *supplier = from;
    return r;
}

}  // namespace materials
