#include "dialogs/admin/AdminQueries.h"

#include "db/Conditions.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace adminq {

Statement setting(mySQLTool& db, const QString& name)
{
    return db.Format("select %s.内容 from %s where %s.名称='%s'", tables::mod, tables::mod, tables::mod,
                     name);
}

Statement technologies(mySQLTool& db)
{
    return db.Format(
        "select kvc_attrib_technology.名称, kvc_attrib_technology.类型, kvc_attrib_technology.价格 from "
        "kvc_attrib_technology order by kvc_attrib_technology.名称");
}

Statement processes(mySQLTool& db)
{
    return db.Format(
        "select kvc_attrib_process.名称, kvc_attrib_process.工作站, kvc_attrib_process.工价 from "
        "kvc_attrib_process order by kvc_attrib_process.名称");
}

Statement members(mySQLTool& db, bool withInactive)
{
    if (withInactive)
        return db.Format(
            "select kvc_record_member.工号, kvc_record_member.姓名, kvc_record_member.身份, "
            "kvc_record_member.班组, kvc_record_member.激活 from kvc_record_member order by "
            "kvc_record_member.工号");
    return db.Format(
        "select kvc_record_member.工号, kvc_record_member.姓名, kvc_record_member.身份, "
        "kvc_record_member.班组, kvc_record_member.激活 from kvc_record_member where "
        "kvc_record_member.激活=1 order by kvc_record_member.工号");
}

Statement clients(mySQLTool& db, bool withInactive)
{
    if (withInactive)
        return db.Format(
            "select kvc_record_client.客户号, kvc_record_client.名称, kvc_record_client.说明, "
            "kvc_record_client.激活 from kvc_record_client order by kvc_record_client.客户号");
    return db.Format(
        "select kvc_record_client.客户号, kvc_record_client.名称, kvc_record_client.说明, "
        "kvc_record_client.激活 from kvc_record_client where kvc_record_client.激活=1 order by "
        "kvc_record_client.客户号");
}

namespace {

// The 22 columns of the orders matching `where` (" where ..." or empty), the newest first.
Statement orders(mySQLTool& db, const Statement& where, int limit)
{
    return db.Format(
        "select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_product.客户号, "
        "kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, "
        "kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, "
        "kvc_record_product.货物性别, kvc_record_product.洗涤方法, kvc_record_product.货物单价, "
        "kvc_record_product.损耗单价, kvc_record_product.原版数量, kvc_record_product.洗版数量, "
        "kvc_record_product.损耗数量, kvc_record_product.货物等级, kvc_record_product.关联, "
        "kvc_record_product.激活, kvc_record_product.激活时间, kvc_record_product.结讫, "
        "kvc_record_product.结讫时间 from kvc_record_product%s order by kvc_record_product.货单号 desc "
        "limit %d",
        where, limit);
}

}  // namespace

Statement activeOrders(mySQLTool& db, int limit)
{
    Conditions where(db);
    where.add("%s.激活=%d", tables::product, 1);
    return orders(db, where.after(" where "), limit);
}

Statement inquiryClause(mySQLTool& db, const OrderFilter& f)
{
    const char* const P = tables::product;
    Conditions where(db);
    where.addIf(f.client, "%s.客户号=%I64u", P).addIf(f.nature, "%s.货物性质='%s'", P);
    if (f.time)
        switch (*f.time) {
            case OrderFilter::Time::Received:
                where.addIf(f.range.after, "%s.接货时间>'%s'", P)
                    .addIf(f.range.before, "%s.接货时间<'%s'", P);
                break;
            case OrderFilter::Time::Activated:
                where.addIf(f.range.after, "%s.激活时间>'%s'", P)
                    .addIf(f.range.before, "%s.激活时间<'%s'", P);
                break;
            case OrderFilter::Time::Closed:
                where.addIf(f.range.after, "%s.结讫时间>'%s'", P)
                    .addIf(f.range.before, "%s.结讫时间<'%s'", P);
                break;
        }
    if (!f.withWaiting)
        where.add("%s.激活=%d", P, 1);
    if (!f.withClosed)
        where.add("%s.结讫=%d", P, 0);
    return where.after("where ");
}

Statement inquiredOrders(mySQLTool& db, const OrderFilter& f, int limit)
{
    return orders(db, db.Format(" %s", inquiryClause(db, f)), limit);
}

Statement losses(mySQLTool& db, int limit)
{
    return db.Format(
        "select kvc_record_quality.序列号, kvc_record_quality.客户号, kvc_record_quality.日期, "
        "kvc_record_quality.数量, kvc_record_quality.原因, kvc_record_quality.责任人, "
        "kvc_record_quality.记录人, kvc_record_quality.备注 from kvc_record_quality order by "
        "kvc_record_quality.序列号 desc limit %d",
        limit);
}

Statement technologyRow(mySQLTool& db, const QString& name)
{
    return db.Format(
        "select kvc_attrib_technology.名称, kvc_attrib_technology.类型, kvc_attrib_technology.价格 from "
        "kvc_attrib_technology where kvc_attrib_technology.名称='%s' for update",
        name);
}

