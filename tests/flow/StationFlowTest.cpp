#include "db/Outcome.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "flow/Station.h"
#include "support/DbTest.h"

#include <latch>
#include <thread>

using kvtest::DemoDbTest;

namespace {

const QString kNowText = QStringLiteral("2026-12-08 09:30:00");

class StationFlow : public DemoDbTest {
public:
    // The identity that uses this screen, with its database role.
    StationFlow() { signInAs(QStringLiteral("调度")); }

protected:
    // An order of customer 1 with `loss` lost so far, and its open flow at 洗水.
    quint64 openFlow(int quantity, const QString& route = QStringLiteral("接收[接收]"), int loss = 0)
    {
        db().exec(
            QStringLiteral("insert into kvc_record_product (客户号, 货物数量, 货物等级, 损耗数量, 激活) "
                           "values (1, %1, '紧急', %2, 1)")
                .arg(quantity)
                .arg(loss));
        const QString order = db().scalar(QStringLiteral("select max(货单号) from kvc_record_product"));
        db().exec(
            QStringLiteral(
                "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一站, 工作站, 数量, "
                "生成时间, 历史) values (%1, 1, '一般', '接收', '洗水', %2, '2026-12-07 08:00:00', '%3')")
                .arg(order)
                .arg(quantity)
                .arg(route));
        order_ = order.toULongLong();
        return db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
    }

    flow::HandOver work(quint64 flowId, const QString& mode, const QString& destination)
    {
        flow::HandOver h;
        h.station = QStringLiteral("洗水");
        h.flow = flowId;
        h.order = order_;
        h.mode = mode;
        h.destination = destination;
        h.rate = 0.3;
        h.lossCharge = 5;
        h.account = QStringLiteral("tester");
        h.now = kNowText;
        return h;
    }

    static flow::Worker single(quint64 id, int done, int lost)
    {
        flow::Worker w;
        w.id = id;
        w.done = done;
        w.lost = lost;
        return w;
    }

    // What a hand-over may have written, as one picture to compare before and after.
    QList<QStringList> written()
    {
        QList<QStringList> all = db().rows(QStringLiteral(
            "select 流水号, 工序, 结讫, 结讫时间, 经办人, 数量 from kvc_record_procedure order by 流水号"));
        all += db().rows(QStringLiteral("select 货单号, 损耗数量 from kvc_record_product order by 货单号"));
        all +=
            db().rows(QStringLiteral("select 任务号, 流水号, 共计 from kvc_record_mission order by 任务号"));
        return all;
    }

    quint64 order_ = 0;
};

}  // namespace

TEST_F(StationFlow, SingleModeSplitsTheFlowAddsTheLossAndPaysEachWorker)
{
    const quint64 f = openFlow(10, QStringLiteral("接收[接收]"), 3);
    flow::HandOver h = work(f, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    h.workers = {single(9, 4, 1), single(10, 3, 0)};
    flow::HandOverResult r;
    const Outcome o = flow::handOver(g_sqlTool, h, &r);
    ASSERT_TRUE(o.ok()) << o.text().toStdString();
    EXPECT_EQ(r.done, 7);
    EXPECT_EQ(r.lost, 1);
    EXPECT_EQ(r.remainder, 2);

    const QString id = QString::number(f);
    EXPECT_EQ(db().rows(QStringLiteral(
                            "select 工序, 结讫, 结讫时间, 经办人 from kvc_record_procedure where 流水号=") +
                        id),
              (QList<QStringList>{
                  {QStringLiteral("普洗工序"), QStringLiteral("1"), kNowText, QStringLiteral("tester")}}));
    // The successor carries the order's priority and the new route; the remainder stays
    // here with the old one.
    const auto next = db().rows(
        QStringLiteral("select 流水号, 货单号, 客户号, 货物等级, 上一站, 工作站, 数量, 生成时间, 历史, "
                       "派生, 结讫 from kvc_record_procedure where 上一号=%1 order by 流水号")
            .arg(id));
    ASSERT_EQ(next.size(), 2);
    EXPECT_EQ(next[0], (QStringList{QString::number(r.successor), QString::number(order_), "1", "紧急",
                                    "洗水", "喷砂", "7", kNowText, "接收[接收]-洗水[普洗工序]", "0", "0"}));
    EXPECT_EQ(next[1], (QStringList{QString::number(r.derived), QString::number(order_), "1", "紧急", "洗水",
                                    "洗水", "2", kNowText, "接收[接收]", "1", "0"}));
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 损耗数量 from kvc_record_product where 货单号=%1").arg(order_)),
        "4");

    const auto pay = db().rows(
        QStringLiteral("select 货单号, 工号, 完成时间, 完成数量, 损耗数量, 工价, 损耗单价, 共计, 结讫, "
                       "经办人 from kvc_record_mission where 流水号=%1 order by 任务号")
            .arg(id));
    ASSERT_EQ(pay.size(), 2);
    EXPECT_EQ(pay[0].mid(0, 5), (QStringList{QString::number(order_), "9", kNowText, "4", "1"}));
    EXPECT_DOUBLE_EQ(pay[0][5].toDouble(), 0.3);
    EXPECT_DOUBLE_EQ(pay[0][6].toDouble(), 5.0);
    EXPECT_NEAR(pay[0][7].toDouble(), 4 * 0.3 - 5, 1e-9);
    EXPECT_EQ(pay[0].mid(8), (QStringList{"0", "tester"}));
    EXPECT_EQ(pay[1].mid(1, 4), (QStringList{"10", kNowText, "3", "0"}));
    EXPECT_NEAR(pay[1][7].toDouble(), 0.9, 1e-9);
}

