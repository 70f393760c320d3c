#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "flow/Shipping.h"
#include "support/DbTest.h"

#include <QThread>
#include <atomic>
#include <thread>

using namespace shipping;

namespace {

const QString kNowText = QStringLiteral("2026-12-08 09:30:00");

class ShippingFlow : public kvtest::DbTest {
public:
    // The identity that uses this screen, with its database role.
    ShippingFlow() { signInAs(QStringLiteral("厂长")); }

protected:
    // An activated order of a customer named 客户甲.
    quint64 addOrder(int goods, int loss = 0, const QString& nature = QStringLiteral("新货"),
                     double price = 2.5, int original = 0, int washed = 0)
    {
        if (db().count(QStringLiteral("from kvc_record_client")) == 0)
            db().exec(QStringLiteral("insert into kvc_record_client (名称, 激活) values ('客户甲', 1)"));
        db().exec(
            QStringLiteral(
                "insert into kvc_record_product (款号, 客户号, 货物数量, 货物性质, 货物分类, 货物款式, "
                "货物性别, 洗涤方法, 货物单价, 原版数量, 洗版数量, 损耗数量, 货物等级, 激活) values "
                "(4711, 1, %1, '%2', '牛仔裤', '直筒', '男装', '[普洗][猫须]', %3, %4, %5, %6, '加急', 1)")
                .arg(goods)
                .arg(nature)
                .arg(price)
                .arg(original)
                .arg(washed)
                .arg(loss));
        return db().scalar(QStringLiteral("select max(货单号) from kvc_record_product")).toULongLong();
    }
    quint64 addFlow(quint64 order, const QString& previous, const QString& station, int count,
                    const QString& route = QStringLiteral("接收[接收]-洗水[普洗]"), int closed = 0)
    {
        db().exec(
            QStringLiteral(
                "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, "
                "生成时间, 历史, 结讫) values (%1, 1, '加急', NULL, '%2', '%3', %4, '2026-12-07 10:00:00', "
                "'%5', %6)")
                .arg(order)
                .arg(previous, station)
                .arg(count)
                .arg(route)
                .arg(closed));
        return db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
    }
    Shipment entry(quint64 order, int goods, int loss = 0)
    {
        Shipment s;
        s.order = order;
        s.goods = goods;
        s.loss = loss;
        s.shipper = QStringLiteral("黄永发");
        s.issuer = QStringLiteral("张志明");
        s.account = QStringLiteral("tester");
        return s;
    }
    QString flowField(quint64 flow, const QString& column)
    {
        return db().scalar(
            QStringLiteral("select %1 from kvc_record_procedure where 流水号=%2").arg(column).arg(flow));
    }
    QString orderState(quint64 order)
    {
        return db().scalar(QStringLiteral("select 结讫 from kvc_record_product where 货单号=%1").arg(order));
    }
    int openConfirmed(quint64 order)
    {
        return db().count(
            QStringLiteral("from kvc_record_procedure where 货单号=%1 and 上一站='发送' and 工作站='发送' "
                           "and 结讫=0")
                .arg(order));
    }
    int shipments(quint64 order)
    {
        return db().count(QStringLiteral("from kvc_record_ship where 货单号=%1").arg(order));
    }
};

}  // namespace

