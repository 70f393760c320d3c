#include "db/mySQLTool.h"
#include "dialogs/intake/Dlg_Consignee.h"
#include "flow/Flow.h"
#include "flow/Intake.h"
#include "flow/TicketCode.h"
#include "grid/KvGrid.h"
#include "print/TicketLayout.h"
#include "support/DbTest.h"
#include "support/PdfPages.h"
#include "support/ScreenDriver.h"
#include "ui/AppState.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString kNowText = QStringLiteral("2026-12-08 09:30:00");

class ConsigneeDesk : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    ConsigneeDesk() { signInAs(QStringLiteral("厂长")); }

protected:
    Dlg_Consignee& open()
    {
        openScreen(dlg_);
        dlg_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg_.get()));
        return *dlg_;
    }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
    void chooseClient(const QString& name)
    {
        KvGrid* clients = grid("clientList");
        const int row = rowOf(clients, 1, name);
        ASSERT_GE(row, 0) << name.toStdString();
        clickRow(clients, row);
    }
    void pick(const char* list, const QString& item)
    {
        auto* l = child<QListWidget>(list);
        const QList<QListWidgetItem*> found = l->findItems(item, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << item.toStdString();
        l->setCurrentItem(found.first());
    }
    void addTechnology(const QString& category, const QString& name)
    {
        choose("categoryCombo", category);
        pick("technologyList", name);
        click("addTechnologyButton");
    }
    // Everything an activation needs, for the customer 广州天河制衣厂 (客户号 1).
    void fillForActivation()
    {
        chooseClient(QStringLiteral("广州天河制衣厂"));
        choose("receiverCombo", QStringLiteral("黄永发"));
        type("goodsEdit", QStringLiteral("100"));
        choose("natureCombo", QStringLiteral("新货"));
        choose("typeCombo", QStringLiteral("牛仔裤"));
        choose("kindCombo", QStringLiteral("直筒"));
        choose("sexCombo", QStringLiteral("男装"));
        choose("priorityCombo", QStringLiteral("加急"));
        addTechnology(QStringLiteral("洗水"), QStringLiteral("普洗"));
    }
    // Submits; the question is answered OK. Returns the last box shown.
    QString submit()
    {
        boxes().clear();
        click("submitButton");
        return boxes().last().text;
    }
    quint64 addOrder(int active, int goods, const QString& priority = QStringLiteral("紧急"), int client = 2)
    {
        db().exec(QStringLiteral(
                      "insert into kvc_record_product (款号, 客户号, 货物数量, 接货人, 接货时间, 货物性质, "
                      "货物分类, 货物款式, 货物性别, 洗涤方法, 货物单价, 损耗单价, 原版数量, 货物等级, 激活) "
                      "values (88012, %1, %2, '周大海', '2026-12-07 09:30:00', '新货', '休闲裤', '修身', "
                      "'女装', '[石磨]', 4.7, 6, 3, '%3', %4)")
                      .arg(client)
                      .arg(goods)
                      .arg(priority)
                      .arg(active));
        return db().scalar(QStringLiteral("select max(货单号) from kvc_record_product")).toULongLong();
    }
    quint64 addIntakeFlow(quint64 order, int count)
    {
        db().exec(QStringLiteral(
                      "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, "
                      "数量, 生成时间, 历史) values (%1, 2, '加急', 900, '洗水', '接收', %2, "
                      "'2026-12-08 08:00:00', '接收[接收]-洗水[普洗]')")
                      .arg(order)
                      .arg(count));
        return db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
    }
    int orders() { return db().count(QStringLiteral("from kvc_record_product")); }
    int flows() { return db().count(QStringLiteral("from kvc_record_procedure")); }

    std::unique_ptr<Dlg_Consignee> dlg_;
};

}  // namespace