TEST_F(StationFlow, PayIsReckonedInDoublePrecision)
{
    const quint64 f = openFlow(200000);
    flow::HandOver h = work(f, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    h.rate = 0.37;
    h.workers = {single(9, 123457, 0)};
    ASSERT_TRUE(flow::handOver(g_sqlTool, h).ok());
    // In single precision this would be 45679.089844.
    EXPECT_NEAR(db().scalar(QStringLiteral("select 共计 from kvc_record_mission")).toDouble(), 45679.09,
                1e-6);
}

TEST_F(StationFlow, ForwardPassesTheWholeQuantityWithoutLossOrPay)
{
    const quint64 f = openFlow(10, QStringLiteral("接收[接收]"), 3);
    flow::HandOver h = work(f, flow::kForward, QStringLiteral("接收"));
    h.workers = {single(9, 4, 1)};  // ignored when passing on
    flow::HandOverResult r;
    ASSERT_TRUE(flow::handOver(g_sqlTool, h, &r).ok());
    EXPECT_EQ(db().rows(QStringLiteral(
                            "select 上一站, 工作站, 数量, 历史 from kvc_record_procedure where 上一号=%1")
                            .arg(f)),
              (QList<QStringList>{{"洗水", "接收", "10", "接收[接收]-洗水[转发]"}}));
    EXPECT_EQ(r.derived, 0u);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission")), 0);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 损耗数量 from kvc_record_product where 货单号=%1").arg(order_)),
        "3");
    EXPECT_EQ(db().scalar(QStringLiteral("select 工序 from kvc_record_procedure where 流水号=%1").arg(f)),
              "转发");
}

