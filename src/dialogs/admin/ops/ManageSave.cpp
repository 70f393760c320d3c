#include "dialogs/admin/ops/ManageSave.h"

#include "db/Columns.h"
#include "db/Convert.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/admin/ops/TextWidths.h"

#include <QHash>
#include <QSet>
#include <tuple>

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
        out.insert(r.value(kKeyCell), &r);
    return out;
}

// How a loaded row is named in a message.
QString recordName(Grid grid, const QStringList& old)
{
    const GridShape& s = shape(grid);
    if (s.byName)
        return QStringLiteral("名称为“%1”").arg(old.value(kNameCell));
    return QStringLiteral("%1为%2").arg(QString::fromUtf8(s.columns[kKeyCell].caption), old.value(kKeyCell));
}

Statement currentRow(mySQLTool& db, Grid grid, const QStringList& old)
{
    switch (grid) {
        case Grid::Technologies:
            return adminq::technologyRow(db, old.value(TechnologyCells::Name));
        case Grid::Processes:
            return adminq::processRow(db, old.value(ProcessCells::Name));
        case Grid::Members:
            return adminq::memberRow(db, toId(old.value(MemberCells::Id)));
        case Grid::Clients:
            return adminq::clientRow(db, toId(old.value(ClientCells::Id)));
        case Grid::Orders:
            return adminq::orderRow(db, toId(old.value(OrderCells::Id)));
        case Grid::Losses:
            return adminq::lossRow(db, toId(old.value(LossCells::Serial)));
    }
    return Statement();
}

// Locks the row as it stands now; taken when it no longer holds the loaded values.
Outcome stillAsLoaded(mySQLTool& db, Grid grid, const QStringList& old)
{
    const Rows now = db.Read(currentRow(db, grid, old));
    if (!now)
        return now.failed();
    const QStringList loaded = shape(grid).byName ? old.mid(kKeyCell + 1) : old;
    if (now.empty() || now.first().cells() != loaded)
        return Outcome::taken(QStringLiteral("%1的记录已被其他用户修改或删除，本次没有保存任何修改")
                                  .arg(recordName(grid, old)));
    return Outcome::done();
}

// An order row's cells as its insert and its update write them, in their statements' order.
auto orderCells(const QStringList& r)
{
    using C = OrderCells;
    return std::tuple(toId(r.value(C::Style)), toId(r.value(C::Client)), toInt(r.value(C::Quantity)),
                      r.value(C::Receiver), r.value(C::Received), r.value(C::Nature), r.value(C::Type),
                      r.value(C::Kind), r.value(C::Sex), r.value(C::Method), toDouble(r.value(C::Price)),
                      toDouble(r.value(C::LossPrice)), toInt(r.value(C::Original)), toInt(r.value(C::Washed)),
                      toInt(r.value(C::Lost)), r.value(C::Priority), toId(r.value(C::Related)),
                      toInt(r.value(C::Active)), r.value(C::Activated), toInt(r.value(C::Closed)),
                      r.value(C::ClosedAt));
}

