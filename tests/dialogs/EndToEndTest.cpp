#include "dialogs/intake/Dlg_Consignee.h"
#include "dialogs/shipping/Dlg_Shipper.h"
#include "dialogs/stations/Dlg_Station.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"
#include "ui/AppState.h"

#include <QListWidget>
#include <QTest>

using kvtest::ScreenDriver;

namespace {

// One order from the intake desk through two stations to its closing at shipping, every
// step through the screens as the factory works it.
class EndToEnd : public kvtest::DemoDbTest {
public:
    // The identity that uses this screen, with its database role.
    EndToEnd() { signInAs(QStringLiteral("管理员")); }

protected:
    QString order;

    void registerAndActivate()
    {
        Dlg_Consignee intake;
        ScreenDriver s(&intake);
        ASSERT_TRUE(s.clickRowWith(s.grid("clientList"), 1, QStringLiteral("广州天河制衣厂")));
        s.choose("receiverCombo", QStringLiteral("黄永发"));
        s.type("goodsEdit", QStringLiteral("100"));
        s.type("originalEdit", QStringLiteral("2"));
        s.type("washedEdit", QStringLiteral("1"));
        s.type("styleEdit", QStringLiteral("10231"));
        s.choose("natureCombo", QStringLiteral("新货"));
        s.choose("typeCombo", QStringLiteral("牛仔裤"));
        s.choose("kindCombo", QStringLiteral("直筒"));
        s.choose("sexCombo", QStringLiteral("男装"));
        s.choose("priorityCombo", QStringLiteral("一般"));
        auto addTechnology = [&](const QString& category, const QString& name) {
            s.choose("categoryCombo", category);
            auto* list = s.child<QListWidget>("technologyList");
            list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
            s.click("addTechnologyButton");
        };
        addTechnology(QStringLiteral("洗水"), QStringLiteral("普洗"));
        addTechnology(QStringLiteral("手工"), QStringLiteral("猫须"));
        EXPECT_EQ(s.text("methodEdit"), QStringLiteral("[普洗][猫须]"));
        EXPECT_EQ(s.text("priceEdit"), QStringLiteral("2.50"));
        s.click("submitButton");
        ASSERT_EQ(boxes().last().text, QStringLiteral("货单成功录入"));
        order = db().scalar(QStringLiteral("select 货单号 from kvc_record_product"));
        EXPECT_EQ(s.grid("activatedList")->GetItemText(0, 0), order);
    }

    // Processes one flow at a station: the flow, the mode, where the goods go, the team and
    // each worker's done and lost pieces.
    void process(const QString& station, const QString& flowNo, const QString& mode,
                 const QString& destination, const QString& team,
                 const QList<std::tuple<QString, int, int>>& workers)
    {
        g_station = station;
        Dlg_Station dlg;
        ScreenDriver s(&dlg);
        ASSERT_TRUE(s.clickRowWith(s.grid("waitingList"), 0, flowNo)) << flowNo.toStdString();
        s.click("processButton");
        s.choose("modeCombo", mode);
        s.choose("destinationCombo", destination);
        if (!team.isEmpty())
            s.choose("teamCombo", team);
        KvGrid* members = s.grid("memberList");
        KvGrid* single = s.grid("singleList");
        for (const auto& [name, done, lost] : workers) {
            members->SelectRow(ScreenDriver::rowOf(members, 1, name));
            s.click("insertButton");
            const int row = single->GetItemCount() - 1;
            ScreenDriver::typeCell(single, row, 2, QString::number(done));
            ScreenDriver::typeCell(single, row, 3, QString::number(lost));
        }
        s.click("singleSubmitButton");
        ASSERT_EQ(boxes().last().text, QStringLiteral("工作处理成功")) << boxes().last().text.toStdString();
        EXPECT_TRUE(ScreenDriver::rowOf(s.grid("doneList"), 0, flowNo) >= 0);
    }

    QString flowAt(const QString& station, int quantity, const QString& extra = QString())
    {
        return db().scalar(
            QStringLiteral("select 流水号 from kvc_record_procedure where 工作站='%1' and 数量=%2 "
                           "and 结讫=0 %3")
                .arg(station)
                .arg(quantity)
                .arg(extra));
    }
};

}  // namespace