TEST_F(ConsigneeDesk, OpensWithTheQueuesAndALockedForm)
{
    const quint64 active = addOrder(1, 50);
    const quint64 waiting = addOrder(0, 60);
    addOrder(0, 70, QStringLiteral("一般"), 0);  // no customer: in no queue
    const quint64 back = addIntakeFlow(active, 20);
    open();

    KvGrid* activated = grid("activatedList");
    ASSERT_EQ(activated->GetItemCount(), 1);
    EXPECT_EQ(activated->GetItemText(0, QStringLiteral("货单号")), QString::number(active));
    EXPECT_EQ(activated->GetItemText(0, QStringLiteral("客户名称")), QStringLiteral("佛山南海牛仔服饰"));
    EXPECT_EQ(activated->GetItemText(0, QStringLiteral("洗涤方法")), QStringLiteral("[石磨]"));
    KvGrid* waitingList = grid("waitingOrderList");
    ASSERT_EQ(waitingList->GetItemCount(), 1);
    EXPECT_EQ(waitingList->GetItemText(0, 0), QString::number(waiting));
    KvGrid* flowList = grid("waitingFlowList");
    ASSERT_EQ(flowList->GetItemCount(), 1);
    EXPECT_EQ(flowList->rows().rowCells(0),
              (QStringList{QString::number(back), QString::number(active), QStringLiteral("佛山南海牛仔服饰"),
                           QStringLiteral("加急"), QStringLiteral("洗水"), QStringLiteral("20"),
                           QStringLiteral("2026-12-08 08:00:00"), QStringLiteral("接收[接收]-洗水[普洗]")}));
    EXPECT_EQ(grid("clientList")->GetItemCount(), 6);  // the active customers only
    EXPECT_EQ(child<QComboBox>("receiverCombo")->count(), 2);
    EXPECT_EQ(edit("lossPriceEdit")->text(), QStringLiteral("5.00"));

    for (const char* locked : {"clientNameEdit", "lossPriceEdit", "methodEdit", "priceEdit"})
        EXPECT_TRUE(edit(locked)->isReadOnly()) << locked;
    EXPECT_TRUE(child<QCheckBox>("activateCheck")->isChecked());
    EXPECT_FALSE(edit("relatedEdit")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("queryRelatedButton")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>("newClientCheck")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>("waitingOrdersRadio")->isChecked());
    EXPECT_TRUE(flowList->isHidden());
    EXPECT_TRUE(child<QPushButton>("refuseFlowButton")->isHidden());
    EXPECT_FALSE(child<QPushButton>("endOrderButton")->isHidden());
    click("waitingFlowsRadio");
    EXPECT_FALSE(flowList->isHidden());
    EXPECT_TRUE(waitingList->isHidden());
    EXPECT_FALSE(child<QPushButton>("forwardFlowButton")->isHidden());
    EXPECT_TRUE(child<QPushButton>("editOrderButton")->isHidden());
    EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();

    QTimer* timer = child<QTimer>("refreshTimer1203");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 60000);

    // Dispatchers do not create customers; a missing loss price setting is reported and
    // the screen is still set up.
    g_identity = QStringLiteral("调度");
    db().exec(QStringLiteral("delete from kvc_attrib_mod where 名称='损耗单价'"));
    open();
    EXPECT_FALSE(child<QCheckBox>("newClientCheck")->isEnabled());
    EXPECT_TRUE(boxes().saw(QStringLiteral("没有找到损耗单价的设置")));
    EXPECT_TRUE(edit("priceEdit")->isReadOnly());
    EXPECT_TRUE(grid("waitingFlowList")->isHidden());
}

