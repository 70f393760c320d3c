#include "print/Layouts.h"

#include "db/Convert.h"
#include "db/ListModel.h"
#include "print/PageText.h"

#include <span>

namespace layout {

namespace {

using Widths = std::span<const int>;

void heading(PageText& t, const QString& title, const QString& customer, const QString& start,
             const QString& end)
{
    t.pad(40);
    t.put(title, 30);
    t.newLine(3);
    t.pad(kListMargin);
    t.put(QStringLiteral("客户名称：%1").arg(customer), 40);
    t.newLine();
    t.pad(kListMargin);
    t.put(QStringLiteral("起止日期：%1 至 %2").arg(start, end), 50);
    t.newLine(2);
}

void captions(PageText& t, const ListModel& list, Widths widths)
{
    t.pad(kListMargin);
    for (size_t i = 0; i < widths.size(); ++i) {
        const int column = static_cast<int>(i);
        t.put(column < list.columns() ? list.column(column).caption : QString(), widths[i]);
    }
    t.newLine();
}

// One row; the cell of `restColumn` that does not fit continues on lines of its own
// until all of it is printed.
void row(PageText& t, const ListModel& list, int r, Widths widths, int restColumn)
{
    QString rest;
    t.pad(kListMargin);
    for (size_t i = 0; i < widths.size(); ++i) {
        const int column = static_cast<int>(i);
        t.put(list.cell(r, column), widths[i], column == restColumn ? &rest : nullptr);
    }
    t.newLine();
    while (!rest.isEmpty()) {
        const QString before = rest;
        t.pad(kListMargin);
        for (int i = 0; i < restColumn; ++i)
            t.put(QString(), widths[static_cast<size_t>(i)]);
        t.put(before, widths[static_cast<size_t>(restColumn)], &rest);
        t.newLine();
        if (rest == before)
            break;
    }
}

}  // namespace

QString docket(const DocketRecord& r)
{
    PageText t;
    t.pad(16);
    t.put(r.customerName, 20);
    t.pad(6);
    t.put(r.orderNumber, 20);
    t.pad(6);
    t.put(r.printTime, 20);
    t.newLine(3);

    QString product, method, remark;
    t.pad(6);
    t.put(r.styleNumber, 10);
    t.pad(2);
    t.put(r.productName, 6, &product);
    t.pad(2);
    t.put(r.washingMethod, 40, &method);
    t.put(r.goodsQuantity, 6);
    t.put(r.unitPrice, 6);
    t.pad(2);
    t.put(r.amount, 8);
    t.put(r.remark, 10, &remark);
    t.newLine();

    for (int i = 0; i < kDocketContinuations; ++i) {
        if (!product.isEmpty()) {
            t.pad(18);
            t.put(QString(product), 6, &product);
        } else {
            t.pad(24);
        }
        if (!method.isEmpty()) {
            t.pad(2);
            t.put(QString(method), 40, &method);
        } else {
            t.pad(42);
        }
        if (!remark.isEmpty()) {
            t.pad(22);
            t.put(QString(remark), 10, &remark);
        }
        t.newLine();
    }

    t.newLine();
    t.pad(16);
    t.put(r.originalQuantity, 6);
    t.pad(10);
    t.put(r.washedQuantity, 10);
    t.pad(14);
    t.put(r.goodsQuantityTotal, 14);
    t.pad(14);
    t.put(r.totalAmount, 12);
    t.newLine(2);

    t.pad(16);
    t.put(r.issuer, 20);
    t.pad(8);
    t.put(r.shipper, 20);
    t.newLine();
    return t.text();
}

QString settlement(const ListModel& list, const ListModel& totals, const QString& customer,
                   const QString& start, const QString& end)
{
    if (list.rows() == 0)
        return QString();
    PageText t;
    heading(t, QStringLiteral("洗水厂结算单"), customer, start, end);
    captions(t, list, kSettlementWidths);
    for (int r = 0; r < list.rows(); ++r)
        row(t, list, r, kSettlementWidths, 1);
    t.newLine(2);
    captions(t, totals, kSettlementWidths);
    if (totals.rows() > 0)
        row(t, totals, 0, kSettlementWidths, 1);
    return t.text();
}

QString statement(const ListModel& list, const ListModel& shipments, const QString& customer,
                  const QString& start, const QString& end)
{
    if (list.rows() == 0)
        return QString();
    PageText t;
    heading(t, QStringLiteral("洗水厂对账单"), customer, start, end);
    const int remarkColumn = static_cast<int>(std::size(kStatementWidths)) - 1;
    for (int i = 0; i < list.rows(); ++i) {
        const quint64 key = convert::toId(list.cell(i, 0));
        captions(t, list, kSettlementWidths);
        row(t, list, i, kSettlementWidths, 1);
        t.newLine();
        captions(t, shipments, kStatementWidths);
        for (int r = 0; r < shipments.rows(); ++r) {
            if (convert::toId(shipments.cell(r, 0)) == key)
                row(t, shipments, r, kStatementWidths, remarkColumn);
        }
        t.newLine(2);
    }
    return t.text();
}

}  // namespace layout