TEST_F(EndToEnd, AnOrderGoesFromIntakeThroughTwoStationsToItsClosing)
{
    registerAndActivate();
    ASSERT_FALSE(order.isEmpty());
    const QString first = flowAt(QStringLiteral("洗水"), 100);
    ASSERT_FALSE(first.isEmpty());

    // Washing: 90 done and 2 lost by two workers, 8 stay behind as a derived flow.
    process(QStringLiteral("洗水"), first, QStringLiteral("普洗工序"), QStringLiteral("手工"),
            QStringLiteral("洗水组"), {{QStringLiteral("郑小军"), 60, 2}, {QStringLiteral("孙文杰"), 30, 0}});
    const QString derived = flowAt(QStringLiteral("洗水"), 8, QStringLiteral("and 派生=1"));
    ASSERT_FALSE(derived.isEmpty());
    // The remainder is passed on untouched.
    process(QStringLiteral("洗水"), derived, QStringLiteral("转发"), QStringLiteral("手工"), QString(), {});

    // Manual work on both batches; one piece of the small one is lost.
    process(QStringLiteral("手工"), flowAt(QStringLiteral("手工"), 90), QStringLiteral("猫须工序"),
            QStringLiteral("发送"), QStringLiteral("手工组"), {{QStringLiteral("许丽"), 90, 0}});
    process(QStringLiteral("手工"), flowAt(QStringLiteral("手工"), 8), QStringLiteral("猫须工序"),
            QStringLiteral("发送"), QStringLiteral("手工组"), {{QStringLiteral("韩雪"), 7, 1}});

    // Shipping: confirm both arrivals, ship 50 with the two unwashed samples, then the rest.
    Dlg_Shipper desk;
    ScreenDriver s(&desk);
    ASSERT_TRUE(s.clickRowWith(s.grid("unshippedList"), 0, order));
    KvGrid* waiting = s.grid("waitingList");
    ASSERT_EQ(waiting->GetItemCount(), 2);
    for (int i = 0; i < 2; ++i) {
        ScreenDriver::clickRow(waiting, 0);
        s.click("confirmButton");
    }
    EXPECT_EQ(s.grid("confirmedList")->GetItemCount(), 2);
    EXPECT_EQ(s.text("availableGoods"), QStringLiteral("97"));
    EXPECT_EQ(s.text("remainingLoss"), QStringLiteral("3"));

    s.type("shipOriginal", QStringLiteral("2"));
    s.type("shipGoods", QStringLiteral("50"));
    EXPECT_EQ(s.text("amount"), QStringLiteral("125.00"));
    s.choose("shipperCombo", QStringLiteral("黄永发"));
    s.choose("issuerCombo", QStringLiteral("张志明"));
    s.click("submitButton");
    ASSERT_TRUE(boxes().saw(QStringLiteral("发货单编辑完成")));
    EXPECT_EQ(db().scalar(QStringLiteral("select 结讫 from kvc_record_product")), QStringLiteral("0"));

    ASSERT_TRUE(s.clickRowWith(s.grid("unshippedList"), 0, order));
    s.click("shipAllButton");
    EXPECT_EQ(s.text("shipGoods"), QStringLiteral("47"));
    s.choose("shipperCombo", QStringLiteral("周大海"));
    s.choose("issuerCombo", QStringLiteral("刘晓燕"));
    boxes().clear();
    s.click("submitButton");
    ASSERT_TRUE(boxes().saw(QStringLiteral("发货单编辑完成"))) << boxes().texts().join('|').toStdString();
    EXPECT_EQ(ScreenDriver::rowOf(s.grid("unshippedList"), 0, order), -1);

    // The order: closed, its losses added up.
    EXPECT_EQ(
        db().rows(QStringLiteral("select 客户号, 货物数量, 原版数量, 洗版数量, 损耗数量, 洗涤方法, 货物单价, "
                                 "激活, 结讫, 经办人, 款号 from kvc_record_product")),
        (QList<QStringList>{
            {"1", "100", "2", "1", "3", "[普洗][猫须]", "2.5", "1", "1", "tester", "10231"}}));

    // Its flows, in the order they were made, every one closed.
    const QList<QStringList> flows = db().rows(QStringLiteral(
        "select 工作站, 上一站, 数量, 派生, 工序, 结讫, 历史, ifnull(上一号, 0) from kvc_record_procedure "
        "order by 流水号"));
    const QString r0 = QStringLiteral("接收[接收]");
    const QString r1 = r0 + QStringLiteral("-洗水[普洗工序]");
    const QString r1f = r0 + QStringLiteral("-洗水[转发]");
    const QList<QStringList> expected = {
        {"洗水", "接收", "100", "0", "普洗工序", "1", r0, "0"},
        {"手工", "洗水", "90", "0", "猫须工序", "1", r1, "1"},
        {"洗水", "洗水", "8", "1", "转发", "1", r0, "1"},
        {"手工", "洗水", "8", "0", "猫须工序", "1", r1f, "3"},
        {"发送", "手工", "90", "0", "确认", "1", r1 + QStringLiteral("-手工[猫须工序]"), "2"},
        {"发送", "手工", "7", "0", "确认", "1", r1f + QStringLiteral("-手工[猫须工序]"), "4"},
        {"发送", "发送", "90", "0", "", "1", r1 + QStringLiteral("-手工[猫须工序]-发送[确认]"), "5"},
        {"发送", "发送", "7", "0", "", "1", r1f + QStringLiteral("-手工[猫须工序]-发送[确认]"), "6"},
    };
    ASSERT_EQ(flows.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(flows[i], expected[i]) << "flow " << i + 1;

    // Piece-work: rate × done − loss charge (5.00) × lost, one row per worker.
    EXPECT_EQ(db().rows(QStringLiteral("select 流水号, 工号, 完成数量, 损耗数量, 工价, 损耗单价, 共计, 结讫 "
                                       "from kvc_record_mission order by 任务号")),
              (QList<QStringList>{{"1", "9", "60", "2", "0.3", "5", "8", "0"},
                                  {"1", "10", "30", "0", "0.3", "5", "9", "0"},
                                  {"2", "18", "90", "0", "0.25", "5", "22.5", "0"},
                                  {"4", "19", "7", "1", "0.25", "5", "-3.25", "0"}}));

    // The two shipments cover the order.
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 客户号, 开票人, 发货人, 款号, 品名, 洗涤方法, 货物数量, 损耗数量, "
                  "原版数量, 洗版数量, 货物单价, 经办人 from kvc_record_ship order by 序列号")),
              (QList<QStringList>{{"1", "张志明", "黄永发", "10231", "男装牛仔裤直筒", "[普洗][猫须]", "50",
                                   "0", "2", "0", "2.5", "tester"},
                                  {"1", "刘晓燕", "周大海", "10231", "男装牛仔裤直筒", "[普洗][猫须]", "47",
                                   "3", "0", "1", "2.5", "tester"}}));
}
