#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_ShipDocket.h"
#include "dialogs/shipping/Dlg_Shipper.h"
#include "flow/Shipping.h"
#include "grid/KvGrid.h"
#include "parts/PagedList.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"
#include "ui/AppState.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

class ShipperDesk : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    ShipperDesk() { signInAs(QStringLiteral("厂长")); }

protected:
    quint64 addOrder(int goods, int loss = 0, const QString& nature = QStringLiteral("新货"),
                     int original = 0, int washed = 0)
    {
        db().exec(QStringLiteral(
                      "insert into kvc_record_product (款号, 客户号, 货物数量, 接货时间, 货物性质, 货物分类, "
                      "货物款式, "
                      "货物性别, 洗涤方法, 货物单价, 原版数量, 洗版数量, 损耗数量, 货物等级, 激活) values "
                      "(88012, 2, %1, '2026-12-07 09:30:00', '%2', '休闲裤', '修身', '女装', '[石磨]', 2.5, "
                      "%3, %4, %5, '加急', 1)")
                      .arg(goods)
                      .arg(nature)
                      .arg(original)
                      .arg(washed)
                      .arg(loss));
        return db().scalar(QStringLiteral("select max(货单号) from kvc_record_product")).toULongLong();
    }
    quint64 addFlow(quint64 order, const QString& previous, const QString& station, int count)
    {
        db().exec(
            QStringLiteral(
                "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一站, 工作站, 数量, 生成时间, "
                "历史) "
                "values (%1, 2, '加急', '%2', '%3', %4, '2026-12-08 08:00:00', '接收[接收]-喷砂[喷砂]')")
                .arg(order)
                .arg(previous, station)
                .arg(count));
        return db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
    }
    void addShipment(quint64 order, int goods, int loss, int original)
    {
        db().exec(QStringLiteral("insert into kvc_record_ship (货单号, 客户号, 发货人, 货物数量, 损耗数量, "
                                 "原版数量, 货物单价) "
                                 "values (%1, 2, '黄永发', %2, %3, %4, 2.5)")
                      .arg(order)
                      .arg(goods)
                      .arg(loss)
                      .arg(original));
    }

    Dlg_Shipper& open() { return openScreen(dlg_); }
    using ScreenDriver::rowOf;
    int rowOf(KvGrid* g, quint64 id) { return rowOf(g, 0, QString::number(id)); }
    void chooseOrder(quint64 order)
    {
        KvGrid* orders = grid("unshippedList");
        const int row = rowOf(orders, order);
        ASSERT_GE(row, 0);
        clickRow(orders, row);
        ASSERT_EQ(dlg_->currentOrder(), order);
    }
    void chooseStaff()
    {
        child<QComboBox>("shipperCombo")->setCurrentIndex(0);
        child<QComboBox>("issuerCombo")->setCurrentIndex(0);
    }
    QStringList figures()
    {
        QStringList out;
        for (const char* n :
             {"pendingSum", "waitingSum", "confirmedSum", "shippedOriginal", "shippedWashed", "shippedLoss",
              "shippedGoods", "remainingOriginal", "remainingWashed", "remainingLoss", "availableGoods"})
            out << text(n);
        return out;
    }

    std::unique_ptr<Dlg_Shipper> dlg_;
};

const QStringList kNoFigures(11, QString());

}  // namespace