TEST_F(ConsigneeDesk, ComposesTheWashingMethodAndItsPrice)
{
    db().exec(
        QStringLiteral("insert into kvc_attrib_technology (名称, 类型, 价格) values ('A', '套餐', 3.5), "
                       "('B', '套餐', 2)"));
    open();
    addTechnology(QStringLiteral("套餐"), QStringLiteral("A"));
    addTechnology(QStringLiteral("套餐"), QStringLiteral("B"));
    EXPECT_EQ(edit("methodEdit")->text(), QStringLiteral("[A][B]"));
    EXPECT_EQ(edit("priceEdit")->text(), QStringLiteral("5.50"));

    addTechnology(QStringLiteral("套餐"), QStringLiteral("A"));
    auto* sequence = child<QListWidget>("sequenceList");
    EXPECT_EQ(sequence->count(), 2);
    sequence->clearSelection();
    click("removeTechnologyButton");  // nothing selected: the last one goes
    ASSERT_EQ(sequence->count(), 1);
    EXPECT_EQ(sequence->item(0)->text(), QStringLiteral("A"));
    EXPECT_EQ(edit("methodEdit")->text(), QStringLiteral("[A]"));
    EXPECT_EQ(edit("priceEdit")->text(), QStringLiteral("3.50"));

    // A price typed by hand stays.
    click("editPriceCheck");
    EXPECT_FALSE(edit("priceEdit")->isReadOnly());
    type("priceEdit", QStringLiteral("9"));
    addTechnology(QStringLiteral("套餐"), QStringLiteral("B"));
    EXPECT_EQ(edit("methodEdit")->text(), QStringLiteral("[A][B]"));
    EXPECT_EQ(edit("priceEdit")->text(), QStringLiteral("9"));

    // Rework: the list changes, the fields do not; the hint comes once per opening.
    choose("natureCombo", QStringLiteral("返工"));
    choose("natureCombo", QStringLiteral("新货"));
    choose("natureCombo", QStringLiteral("返工"));
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("返工的货物必须选择关联货单号")});
    EXPECT_EQ(edit("priceEdit")->text(), QString());
    pick("sequenceList", QStringLiteral("A"));
    click("removeTechnologyButton");
    EXPECT_EQ(sequence->count(), 1);
    EXPECT_EQ(edit("methodEdit")->text(), QStringLiteral("[A][B]"));
    EXPECT_EQ(edit("priceEdit")->text(), QString());
}

TEST_F(ConsigneeDesk, AWaitingOrderNeedsOnlyACustomerNamedInChinese)
{
    open();
    click("activateCheck");
    EXPECT_EQ(boxes().last().text,
              QStringLiteral("不立刻送到车间的货单将不会被激活，可继续修改直到激活为止"));
    click("activateCheck");
    click("activateCheck");
    EXPECT_EQ(boxes().boxes.size(), 1);  // once per opening
    ASSERT_FALSE(child<QCheckBox>("activateCheck")->isChecked());

    EXPECT_EQ(submit(), QStringLiteral("请输入客户名"));  // no customer at all
    click("newClientCheck");
    for (const char* name : {"ABC制衣", "3号客户", " 新塘"}) {
        type("clientNameEdit", QString::fromUtf8(name));
        EXPECT_EQ(submit(), QStringLiteral("请输入客户名")) << name;
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    }
    click("activateCheck");
    EXPECT_EQ(submit(), QStringLiteral("请输入客户名"));
    EXPECT_EQ(orders(), 0);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 7);

    click("newClientCheck");
    click("activateCheck");
    chooseClient(QStringLiteral("东莞虎门时装公司"));
    EXPECT_EQ(edit("clientNameEdit")->text(), QStringLiteral("东莞虎门时装公司"));
    type("originalEdit", QStringLiteral("-5"));
    EXPECT_EQ(submit(), QStringLiteral("货单成功编辑"));
    EXPECT_EQ(boxes().boxes.first().text, QStringLiteral("确定提交新货单吗？"));
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 客户号, 接货人, 货物数量, 货物性质, 货物等级, 洗涤方法, 原版数量, 激活, "
                  "激活时间, 经办人 from kvc_record_product")),
              (QList<QStringList>{{"3", "", "0", "", "", "", "-5", "0", "", "tester"}}));
    EXPECT_EQ(flows(), 0);
    ASSERT_EQ(grid("waitingOrderList")->GetItemCount(), 1);
    EXPECT_EQ(grid("waitingOrderList")->GetItemText(0, QStringLiteral("客户名称")),
              QStringLiteral("东莞虎门时装公司"));

    // Cancelling the question writes nothing.
    boxes().answer({false});
    click("submitButton");
    EXPECT_EQ(orders(), 1);
}

