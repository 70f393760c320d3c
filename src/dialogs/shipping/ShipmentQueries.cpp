#include "dialogs/shipping/ShipmentQueries.h"

#include "db/Conditions.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace shipmentq {

namespace {
const char* const S = tables::ship;
const char* const C = tables::client;
const char* const P = tables::product;
const char* const T = tables::shipTotal;

// A shipment is listed, counted and summed with its customer and its order, each found by its
// key: one whose customer or order row was removed is left out of all three alike. The
// shipments are read first, as they would be alone.
Statement from(mySQLTool& db)
{
    return db.Format(
        "from %s straight_join %s on %s.客户号=%s.客户号 straight_join %s on %s.货单号=%s.货单号", S, C, S, C,
        P, S, P);
}

Conditions conditionsOf(mySQLTool& db, const Filter& f)
{
    Conditions where(db);
    where.addIf(f.client, "%s.客户号=%I64u", S);
    if (f.technology)
        where.add("%s.洗涤方法 like '%%[%s]%%'", S, likeLiteral(*f.technology));
    where.addIf(f.shipper, "%s.发货人='%s'", S).addIf(f.issuer, "%s.开票人='%s'", S);
    if (f.style)
        where.add("%s.品名 like '%%%s%%'", S, likeLiteral(*f.style));
    if (f.sex)
        where.add("%s.品名 like '%%%s%%'", S, likeLiteral(*f.sex));
    where.addIf(f.sent.after, "%s.发送时间>'%s'", S).addIf(f.sent.before, "%s.发送时间<'%s'", S);
    if (f.technologyLike)
        where.add("%s.洗涤方法 like '%%%s%%'", S, likeLiteral(*f.technologyLike));
    where.addIf(f.order, "%s.货单号=%I64u", S).addIf(f.nature, "%s.货物性质='%s'", P);
    return where;
}
}  // namespace

QString likeLiteral(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out.append(QLatin1Char('\\'));
        out.append(c);
    }
    return out;
}

Statement conditions(mySQLTool& db, const Filter& filter)
{
    return conditionsOf(db, filter).text();
}

Statement allShipments(mySQLTool& db, const Filter& filter)
{
    // In the order of the shipments' numbers, so that pages do not overlap: with nothing
    // ticked a page comes off the primary key, a customer's month is a short sort.
    return db.Format(
        "select %s.序列号, %s.货单号, %s.名称, %s.开票人, %s.发货人, %s.发送时间, %s.款号, %s.品名, "
        "%s.洗涤方法, %s.货物数量, %s.损耗数量, %s.原版数量, %s.洗版数量, %s.货物单价, %s.经办人, %s.备注 "
        "%s%s "
        "order by %s.序列号",
        S, S, C, S, S, S, S, S, S, S, S, S, S, S, S, S, from(db), conditionsOf(db, filter).after(" where "),
        S);
}

Statement shipments(mySQLTool& db, const Filter& filter, quint64 offset, int count)
{
    return db.Format("%s limit %I64u, %d", allShipments(db, filter), offset, count);
}

bool keptTotals(mySQLTool& db, const Filter& filter)
{
    Filter rest = filter;
    rest.client.reset();
    return conditionsOf(db, rest).empty();
}

Statement totals(mySQLTool& db, const Filter& filter)
{
    if (keptTotals(db, filter)) {
        // Every shipment or a customer's: the totals kept by the writes, which count a shipment
        // while its order exists, joined to the customers as the list is.
        Conditions where(db);
        where.addIf(filter.client, "%s.客户号=%I64u", T);
        return db.Format(
            "select coalesce(sum(%s.行数), 0), coalesce(sum(%s.货物数量), 0), coalesce(sum(%s.损耗数量), 0), "
            "coalesce(sum(%s.原版数量), 0), coalesce(sum(%s.洗版数量), 0), coalesce(sum(%s.金额), 0) from %s "
            "straight_join %s on %s.客户号=%s.客户号%s",
            T, T, T, T, T, T, T, C, T, C, where.after(" where "));
    }
    // Summed on the server in double precision: the matches are never fetched to be added.
    return db.Format(
        "select count(*), sum(%s.货物数量), sum(%s.损耗数量), sum(%s.原版数量), sum(%s.洗版数量), "
        "sum(%s.货物数量*%s.货物单价) %s%s",
        S, S, S, S, S, S, from(db), conditionsOf(db, filter).after(" where "));
}

Statement clients(mySQLTool& db)
{
    return db.Format("select %s.客户号, %s.名称, %s.说明 from %s", C, C, C, C);
}

}  // namespace shipmentq