TEST_F(ShipperDesk, OpensWithTheOrdersAtShippingAndTheButtonsOfTheIdentity)
{
    const quint64 listed = addOrder(100);
    addFlow(listed, QStringLiteral("喷砂"), QStringLiteral("发送"), 20);
    addFlow(listed, QStringLiteral("发送"), QStringLiteral("发送"), 30);
    const quint64 inWorkshop = addOrder(50);
    addFlow(inWorkshop, QStringLiteral("接收"), QStringLiteral("洗水"), 50);

    open();
    KvGrid* orders = grid("unshippedList");
    ASSERT_EQ(orders->GetItemCount(), 1);  // listed once although two flows are at 发送
    EXPECT_EQ(orders->GetItemText(0, QStringLiteral("货单号")), QString::number(listed));
    EXPECT_EQ(orders->GetItemText(0, QStringLiteral("客户名称")), QStringLiteral("佛山南海牛仔服饰"));
    EXPECT_EQ(orders->GetItemText(0, QStringLiteral("生成时间")), QStringLiteral("2026-12-07 09:30:00"));
    EXPECT_EQ(child<QLabel>("unshippedLabel")->text(), QStringLiteral("共查询到1条，显示其中1-1条"));
    EXPECT_TRUE(child<QRadioButton>("radioUnshipped")->isChecked());
    EXPECT_TRUE(child<QWidget>("shippedPager")->isHidden());
    EXPECT_TRUE(child<QPushButton>("unshippedNext")->isHidden());
    EXPECT_FALSE(child<QPushButton>("closeOrderButton")->isHidden());
    EXPECT_FALSE(child<QPushButton>("repairButton")->isHidden());
    EXPECT_TRUE(child<QPushButton>("lossButton")->isHidden());
    QComboBox* shipper = child<QComboBox>("shipperCombo");
    EXPECT_EQ(shipper->count(), 2);
    EXPECT_EQ(shipper->itemText(0), QStringLiteral("黄永发"));
    EXPECT_TRUE(shipper->currentText().isEmpty());
    EXPECT_EQ(child<QComboBox>("issuerCombo")->itemText(1), QStringLiteral("刘晓燕"));
    QTimer* timer = child<QTimer>("refreshTimer1204");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 60000);

    g_identity = QStringLiteral("调度");
    open();
    EXPECT_TRUE(child<QPushButton>("closeOrderButton")->isHidden());
    EXPECT_TRUE(child<QPushButton>("repairButton")->isHidden());
}

TEST_F(ShipperDesk, PagesThroughMoreOrdersThanOneListHolds)
{
    db().exec(
        QStringLiteral("insert into kvc_record_product (货单号, 客户号, 货物数量, 激活) "
                       "select seq, 1, 10, 1 from seq_1_to_1500"));
    db().exec(
        QStringLiteral("insert into kvc_record_procedure (货单号, 上一站, 工作站, 数量) "
                       "select seq, '洗水', '发送', 10 from seq_1_to_1500"));
    open();
    KvGrid* orders = grid("unshippedList");
    QLabel* label = child<QLabel>("unshippedLabel");
    QPushButton* next = child<QPushButton>("unshippedNext");
    QPushButton* previous = child<QPushButton>("unshippedPrevious");
    EXPECT_EQ(orders->GetItemCount(), 1024);
    EXPECT_EQ(orders->GetItemText(0, 0), QStringLiteral("1500"));
    EXPECT_EQ(label->text(), QStringLiteral("共查询到1500条，显示其中1-1024条"));
    EXPECT_FALSE(next->isHidden());
    EXPECT_TRUE(previous->isHidden());

    next->click();
    EXPECT_EQ(orders->GetItemCount(), 476);
    EXPECT_EQ(orders->GetItemText(0, 0), QStringLiteral("476"));
    EXPECT_EQ(orders->GetItemText(475, 0), QStringLiteral("1"));
    EXPECT_EQ(label->text(), QStringLiteral("共查询到1500条，显示其中1025-1500条"));
    EXPECT_TRUE(next->isHidden());
    EXPECT_FALSE(previous->isHidden());

    // A refresh stays on the page on display and its label keeps telling the truth.
    db().exec(QStringLiteral("update kvc_record_procedure set 结讫=1 where 货单号<=100"));
    click("refreshButton");
    EXPECT_EQ(orders->GetItemCount(), 376);
    EXPECT_EQ(label->text(), QStringLiteral("共查询到1400条，显示其中1025-1400条"));

    previous->click();
    EXPECT_EQ(orders->GetItemCount(), 1024);
    EXPECT_EQ(label->text(), QStringLiteral("共查询到1400条，显示其中1-1024条"));
    EXPECT_TRUE(previous->isHidden());
}