TEST_F(ShippingFlow, ConfirmClosesTheFlowOnceAndTheSuccessorKeepsItsOwnOrder)
{
    const quint64 other = addOrder(10);
    const quint64 order = addOrder(100);
    const quint64 waiting = addFlow(order, QStringLiteral("喷砂"), flow::kShipping, 60);
    ASSERT_GT(order, other);

    FlowMove moved;
    ASSERT_TRUE(confirmFlow(g_sqlTool, waiting, QStringLiteral("tester"), &moved).ok())
        << g_sqlTool.GetError().toStdString();
    EXPECT_EQ(moved.order, order);
    EXPECT_EQ(db().rows(QStringLiteral(
                            "select 工序, 结讫, 结讫时间, 经办人 from kvc_record_procedure where 流水号=%1")
                            .arg(waiting)),
              (QList<QStringList>{{"确认", "1", kNowText, "tester"}}));
    EXPECT_EQ(
        db().rows(QStringLiteral(
                      "select 货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, 生成时间, 历史, 结讫 "
                      "from kvc_record_procedure where 流水号=%1")
                      .arg(moved.created)),
        (QList<QStringList>{{QString::number(order), "1", "加急", QString::number(waiting), "发送", "发送",
                             "60", kNowText, "接收[接收]-洗水[普洗]-发送[确认]", "0"}}));

    // A second desk that still shows the flow is refused and nothing is doubled.
    mySQLTool other_desk;
    ASSERT_TRUE(db().connect(other_desk));
    const Outcome again = confirmFlow(other_desk, waiting, QStringLiteral("desk2"));
    EXPECT_EQ(again.kind(), Outcome::Kind::Taken);
    EXPECT_EQ(again.text(), flow::kFlowTaken);
    const Outcome back = returnFlow(other_desk, waiting, QStringLiteral("desk2"));
    EXPECT_EQ(back.text(), flow::kFlowTaken);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=%1").arg(waiting)), 1);
    EXPECT_EQ(flowField(waiting, QStringLiteral("经办人")), QStringLiteral("tester"));

    // Only goods waiting for confirmation move: not the confirmed flow, not unknown ones.
    EXPECT_EQ(confirmFlow(g_sqlTool, moved.created, QStringLiteral("tester")).text(), kBadFlow);
    EXPECT_EQ(returnFlow(g_sqlTool, 0, QStringLiteral("tester")).text(), kBadFlow);
    EXPECT_EQ(confirmFlow(g_sqlTool, 999999, QStringLiteral("tester")).text(), kBadFlow);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 2);
}

TEST_F(ShippingFlow, ReturnSendsTheGoodsBackToTheStationTheyCameFrom)
{
    const quint64 order = addOrder(100);
    const quint64 waiting = addFlow(order, flow::kWashing, flow::kShipping, 40, QStringLiteral("接收[接收]"));
    FlowMove moved;
    ASSERT_TRUE(returnFlow(g_sqlTool, waiting, QStringLiteral("tester"), &moved).ok());
    EXPECT_EQ(flowField(waiting, QStringLiteral("concat(工序, '/', 结讫)")), QStringLiteral("转发/1"));
    EXPECT_EQ(
        db().rows(QStringLiteral(
                      "select 货单号, 上一号, 上一站, 工作站, 数量, 历史, 结讫 from kvc_record_procedure "
                      "where 流水号=%1")
                      .arg(moved.created)),
        (QList<QStringList>{{QString::number(order), QString::number(waiting), "发送", "洗水", "40",
                             "接收[接收]-发送[转发]", "0"}}));
}

TEST_F(ShippingFlow, AFailingSuccessorLeavesTheFlowOpen)
{
    const quint64 order = addOrder(100);
    const quint64 waiting = addFlow(order, QStringLiteral("喷砂"), flow::kShipping, 60);
    db().exec(
        QStringLiteral("create trigger no_flows before insert on kvc_record_procedure for each row "
                       "signal sqlstate '45000' set message_text = 'no new flows'"));
    for (const Outcome& r : {confirmFlow(g_sqlTool, waiting, QStringLiteral("tester")),
                             returnFlow(g_sqlTool, waiting, QStringLiteral("tester"))}) {
        EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
        EXPECT_TRUE(r.text().contains(QStringLiteral("no new flows"))) << r.text().toStdString();
    }
    EXPECT_EQ(flowField(waiting, QStringLiteral("concat(结讫, '/', 工序)")), QStringLiteral("0/"));
}