Statement processRow(mySQLTool& db, const QString& name)
{
    return db.Format(
        "select kvc_attrib_process.名称, kvc_attrib_process.工作站, kvc_attrib_process.工价 from "
        "kvc_attrib_process where kvc_attrib_process.名称='%s' for update",
        name);
}

Statement memberRow(mySQLTool& db, quint64 member)
{
    return db.Format(
        "select kvc_record_member.工号, kvc_record_member.姓名, kvc_record_member.身份, "
        "kvc_record_member.班组, kvc_record_member.激活 from kvc_record_member where "
        "kvc_record_member.工号=%I64u for update",
        member);
}

Statement clientRow(mySQLTool& db, quint64 client)
{
    return db.Format(
        "select kvc_record_client.客户号, kvc_record_client.名称, kvc_record_client.说明, "
        "kvc_record_client.激活 from kvc_record_client where kvc_record_client.客户号=%I64u for update",
        client);
}

Statement orderRow(mySQLTool& db, quint64 order)
{
    Conditions where(db);
    where.add("%s.货单号=%I64u", tables::product, order);
    return db.Format("%s for update", orders(db, where.after(" where "), 1));
}

Statement lossRow(mySQLTool& db, quint64 serial)
{
    return db.Format(
        "select kvc_record_quality.序列号, kvc_record_quality.客户号, kvc_record_quality.日期, "
        "kvc_record_quality.数量, kvc_record_quality.原因, kvc_record_quality.责任人, "
        "kvc_record_quality.记录人, kvc_record_quality.备注 from kvc_record_quality where "
        "kvc_record_quality.序列号=%I64u for update",
        serial);
}

namespace {
// A technology's name between brackets in a LIKE pattern, its wildcards taken literally.
QString bracketed(const QString& name)
{
    QString pattern = name;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return pattern;
}
}  // namespace

Statement renameInOpenOrders(mySQLTool& db, const QString& from, const QString& to)
{
    return db.Format(
        "update kvc_record_product set kvc_record_product.洗涤方法=replace(kvc_record_product.洗涤方法, "
        "'[%s]', '[%s]') where kvc_record_product.结讫=%d and kvc_record_product.洗涤方法 like '%%[%s]%%'",
        from, to, 0, bracketed(from));
}

Statement renameOverflow(mySQLTool& db, const QString& from, const QString& to, int width)
{
    // The same rows and the same replace as the rename, locked until it is made.
    const Statement renamed =
        db.Format("char_length(replace(kvc_record_product.洗涤方法, '[%s]', '[%s]'))", from, to);
    return db.Format(
        "select kvc_record_product.货单号, %s from kvc_record_product where kvc_record_product.结讫=%d and "
        "kvc_record_product.洗涤方法 like '%%[%s]%%' and %s>%d order by kvc_record_product.货单号 for update",
        renamed, 0, bracketed(from), renamed, width);
}

Statement unsettledWork(mySQLTool& db, quint64 member)
{
    // Locked, so that no station books him new work until his removal is decided.
    return db.Format(
        "select count(*), sum(%s.共计) from %s where %s.工号=%I64u and %s.结讫=%d lock in share mode",
        tables::mission, tables::mission, tables::mission, member, tables::mission, 0);
}

Statement choices(mySQLTool& db, Choice choice)
{
    switch (choice) {
        case Choice::TechnologyTypes:
            return db.Format("select kvc_attrib_technology_type.名称 from kvc_attrib_technology_type");
        case Choice::Stations:
            return db.Format("select kvc_attrib_station.名称 from kvc_attrib_station");
        case Choice::Identities:
            return db.Format("select kvc_attrib_identity.身份 from kvc_attrib_identity");
        case Choice::Teams:
            return db.Format("select kvc_attrib_group.班组名称 from kvc_attrib_group");
        case Choice::Transporters:
            return db.Format(
                "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.身份='运输'");
        case Choice::Natures:
            return db.Format("select kvc_attrib_nature.货物属性 from kvc_attrib_nature");
        case Choice::GoodsTypes:
            return db.Format("select kvc_attrib_type.货物类型 from kvc_attrib_type");
        case Choice::Kinds:
            return db.Format("select kvc_attrib_kind.货物款式 from kvc_attrib_kind");
        case Choice::Sexes:
            return db.Format("select kvc_attrib_sex.货物性别 from kvc_attrib_sex");
        case Choice::Priorities:
            return db.Format("select kvc_attrib_priority.货物等级 from kvc_attrib_priority");
        case Choice::Processes:
            return db.Format("select kvc_attrib_process.名称 from kvc_attrib_process");
        case Choice::ActiveMembers:
            return db.Format(
                "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.激活=1");
        case Choice::ActiveDispatchers:
            return db.Format(
                "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.激活=1 and "
                "kvc_record_member.身份='调度'");
        case Choice::None:
            break;
    }
    return Statement();
}

Statement technologyList(mySQLTool& db)
{
    return db.Format(
        "select kvc_attrib_technology.名称, kvc_attrib_technology.类型 from kvc_attrib_technology");
}

Statement clientNames(mySQLTool& db)
{
    return db.Format("select %s.客户号, %s.名称 from %s", tables::client, tables::client, tables::client);
}

}  // namespace adminq