TEST_F(ShipperDesk, ChoosingAnOrderShowsWhereItsGoodsAreAndClickingBesideForgetsIt)
{
    const quint64 order = addOrder(100, 5, QStringLiteral("新货"), 2, 1);
    addFlow(order, QStringLiteral("洗水"), QStringLiteral("手工"), 10);
    addFlow(order, QStringLiteral("喷砂"), QStringLiteral("发送"), 20);
    addFlow(order, QStringLiteral("发送"), QStringLiteral("发送"), 60);
    addShipment(order, 30, 2, 1);
    const quint64 other = addOrder(40);
    addFlow(other, QStringLiteral("喷砂"), QStringLiteral("发送"), 40);

    open();
    chooseOrder(order);
    EXPECT_EQ(grid("pendingList")->GetItemText(0, QStringLiteral("工作站")), QStringLiteral("手工"));
    EXPECT_EQ(grid("waitingList")->GetItemCount(), 1);
    EXPECT_EQ(grid("confirmedList")->GetItemCount(), 1);
    EXPECT_EQ(grid("shippedGoodsList")->GetItemText(0, QStringLiteral("发货人")), QStringLiteral("黄永发"));
    EXPECT_EQ(figures(), (QStringList{"10", "20", "60", "1", "0", "2", "30", "1", "1", "3", "30"}));

    // Without quantity accounting the shipped goods are not subtracted.
    child<QCheckBox>("noQuantityCheck")->setChecked(true);
    EXPECT_EQ(text("availableGoods"), QStringLiteral("60"));
    child<QCheckBox>("noQuantityCheck")->setChecked(false);
    EXPECT_EQ(text("availableGoods"), QStringLiteral("30"));

    click("shipAllButton");
    EXPECT_EQ(text("shipOriginal"), QStringLiteral("1"));
    EXPECT_EQ(text("shipLoss"), QStringLiteral("3"));
    EXPECT_EQ(text("shipGoods"), QStringLiteral("30"));
    EXPECT_EQ(text("amount"), QStringLiteral("75.00"));
    type("shipGoods", QStringLiteral("0"));
    EXPECT_EQ(text("amount"), QString());

    // A click beside the rows leaves nothing of the order to act on.
    clickBeside(grid("unshippedList"));
    EXPECT_EQ(dlg_->currentOrder(), 0u);
    EXPECT_EQ(grid("waitingList")->GetItemCount(), 0);
    EXPECT_EQ(grid("shippedGoodsList")->GetItemCount(), 0);
    EXPECT_EQ(figures(), kNoFigures);
    click("confirmButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行需要确认的流水记录"));
    type("shipLoss", QStringLiteral("2"));
    click("submitButton");
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_ship")), 1);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 结讫<>0")), 0);

    // Rework is priced at nothing.
    const quint64 rework = addOrder(10, 0, QStringLiteral("返工"));
    addFlow(rework, QStringLiteral("发送"), QStringLiteral("发送"), 10);
    click("refreshButton");
    chooseOrder(rework);
    type("shipGoods", QStringLiteral("10"));
    EXPECT_EQ(text("amount"), QStringLiteral("0.00"));
}

TEST_F(ShipperDesk, ConfirmAndReturnMoveTheChosenWaitingFlow)
{
    const quint64 order = addOrder(100);
    const quint64 first = addFlow(order, QStringLiteral("喷砂"), QStringLiteral("发送"), 20);
    const quint64 second = addFlow(order, QStringLiteral("洗水"), QStringLiteral("发送"), 30);
    open();
    chooseOrder(order);
    KvGrid* waiting = grid("waitingList");
    ASSERT_EQ(waiting->GetItemCount(), 2);

    clickRow(waiting, rowOf(waiting, first));
    boxes().answer({false});
    click("confirmButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("第%1号流水将被确认，等待发货，确定吗？").arg(first));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 结讫=1")), 0);

    clickRow(waiting, rowOf(waiting, first));
    const mySQLTool::Traffic before = g_sqlTool.traffic();
    click("confirmButton");
    EXPECT_LE(g_sqlTool.traffic().roundTrips - before.roundTrips, 8u);  // with the order's lists after it
    EXPECT_EQ(db().scalar(QStringLiteral("select 工序 from kvc_record_procedure where 流水号=%1").arg(first)),
              QStringLiteral("确认"));
    EXPECT_EQ(waiting->GetItemCount(), 1);
    EXPECT_EQ(grid("confirmedList")->GetItemText(0, QStringLiteral("数量")), QStringLiteral("20"));
    EXPECT_EQ(text("availableGoods"), QStringLiteral("20"));

    clickRow(waiting, rowOf(waiting, second));
    click("returnButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("第%1号流水将被退还给上一站，确定吗？").arg(second));
    EXPECT_EQ(waiting->GetItemCount(), 0);
    // The goods are back at the washing station, sent by shipping.
    KvGrid* pending = grid("pendingList");
    ASSERT_EQ(pending->GetItemCount(), 1);
    EXPECT_EQ(pending->GetItemText(0, QStringLiteral("工作站")), QStringLiteral("洗水"));
    EXPECT_EQ(pending->GetItemText(0, QStringLiteral("上一站")), QStringLiteral("发送"));
    EXPECT_EQ(text("pendingSum"), QStringLiteral("30"));
    EXPECT_EQ(db().count(
                  QStringLiteral("from kvc_record_procedure where 工作站='洗水' and 上一站='发送' and 结讫=0 "
                                 "and 上一号=%1 and 货单号=%2")
                      .arg(second)
                      .arg(order)),
              1);

    // With nothing selected the actions say so.
    click("returnButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行需要退还的流水记录"));
}