TEST_F(StationFlow, BoundaryCountsDecideWhetherAFlowIsDerived)
{
    // Nothing done: an empty successor and the whole quantity derived, pay rows of 0.
    quint64 f = openFlow(10);
    flow::HandOver h = work(f, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    h.workers = {single(9, 0, 0), single(10, 0, 0)};
    ASSERT_TRUE(flow::handOver(g_sqlTool, h).ok());
    EXPECT_EQ(
        db().rows(QStringLiteral(
                      "select 工作站, 数量, 派生 from kvc_record_procedure where 上一号=%1 order by 流水号")
                      .arg(f)),
        (QList<QStringList>{{"喷砂", "0", "0"}, {"洗水", "10", "1"}}));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission where 共计=0 and 流水号=%1").arg(f)), 2);

    // Everything done or lost, sent back to the station itself: no derived flow.
    f = openFlow(10);
    h = work(f, QStringLiteral("普洗工序"), QStringLiteral("洗水"));
    h.workers = {single(9, 8, 2)};
    ASSERT_TRUE(flow::handOver(g_sqlTool, h).ok());
    EXPECT_EQ(db().rows(QStringLiteral(
                            "select 上一站, 工作站, 数量, 派生 from kvc_record_procedure where 上一号=%1")
                            .arg(f)),
              (QList<QStringList>{{"洗水", "洗水", "8", "0"}}));
}

TEST_F(StationFlow, CooperativeModePaysEachShareAndSplitsTheTotals)
{
    EXPECT_EQ(flow::cooperativeShare(1.5, 2, 10, 1, 3), "4.333");
    EXPECT_EQ(flow::cooperativeShare(1.5, 2, 0, 2, 2), "-2.000");
    EXPECT_EQ(flow::cooperativeShare(1.5, 2, -4, 3, 1), "-6.000");  // a negative total counts 0
    EXPECT_EQ(flow::cooperativeShare(1.5, 2, 0, 0, 3), QString());
    EXPECT_EQ(flow::cooperativeShare(1.5, 2, 10, 1, 0), QString());

    // Each share is computed from the totals, as the desk shows it.
    const quint64 f = openFlow(12);
    flow::HandOver h = work(f, QStringLiteral("普洗工序"), QStringLiteral("手工"));
    h.rate = 1.5;
    h.lossCharge = 2;
    h.cooperative = true;
    h.totalDone = 10;
    h.totalLost = 1;
    for (quint64 id : {9, 10, 11})
        h.workers.append(single(id, 0, 0));
    ASSERT_TRUE(flow::handOver(g_sqlTool, h).ok());
    EXPECT_EQ(db().rows(QStringLiteral(
                            "select 工作站, 数量 from kvc_record_procedure where 上一号=%1 order by 流水号")
                            .arg(f)),
              (QList<QStringList>{{"手工", "10"}, {"洗水", "1"}}));
    const auto pay = db().rows(
        QStringLiteral("select 工号, 完成数量, 损耗数量, 共计 from kvc_record_mission order by 任务号"));
    ASSERT_EQ(pay.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pay[i][0], QString::number(9 + i));
        EXPECT_EQ(pay[i].mid(1, 2), (QStringList{"0", "0"}));
        EXPECT_NEAR(pay[i][3].toDouble(), 4.333, 1e-9);
    }
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 损耗数量 from kvc_record_product where 货单号=%1").arg(order_)),
        "1");
}