bool insertRow(mySQLTool& db, Grid grid, const QStringList& r, const QString& account)
{
    switch (grid) {
        case Grid::Technologies: {
            using C = TechnologyCells;
            return db.Exec("insert into kvc_attrib_technology (名称, 类型, 价格) value ('%s', '%s', %f)",
                           r.value(C::Name), r.value(C::Type), toDouble(r.value(C::Price)));
        }
        case Grid::Processes: {
            using C = ProcessCells;
            return db.Exec("insert into kvc_attrib_process (名称, 工作站, 工价) value ('%s', '%s', %f)",
                           r.value(C::Name), r.value(C::Station), toDouble(r.value(C::Wage)));
        }
        case Grid::Members: {
            using C = MemberCells;
            return db.Exec(
                "insert into kvc_record_member (姓名, 身份, 班组, 激活) value ('%s', '%s', '%s', %d)",
                r.value(C::Name), r.value(C::Identity), r.value(C::Team), toInt(r.value(C::Active)));
        }
        case Grid::Clients: {
            using C = ClientCells;
            return db.Exec("insert into kvc_record_client (名称, 说明, 激活) value ('%s', '%s', %d)",
                           r.value(C::Name), r.value(C::Note), toInt(r.value(C::Active)));
        }
        case Grid::Orders:
            return std::apply(
                [&](const auto&... cells) {
                    return db.Exec(
                        "insert into kvc_record_product (款号, 客户号, 货物数量, 接货人, "
                        "接货时间, 货物性质, 货物分类, 货物款式, 货物性别, "
                        "洗涤方法, 货物单价, 损耗单价, 原版数量, 洗版数量, "
                        "损耗数量, 货物等级, 关联, 激活, 激活时间, 结讫, 结讫时间, "
                        "经办人) value (%I64u, %I64u, %d, '%s', '%s', '%s', '%s', '%s', '%s', '%s', %f, "
                        "%f, %d, %d, %d, '%s', %I64u, %d, '%s', %d, '%s', '%s')",
                        cells..., account);
                },
                orderCells(r));
        case Grid::Losses: {
            using C = LossCells;
            return db.Exec(
                "insert into kvc_record_quality (客户号, 日期, 数量, 原因, 责任人, 记录人, 经办人, 备注) "
                "value "
                "(%I64u, '%s', %d, '%s', '%s', '%s', '%s', '%s')",
                toId(r.value(C::Client)), r.value(C::Date), toInt(r.value(C::Quantity)), r.value(C::Reason),
                r.value(C::Responsible), r.value(C::Recorder), account, r.value(C::Remark));
        }
    }
    return false;
}

bool updateRow(mySQLTool& db, Grid grid, const QStringList& r, const QStringList& old)
{
    switch (grid) {
        case Grid::Technologies: {
            using C = TechnologyCells;
            return db.Exec("update kvc_attrib_technology set 名称='%s', 类型='%s', 价格=%f where 名称='%s'",
                           r.value(C::Name), r.value(C::Type), toDouble(r.value(C::Price)),
                           old.value(C::Name));
        }
        case Grid::Processes: {
            using C = ProcessCells;
            return db.Exec("update kvc_attrib_process set 名称='%s', 工作站='%s', 工价=%f where 名称='%s'",
                           r.value(C::Name), r.value(C::Station), toDouble(r.value(C::Wage)),
                           old.value(C::Name));
        }
        case Grid::Members: {
            using C = MemberCells;
            return db.Exec(
                "update kvc_record_member set 姓名='%s', 身份='%s', 班组='%s', 激活=%d where 工号=%I64u",
                r.value(C::Name), r.value(C::Identity), r.value(C::Team), toInt(r.value(C::Active)),
                toId(r.value(C::Id)));
        }
        case Grid::Clients: {
            using C = ClientCells;
            return db.Exec("update kvc_record_client set 名称='%s', 说明='%s', 激活=%d where 客户号=%I64u",
                           r.value(C::Name), r.value(C::Note), toInt(r.value(C::Active)),
                           toId(r.value(C::Id)));
        }
        case Grid::Orders:
            return std::apply(
                [&](const auto&... cells) {
                    return db.Exec(
                        "update kvc_record_product set 款号=%I64u, 客户号=%I64u, 货物数量=%d, "
                        "接货人='%s', 接货时间='%s', 货物性质='%s', 货物分类='%s', "
                        "货物款式='%s', 货物性别='%s', 洗涤方法='%s', 货物单价=%f, "
                        "损耗单价=%f, 原版数量=%d, 洗版数量=%d, 损耗数量=%d, "
                        "货物等级='%s', 关联=%I64u, 激活=%d, 激活时间='%s', 结讫=%d, "
                        "结讫时间='%s' where 货单号=%I64u",
                        cells..., toId(r.value(OrderCells::Id)));
                },
                orderCells(r));
        case Grid::Losses: {
            using C = LossCells;
            return db.Exec(
                "update kvc_record_quality set 客户号=%I64u, 日期='%s', 数量=%d, 原因='%s', 责任人='%s', "
                "记录人='%s', 备注='%s' where 序列号=%I64u",
                toId(r.value(C::Client)), r.value(C::Date), toInt(r.value(C::Quantity)), r.value(C::Reason),
                r.value(C::Responsible), r.value(C::Recorder), r.value(C::Remark), toId(r.value(C::Serial)));
        }
    }
    return false;
}

