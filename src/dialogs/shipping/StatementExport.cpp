#include "dialogs/shipping/StatementExport.h"

#include "db/Convert.h"
#include "db/ListModel.h"

namespace statementExport {

namespace {

using exporting::Kind;

exporting::Columns lineColumns(const ListModel& lines)
{
    return exporting::columnsOf(lines, {Kind::Integer, Kind::Text, Kind::Integer, Kind::Money, Kind::Money});
}

exporting::Table totalsTable(const ListModel& totals)
{
    return {exporting::columnsOf(totals, {Kind::Text, Kind::Text, Kind::Integer, Kind::Text, Kind::Money}),
            exporting::listPages(totals), quint64(totals.rows())};
}

exporting::Export document(const QString& title, const ListModel& list, const QString& sheet,
                           const Page& page)
{
    exporting::Export e;
    e.layout = exporting::Layout::ListSemicolon;
    e.document.sheet = sheet;
    e.document.tables = {{exporting::columnsOf(list, {}), exporting::listPages(list), quint64(list.rows())}};
    exporting::Document book;
    book.sheet = sheet;
    book.heading = {title, QStringLiteral("客户名称：%1").arg(page.customer),
                    QStringLiteral("起止日期：%1 至 %2").arg(page.start, page.end)};
    e.workbook = book;
    return e;
}

}  // namespace

exporting::Export settlement(const ListModel& lines, const ListModel& totals, const Page& page)
{
    exporting::Export e = document(QStringLiteral("洗水厂结算单"), lines, QStringLiteral("客户结算单"), page);
    e.workbook->tables = {{lineColumns(lines), exporting::listPages(lines), quint64(lines.rows())},
                          totalsTable(totals)};
    return e;
}

exporting::Export statement(const ListModel& lines, const ListModel& shipments, const ListModel& totals,
                            const Page& page)
{
    exporting::Export e =
        document(QStringLiteral("洗水厂对账单"), shipments, QStringLiteral("客户对账单"), page);
    const exporting::Columns shipmentColumns =
        exporting::columnsOf(shipments, {Kind::Integer, Kind::Integer, Kind::Moment, Kind::Integer,
                                         Kind::Text, Kind::Integer, Kind::Money, Kind::Text});
    for (int i = 0; i < lines.rows(); ++i) {
        const quint64 key = convert::toId(lines.cell(i, 0));
        e.workbook->tables.append(
            {lineColumns(lines), exporting::listPages(lines, [i](int r) { return r == i; }), 1});
        e.workbook->tables.append({shipmentColumns, exporting::listPages(shipments, [&shipments, key](int r) {
                                       return convert::toId(shipments.cell(r, 0)) == key;
                                   })});
    }
    e.workbook->tables.append(totalsTable(totals));
    return e;
}

}  // namespace statementExport
