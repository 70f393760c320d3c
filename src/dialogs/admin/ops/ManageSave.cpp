#include "dialogs/admin/ops/ManageSave.h"

#include "db/Columns.h"
#include "db/Convert.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/admin/ops/TextWidths.h"

#include <QHash>
#include <QSet>

namespace manage {

namespace {

using convert::toDouble;
using convert::toId;
using convert::toInt;

// Names as the server's unique key compares them: case and trailing blanks do not count.
QString nameKey(QString name)
{
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name.toCaseFolded();
}

QHash<QString, const QStringList*> byFirstCell(const QList<QStringList>& rows)
{
    QHash<QString, const QStringList*> out;
    for (const QStringList& r : rows)
        out.insert(r.value(0), &r);
    return out;
}

// How a loaded row is named in a message.
QString recordName(Grid grid, const QStringList& old)
{
    const GridShape& s = shape(grid);
    if (s.byName)
        return QStringLiteral("名称为“%1”").arg(old.value(1));
    return QStringLiteral("%1为%2").arg(QString::fromUtf8(s.columns[0].caption), old.value(0));
}

Statement currentRow(mySQLTool& db, Grid grid, const QStringList& old)
{
    switch (grid) {
        case Grid::Technologies:
            return adminq::technologyRow(db, old.value(1));
        case Grid::Processes:
            return adminq::processRow(db, old.value(1));
        case Grid::Members:
            return adminq::memberRow(db, toId(old.value(0)));
        case Grid::Clients:
            return adminq::clientRow(db, toId(old.value(0)));
        case Grid::Orders:
            return adminq::orderRow(db, toId(old.value(0)));
        case Grid::Losses:
            return adminq::lossRow(db, toId(old.value(0)));
    }
    return Statement();
}

// Locks the row as it stands now; taken when it no longer holds the loaded values.
Outcome stillAsLoaded(mySQLTool& db, Grid grid, const QStringList& old)
{
    const Rows now = db.Read(currentRow(db, grid, old));
    if (!now)
        return now.failed();
    const QStringList loaded = shape(grid).byName ? old.mid(1) : old;
    if (now.empty() || now.first().cells() != loaded)
        return Outcome::taken(QStringLiteral("%1的记录已被其他用户修改或删除，本次没有保存任何修改")
                                  .arg(recordName(grid, old)));
    return Outcome::done();
}

bool insertRow(mySQLTool& db, Grid grid, const QStringList& r, const QString& account)
{
    switch (grid) {
        case Grid::Technologies:
            return db.Exec("insert into kvc_attrib_technology (名称, 类型, 价格) value ('%s', '%s', %f)",
                           r.value(1), r.value(2), toDouble(r.value(3)));
        case Grid::Processes:
            return db.Exec("insert into kvc_attrib_process (名称, 工作站, 工价) value ('%s', '%s', %f)",
                           r.value(1), r.value(2), toDouble(r.value(3)));
        case Grid::Members:
            return db.Exec(
                "insert into kvc_record_member (姓名, 身份, 班组, 激活) value ('%s', '%s', '%s', %d)",
                r.value(1), r.value(2), r.value(3), toInt(r.value(4)));
        case Grid::Clients:
            return db.Exec("insert into kvc_record_client (名称, 说明, 激活) value ('%s', '%s', %d)",
                           r.value(1), r.value(2), toInt(r.value(3)));
        case Grid::Orders:
            return db.Exec(
                "insert into kvc_record_product (款号, 客户号, 货物数量, 接货人, 接货时间, 货物性质, "
                "货物分类, "
                "货物款式, 货物性别, 洗涤方法, 货物单价, 损耗单价, 原版数量, 洗版数量, 损耗数量, 货物等级, "
                "关联, "
                "激活, 激活时间, 结讫, 结讫时间, 经办人) value (%I64u, %I64u, %d, '%s', '%s', '%s', '%s', "
                "'%s', "
                "'%s', '%s', %f, %f, %d, %d, %d, '%s', %I64u, %d, '%s', %d, '%s', '%s')",
                toId(r.value(1)), toId(r.value(2)), toInt(r.value(3)), r.value(4), r.value(5), r.value(6),
                r.value(7), r.value(8), r.value(9), r.value(10), toDouble(r.value(11)), toDouble(r.value(12)),
                toInt(r.value(13)), toInt(r.value(14)), toInt(r.value(15)), r.value(16), toId(r.value(17)),
                toInt(r.value(18)), r.value(19), toInt(r.value(20)), r.value(21), account);
        case Grid::Losses:
            return db.Exec(
                "insert into kvc_record_quality (客户号, 日期, 数量, 原因, 责任人, 记录人, 经办人, 备注) "
                "value "
                "(%I64u, '%s', %d, '%s', '%s', '%s', '%s', '%s')",
                toId(r.value(1)), r.value(2), toInt(r.value(3)), r.value(4), r.value(5), r.value(6), account,
                r.value(7));
    }
    return false;
}

bool updateRow(mySQLTool& db, Grid grid, const QStringList& r, const QStringList& old)
{
    switch (grid) {
        case Grid::Technologies:
            return db.Exec("update kvc_attrib_technology set 名称='%s', 类型='%s', 价格=%f where 名称='%s'",
                           r.value(1), r.value(2), toDouble(r.value(3)), old.value(1));
        case Grid::Processes:
            return db.Exec("update kvc_attrib_process set 名称='%s', 工作站='%s', 工价=%f where 名称='%s'",
                           r.value(1), r.value(2), toDouble(r.value(3)), old.value(1));
        case Grid::Members:
            return db.Exec(
                "update kvc_record_member set 姓名='%s', 身份='%s', 班组='%s', 激活=%d where 工号=%I64u",
                r.value(1), r.value(2), r.value(3), toInt(r.value(4)), toId(r.value(0)));
        case Grid::Clients:
            return db.Exec("update kvc_record_client set 名称='%s', 说明='%s', 激活=%d where 客户号=%I64u",
                           r.value(1), r.value(2), toInt(r.value(3)), toId(r.value(0)));
        case Grid::Orders:
            return db.Exec(
                "update kvc_record_product set 款号=%I64u, 客户号=%I64u, 货物数量=%d, 接货人='%s', "
                "接货时间='%s', "
                "货物性质='%s', 货物分类='%s', 货物款式='%s', 货物性别='%s', 洗涤方法='%s', 货物单价=%f, "
                "损耗单价=%f, 原版数量=%d, 洗版数量=%d, 损耗数量=%d, 货物等级='%s', 关联=%I64u, 激活=%d, "
                "激活时间='%s', 结讫=%d, 结讫时间='%s' where 货单号=%I64u",
                toId(r.value(1)), toId(r.value(2)), toInt(r.value(3)), r.value(4), r.value(5), r.value(6),
                r.value(7), r.value(8), r.value(9), r.value(10), toDouble(r.value(11)), toDouble(r.value(12)),
                toInt(r.value(13)), toInt(r.value(14)), toInt(r.value(15)), r.value(16), toId(r.value(17)),
                toInt(r.value(18)), r.value(19), toInt(r.value(20)), r.value(21), toId(r.value(0)));
        case Grid::Losses:
            return db.Exec(
                "update kvc_record_quality set 客户号=%I64u, 日期='%s', 数量=%d, 原因='%s', 责任人='%s', "
                "记录人='%s', 备注='%s' where 序列号=%I64u",
                toId(r.value(1)), r.value(2), toInt(r.value(3)), r.value(4), r.value(5), r.value(6),
                r.value(7), toId(r.value(0)));
    }
    return false;
}

// Rows elsewhere that a removed row leaves behind: an employee's unsettled piece-work could
// then never be settled.
Outcome mayRemove(mySQLTool& db, Grid grid, const QStringList& old)
{
    if (grid != Grid::Members)
        return Outcome::done();
    const Rows work = db.Read(adminq::unsettledWork(db, toId(old.value(0))));
    if (!work)
        return work.failed();
    const Row& w = work.first();
    if (w.toInt(0) == 0)
        return Outcome::done();
    return Outcome::refused(
        QStringLiteral("员工%1（工号%2）还有%3条未结算的计件，共%4元，请先结算后再删除，本次没有保存任何修改")
            .arg(old.value(1), old.value(0))
            .arg(w.toInt(0))
            .arg(QString::asprintf("%.2f", w.toDouble(1))));
}

// A technology renamed in the open orders' washing methods: each rewritten text must still fit.
Outcome renameFits(mySQLTool& db, const QString& from, const QString& to)
{
    const int width = columns::width(tables::product, QStringLiteral("洗涤方法"));
    const Rows over = db.Read(adminq::renameOverflow(db, from, to, width));
    if (!over)
        return over.failed();
    if (over.empty())
        return Outcome::done();
    return Outcome::refused(
        QStringLiteral("工艺改名后，货单%1的“洗涤方法”将有%2个字，最多可以保存%3个字，本次没有保存任何修改")
            .arg(over.first().text(0))
            .arg(over.first().toInt(1))
            .arg(width));
}

bool deleteRow(mySQLTool& db, Grid grid, const QStringList& old)
{
    switch (grid) {
        case Grid::Technologies:
            return db.Exec("delete from kvc_attrib_technology where 名称='%s'", old.value(1));
        case Grid::Processes:
            return db.Exec("delete from kvc_attrib_process where 名称='%s'", old.value(1));
        case Grid::Members:
            return db.Exec("delete from kvc_record_member where 工号=%I64u", toId(old.value(0)));
        case Grid::Clients:
            return db.Exec("delete from kvc_record_client where 客户号=%I64u", toId(old.value(0)));
        case Grid::Orders:
            return db.Exec("delete from kvc_record_product where 货单号=%I64u", toId(old.value(0)));
        case Grid::Losses:
            return db.Exec("delete from kvc_record_quality where 序列号=%I64u", toId(old.value(0)));
    }
    return false;
}

SaveResult refusal(const QString& text, int row, int column)
{
    return SaveResult{Outcome::refused(text), row, column};
}

}  // namespace

bool sameName(const QString& a, const QString& b)
{
    return !a.isEmpty() && nameKey(a) == nameKey(b);
}

SaveResult check(Grid grid, const QList<QStringList>& loaded, const QList<QStringList>& rows)
{
    const GridShape& s = shape(grid);
    const QHash<QString, const QStringList*> before = byFirstCell(loaded);
    QHash<QString, int> names;
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& r = rows[i];
        const bool isNew = r.value(0) == kNewRow;
        const QStringList* old = isNew ? nullptr : before.value(r.value(0));
        if (isNew || (old && *old != r)) {
            for (int c = 1; c < s.columns.size(); ++c) {
                if (s.columns[c].required && r.value(c).isEmpty() && (isNew || !old->value(c).isEmpty()))
                    return refusal(QStringLiteral("必填项不能为空"), i, c);
                const QString caption = QString::fromUtf8(s.columns[c].caption);
                const QString where = QStringLiteral("第%1行“%2”").arg(i + 1).arg(caption);
                QString misfit = textwidths::misfit(s.table, caption, r.value(c), where);
                if (misfit.isEmpty() && s.columns[c].alsoTable)
                    misfit =
                        textwidths::misfit(s.columns[c].alsoTable, QString::fromUtf8(s.columns[c].alsoColumn),
                                           r.value(c), where);
                if (!misfit.isEmpty())
                    return refusal(misfit, i, c);
            }
        }
        if (s.duplicateName && !r.value(1).isEmpty()) {
            const QString key = nameKey(r.value(1));
            if (names.contains(key))
                return refusal(QString::fromUtf8(s.duplicateName), i, 1);
            names.insert(key, i);
        }
    }
    return SaveResult();
}