TEST_F(ConsigneeDesk, ActivationChecksTheFormInOrderAndReleasesTheOrder)
{
    open();
    chooseClient(QStringLiteral("广州天河制衣厂"));
    type("originalEdit", QStringLiteral("-5"));
    type("washedEdit", QStringLiteral("-2"));
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"请输入接货人", [&] { choose("receiverCombo", QStringLiteral("黄永发")); }},
        {"错误的货物数量", [&] { type("goodsEdit", QStringLiteral("100")); }},
        {"请选择属性", [&] { choose("natureCombo", QStringLiteral("新货")); }},
        {"请选择类型", [&] { choose("typeCombo", QStringLiteral("牛仔裤")); }},
        {"请选择款式", [&] { choose("kindCombo", QStringLiteral("直筒")); }},
        {"请选择性别", [&] { choose("sexCombo", QStringLiteral("男装")); }},
        {"请选择优先等级", [&] { choose("priorityCombo", QStringLiteral("加急")); }},
        {"错误的损耗单价",
         [&] {
             click("editLossPriceCheck");
             type("lossPriceEdit", QStringLiteral("6"));
         }},
        {"错误的货物单价",
         [&] {
             click("editPriceCheck");
             type("priceEdit", QStringLiteral("3"));
         }},
        {"请输入货物的洗涤方法", [&] { addTechnology(QStringLiteral("洗水"), QStringLiteral("石磨")); }},
    };
    type("goodsEdit", QStringLiteral("0"));
    click("editLossPriceCheck");
    type("lossPriceEdit", QStringLiteral("-1"));
    click("editLossPriceCheck");
    for (const auto& [message, mend] : steps) {
        EXPECT_EQ(submit(), QString::fromUtf8(message));
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        mend();
    }
    EXPECT_EQ(orders(), 0);

    EXPECT_EQ(submit(), QStringLiteral("货单成功录入"));
    const QString number = db().scalar(QStringLiteral("select 货单号 from kvc_record_product"));
    EXPECT_EQ(
        db().rows(QStringLiteral(
            "select 客户号, 接货人, 货物数量, 洗涤方法, 货物单价, 损耗单价, 原版数量, 洗版数量, "
            "货物等级, 激活, 激活时间 from kvc_record_product")),
        (QList<QStringList>{{"1", "黄永发", "100", "[石磨]", "3", "6", "0", "0", "加急", "1", kNowText}}));
    EXPECT_EQ(db().rows(QStringLiteral("select 货单号, 客户号, 货物等级, 工作站, 上一站, 数量, 历史 from "
                                       "kvc_record_procedure")),
              (QList<QStringList>{{number, "1", "加急", "洗水", "接收", "100", "接收[接收]"}}));
    ASSERT_EQ(grid("activatedList")->GetItemCount(), 1);
    EXPECT_EQ(grid("activatedList")->GetItemText(0, 0), number);
    EXPECT_EQ(grid("waitingOrderList")->GetItemCount(), 0);
    // The form keeps its values for the next order.
    EXPECT_EQ(edit("goodsEdit")->text(), QStringLiteral("100"));
}

TEST_F(ConsigneeDesk, ReworkTakesTheLinkedOrdersCustomerAndMayCostNothing)
{
    const quint64 linked = addOrder(1, 50);  // of 佛山南海牛仔服饰 (客户号 2)
    open();
    fillForActivation();  // chooses 客户号 1
    choose("natureCombo", QStringLiteral("返工"));
    EXPECT_EQ(boxes().last().text, QStringLiteral("返工的货物必须选择关联货单号"));
    EXPECT_TRUE(edit("relatedEdit")->isEnabled());
    EXPECT_EQ(submit(), QStringLiteral("返工的货物所关联的货单不能为空"));

    QLineEdit* related = edit("relatedEdit");
    related->setFocus();
    type("relatedEdit", QStringLiteral("abc"));
    QTest::mouseClick(child<QPushButton>("queryRelatedButton"), Qt::LeftButton);
    EXPECT_EQ(boxes().last().text, QStringLiteral("错误的关联货单号"));
    related->setFocus();
    type("relatedEdit", QStringLiteral("999"));
    QTest::mouseClick(child<QPushButton>("queryRelatedButton"), Qt::LeftButton);
    EXPECT_EQ(boxes().last().text, QStringLiteral("所关联的货单号不存在"));
    EXPECT_EQ(submit(), QStringLiteral("错误的关联货单号"));

    related->setFocus();
    type("relatedEdit", QString::number(linked));
    QTest::mouseClick(child<QPushButton>("queryRelatedButton"), Qt::LeftButton);
    EXPECT_EQ(edit("clientNameEdit")->text(), QStringLiteral("佛山南海牛仔服饰"));
    EXPECT_EQ(child<QComboBox>("typeCombo")->currentText(), QStringLiteral("休闲裤"));
    EXPECT_EQ(child<QComboBox>("kindCombo")->currentText(), QStringLiteral("修身"));
    EXPECT_EQ(child<QComboBox>("sexCombo")->currentText(), QStringLiteral("女装"));
    EXPECT_EQ(edit("lossPriceEdit")->text(), QStringLiteral("6"));
    EXPECT_EQ(edit("methodEdit")->text(), QStringLiteral("[石磨]"));
    EXPECT_EQ(child<QListWidget>("sequenceList")->count(), 0);
    EXPECT_EQ(edit("priceEdit")->text(), QString());

    EXPECT_EQ(submit(), QStringLiteral("货单成功录入"));
    EXPECT_EQ(db().rows(QStringLiteral(
                            "select 客户号, 货物性质, 货物单价, 关联, 洗涤方法 from kvc_record_product where "
                            "货单号<>%1")
                            .arg(linked)),
              (QList<QStringList>{{"2", "返工", "0", QString::number(linked), "[石磨]"}}));
    EXPECT_EQ(db().scalar(QStringLiteral("select 客户号 from kvc_record_procedure")), QStringLiteral("2"));

    // Any other nature needs a price.
    choose("natureCombo", QStringLiteral("打版"));
    EXPECT_FALSE(edit("relatedEdit")->isEnabled());
    EXPECT_EQ(edit("relatedEdit")->text(), QString());
    EXPECT_EQ(submit(), QStringLiteral("错误的货物单价"));
    EXPECT_EQ(orders(), 2);
}

