// The counts and sums over the whole history read from the totals the writes keep: equal to
// the rows counted afresh after desks wrote at once, and after sql/upgrade.sql made them again.
#include "db/mySQLTool.h"
#include "dialogs/finance/FinanceQueries.h"
#include "dialogs/inquiry/InquiryProQueries.h"
#include "dialogs/shipping/ShipmentQueries.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "support/DbTest.h"

#include <random>
#include <thread>
#include <vector>

namespace {

class KeptTotals : public kvtest::DbTest {
protected:
    // A small history: orders in every state, of customers that exist and of one that was
    // removed (4); shipments of existing orders and of missing ones.
    void makeHistory()
    {
        db().exec(QStringLiteral(
            "insert into kvc_record_client (客户号, 名称) values (1, '甲'), (2, '乙'), (3, '丙')"));
        for (int i = 1; i <= 40; ++i)
            db().exec(QStringLiteral(
                          "insert into kvc_record_product (客户号, 货物数量, 原版数量, 洗版数量, 激活, 结讫) "
                          "values (%1, %2, %3, %4, %5, %6)")
                          .arg(i % 4 + 1)
                          .arg(i * 7)
                          .arg(i % 5)
                          .arg(i % 3)
                          .arg(i % 3 != 0)
                          .arg(i % 2));
        for (int i = 1; i <= 60; ++i)
            db().exec(
                QStringLiteral(
                    "insert into kvc_record_ship (货单号, 客户号, 货物数量, 损耗数量, 原版数量, 洗版数量, "
                    "货物单价) values (%1, %2, %3, %4, %5, %6, %7)")
                    .arg(i % 45 + 1)
                    .arg(i % 4 + 1)
                    .arg(i * 3)
                    .arg(i % 2)
                    .arg(i % 4)
                    .arg(i % 5)
                    .arg(0.35 * (i % 9)));
    }