SaveResult save(mySQLTool& db, Grid grid, const QList<QStringList>& loaded, const QList<QStringList>& rows,
                const QString& account)
{
    SaveResult result = check(grid, loaded, rows);
    if (!result.outcome.ok())
        return result;
    const QHash<QString, const QStringList*> before = byFirstCell(loaded);
    QSet<QString> kept;
    for (const QStringList& r : rows)
        kept.insert(r.value(0));

    result.outcome = db.Transact([&]() -> Outcome {
        result.row = -1;
        // Removed rows first, so that a name a removed row gave up may be taken again.
        for (const QStringList& old : loaded) {
            if (kept.contains(old.value(0)))
                continue;
            if (const Outcome held = stillAsLoaded(db, grid, old); !held.ok())
                return held;
            if (const Outcome free = mayRemove(db, grid, old); !free.ok())
                return free;
            if (!deleteRow(db, grid, old))
                return db.Failure();
        }
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList& r = rows[i];
            const QStringList* old = before.value(r.value(0));
            if (r.value(0) == kNewRow || !old || *old == r)
                continue;
            result.row = i;
            if (const Outcome held = stillAsLoaded(db, grid, *old); !held.ok())
                return held;
            if (!updateRow(db, grid, r, *old))
                return db.Failure();
            // Open orders name their technologies: they follow the new name. Closed orders and
            // the shipments' dockets keep the text they were closed and printed with.
            if (grid == Grid::Technologies && r.value(1) != old->value(1)) {
                if (const Outcome fits = renameFits(db, old->value(1), r.value(1)); !fits.ok())
                    return fits;
                if (!db.Query(adminq::renameInOpenOrders(db, old->value(1), r.value(1)), false))
                    return db.Failure();
            }
        }
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].value(0) != kNewRow)
                continue;
            result.row = i;
            if (!insertRow(db, grid, rows[i], account))
                return db.Failure();
        }
        result.row = -1;
        return Outcome::done();
    });
    return result;
}

}  // namespace manage