TEST_F(ShipperDesk, SubmitChecksInOrderThenShipsAndClosesACoveredOrder)
{
    const quint64 order = addOrder(100, 2);
    addFlow(order, QStringLiteral("发送"), QStringLiteral("发送"), 98);
    open();
    chooseOrder(order);

    click("submitButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请设置本次发货的具体内容"));
    type("shipGoods", QStringLiteral("99"));
    click("submitButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("设定数量不能超出可发送数量"));
    type("shipGoods", QStringLiteral("50"));
    type("shipLoss", QStringLiteral("3"));
    click("submitButton");
    ASSERT_GE(boxes().boxes.size(), 2);
    EXPECT_EQ(boxes().boxes[boxes().boxes.size() - 2].text,
              QStringLiteral("填写的损耗数量大于目前已登记的损耗数，请确认无误"));
    EXPECT_EQ(boxes().boxes[boxes().boxes.size() - 2].caption, QStringLiteral("警告"));
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择发货人"));
    child<QComboBox>("shipperCombo")->setCurrentIndex(1);
    type("shipLoss", QString());
    click("submitButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择开票人"));
    child<QComboBox>("issuerCombo")->setCurrentIndex(0);
    boxes().answer({false});
    click("submitButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("生成新的发货单，确定吗？"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_ship")), 0);

    click("submitButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("发货单编辑完成"));
    EXPECT_EQ(
        db().rows(QStringLiteral("select 货物数量, 损耗数量, 发货人, 开票人, 经办人 from kvc_record_ship")),
        (QList<QStringList>{{"50", "0", "周大海", "张志明", "tester"}}));
    EXPECT_EQ(grid("shippedGoodsList")->GetItemCount(), 1);
    EXPECT_EQ(text("availableGoods"), QStringLiteral("48"));
    EXPECT_EQ(text("shipGoods"), QString());
    EXPECT_EQ(dlg_->currentOrder(), order);

    // The rest closes the order, which leaves the list of unshipped orders but stays on
    // screen with both shipments, ready for its docket; the unseen shipped list is not counted.
    click("shipAllButton");
    const mySQLTool::Traffic before = g_sqlTool.traffic();
    click("submitButton");
    EXPECT_LE(g_sqlTool.traffic().roundTrips - before.roundTrips, 8u);  // with the lists after it
    EXPECT_EQ(boxes().last().text, QStringLiteral("发货单编辑完成"));
    EXPECT_EQ(db().scalar(QStringLiteral("select 结讫 from kvc_record_product where 货单号=%1").arg(order)),
              QStringLiteral("1"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 结讫=0")), 0);
    EXPECT_EQ(grid("unshippedList")->GetItemCount(), 0);
    EXPECT_EQ(grid("shippedList")->GetItemCount(), 0);
    EXPECT_EQ(dlg_->currentOrder(), order);
    EXPECT_EQ(grid("shippedGoodsList")->GetItemCount(), 2);
    EXPECT_EQ(grid("confirmedList")->GetItemCount(), 0);

    // The shipped list shows the order's shipments only.
    child<QRadioButton>("radioShipped")->setChecked(true);
    EXPECT_EQ(child<QLabel>("shippedLabel")->text(), QStringLiteral("共查询到1条，显示其中1-1条"));
    clickRow(grid("shippedList"), 0);
    EXPECT_EQ(grid("shippedGoodsList")->GetItemCount(), 2);
    EXPECT_EQ(grid("confirmedList")->GetItemCount(), 0);
}

TEST_F(ShipperDesk, ADeskWhoseFiguresAreStaleIsRefusedAndShownTheNewOnes)
{
    const quint64 order = addOrder(100, 2);
    addFlow(order, QStringLiteral("发送"), QStringLiteral("发送"), 98);
    open();
    chooseOrder(order);
    chooseStaff();
    click("shipAllButton");

    mySQLTool otherDesk;
    ASSERT_TRUE(db().connect(otherDesk));
    shipping::Shipment s;
    s.order = order;
    s.goods = 50;  // the order stays open
    ASSERT_TRUE(shipping::ship(otherDesk, s).ok());

    click("submitButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("设定数量不能超出可发送数量"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_ship")), 1);
    EXPECT_EQ(text("shippedGoods"), QStringLiteral("50"));
    EXPECT_EQ(text("shipGoods"), QStringLiteral("98"));  // what was typed stays
}