TEST_F(ConsigneeDesk, AWaitingOrderIsEditedAndActivatedUnderItsNumber)
{
    open();
    click("editOrderButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行记录进行编辑"));
    fillForActivation();
    type("styleEdit", QStringLiteral("7001"));
    click("activateCheck");
    EXPECT_EQ(submit(), QStringLiteral("货单成功编辑"));
    const QString number = db().scalar(QStringLiteral("select 货单号 from kvc_record_product"));

    KvGrid* waiting = grid("waitingOrderList");
    ASSERT_EQ(waiting->GetItemCount(), 1);
    clickRow(waiting, 0);
    type("goodsEdit", QString());
    click("editOrderButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("重新编辑号码为%1的货单吗？").arg(number));
    EXPECT_TRUE(dlg_->editing());
    EXPECT_FALSE(child<QCheckBox>("activateCheck")->isChecked());
    EXPECT_EQ(edit("goodsEdit")->text(), QStringLiteral("100"));
    EXPECT_EQ(edit("styleEdit")->text(), QStringLiteral("7001"));
    EXPECT_EQ(edit("clientNameEdit")->text(), QStringLiteral("广州天河制衣厂"));
    EXPECT_EQ(child<QComboBox>("priorityCombo")->currentText(), QStringLiteral("加急"));
    EXPECT_EQ(edit("methodEdit")->text(), QStringLiteral("[普洗]"));
    EXPECT_EQ(edit("priceEdit")->text(), QStringLiteral("1.5"));

    // Closing while editing asks; Cancel keeps the screen open in edit mode.
    boxes().clear();
    boxes().answer({false});
    dlg_->reject();
    EXPECT_EQ(boxes().last().text, QStringLiteral("放弃所做的修改吗？"));
    EXPECT_TRUE(dlg_->isVisible());
    EXPECT_TRUE(dlg_->editing());
    // Enter in a number field does not close.
    edit("goodsEdit")->setFocus();
    boxes().clear();
    QTest::keyClick(edit("goodsEdit"), Qt::Key_Return);
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_TRUE(dlg_->isVisible());

    type("goodsEdit", QStringLiteral("90"));
    click("activateCheck");
    EXPECT_EQ(submit(), QStringLiteral("货单成功录入"));
    EXPECT_FALSE(dlg_->editing());
    EXPECT_EQ(
        db().rows(QStringLiteral("select 货单号, 货物数量, 款号, 激活, 激活时间 from kvc_record_product")),
        (QList<QStringList>{{number, "90", "7001", "1", kNowText}}));
    EXPECT_EQ(db().rows(QStringLiteral("select 货单号, 数量, 工作站 from kvc_record_procedure")),
              (QList<QStringList>{{number, "90", "洗水"}}));
    EXPECT_EQ(waiting->GetItemCount(), 0);
    EXPECT_EQ(grid("activatedList")->GetItemCount(), 1);

    // Out of edit mode, Enter elsewhere closes the screen without asking.
    child<QComboBox>("natureCombo")->setFocus();
    boxes().clear();
    QTest::keyClick(child<QComboBox>("natureCombo"), Qt::Key_Return);
    EXPECT_FALSE(dlg_->isVisible());
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

TEST_F(ConsigneeDesk, LoadingAReworkOrderLeavesTheHintForTheUsersOwnChoice)
{
    const quint64 linked = addOrder(1, 50);
    const quint64 rework = addOrder(0, 20);
    db().exec(
        QStringLiteral("update kvc_record_product set 货物性质='返工', 货物单价=0, 关联=%1 where 货单号=%2")
            .arg(linked)
            .arg(rework));
    open();
    clickRow(grid("waitingOrderList"), 0);
    click("editOrderButton");
    ASSERT_TRUE(dlg_->editing());
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("重新编辑号码为%1的货单吗？").arg(rework)});
    EXPECT_EQ(child<QComboBox>("natureCombo")->currentText(), QStringLiteral("返工"));
    EXPECT_TRUE(edit("relatedEdit")->isEnabled());
    EXPECT_EQ(edit("relatedEdit")->text(), QString::number(linked));

    // The hint is still there for the user's own choice.
    choose("natureCombo", QStringLiteral("新货"));
    EXPECT_FALSE(edit("relatedEdit")->isEnabled());
    choose("natureCombo", QStringLiteral("返工"));
    EXPECT_EQ(boxes().last().text, QStringLiteral("返工的货物必须选择关联货单号"));
}

