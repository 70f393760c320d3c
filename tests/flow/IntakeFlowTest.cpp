#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "flow/Intake.h"
#include "support/DbTest.h"

#include <QThread>
#include <thread>

using namespace intake;

namespace {

const QString kNowText = QStringLiteral("2026-12-08 09:30:00");

class IntakeFlow : public kvtest::DbTest {
public:
    // The identity that uses this screen, with its database role.
    IntakeFlow() { signInAs(QStringLiteral("厂长")); }

protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db().exec(
            QStringLiteral("insert into kvc_record_client (名称, 激活) values ('客户甲', 1), ('客户乙', 1)"));
    }
    static Order order(int goods = 120)
    {
        Order o;
        o.client = 2;
        o.receiver = QStringLiteral("黄永发");
        o.nature = QStringLiteral("新货");
        o.type = QStringLiteral("牛仔裤");
        o.kind = QStringLiteral("直筒");
        o.sex = QStringLiteral("男装");
        o.method = QStringLiteral("[普洗][猫须]");
        o.price = 2.5f;
        o.lossPrice = 5;
        o.goods = goods;
        o.priority = QStringLiteral("加急");
        o.account = QStringLiteral("tester");
        o.original = 2;
        o.washed = 1;
        o.style = 4711;
        return o;
    }
    quint64 waitingOrder(int goods = 80, const QString& priority = QStringLiteral("一般"))
    {
        Written w;
        Order o = order(goods);
        o.priority = priority;
        EXPECT_TRUE(submitOrder(g_sqlTool, o, false, 0, QString(), &w).ok());
        return w.order;
    }
    quint64 intakeFlow(int count = 40)
    {
        db().exec(QStringLiteral(
                      "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, "
                      "数量, 生成时间, 历史) values (7, 2, '紧急', 900, '喷砂', '接收', %1, "
                      "'2026-12-07 10:00:00', '接收[接收]-洗水[普洗]-喷砂[转发]')")
                      .arg(count));
        return db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
    }
    QList<QStringList> flowsAfter(quint64 flow)
    {
        return db().rows(
            QStringLiteral("select 货单号, 客户号, 货物等级, 上一站, 工作站, 数量, 生成时间, 历史, 经办人, "
                           "结讫 from kvc_record_procedure where 上一号=%1")
                .arg(flow));
    }
    void failInserts(const char* table)
    {
        db().exec(QStringLiteral("create trigger no_insert before insert on %1 for each row "
                                 "signal sqlstate '45000' set message_text = 'insert refused'")
                      .arg(QString::fromLatin1(table)));
    }
};

}  // namespace

TEST_F(IntakeFlow, ActivationWritesTheOrderAndItsFirstFlowUnderTheInsertedNumber)
{
    Written w;
    const Outcome r = submitOrder(g_sqlTool, order(), true, 0, QString(), &w);
    ASSERT_TRUE(r.ok()) << r.text().toStdString();
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 货单号, 款号, 客户号, 货物数量, 接货人, 接货时间, 货物性质, 货物分类, "
                  "货物款式, 货物性别, 洗涤方法, 货物单价, 损耗单价, 原版数量, 洗版数量, 货物等级, "
                  "关联, 激活, 激活时间, 结讫, 经办人 from kvc_record_product")),
              (QList<QStringList>{{QString::number(w.order),
                                   "4711",
                                   "2",
                                   "120",
                                   "黄永发",
                                   kNowText,
                                   "新货",
                                   "牛仔裤",
                                   "直筒",
                                   "男装",
                                   "[普洗][猫须]",
                                   "2.5",
                                   "5",
                                   "2",
                                   "1",
                                   "加急",
                                   "0",
                                   "1",
                                   kNowText,
                                   "0",
                                   "tester"}}));
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 流水号, 货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, 生成时间, "
                  "历史, 结讫 from kvc_record_procedure")),
              (QList<QStringList>{{QString::number(w.flow), QString::number(w.order), "2", "加急", QString(),
                                   "接收", "洗水", "120", kNowText, "接收[接收]", "0"}}));

    // A waiting order gets no flow and no activation time.
    const quint64 waiting = waitingOrder();
    EXPECT_EQ(waiting, w.order + 1);
    EXPECT_EQ(
        db().rows(
            QStringLiteral("select 激活, 激活时间 from kvc_record_product where 货单号=%1").arg(waiting)),
        (QList<QStringList>{{"0", ""}}));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 1);
}