TEST_F(StationFlow, RefusalsComeInOrderAndWriteNothing)
{
    const quint64 f = openFlow(10);
    const auto before = written();
    const auto coop = [&](int done, int lost) {
        flow::HandOver h = work(f, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
        h.cooperative = true;
        h.workers = {single(9, 0, 0)};
        h.totalDone = done;
        h.totalLost = lost;
        return h;
    };
    struct Case {
        flow::HandOver h;
        QString message;
    };
    QList<Case> cases;
    flow::HandOver h = work(f, QString(), QString());
    h.workers = {single(9, -1, 0)};
    cases.append({h, "请选择处理方式"});
    h.mode = QStringLiteral("普洗工序");
    cases.append({h, "请选择下一站"});
    h.destination = QStringLiteral("喷砂");
    h.workers.clear();
    cases.append({h, "您选择了接受任务 请填写任务完成情况"});
    h.workers = {single(9, 5, 0), single(10, 3, -1)};
    cases.append({h, "错误的数量"});
    h.workers = {single(9, 6, 0), single(10, 4, 1)};
    cases.append({h, "不能超过当前货物数量"});
    h.workers = {single(9, 2147483647, 0), single(10, 2147483647, 0)};  // no overflow into a small sum
    cases.append({h, "不能超过当前货物数量"});
    cases.append({coop(-1, 0), "错误的完成数量"});
    cases.append({coop(3, -1), "错误的损耗数量"});
    cases.append({coop(0, 0), "完成数和损耗数不能都为零"});
    cases.append({coop(10, 1), "不能超过当前货物数量"});
    for (const Case& c : cases) {
        const Outcome o = flow::handOver(g_sqlTool, c.h);
        EXPECT_EQ(o.kind(), Outcome::Kind::Refused) << c.message.toStdString();
        EXPECT_EQ(o.text(), c.message);
        EXPECT_EQ(o.caption(), "错误");
    }
    EXPECT_EQ(written(), before);
}

TEST_F(StationFlow, PayIsNeverWrittenWithoutTheRateOfAModeThatHasOne)
{
    db().exec(
        QStringLiteral("insert into kvc_attrib_process (名称, 工作站, 工价) values ('免费工序', '洗水', 0)"));
    const struct {
        const char* mode;
        double rate;
        bool cooperative;
        bool written;
    } cases[] = {{"普洗工序", 0, false, false},
                 {"普洗工序", 0, true, false},
                 {"免费工序", 0, false, true},  // a step that pays nothing
                 {"普洗工序", 0.3, false, true}};
    for (const auto& c : cases) {
        const quint64 f = openFlow(10);
        const auto before = written();
        flow::HandOver h = work(f, QString::fromUtf8(c.mode), QStringLiteral("喷砂"));
        h.rate = c.rate;
        h.cooperative = c.cooperative;
        h.totalDone = 4;
        h.workers = {single(9, 4, 0)};
        const Outcome o = flow::handOver(g_sqlTool, h);
        EXPECT_EQ(o.ok(), c.written) << c.mode << " " << c.rate << " " << o.text().toStdString();
        if (!c.written) {
            EXPECT_EQ(o.kind(), Outcome::Kind::Refused);
            EXPECT_EQ(o.text(), flow::kNoRate);
            EXPECT_EQ(written(), before);
        }
    }
}

TEST_F(StationFlow, AStatementFailingHalfwayLeavesTheFlowOpenAndNothingWritten)
{
    // The last statement of the hand-over (a pay row), then the one in the middle (the
    // derived flow), made to fail.
    const QStringList triggers = {
        QStringLiteral("create trigger fail_here before insert on kvc_record_mission for each row "
                       "signal sqlstate '45000' set message_text = 'pay refused'"),
        QStringLiteral(
            "create trigger fail_here before insert on kvc_record_procedure for each row "
            "begin if new.派生 = 1 then signal sqlstate '45000' set message_text = 'derived refused'; "
            "end if; end"),
    };
    const quint64 f = openFlow(10, QStringLiteral("接收[接收]"), 3);
    for (const QString& trigger : triggers) {
        db().exec(trigger);
        const auto before = written();
        flow::HandOver h = work(f, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
        h.workers = {single(9, 4, 1), single(10, 3, 0)};
        const Outcome o = flow::handOver(g_sqlTool, h);
        EXPECT_EQ(o.kind(), Outcome::Kind::Failed);
        EXPECT_TRUE(o.text().contains(QStringLiteral("refused"))) << o.text().toStdString();
        EXPECT_EQ(written(), before);
        EXPECT_EQ(db().scalar(QStringLiteral("select 结讫 from kvc_record_procedure where 流水号=%1").arg(f)),
                  "0");
        db().exec(QStringLiteral("drop trigger fail_here"));
    }
    // And the session is usable again: the same work goes through.
    flow::HandOver h = work(f, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    h.workers = {single(9, 4, 1)};
    EXPECT_TRUE(flow::handOver(g_sqlTool, h).ok());
}

TEST_F(StationFlow, TwoDesksSubmittingTheSameFlowMoveItOnce)
{
    for (int round = 0; round < 4; ++round) {
        const quint64 f = openFlow(10);
        mySQLTool desk[2];
        for (mySQLTool& d : desk)
            ASSERT_TRUE(db().connect(d));
        Outcome outcome[2] = {Outcome::done(), Outcome::done()};
        {
            std::latch start(2);  // both desks submit at the same moment
            std::thread a([&] {
                flow::HandOver h = work(f, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
                h.workers = {single(9, 4, 1), single(10, 3, 0)};
                start.arrive_and_wait();
                outcome[0] = flow::handOver(desk[0], h);
            });
            std::thread b([&] {
                flow::HandOver h = work(f, QStringLiteral("石磨工序"), QStringLiteral("树脂"));
                h.workers = {single(11, 6, 0)};
                start.arrive_and_wait();
                outcome[1] = flow::handOver(desk[1], h);
            });
            a.join();
            b.join();
        }
        ASSERT_NE(outcome[0].ok(), outcome[1].ok())
            << outcome[0].text().toStdString() << " / " << outcome[1].text().toStdString();
        const Outcome& lost = outcome[0].ok() ? outcome[1] : outcome[0];
        EXPECT_EQ(lost.kind(), Outcome::Kind::Taken);
        EXPECT_EQ(lost.text(), flow::kFlowTaken);

        const bool firstWon = outcome[0].ok();
        EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=%1 and 派生=0").arg(f)),
                  1);
        EXPECT_EQ(
            db().scalar(
                QStringLiteral("select 工作站 from kvc_record_procedure where 上一号=%1 and 派生=0").arg(f)),
            firstWon ? "喷砂" : "树脂");
        EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission where 流水号=%1").arg(f)),
                  firstWon ? 2 : 1);
        EXPECT_EQ(db().scalar(QStringLiteral("select 工序 from kvc_record_procedure where 流水号=%1").arg(f)),
                  firstWon ? "普洗工序" : "石磨工序");
    }
}