TEST_F(ConsigneeDesk, AnOrderActivatedAtAnotherDeskIsNotActivatedAgain)
{
    const quint64 number = addOrder(0, 60);
    open();
    clickRow(grid("waitingOrderList"), 0);
    click("editOrderButton");
    ASSERT_TRUE(dlg_->editing());
    EXPECT_EQ(dlg_->orderUnderEdit(), number);

    mySQLTool other;
    ASSERT_TRUE(db().connect(other));
    intake::Order o;
    o.client = 2;
    o.goods = 60;
    ASSERT_TRUE(intake::submitOrder(other, o, true, number, QString()).ok());

    fillForActivation();
    EXPECT_EQ(submit(), flow::kOrderTaken);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_TRUE(dlg_->editing());
    EXPECT_EQ(flows(), 1);
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(grid("waitingOrderList")->GetItemCount(), 0);
    EXPECT_EQ(grid("activatedList")->GetItemCount(), 1);
}

TEST_F(ConsigneeDesk, EndingAndCancellingWaitingOrders)
{
    const quint64 first = addOrder(0, 80, QStringLiteral("紧急"));
    const quint64 second = addOrder(0, 30);
    open();
    click("endOrderButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行需要发送的未激活货单"));
    click("cancelOrderButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行需要取消的未激活货单"));

    KvGrid* waiting = grid("waitingOrderList");
    clickRow(waiting, rowOf(waiting, 0, QString::number(first)));
    boxes().clear();
    click("endOrderButton");  // the order has a priority, the form has none
    EXPECT_EQ(boxes().texts(),
              (QStringList{
                  QStringLiteral("该货单还未激活进入车间进行处理，将直接送往发送工作站退还给客户，确认吗？"),
                  intake::kNoPriority}));
    EXPECT_EQ(flows(), 0);
    choose("priorityCombo", QStringLiteral("一般"));
    click("endOrderButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("货单已发送"));
    EXPECT_EQ(db().rows(QStringLiteral("select 货单号, 货物等级, 工作站, 数量 from kvc_record_procedure")),
              (QList<QStringList>{{QString::number(first), "一般", "发送", "80"}}));
    ASSERT_EQ(waiting->GetItemCount(), 1);

    clickRow(waiting, 0);
    boxes().answer({false});
    click("cancelOrderButton");
    EXPECT_EQ(db().scalar(QStringLiteral("select 结讫 from kvc_record_product where 货单号=%1").arg(second)),
              QStringLiteral("0"));
    click("cancelOrderButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("货单已取消"));
    EXPECT_EQ(db().scalar(QStringLiteral("select 结讫 from kvc_record_product where 货单号=%1").arg(second)),
              QStringLiteral("2"));
    EXPECT_EQ(waiting->GetItemCount(), 0);
}

TEST_F(ConsigneeDesk, ReturnedFlowsGoBackToWashingOnce)
{
    const quint64 order = addOrder(1, 100);
    const quint64 first = addIntakeFlow(order, 40);
    const quint64 second = addIntakeFlow(order, 15);
    const quint64 third = addIntakeFlow(order, 5);
    open();
    click("waitingFlowsRadio");
    KvGrid* list = grid("waitingFlowList");
    clickRow(list, rowOf(list, 0, QString::number(first)));
    boxes().clear();
    click("refuseFlowButton");
    EXPECT_EQ(boxes().texts(), (QStringList{QStringLiteral("该流水将被退还给洗水工作站，确认吗？"),
                                            QStringLiteral("流水已退还")}));
    EXPECT_EQ(db().scalar(QStringLiteral("select 结讫 from kvc_record_procedure where 流水号=%1").arg(first)),
              QStringLiteral("2"));
    EXPECT_EQ(
        db().rows(
            QStringLiteral("select 工作站, 数量, 历史 from kvc_record_procedure where 上一号=%1").arg(first)),
        (QList<QStringList>{{"洗水", "40", "接收[接收]-洗水[普洗]-接收[拒绝]"}}));
    EXPECT_EQ(list->GetItemCount(), 2);

    // Another desk forwards the second flow while this one still lists it.
    mySQLTool other;
    ASSERT_TRUE(db().connect(other));
    ASSERT_TRUE(intake::forwardFlow(other, second, QStringLiteral("desk2")).ok());
    clickRow(list, rowOf(list, 0, QString::number(second)));
    click("refuseFlowButton");
    EXPECT_EQ(boxes().last().text, flow::kFlowTaken);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=%1").arg(second)), 1);
    EXPECT_EQ(list->GetItemCount(), 1);

    clickRow(list, 0);
    click("forwardFlowButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("流水已转发至发送工作站"));
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 工作站 from kvc_record_procedure where 上一号=%1").arg(third)),
        QStringLiteral("发送"));
    EXPECT_EQ(list->GetItemCount(), 0);
    click("forwardFlowButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行需要转发的流水"));
}