TEST_F(ShipperDesk, ForcedClosingAndRepairFromTheDesk)
{
    const quint64 order = addOrder(100);
    const quint64 station = addFlow(order, QStringLiteral("洗水"), QStringLiteral("手工"), 40);
    addFlow(order, QStringLiteral("喷砂"), QStringLiteral("发送"), 60);
    open();
    click("closeOrderButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行要结讫的货单记录"));

    chooseOrder(order);
    click("closeOrderButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("该货单还有部分货物在车间中，不能结讫"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 结讫<>0")), 0);

    db().exec(QStringLiteral("update kvc_record_procedure set 结讫=1 where 流水号=%1").arg(station));
    chooseOrder(order);
    boxes().answer({false});
    click("closeOrderButton");
    EXPECT_EQ(
        boxes().last().text,
        QStringLiteral("强行结讫将不能生成发货单，\n同时该货单所有仍在运行的流水也将全部关闭，确认结讫吗？"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 结讫=0")), 1);
    chooseOrder(order);
    click("closeOrderButton");
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 结讫=0")), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select 结讫 from kvc_record_product")), QStringLiteral("1"));
    EXPECT_EQ(grid("unshippedList")->GetItemCount(), 0);

    boxes().clear();
    click("repairButton");
    ASSERT_EQ(boxes().boxes.size(), 2);
    EXPECT_EQ(boxes().boxes[0].caption, QStringLiteral("警告"));
    EXPECT_EQ(boxes().last().text, QStringLiteral("修复完毕"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("提示"));
}

TEST_F(ShipperDesk, ClosingInTheShippedViewNeverActsOnTheHiddenUnshippedChoice)
{
    const quint64 unshipped = addOrder(100);
    addFlow(unshipped, QStringLiteral("喷砂"), QStringLiteral("发送"), 100);
    const quint64 closed = addOrder(30);
    db().exec(QStringLiteral("update kvc_record_product set 结讫=1 where 货单号=%1").arg(closed));
    open();
    chooseOrder(unshipped);
    child<QRadioButton>("radioShipped")->setChecked(true);
    for (const bool chooseShown : {false, true}) {
        if (chooseShown)
            clickRow(grid("shippedList"), 0);
        boxes().clear();
        click("closeOrderButton");
        EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("请在未发送的货单列表中选择要结讫的货单")});
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        EXPECT_EQ(
            db().scalar(QStringLiteral("select 结讫 from kvc_record_product where 货单号=%1").arg(unshipped)),
            QStringLiteral("0"));
    }
}