TEST_F(ShippingFlow, OneShipmentOfGoodsAndLossesClosesTheOrderAndItsConfirmedFlows)
{
    const quint64 order = addOrder(100, 2);
    const quint64 done = addFlow(order, flow::kShipping, flow::kShipping, 98);
    // Waiting goods do not hold the closing back.
    const quint64 waiting = addFlow(order, QStringLiteral("喷砂"), flow::kShipping, 5);
    Shipped shipped;
    ASSERT_TRUE(ship(g_sqlTool, entry(order, 98, 2), &shipped).ok()) << g_sqlTool.GetError().toStdString();
    EXPECT_TRUE(shipped.closed);
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 序列号, 货单号, 客户号, 开票人, 发货人, 发送时间, 款号, 品名, 洗涤方法, 货物数量, "
                  "损耗数量, 原版数量, 洗版数量, 货物单价, 经办人 from kvc_record_ship")),
              (QList<QStringList>{{QString::number(shipped.serial), QString::number(order), "1", "张志明",
                                   "黄永发", kNowText, "4711", "男装牛仔裤直筒", "[普洗][猫须]", "98", "2",
                                   "0", "0", "2.5", "tester"}}));
    EXPECT_EQ(orderState(order), QStringLiteral("1"));
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 结讫时间 from kvc_record_product where 货单号=%1").arg(order)),
        kNowText);
    EXPECT_EQ(flowField(done, QStringLiteral("结讫")), QStringLiteral("1"));
    EXPECT_EQ(flowField(waiting, QStringLiteral("结讫")), QStringLiteral("0"));
}

TEST_F(ShippingFlow, TheSecondShipmentClosesWhatTheFirstLeftOpen)
{
    const quint64 order = addOrder(100, 2);
    addFlow(order, flow::kShipping, flow::kShipping, 98);
    Shipped first;
    ASSERT_TRUE(ship(g_sqlTool, entry(order, 50), &first).ok());
    EXPECT_FALSE(first.closed);
    EXPECT_EQ(orderState(order), QStringLiteral("0"));
    EXPECT_EQ(openConfirmed(order), 1);

    // 48 is all that is left; 49 is more than was confirmed.
    EXPECT_EQ(ship(g_sqlTool, entry(order, 49, 2)).text(), kTooMuch);
    Shipped second;
    ASSERT_TRUE(ship(g_sqlTool, entry(order, 48, 2), &second).ok());
    EXPECT_TRUE(second.closed);
    EXPECT_GT(second.serial, first.serial);
    EXPECT_EQ(orderState(order), QStringLiteral("1"));
    EXPECT_EQ(openConfirmed(order), 0);
    EXPECT_EQ(shipments(order), 2);
}

TEST_F(ShippingFlow, GoodsStillInTheWorkshopOrUnshippedPatternsKeepTheOrderOpen)
{
    const quint64 atStation = addOrder(100);
    addFlow(atStation, flow::kShipping, flow::kShipping, 90);
    addFlow(atStation, QStringLiteral("洗水"), QStringLiteral("手工"), 10);
    Shipped a;
    ASSERT_TRUE(ship(g_sqlTool, entry(atStation, 90, 10), &a).ok());
    EXPECT_FALSE(a.closed);
    EXPECT_EQ(orderState(atStation), QStringLiteral("0"));

    const quint64 patterns = addOrder(10, 0, QStringLiteral("新货"), 1.0, 2, 1);
    addFlow(patterns, flow::kShipping, flow::kShipping, 10);
    Shipment s = entry(patterns, 10);
    s.original = 2;
    Shipped b;
    ASSERT_TRUE(ship(g_sqlTool, s, &b).ok());
    EXPECT_FALSE(b.closed);  // one 洗版 still owed
    s = entry(patterns, 0);
    s.original = 1;
    EXPECT_EQ(ship(g_sqlTool, s).text(), kTooMuch);
    s.original = 0;
    s.washed = 1;
    ASSERT_TRUE(ship(g_sqlTool, s, &b).ok());
    EXPECT_TRUE(b.closed);
}

TEST_F(ShippingFlow, ReworkShipsFreeAndOtherGoodsKeepTheirPrice)
{
    const quint64 rework = addOrder(20, 0, QStringLiteral("返工"), 3.3);
    const quint64 other = addOrder(20, 0, QStringLiteral("其它"), 3.333);
    addFlow(rework, flow::kShipping, flow::kShipping, 20);
    addFlow(other, flow::kShipping, flow::kShipping, 20);
    ASSERT_TRUE(ship(g_sqlTool, entry(rework, 20)).ok());
    ASSERT_TRUE(ship(g_sqlTool, entry(other, 20)).ok());
    EXPECT_EQ(
        db().rows(QStringLiteral("select 货单号, 洗涤方法, 货物单价 from kvc_record_ship order by 序列号")),
        (QList<QStringList>{{QString::number(rework), "返工", "0"},
                            {QString::number(other), "其它", "3.33"}}));
}