TEST_F(ConsigneeDesk, AFailedFirstFlowLeavesNoOrderAndNoNewCustomer)
{
    db().exec(
        QStringLiteral("create trigger no_flow before insert on kvc_record_procedure for each row "
                       "signal sqlstate '45000' set message_text = 'flow refused'"));
    open();
    fillForActivation();
    click("newClientCheck");
    type("clientNameEdit", QStringLiteral("新塘新客户"));
    EXPECT_TRUE(submit().contains(QStringLiteral("flow refused")));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("Error"));
    EXPECT_EQ(orders(), 0);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client where 名称='新塘新客户'")), 0);
    EXPECT_EQ(grid("activatedList")->GetItemCount(), 0);

    // The form is as it was: once the flow can be written the same submit goes through.
    db().exec(QStringLiteral("drop trigger no_flow"));
    EXPECT_EQ(submit(), QStringLiteral("货单成功录入"));
    const QString client =
        db().scalar(QStringLiteral("select 客户号 from kvc_record_client where 名称='新塘新客户'"));
    EXPECT_EQ(db().scalar(QStringLiteral("select 客户号 from kvc_record_product")), client);
    EXPECT_GE(rowOf(grid("clientList"), 1, QStringLiteral("新塘新客户")), 0);
}

TEST_F(ConsigneeDesk, NewCustomersAreConfirmedAndBadInputWritesNothing)
{
    open();
    fillForActivation();
    click("newClientCheck");
    type("clientNameEdit", QStringLiteral("佛山南海牛仔服饰"));
    boxes().answer({true, false});
    EXPECT_EQ(submit(), QStringLiteral("客户佛山南海牛仔服饰已存在，请确认是否插入同名的新客户？"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("警告"));
    type("clientNameEdit", QStringLiteral("新客户"));
    boxes().answer({true, false});
    EXPECT_EQ(submit(), QStringLiteral("请输入正确的客户名称"));
    EXPECT_TRUE(boxes().saw(QStringLiteral("数据库中没有找到该客户的资料，是否新增？")));

    // Numbers beyond their columns would be stored clipped or as 0.
    type("goodsEdit", QStringLiteral("99999999999"));
    EXPECT_EQ(submit(), QStringLiteral("错误的货物数量"));
    type("goodsEdit", QStringLiteral("100"));
    type("styleEdit", QStringLiteral("99999999999999999999999"));
    EXPECT_EQ(submit(), QStringLiteral("错误的款号"));
    type("styleEdit", QString());
    type("washedEdit", QStringLiteral("-3000000000"));
    EXPECT_EQ(submit(), QStringLiteral("错误的洗版数量"));
    type("washedEdit", QString());
    // Text outside GBK is refused with the formatter's message.
    type("clientNameEdit", QStringLiteral("新客户😀"));
    const QString refused = submit();
    EXPECT_TRUE(refused.contains(QStringLiteral("😀"))) << refused.toStdString();
    click("editMethodCheck");
    type("methodEdit", QStringLiteral("[普洗]\u0E01"));
    type("clientNameEdit", QStringLiteral("新客户"));
    EXPECT_TRUE(submit().contains(QStringLiteral("\u0E01")));
    EXPECT_EQ(orders(), 0);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), 7);

    // Quotes, backslashes and a GBK character ending in 0x5C are stored as typed.
    const QString tricky = QStringLiteral("新'客\\户嘰\\'");
    type("clientNameEdit", tricky);
    type("methodEdit", QStringLiteral("[普洗]"));
    EXPECT_EQ(submit(), QStringLiteral("货单成功录入"));
    const QList<QStringList> added =
        db().rows(QStringLiteral("select 客户号, 名称 from kvc_record_client order by 客户号 desc limit 1"));
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added[0][1], tricky);
    EXPECT_EQ(db().rows(QStringLiteral("select 客户号, 洗涤方法 from kvc_record_product")),
              (QList<QStringList>{{added[0][0], "[普洗]"}}));
}

