#pragma once

#include "support/DbTest.h"
#include "support/ScreenDriver.h"

#include <QString>

namespace kvtest {

// A shipment row as a test writes it.
struct Ship {
    quint64 client = 2;
    quint64 order = 1;
    QString sent = QStringLiteral("2026-11-10 09:00:00");
    QString article = QStringLiteral("女装牛仔裤修身");
    QString method = QStringLiteral("[石磨]");
    int goods = 10;
    QString price = QStringLiteral("2.5");  // SQL: "NULL" for none
    QString shipper = QStringLiteral("黄永发");
    QString issuer = QStringLiteral("张志明");
    QString remark;
    int loss = 0, original = 0, washed = 0;
};

// Shipment rows written as the shipping desk writes them, on the demo master data.
class ShipmentFixture : public DemoDbTest, public ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    ShipmentFixture() { signInAs(QStringLiteral("财务")); }

protected:
    using Ship = kvtest::Ship;

    // The new shipment's 序列号. Its order is made (closed, shipped) when there is none.
    quint64 ship(const Ship& s)
    {
        db().exec(
            QStringLiteral("insert ignore into kvc_record_product (货单号, 客户号, 货物数量, 激活, 结讫) "
                           "values (%1, %2, %3, 1, 1)")
                .arg(s.order)
                .arg(s.client)
                .arg(s.goods));
        db().exec(
            QStringLiteral(
                "insert into kvc_record_ship (货单号, 客户号, 开票人, 发货人, 发送时间, 品名, 洗涤方法, "
                "货物数量, 损耗数量, 原版数量, 洗版数量, 货物单价, 经办人, 备注) values (%1, %2, '%3', "
                "'%4', '%5', '%6', '%7', %8, %9, %10, %11, %12, 'tester', '%13')")
                .arg(s.order)
                .arg(s.client)
                .arg(s.issuer, s.shipper, s.sent, s.article, s.method)
                .arg(s.goods)
                .arg(s.loss)
                .arg(s.original)
                .arg(s.washed)
                .arg(s.price, s.remark));
        return db().scalar(QStringLiteral("select max(序列号) from kvc_record_ship")).toULongLong();
    }

    // An order of that nature; its 货单号.
    quint64 order(const QString& nature)
    {
        db().exec(
            QStringLiteral("insert into kvc_record_product (款号, 客户号, 货物数量, 货物性质, 洗涤方法, "
                           "激活, 结讫) values (1, 2, 100, '%1', '[石磨]', 1, 1)")
                .arg(nature));
        return db().scalar(QStringLiteral("select max(货单号) from kvc_record_product")).toULongLong();
    }

    // The first cells of a grid's rows.
    static QStringList keys(const KvGrid* g)
    {
        QStringList out;
        for (int r = 0; r < g->GetItemCount(); ++r)
            out << g->GetItemText(r, 0);
        return out;
    }
    static QStringList rowCells(const KvGrid* g, int row)
    {
        QStringList out;
        for (int c = 0; c < g->GetColumnCount(); ++c)
            out << g->GetItemText(row, c);
        return out;
    }
};

}  // namespace kvtest