TEST_F(ShippingFlow, EntriesThatDoNotFitAreRefusedAndWriteNothing)
{
    const quint64 order = addOrder(100, 2);
    addFlow(order, flow::kShipping, flow::kShipping, 30);
    EXPECT_EQ(ship(g_sqlTool, entry(order, 0)).text(), kNothingToShip);
    EXPECT_EQ(ship(g_sqlTool, entry(order, 31)).text(), kTooMuch);
    EXPECT_EQ(ship(g_sqlTool, entry(order, -5, 10)).text(), kBadCount);
    Shipment s = entry(order, 1);
    s.original = 1;  // the order has no 原版
    EXPECT_EQ(ship(g_sqlTool, s).text(), kTooMuch);
    EXPECT_EQ(ship(g_sqlTool, entry(0, 1)).text(), kBadOrder);
    EXPECT_EQ(ship(g_sqlTool, entry(order + 1, 1)).text(), kBadOrder);
    EXPECT_EQ(shipments(order), 0);
    // More losses than registered are only warned about on the desk.
    EXPECT_TRUE(ship(g_sqlTool, entry(order, 0, 5)).ok());
}

TEST_F(ShippingFlow, WithoutQuantityAccountingShippedGoodsAreNotSubtracted)
{
    const quint64 order = addOrder(200);
    addFlow(order, flow::kShipping, flow::kShipping, 98);
    ASSERT_TRUE(ship(g_sqlTool, entry(order, 50)).ok());
    EXPECT_EQ(ship(g_sqlTool, entry(order, 98)).text(), kTooMuch);
    Shipment s = entry(order, 98);
    s.noQuantityCheck = true;
    EXPECT_TRUE(ship(g_sqlTool, s).ok());
    s.goods = 99;
    EXPECT_EQ(ship(g_sqlTool, s).text(), kTooMuch);
    EXPECT_EQ(shipments(order), 2);
}