TEST_F(IntakeFlow, AFailedFirstFlowLeavesNeitherOrderNorNewCustomer)
{
    failInserts("kvc_record_procedure");
    Written w;
    const Outcome r = submitOrder(g_sqlTool, order(), true, 0, QStringLiteral("新客户丙"), &w);
    EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
    EXPECT_TRUE(r.text().contains(QStringLiteral("insert refused"))) << r.text().toStdString();
    EXPECT_EQ(w.order, 0u);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_product")), 0);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client where 名称='新客户丙'")), 0);
    EXPECT_FALSE(g_sqlTool.InTransaction());

    // Once the flow can be written, the same submit goes through with the new customer's key.
    db().exec(QStringLiteral("drop trigger no_insert"));
    db().exec(QStringLiteral("insert into kvc_record_client (名称, 激活) values ('后来的客户', 0)"));
    ASSERT_TRUE(submitOrder(g_sqlTool, order(), true, 0, QStringLiteral("新客户丙"), &w).ok());
    const QString created =
        db().scalar(QStringLiteral("select 客户号 from kvc_record_client where 名称='新客户丙'"));
    EXPECT_EQ(QString::number(w.client), created);
    EXPECT_EQ(db().scalar(QStringLiteral("select 客户号 from kvc_record_product")), created);
    EXPECT_EQ(db().scalar(QStringLiteral("select 客户号 from kvc_record_procedure")), created);
}

TEST_F(IntakeFlow, EditingAWaitingOrderActivatesItOnceUnderItsNumber)
{
    const quint64 number = waitingOrder(80);
    // Rewriting it unchanged is no conflict.
    Order same = order(80);
    same.priority = QStringLiteral("一般");
    EXPECT_TRUE(submitOrder(g_sqlTool, same, false, number, QString()).ok());

    Order changed = order(95);
    changed.client = 1;
    changed.account = QStringLiteral("desk2");
    Written w;
    const Outcome r = submitOrder(g_sqlTool, changed, true, number, QString(), &w);
    ASSERT_TRUE(r.ok()) << r.text().toStdString();
    EXPECT_EQ(w.order, number);
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 货单号, 客户号, 货物数量, 激活, 激活时间, 经办人 from kvc_record_product")),
              (QList<QStringList>{{QString::number(number), "1", "95", "1", kNowText, "tester"}}));
    EXPECT_EQ(db().rows(QStringLiteral("select 货单号, 客户号, 数量, 工作站 from kvc_record_procedure")),
              (QList<QStringList>{{QString::number(number), "1", "95", "洗水"}}));

    // A second desk still showing it as waiting can neither activate nor rewrite it.
    mySQLTool other;
    ASSERT_TRUE(db().connect(other));
    EXPECT_EQ(submitOrder(other, changed, true, number, QString()).text(), flow::kOrderTaken);
    EXPECT_EQ(submitOrder(other, changed, false, number, QStringLiteral("客户丁")).text(), flow::kOrderTaken);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 1);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client where 名称='客户丁'")), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select 激活 from kvc_record_product")), QStringLiteral("1"));
}

TEST_F(IntakeFlow, EndingAnOrderSendsItToShippingOnce)
{
    const quint64 empty = waitingOrder(0);
    EXPECT_EQ(endOrder(g_sqlTool, empty, QStringLiteral("一般")).text(), kNoQuantity);
    const quint64 number = waitingOrder(80, QStringLiteral("紧急"));
    // The priority comes from the desk, not from the order.
    EXPECT_EQ(endOrder(g_sqlTool, number, QString()).text(), kNoPriority);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 0);

    failInserts("kvc_record_procedure");
    EXPECT_EQ(endOrder(g_sqlTool, number, QStringLiteral("加急")).kind(), Outcome::Kind::Failed);
    EXPECT_EQ(db().scalar(QStringLiteral("select 激活 from kvc_record_product where 货单号=%1").arg(number)),
              QStringLiteral("0"));
    db().exec(QStringLiteral("drop trigger no_insert"));

    quint64 created = 0;
    ASSERT_TRUE(endOrder(g_sqlTool, number, QStringLiteral("加急"), &created).ok());
    EXPECT_EQ(
        db().rows(QStringLiteral("select 激活, 结讫 from kvc_record_product where 货单号=%1").arg(number)),
        (QList<QStringList>{{"2", "0"}}));
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 流水号, 货单号, 客户号, 货物等级, 上一站, 工作站, 数量, 生成时间, 历史 "
                  "from kvc_record_procedure")),
              (QList<QStringList>{{QString::number(created), QString::number(number), "0", "加急", "接收",
                                   "发送", "80", kNowText, "接收[接收]"}}));
    EXPECT_EQ(endOrder(g_sqlTool, number, QStringLiteral("加急")).text(), flow::kOrderTaken);
    EXPECT_EQ(cancelOrder(g_sqlTool, number).text(), flow::kOrderTaken);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 1);
}