TEST_F(ShipperDesk, PrintingNeedsAChosenShipment)
{
    const quint64 order = addOrder(100);
    addFlow(order, QStringLiteral("发送"), QStringLiteral("发送"), 60);
    addShipment(order, 30, 0, 0);
    open();
    QSignalSpy docket(dlg_.get(), &Dlg_Shipper::docketRequested);
    click("printButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择左侧的一行发货记录进行打印"));
    chooseOrder(order);
    KvGrid* shipped = grid("shippedGoodsList");
    clickRow(shipped, 0);
    // The docket dialog opens for the chosen shipment; cancelling it prints nothing.
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* d = qobject_cast<Dlg_ShipDocket*>(QApplication::activeModalWidget())) {
            if (auto* text = d->findChild<QPlainTextEdit*>())
                shown = text->toPlainText();
            d->reject();
        }
    });
    click("printButton");
    ASSERT_EQ(docket.count(), 1);
    EXPECT_TRUE(shown.contains(QStringLiteral("货物数量：30"))) << shown.toStdString();
    EXPECT_EQ(docket.at(0).at(0).toULongLong(),
              db().scalar(QStringLiteral("select 序列号 from kvc_record_ship")).toULongLong());
    shipped->SetItemText(0, 0, QStringLiteral("x"));
    click("printButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("错误的序列号"));
    EXPECT_EQ(docket.count(), 1);
}

TEST_F(ShipperDesk, TheTimerRefreshesOnlyTheActiveWindow)
{
    open();
    EXPECT_EQ(grid("unshippedList")->GetItemCount(), 0);
    const quint64 order = addOrder(10);
    addFlow(order, QStringLiteral("喷砂"), QStringLiteral("发送"), 10);
    QWidget other;
    other.show();
    other.activateWindow();
    QTest::qWait(50);
    if (dlg_->isActiveWindow())
        GTEST_SKIP() << "the platform cannot move the focus away";
    QMetaObject::invokeMethod(dlg_.get(), "onRefreshTimer");
    EXPECT_EQ(grid("unshippedList")->GetItemCount(), 0);
    dlg_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg_.get()));
    QMetaObject::invokeMethod(dlg_.get(), "onRefreshTimer");
    EXPECT_EQ(grid("unshippedList")->GetItemCount(), 1);
}

TEST_F(ShipperDesk, ARefreshKeepsTheChosenOrderAndShowsItsNewlyArrivedFlows)
{
    const quint64 first = addOrder(10);
    addFlow(first, QStringLiteral("喷砂"), QStringLiteral("发送"), 4);
    const quint64 chosen = addOrder(20);
    addFlow(chosen, QStringLiteral("喷砂"), QStringLiteral("发送"), 5);
    open();
    chooseOrder(chosen);
    ASSERT_EQ(grid("waitingList")->GetItemCount(), 1);

    // Meanwhile the rest of the chosen order arrives, and a newer order comes in above it.
    addFlow(chosen, QStringLiteral("树脂"), QStringLiteral("发送"), 15);
    addFlow(addOrder(30), QStringLiteral("喷砂"), QStringLiteral("发送"), 30);
    click("refreshButton");
    EXPECT_EQ(grid("unshippedList")->GetItemCount(), 3);
    EXPECT_EQ(child<PagedList>("unshippedPager")->selectedKey(), QString::number(chosen));
    EXPECT_EQ(dlg_->currentOrder(), chosen);
    EXPECT_EQ(grid("waitingList")->GetItemCount(), 2);
    EXPECT_EQ(text("waitingSum"), QStringLiteral("20"));
}

// The server refuses a shipment to a closed order, so in the shipped view the part of the block
// where a shipment is typed is greyed out; the buttons that act on orders stay as they were.
TEST_F(ShipperDesk, TheShippedViewGreysOutWhereAShipmentIsTyped)
{
    const quint64 closed = addOrder(30);
    db().exec(QStringLiteral("update kvc_record_product set 结讫=1 where 货单号=%1").arg(closed));
    open();
    const char* entries[] = {"shipOriginal", "shipWashed",  "shipLoss",        "shipGoods",   "shipAllButton",
                             "shipperCombo", "issuerCombo", "noQuantityCheck", "submitButton"};
    for (bool shipped : {true, false}) {
        child<QRadioButton>(shipped ? "radioShipped" : "radioUnshipped")->setChecked(true);
        if (shipped)
            clickRow(grid("shippedList"), 0);
        for (const char* e : entries)
            EXPECT_EQ(child<QWidget>(e)->isEnabled(), !shipped) << e;
        EXPECT_TRUE(child<QWidget>("repairButton")->isEnabled());
        EXPECT_TRUE(child<QWidget>("closeOrderButton")->isEnabled());
    }
}