// Rows elsewhere that a removed row leaves behind: an employee's unsettled piece-work could
// then never be settled.
Outcome mayRemove(mySQLTool& db, Grid grid, const QStringList& old)
{
    if (grid != Grid::Members)
        return Outcome::done();
    const Rows work = db.Read(adminq::unsettledWork(db, toId(old.value(MemberCells::Id))));
    if (!work)
        return work.failed();
    const Row& w = work.first();
    if (w.toInt(adminq::UnsettledWork::Rows) == 0)
        return Outcome::done();
    return Outcome::refused(
        QStringLiteral("员工%1（工号%2）还有%3条未结算的计件，共%4元，请先结算后再删除，本次没有保存任何修改")
            .arg(old.value(MemberCells::Name), old.value(MemberCells::Id))
            .arg(w.toInt(adminq::UnsettledWork::Rows))
            .arg(QString::asprintf("%.2f", w.toDouble(adminq::UnsettledWork::Amount))));
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
            .arg(over.first().text(adminq::RenameOverflow::Order))
            .arg(over.first().toInt(adminq::RenameOverflow::Length))
            .arg(width));
}

bool deleteRow(mySQLTool& db, Grid grid, const QStringList& old)
{
    switch (grid) {
        case Grid::Technologies:
            return db.Exec("delete from kvc_attrib_technology where 名称='%s'",
                           old.value(TechnologyCells::Name));
        case Grid::Processes:
            return db.Exec("delete from kvc_attrib_process where 名称='%s'", old.value(ProcessCells::Name));
        case Grid::Members:
            return db.Exec("delete from kvc_record_member where 工号=%I64u",
                           toId(old.value(MemberCells::Id)));
        case Grid::Clients:
            return db.Exec("delete from kvc_record_client where 客户号=%I64u",
                           toId(old.value(ClientCells::Id)));
        case Grid::Orders:
            return db.Exec("delete from kvc_record_product where 货单号=%I64u",
                           toId(old.value(OrderCells::Id)));
        case Grid::Losses:
            return db.Exec("delete from kvc_record_quality where 序列号=%I64u",
                           toId(old.value(LossCells::Serial)));
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
        const bool isNew = r.value(kKeyCell) == kNewRow;
        const QStringList* old = isNew ? nullptr : before.value(r.value(kKeyCell));
        if (isNew || (old && *old != r)) {
            for (int c = kKeyCell + 1; c < s.columns.size(); ++c) {
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
        if (s.duplicateName && !r.value(kNameCell).isEmpty()) {
            const QString key = nameKey(r.value(kNameCell));
            if (names.contains(key))
                return refusal(QString::fromUtf8(s.duplicateName), i, kNameCell);
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
        kept.insert(r.value(kKeyCell));

    result.outcome = db.Transact([&]() -> Outcome {
        result.row = -1;
        // Removed rows first, so that a name a removed row gave up may be taken again.
        for (const QStringList& old : loaded) {
            if (kept.contains(old.value(kKeyCell)))
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
            const QStringList* old = before.value(r.value(kKeyCell));
            if (r.value(kKeyCell) == kNewRow || !old || *old == r)
                continue;
            result.row = i;
            if (const Outcome held = stillAsLoaded(db, grid, *old); !held.ok())
                return held;
            if (!updateRow(db, grid, r, *old))
                return db.Failure();
            // Open orders name their technologies: they follow the new name. Closed orders and
            // the shipments' dockets keep the text they were closed and printed with.
            if (grid != Grid::Technologies)
                continue;
            const QString from = old->value(TechnologyCells::Name);
            const QString to = r.value(TechnologyCells::Name);
            if (to != from) {
                if (const Outcome fits = renameFits(db, from, to); !fits.ok())
                    return fits;
                if (!db.Query(adminq::renameInOpenOrders(db, from, to), false))
                    return db.Failure();
            }
        }
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].value(kKeyCell) != kNewRow)
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