TEST_F(IntakeFlow, CancellingTakesOnlyAWaitingOrder)
{
    const quint64 number = waitingOrder();
    ASSERT_TRUE(cancelOrder(g_sqlTool, number).ok());
    EXPECT_EQ(db().rows(QStringLiteral("select 激活, 结讫 from kvc_record_product")),
              (QList<QStringList>{{"0", "2"}}));
    const Outcome again = cancelOrder(g_sqlTool, number);
    EXPECT_EQ(again.kind(), Outcome::Kind::Taken);
    EXPECT_EQ(again.text(), flow::kOrderTaken);
    EXPECT_EQ(endOrder(g_sqlTool, number, QStringLiteral("一般")).text(), flow::kOrderTaken);
    EXPECT_EQ(submitOrder(g_sqlTool, order(), true, number, QString()).text(), flow::kOrderTaken);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 0);
}

TEST_F(IntakeFlow, ReturningAndForwardingCloseTheIntakeFlowAndLinkTheSuccessorToIt)
{
    const quint64 back = intakeFlow(40);
    quint64 created = 0;
    ASSERT_TRUE(refuseFlow(g_sqlTool, back, QStringLiteral("tester"), &created).ok());
    EXPECT_EQ(
        db().rows(QStringLiteral("select 工序, 结讫, 结讫时间 from kvc_record_procedure where 流水号=%1")
                      .arg(back)),
        (QList<QStringList>{{"拒绝", "2", kNowText}}));
    EXPECT_EQ(flowsAfter(back),
              (QList<QStringList>{{"7", "2", "紧急", "接收", "洗水", "40", kNowText,
                                   "接收[接收]-洗水[普洗]-喷砂[转发]-接收[拒绝]", "tester", "0"}}));
    EXPECT_EQ(db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")),
              QString::number(created));

    const quint64 onward = intakeFlow(25);
    ASSERT_TRUE(forwardFlow(g_sqlTool, onward, QStringLiteral("desk2")).ok());
    EXPECT_EQ(
        db().rows(QStringLiteral("select 工序, 结讫 from kvc_record_procedure where 流水号=%1").arg(onward)),
        (QList<QStringList>{{"转发", "1"}}));
    EXPECT_EQ(flowsAfter(onward),
              (QList<QStringList>{{"7", "2", "紧急", "接收", "发送", "25", kNowText,
                                   "接收[接收]-洗水[普洗]-喷砂[转发]-接收[转发]", "desk2", "0"}}));

    // Closed flows and flows elsewhere stay where they are.
    EXPECT_EQ(forwardFlow(g_sqlTool, back, QStringLiteral("tester")).text(), flow::kFlowTaken);
    EXPECT_EQ(refuseFlow(g_sqlTool, created, QStringLiteral("tester")).text(), kBadFlow);
    EXPECT_EQ(refuseFlow(g_sqlTool, 999, QStringLiteral("tester")).text(), flow::kFlowTaken);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 4);
}

TEST_F(IntakeFlow, AFailedSuccessorKeepsTheFlowOpenAtIntake)
{
    const quint64 flow = intakeFlow();
    failInserts("kvc_record_procedure");
    EXPECT_EQ(refuseFlow(g_sqlTool, flow, QStringLiteral("tester")).kind(), Outcome::Kind::Failed);
    EXPECT_EQ(forwardFlow(g_sqlTool, flow, QStringLiteral("tester")).kind(), Outcome::Kind::Failed);
    EXPECT_EQ(db().rows(QStringLiteral("select 工序, 结讫, 结讫时间 from kvc_record_procedure")),
              (QList<QStringList>{{"", "0", ""}}));
}

TEST_F(IntakeFlow, TwoDesksReturningTheSameFlowCreateOneSuccessor)
{
    const quint64 flow = intakeFlow();
    mySQLTool deskA, deskB;
    ASSERT_TRUE(db().connect(deskA));
    ASSERT_TRUE(db().connect(deskB));

    // Desk A holds the flow while desk B returns it too.
    ASSERT_TRUE(deskA.Begin());
    ASSERT_TRUE(deskA.Read(
        deskA.Format("select 结讫 from kvc_record_procedure where 流水号=%I64u for update", flow)));
    Outcome second = Outcome::done();
    std::thread b([&] { second = refuseFlow(deskB, flow, QStringLiteral("desk2")); });
    QThread::msleep(300);
    const Outcome first = forwardFlow(deskA, flow, QStringLiteral("desk1"));
    ASSERT_TRUE(deskA.Commit());
    b.join();

    EXPECT_TRUE(first.ok()) << first.text().toStdString();
    EXPECT_EQ(second.kind(), Outcome::Kind::Taken);
    EXPECT_EQ(second.text(), flow::kFlowTaken);
    EXPECT_EQ(flowsAfter(flow).size(), 1);
    EXPECT_EQ(
        db().rows(QStringLiteral("select 工序, 结讫 from kvc_record_procedure where 流水号=%1").arg(flow)),
        (QList<QStringList>{{"转发", "1"}}));
}