    // Each kept figure beside the same figure counted from the rows.
    void expectKeptEqualsCounted(const char* when)
    {
        using inquiryproq::Filter;
        Filter every;
        every.includeClosed = true;
        Filter customer = every;
        customer.customer = 2;
        shipmentq::Filter client;
        client.client = 1;
        financeq::OrderFilter supplement;
        supplement.client = 3;
        const QString orders = QStringLiteral(
            "select count(*), coalesce(sum(p.货物数量), 0), coalesce(sum(p.原版数量), 0), "
            "coalesce(sum(p.洗版数量), 0), "
            "(select max(货单号) from kvc_record_product) from kvc_record_product p "
            "join kvc_record_client c on c.客户号=p.客户号");
        const QString shipments = QStringLiteral(
            "select count(*), coalesce(sum(s.货物数量), 0), coalesce(sum(s.损耗数量), 0), "
            "coalesce(sum(s.原版数量), 0), "
            "coalesce(sum(s.洗版数量), 0), coalesce(sum(cast(s.货物数量*s.货物单价 as decimal(38, 6))), 0) "
            "from kvc_record_ship s join kvc_record_client c on c.客户号=s.客户号 "
            "join kvc_record_product p on p.货单号=s.货单号");
        const struct {
            const char* what;
            Statement kept;
            QString counted;
        } cases[] = {
            {"shipped orders", shipperq::countShippedOrders(g_sqlTool),
             QStringLiteral("select count(*) from kvc_record_product where 激活=1 and 结讫=1")},
            {"every order", inquiryproq::ordersTotals(g_sqlTool, every), orders},
            {"a customer's orders", inquiryproq::ordersTotals(g_sqlTool, customer),
             orders + " where p.客户号=2"},
            {"the supplement's orders", financeq::countOrders(g_sqlTool, financeq::OrderFilter()),
             QStringLiteral(
                 "select count(*) from kvc_record_product p join kvc_record_client c on c.客户号=p.客户号")},
            {"a customer's orders to supplement", financeq::countOrders(g_sqlTool, supplement),
             QStringLiteral("select count(*) from kvc_record_product where 客户号=3")},
            {"every shipment", shipmentq::totals(g_sqlTool, shipmentq::Filter()), shipments},
            {"a customer's shipments", shipmentq::totals(g_sqlTool, client), shipments + " where s.客户号=1"},
        };
        for (const auto& c : cases) {
            const Rows kept = g_sqlTool.Read(c.kept);
            ASSERT_TRUE(kept.ok()) << c.what << ": " << kept.error().toStdString();
            EXPECT_EQ(kept.first().cells(), db().rows(c.counted).value(0)) << when << ", " << c.what;
        }
        // Every kept row, not only the sums the screens read.
        EXPECT_EQ(
            db().rows(QStringLiteral("select 激活, 结讫, 客户号, 槽, 行数, 货物数量, 原版数量, 洗版数量 from "
                                     "kvc_record_product_total where 行数<>0 order by 1, 2, 3, 4")),
            db().rows(QStringLiteral(
                "select 激活, 结讫, 客户号, 货单号 % 16, count(*), sum(货物数量), sum(原版数量), "
                "sum(洗版数量) from kvc_record_product group by 1, 2, 3, 4 order by 1, 2, 3, 4")))
            << when;
        EXPECT_EQ(db().rows(QStringLiteral(
                      "select 客户号, 槽, 行数, 货物数量, 损耗数量, 原版数量, 洗版数量, 金额 from "
                      "kvc_record_ship_total where 行数<>0 order by 1, 2")),
                  db().rows(QStringLiteral(
                      "select s.客户号, s.货单号 % 16, count(*), sum(s.货物数量), sum(s.损耗数量), "
                      "sum(s.原版数量), sum(s.洗版数量), "
                      "sum(cast(s.货物数量*s.货物单价 as decimal(38, 6))) from kvc_record_ship s "
                      "join kvc_record_product p on p.货单号=s.货单号 group by 1, 2 order by 1, 2")))
            << when;
    }
};

// One desk's writes: transactions of two changes each, every fifth one rolled back.
void write(mySQLTool& desk, unsigned seed, int transactions)
{
    std::mt19937 pick(seed);
    const auto n = [&pick](int below) { return static_cast<int>(pick() % static_cast<unsigned>(below)); };
    for (int t = 0; t < transactions; ++t) {
        const bool keep = t % 5 != 4;
        desk.Transact([&]() {
            for (int step = 0; step < 2; ++step) {
                const int order = n(50) + 1;
                bool ok = true;
                switch (n(8)) {
                    case 0:
                        ok = desk.Exec(
                            "insert into kvc_record_product (客户号, 货物数量, 原版数量) values (%d, %d, %d)",
                            n(4) + 1, n(100), n(5));
                        break;
                    case 1:
                        ok = desk.Exec("update kvc_record_product set 激活=1 where 货单号=%d", order);
                        break;
                    case 2:
                        ok = desk.Exec("update kvc_record_product set 结讫=1-结讫, 激活=1 where 货单号=%d",
                                       order);
                        break;
                    case 3:
                        ok = desk.Exec(
                            "update kvc_record_product set 客户号=%d, 货物数量=货物数量+%d where 货单号=%d",
                            n(4) + 1, n(9), order);
                        break;
                    case 4:
                        ok = desk.Exec("delete from kvc_record_product where 货单号=%d", order);
                        break;
                    case 5:
                        ok = desk.Exec("update kvc_record_product set 货单号=货单号+%d where 货单号=%d",
                                       100 + n(900), order);
                        break;
                    case 6:
                        ok = desk.Exec(
                            "insert into kvc_record_ship (货单号, 客户号, 货物数量, 损耗数量, 货物单价) "
                            "values (%d, %d, %d, %d, %.2f)",
                            order, n(4) + 1, n(50), n(3), 0.05 * n(100));
                        break;
                    default:
                        ok = desk.Exec(
                            "update kvc_record_ship set 货单号=%d, 货物数量=货物数量+1, 货物单价=%.2f where "
                            "序列号=%d",
                            order, 0.15 * n(30), n(70) + 1);
                }
                if (!ok)
                    return desk.Failure();
            }
            return keep ? Outcome::done() : Outcome::cancelled();
        });
    }
}

}  // namespace

TEST_F(KeptTotals, EqualTheRowsCountedAfterDesksWroteAtOnceAndAfterTheUpgradeMadeThemAgain)
{
    makeHistory();
    expectKeptEqualsCounted("the history made");

    std::vector<std::unique_ptr<mySQLTool>> desks;
    for (int i = 0; i < 4; ++i) {
        desks.push_back(std::make_unique<mySQLTool>());
        ASSERT_TRUE(db().connect(*desks.back())) << desks.back()->GetError().toStdString();
    }
    std::vector<std::thread> running;
    for (unsigned i = 0; i < desks.size(); ++i)
        running.emplace_back([&desks, i] { write(*desks[i], 17 + i, 40); });
    for (std::thread& t : running)
        t.join();
    expectKeptEqualsCounted("after the desks wrote");

    // The upgrade makes the totals again from the rows, whatever they held, and again the same.
    db().exec(
        QStringLiteral("update kvc_record_product_total set 行数=行数+5; delete from kvc_record_ship_total"));
    db().load(QStringLiteral("sql/upgrade.sql"));
    expectKeptEqualsCounted("after the upgrade");
    db().load(QStringLiteral("sql/upgrade.sql"));
    expectKeptEqualsCounted("after the upgrade loaded twice");
}