TEST_F(ConsigneeDesk, TheTimerRefreshesTheFlowsOnlyWhileTheScreenIsActive)
{
    const quint64 order = addOrder(1, 100);
    open();
    QTimer* timer = child<QTimer>("refreshTimer1203");
    timer->setInterval(20);
    KvGrid* list = grid("waitingFlowList");

    // The flow arrives only once the desk is no longer active, so no tick can have shown it.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    addIntakeFlow(order, 10);
    QTest::qWait(150);

    EXPECT_EQ(list->GetItemCount(), 0);

    dlg_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg_.get()));
    QTest::qWait(150);
    EXPECT_EQ(list->GetItemCount(), 1);
}

// With the PC printing on its own, 激活 prints the first flow's ticket and a new waiting order
// its own; editing that order again prints nothing more.
TEST_F(ConsigneeDesk, ActivationPrintsTheFirstFlowsTicketAndANewWaitingOrderItsOwn)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("t.pdf"));
    kvtest::PdfChooser pdf(file);
    tickets::setSettings({tickets::Layout::Label, true});
    open();
    fillForActivation();
    EXPECT_EQ(submit(), QStringLiteral("货单成功录入"));
    const QString flow = db().scalar(QStringLiteral("select 流水号 from kvc_record_procedure"));
    QString page = kvtest::pdfPages(file).value(0).remove(QLatin1Char(' '));
    EXPECT_TRUE(page.contains(QStringLiteral("流水") + flow)) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("100件")));

    click("activateCheck");
    EXPECT_EQ(submit(), QStringLiteral("货单成功编辑"));
    const QString order = db().scalar(QStringLiteral("select max(货单号) from kvc_record_product"));
    page = kvtest::pdfPages(file).value(0).remove(QLatin1Char(' '));
    EXPECT_TRUE(page.contains(QStringLiteral("货单") + order)) << page.toStdString();
    EXPECT_TRUE(page.contains(ticket::handText(ticket::Kind::Order, order.toULongLong())));
    EXPECT_EQ(pdf.asked, 2);
    tickets::setSettings(tickets::Settings());
}