TEST_F(ShippingFlow, TwoDesksShippingTheSameGoodsShipThemOnce)
{
    const quint64 order = addOrder(100, 2);
    addFlow(order, flow::kShipping, flow::kShipping, 98);
    mySQLTool deskA, deskB;
    ASSERT_TRUE(db().connect(deskA));
    ASSERT_TRUE(db().connect(deskB));

    // Desk A is in the middle of its shipment when desk B sends the same one.
    ASSERT_TRUE(deskA.Begin());
    ASSERT_TRUE(deskA.Read(
        deskA.Format("select 货单号 from kvc_record_product where 货单号=%I64u for update", order)));
    Outcome second = Outcome::done();
    std::thread b([&] { second = ship(deskB, entry(order, 98, 2)); });
    QThread::msleep(300);
    Shipped shipped;
    const Outcome first = ship(deskA, entry(order, 98, 2), &shipped);
    ASSERT_TRUE(deskA.Commit());
    b.join();

    EXPECT_TRUE(first.ok()) << first.text().toStdString();
    EXPECT_TRUE(shipped.closed);
    // The first shipment closed the order.
    EXPECT_EQ(second.kind(), Outcome::Kind::Taken);
    EXPECT_EQ(second.text(), kOrderClosed);
    EXPECT_EQ(shipments(order), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select sum(货物数量) from kvc_record_ship")), QStringLiteral("98"));
}

TEST_F(ShippingFlow, AFailedClosingTakesTheShipmentBack)
{
    const quint64 order = addOrder(100, 2);
    const quint64 done = addFlow(order, flow::kShipping, flow::kShipping, 98);
    db().exec(
        QStringLiteral("create trigger no_closing before update on kvc_record_product for each row "
                       "signal sqlstate '45000' set message_text = 'closing refused'"));
    const Outcome r = ship(g_sqlTool, entry(order, 98, 2));
    EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
    EXPECT_TRUE(r.text().contains(QStringLiteral("closing refused")));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_ship")), 0);
    EXPECT_EQ(orderState(order), QStringLiteral("0"));
    EXPECT_EQ(flowField(done, QStringLiteral("结讫")), QStringLiteral("0"));
}

TEST_F(ShippingFlow, ForcedClosingWaitsForTheWorkshopAndThenClosesEveryFlow)
{
    const quint64 order = addOrder(100);
    const quint64 confirmed = addFlow(order, flow::kShipping, flow::kShipping, 50);
    const quint64 waiting = addFlow(order, QStringLiteral("喷砂"), flow::kShipping, 20);
    const quint64 atStation = addFlow(order, QStringLiteral("洗水"), QStringLiteral("手工"), 30);
    EXPECT_EQ(checkNotInWorkshop(g_sqlTool, order).text(), kInWorkshop);
    EXPECT_EQ(forceClose(g_sqlTool, order).text(), kInWorkshop);
    EXPECT_EQ(orderState(order), QStringLiteral("0"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 结讫<>0")), 0);

    db().exec(QStringLiteral("update kvc_record_procedure set 结讫=1 where 流水号=%1").arg(atStation));
    // Both updates or neither.
    db().exec(
        QStringLiteral("create trigger no_flow_updates before update on kvc_record_procedure for each row "
                       "signal sqlstate '45000' set message_text = 'flows locked'"));
    EXPECT_EQ(forceClose(g_sqlTool, order).kind(), Outcome::Kind::Failed);
    EXPECT_EQ(orderState(order), QStringLiteral("0"));
    db().exec(QStringLiteral("drop trigger no_flow_updates"));

    ASSERT_TRUE(forceClose(g_sqlTool, order).ok());
    EXPECT_EQ(orderState(order), QStringLiteral("1"));
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 结讫时间 from kvc_record_product where 货单号=%1").arg(order)),
        kNowText);
    for (quint64 f : {confirmed, waiting, atStation})
        EXPECT_EQ(flowField(f, QStringLiteral("结讫")), QStringLiteral("1")) << f;
    EXPECT_EQ(forceClose(g_sqlTool, 0).text(), kBadOrder);
}

TEST_F(ShippingFlow, RepairClosesOnlyConfirmedFlowsOfClosedOrders)
{
    EXPECT_TRUE(repair(g_sqlTool).ok());  // nothing to repair is no failure

    const quint64 closed = addOrder(100);
    const quint64 open = addOrder(100);
    const quint64 leftOver = addFlow(closed, flow::kShipping, flow::kShipping, 10);
    const quint64 stillWaiting = addFlow(closed, QStringLiteral("喷砂"), flow::kShipping, 10);
    const quint64 openConfirmedFlow = addFlow(open, flow::kShipping, flow::kShipping, 10);
    db().exec(QStringLiteral("update kvc_record_product set 结讫=1 where 货单号=%1").arg(closed));
    ASSERT_TRUE(repair(g_sqlTool).ok());
    EXPECT_EQ(flowField(leftOver, QStringLiteral("结讫")), QStringLiteral("1"));
    EXPECT_EQ(flowField(stillWaiting, QStringLiteral("结讫")), QStringLiteral("0"));
    EXPECT_EQ(flowField(openConfirmedFlow, QStringLiteral("结讫")), QStringLiteral("0"));
}

// "结讫货单" at one desk while "退还" of the order's waiting goods runs at another, in the
// worst moment: the return has closed the waiting flow and is about to write its
// successor at the station (a third session holds the end of the flow table for a while).
// One of the two goes through and the other is refused, and the database says what the
// desks were told: goods sent back to a station are never closed with their order.
TEST_F(ShippingFlow, ClosingAnOrderAndSendingItsGoodsBackTakeTurns)
{
    constexpr int kRounds = 10;
    mySQLTool closer, returner, holder;
    ASSERT_TRUE(db().connect(closer));
    ASSERT_TRUE(db().connect(returner));
    ASSERT_TRUE(db().connect(holder));
    // The server refreshes what it shows of its transactions only after 0.1 s without a look.
    auto waits = [&](quint64 session) {
        for (int i = 0; i < 40; ++i) {
            QThread::msleep(150);
            if (db().count(
                    QStringLiteral("from information_schema.innodb_trx where trx_mysql_thread_id=%1 and "
                                   "trx_state='LOCK WAIT'")
                        .arg(session)) > 0)
                return true;
        }
        return false;
    };
    int wrong = 0;
    for (int round = 0; round < kRounds; ++round) {
        const quint64 order = addOrder(40);
        const quint64 waiting = addFlow(order, QStringLiteral("洗水"), flow::kShipping, 40);
        ASSERT_TRUE(holder.Begin());
        ASSERT_TRUE(holder.Read(holder.Format("select 流水号 from %s where 流水号>%I64u for update",
                                              tables::procedure, waiting)));
        Outcome returned = Outcome::cancelled(), closed = Outcome::cancelled();
        std::thread a([&] { returned = returnFlow(returner, waiting, QStringLiteral("desk1")); });
        EXPECT_TRUE(waits(returner.ThreadId()));
        std::atomic<bool> closing{true};
        std::thread b([&] {
            closed = forceClose(closer, order);
            closing = false;
        });
        while (closing && !waits(closer.ThreadId()))
            ;
        EXPECT_TRUE(holder.Commit());
        a.join();
        b.join();
        const int atStation = db().count(
            QStringLiteral("from kvc_record_procedure where 货单号=%1 and 工作站='洗水' and 结讫=0")
                .arg(order));
        const bool orderClosed = orderState(order) == QStringLiteral("1");
        const bool right = returned.ok() ? closed.text() == kInWorkshop && atStation == 1 && !orderClosed
                                         : closed.ok() && returned.isTaken() && atStation == 0 && orderClosed;
        wrong += right ? 0 : 1;
    }
    EXPECT_EQ(wrong, 0) << "of " << kRounds << " rounds";
}

// A desk that still shows an order another desk closed cannot ship against it, not even
// where the figures would let it (禁止数量核算, an order closed without shipments).
TEST_F(ShippingFlow, OnlyAnOpenOrderIsShipped)
{
    struct Case {
        const char* closedBy;
        bool noQuantityCheck;
    };
    for (const Case& c : {Case{"结讫货单", true}, Case{"结讫货单", false}, Case{"发货", true}}) {
        const quint64 order = addOrder(100, 2);
        addFlow(order, flow::kShipping, flow::kShipping, 98);
        mySQLTool other;
        ASSERT_TRUE(db().connect(other));
        if (QByteArray(c.closedBy) == "发货")
            ASSERT_TRUE(ship(other, entry(order, 98, 2)).ok());
        else
            ASSERT_TRUE(forceClose(other, order).ok());
        const int before = shipments(order);
        Shipment s = entry(order, 98, 2);
        s.noQuantityCheck = c.noQuantityCheck;
        const Outcome r = ship(g_sqlTool, s);
        EXPECT_EQ(r.kind(), Outcome::Kind::Taken) << c.closedBy;
        EXPECT_EQ(r.text(), kOrderClosed);
        EXPECT_EQ(shipments(order), before) << c.closedBy;
    }
}

// Closing closes an open order only: its first closing time stays, and flows that intake
// refused keep saying so.
TEST_F(ShippingFlow, AClosedOrderKeepsItsFirstClosingTime)
{
    const quint64 order = addOrder(100, 2);
    addFlow(order, flow::kShipping, flow::kShipping, 98);
    ASSERT_TRUE(ship(g_sqlTool, entry(order, 98, 2)).ok());
    kvclock::fix(kNow.addDays(1));
    const Outcome again = forceClose(g_sqlTool, order);
    EXPECT_EQ(again.kind(), Outcome::Kind::Taken);
    EXPECT_EQ(again.text(), kOrderClosed);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 结讫时间 from kvc_record_product where 货单号=%1").arg(order)),
        kNowText);

    const quint64 other = addOrder(10);
    addFlow(other, flow::kShipping, flow::kShipping, 10);
    const quint64 refused =
        addFlow(other, QStringLiteral("喷砂"), flow::kIntake, 5, QStringLiteral("接收[接收]"), 2);
    ASSERT_TRUE(forceClose(g_sqlTool, other).ok());
    EXPECT_EQ(flowField(refused, QStringLiteral("结讫")), QStringLiteral("2"));
}
