// The supplement: finding and locking an order, and registering its piece-work in one go.
#include "db/mySQLTool.h"
#include "dialogs/finance/Dlg_SalaryEdit.h"
#include "dialogs/finance/ops/Supplement.h"
#include "grid/KvGrid.h"
#include "parts/PagedList.h"
#include "parts/TimeCondition.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <memory>

namespace {

const QString kNowText = QStringLiteral("2026-12-08 09:30:00");

class SupplementDesk : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    SupplementDesk() { signInAs(QStringLiteral("财务")); }

protected:
    quint64 addOrder(int client, const char* received, int goods = 100)
    {
        db().exec(
            QStringLiteral("insert into kvc_record_product (客户号, 货物数量, 接货时间, 货物等级, 激活) "
                           "values (%1, %2, '%3', '加急', 1)")
                .arg(client)
                .arg(goods)
                .arg(QString::fromLatin1(received)));
        return db().scalar(QStringLiteral("select max(货单号) from kvc_record_product")).toULongLong();
    }
    Dlg_SalaryEdit& open() { return openScreen(dlg_); }
    QStringList found()
    {
        QStringList out;
        KvGrid* g = grid("ordersList");
        for (int r = 0; r < g->GetItemCount(); ++r)
            out << g->GetItemText(r, 0);
        return out;
    }
    void chooseProcess(const QString& name)
    {
        QComboBox* c = child<QComboBox>("processCombo");
        const int i = c->findText(name);
        ASSERT_GE(i, 0);
        c->setCurrentIndex(i);
        Q_EMIT c->activated(i);
    }
    void lock(quint64 order)
    {
        click("searchButton");
        ASSERT_TRUE(clickRowWith(grid("ordersList"), 0, QString::number(order)));
        child<QCheckBox>("lockCheck")->setChecked(true);
        ASSERT_EQ(dlg_->lockedOrder(), order);
    }
    void insertMember(int member)
    {
        ASSERT_TRUE(clickRowWith(grid("staffList"), 0, QString::number(member)));
        click("insertButton");
    }

    std::unique_ptr<Dlg_SalaryEdit> dlg_;
};

}  // namespace

TEST_F(SupplementDesk, TheOrderSearchKeepsToEveryTickedConditionTheOrderNumberToo)
{
    const QString a = QString::number(addOrder(1, "2026-11-05 10:00:00"));
    const QString b = QString::number(addOrder(2, "2026-11-20 10:00:00"));
    const QString c = QString::number(addOrder(1, "2026-12-05 10:00:00"));
    open();
    EXPECT_FALSE(child<QLineEdit>("orderEdit")->isEnabled());
    EXPECT_FALSE(child<QCheckBox>("lockCheck")->isEnabled());
    click("searchButton");
    EXPECT_EQ(found(), (QStringList{a, b, c}));
    EXPECT_EQ(child<QLabel>("ordersLabel")->text(), QStringLiteral("共查询到3条记录，显示其中3条"));
    EXPECT_EQ(grid("ordersList")->GetItemText(1, QStringLiteral("客户")), QStringLiteral("佛山南海牛仔服饰"));

    // Ticked without input: its message, and nothing is searched.
    struct Missing {
        const char* ticked;
        QString message;
    };
    const Missing missing[] = {
        {"clientSwitch", QStringLiteral("您设置了勾选客户，请选择一个客户作为查询条件")},
        {"receivedSwitch", QStringLiteral("您设置了勾选时间，请选择一项内容作为查询条件")},
        {"orderSwitch", QStringLiteral("您设置了勾选货单号，请输入一个货单号作为查询条件")},
    };
    for (const Missing& m : missing) {
        open();
        child<QCheckBox>(m.ticked)->setChecked(true);
        click("searchButton");
        EXPECT_EQ(boxes().last().text, m.message) << m.ticked;
        EXPECT_TRUE(found().isEmpty()) << m.ticked;
    }

    open();
    child<QCheckBox>("clientSwitch")->setChecked(true);
    ASSERT_TRUE(clickRowWith(grid("clientList"), 1, QStringLiteral("广州天河制衣厂")));
    click("searchButton");
    EXPECT_EQ(found(), (QStringList{a, c}));
    auto* received = child<TimeCondition>("received");
    received->switchBox()->setChecked(true);
    received->radio(TimeCondition::Range::Before)->setChecked(true);
    received->setMoment(TimeCondition::First, QDateTime(QDate(2026, 12, 1), QTime(0, 0)));
    click("searchButton");
    EXPECT_EQ(found(), QStringList{a});
    received->radio(TimeCondition::Range::Within)->setChecked(true);
    received->setMoment(TimeCondition::First, QDateTime(QDate(2026, 11, 5), QTime(10, 0)));
    received->setMoment(TimeCondition::Second, QDateTime(QDate(2026, 12, 31), QTime(0, 0)));
    click("searchButton");
    EXPECT_EQ(found(), QStringList{c});  // strictly after the first moment
    received->switchBox()->setChecked(false);
    child<QCheckBox>("orderSwitch")->setChecked(true);
    type("orderEdit", a);
    click("searchButton");
    EXPECT_EQ(found(), QStringList{a});
    type("orderEdit", b);  // not the customer's
    click("searchButton");
    EXPECT_TRUE(found().isEmpty());
    child<QCheckBox>("orderSwitch")->setChecked(false);
    EXPECT_TRUE(text("orderEdit").isEmpty());
}

TEST_F(SupplementDesk, RegisteringWritesOneFinishedFlowAndARowPerEmployeeOnItsKey)
{
    const quint64 order = addOrder(3, "2026-11-05 10:00:00");
    open();
    lock(order);
    EXPECT_EQ(grid("lockedList")->GetItemText(0, 0), QString::number(order));
    // The rate follows the step even while no row is there.
    chooseProcess(QStringLiteral("石磨工序"));
    EXPECT_DOUBLE_EQ(dlg_->rate(), 0.5);
    ASSERT_TRUE(clickRowWith(grid("teamList"), 0, QStringLiteral("洗水组")));
    EXPECT_EQ(grid("staffList")->GetItemCount(), 5);  // those who left too
    child<QCheckBox>("commonCheck")->setChecked(true);
    QTest::keyClicks(child<QLineEdit>("commonQuantityEdit"), QStringLiteral("30"));
    insertMember(9);
    insertMember(9);
    insertMember(10);
    KvGrid* edit = grid("editList");
    ASSERT_EQ(edit->GetItemCount(), 2);
    EXPECT_EQ(edit->rows().rowCells(0), (QStringList{"9", "郑小军", "石磨工序", "30", "15.00"}));
    typeCell(edit, 1, 3, QStringLiteral("70"));
    QApplication::processEvents();  // the grid reports the edit through a posted message
    EXPECT_EQ(edit->GetItemText(1, 4), QStringLiteral("35.00"));

    boxes().answer({false});
    click("registerButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("确定为货单%1追加新的计件工作记录吗？").arg(order));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 0);
    click("registerButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("追加等级成功"));

    const QString flow = db().scalar(QStringLiteral("select 流水号 from kvc_record_procedure"));
    EXPECT_EQ(
        db().rows(QStringLiteral("select 货单号, 客户号, 货物等级, 数量, 生成时间, 结讫时间, 工作站, 工序, "
                                 "结讫, 经办人 from kvc_record_procedure")),
        (QList<QStringList>{{QString::number(order), "3", "加急", "100", kNowText, kNowText, "追加",
                             "石磨工序", "1", "tester"}}));
    EXPECT_EQ(
        db().rows(QStringLiteral("select 货单号, 流水号, 工号, 完成时间, 完成数量, 工价, 共计, 结讫, 经办人 "
                                 "from kvc_record_mission order by 工号")),
        (QList<QStringList>{
            {QString::number(order), flow, "9", kNowText, "30", "0.5", "15", "0", "tester"},
            {QString::number(order), flow, "10", kNowText, "70", "0.5", "35", "0", "tester"}}));
    // Unlocked: nothing left to register a second time.
    EXPECT_FALSE(child<QCheckBox>("lockCheck")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("lockCheck")->isEnabled());
    EXPECT_EQ(edit->GetItemCount(), 0);
    EXPECT_FALSE(child<QPushButton>("registerButton")->isEnabled());
}

TEST_F(SupplementDesk, RegisteringChecksInTheirOrder)
{
    finance::Supplement base;
    base.process = QStringLiteral("石磨工序");
    base.rate = 0.5;
    base.rows = {{9, 30, 15}, {10, 70, 35}};
    struct Case {
        std::function<void(finance::Supplement&)> change;
        qint64 goods;
        QString refusal;  // empty: accepted
    };
    const Case cases[] = {
        {[](auto& s) { s.process.clear(), s.rate = 0, s.rows.clear(); }, 100, QStringLiteral("工序不能为空")},
        // A step named before production management measured names: a flow's 工序 holds 50.
        {[](auto& s) { s.process = QString(51, QChar(0x5DE5)), s.rate = 0; }, 100,
         QStringLiteral("工序“%1”的名称超过50个字，不能记入流水，请先在生产管理中改短")
             .arg(QString(51, QChar(0x5DE5)))},
        {[](auto& s) { s.rate = 0, s.rows.clear(); }, 100, QStringLiteral("错误的工价")},
        {[](auto& s) { s.rows.clear(); }, 100, QStringLiteral("编辑项不能为空")},
        {[](auto& s) { s.rows[1].amount = 0, s.rows[1].quantity = 0; }, 100,
         QStringLiteral("错误的金额：第1行")},
        {[](auto& s) { s.rows[1].quantity = 0, s.rows[0].amount = -1; }, 100,
         QStringLiteral("错误的金额：第0行")},
        {[](auto& s) { s.rows[0].quantity = 0; }, 10, QStringLiteral("错误的数量：第0行")},
        {[](auto& s) { s.rows[1].quantity = -5; }, 100, QStringLiteral("错误的数量：第1行")},
        {[](auto&) {}, 99, QStringLiteral("编辑数量已超出该货单的货物数量")},
        {[](auto&) {}, 100, QString()},
    };
    for (const Case& c : cases) {
        finance::Supplement s = base;
        c.change(s);
        const Outcome r = finance::checkSupplement(s, c.goods);
        EXPECT_EQ(r.text(), c.refusal) << c.refusal.toStdString();
        EXPECT_EQ(r.ok(), c.refusal.isEmpty());
    }

    // Checked again against the order as it is when written.
    base.order = addOrder(1, "2026-11-05 10:00:00", 90);
    base.now = kNowText;
    EXPECT_EQ(finance::supplement(g_sqlTool, base).text(), QStringLiteral("编辑数量已超出该货单的货物数量"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 0);
}

TEST_F(SupplementDesk, AFailureAfterTheFlowLeavesNothingWritten)
{
    finance::Supplement s;
    s.order = addOrder(1, "2026-11-05 10:00:00");
    s.process = QStringLiteral("石磨工序");
    s.rate = 0.5;
    s.rows = {{9, 30, 15}, {10, 70, 35}};
    s.now = kNowText;
    db().exec(QStringLiteral(
        "create trigger no_work before insert on kvc_record_mission for each row begin "
        "if new.工号=10 then signal sqlstate '45000' set message_text='no piece-work'; end if; end"));
    quint64 flow = 1;
    const Outcome r = finance::supplement(g_sqlTool, s, &flow);
    EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
    EXPECT_TRUE(r.text().contains(QStringLiteral("no piece-work")));
    EXPECT_EQ(flow, 0u);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 0);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission")), 0);

    db().exec(QStringLiteral("drop trigger no_work"));
    ASSERT_TRUE(finance::supplement(g_sqlTool, s, &flow).ok());
    EXPECT_EQ(db().scalar(QStringLiteral("select group_concat(distinct 流水号) from kvc_record_mission")),
              QString::number(flow));
}

// What a supplement would pay beyond the order, or on a closed or cancelled order, is told before
// anything is written; a failure says "错误".
TEST_F(SupplementDesk, PiecesBeyondTheOrderAndClosedOrdersAreToldFirst)
{
    const quint64 order = addOrder(3, "2026-11-05 10:00:00", 100);
    // Work done at the station on this step already: 60 pieces (and 30 of another step).
    db().exec(QStringLiteral(
                  "insert into kvc_record_procedure (货单号, 工作站, 工序, 结讫) values (%1, '洗水', "
                  "'石磨工序', 1), "
                  "(%1, '洗水', '普洗工序', 1);"
                  "insert into kvc_record_mission (货单号, 流水号, 工号, 完成数量) select %1, 流水号, 9, "
                  "if(工序='石磨工序', 60, 30) from kvc_record_procedure")
                  .arg(order));
    const auto registerFor = [&](int quantity) {
        open();
        lock(order);
        chooseProcess(QStringLiteral("石磨工序"));
        ASSERT_TRUE(clickRowWith(grid("teamList"), 0, QStringLiteral("洗水组")));
        insertMember(10);
        typeCell(grid("editList"), 0, 3, QString::number(quantity));
        QApplication::processEvents();
        boxes().clear();
        click("registerButton");
    };
    const auto beyond = [&](int done, int total) {
        return QStringLiteral(
                   "货单%1的“石磨工序”已计件%2件，本次追加50件后共%3件，超出货物数量100件，仍要登记吗？")
            .arg(order)
            .arg(done)
            .arg(total);
    };
    boxes().answer({false});
    registerFor(50);
    EXPECT_EQ(boxes().texts(), QStringList{beyond(60, 110)});
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission")), 2);
    registerFor(40);  // up to the order's goods: only the usual question
    EXPECT_EQ(boxes().texts(), (QStringList{QStringLiteral("确定为货单%1追加新的计件工作记录吗？").arg(order),
                                            QStringLiteral("追加等级成功")}));
    registerFor(50);  // now 100 of 100: told, and written when the user wants it
    EXPECT_EQ(boxes().texts().value(0), beyond(100, 150));
    EXPECT_EQ(boxes().last().text, QStringLiteral("追加等级成功"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission")), 4);

    // A failure of the server says "错误", as every failure of this screen does.
    db().exec(
        QStringLiteral("create trigger no_work before insert on kvc_record_mission for each row "
                       "signal sqlstate '45000' set message_text='no piece-work'"));
    registerFor(1);
    EXPECT_TRUE(boxes().last().text.contains(QStringLiteral("no piece-work")));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    db().exec(QStringLiteral("drop trigger no_work"));

    // Closed and cancelled orders take no supplement, at locking and when written.
    open();
    lock(order);
    db().exec(QStringLiteral("update kvc_record_product set 结讫=2"));
    finance::Supplement s;
    s.order = order;
    s.process = QStringLiteral("石磨工序");
    s.rate = 0.5;
    s.rows = {{10, 1, 0.5}};
    s.now = kNowText;
    EXPECT_EQ(finance::supplement(g_sqlTool, s).text(),
              QStringLiteral("货单%1已取消，不能追加计件").arg(order));
    db().exec(QStringLiteral("update kvc_record_product set 结讫=1"));
    boxes().clear();
    child<QCheckBox>("lockCheck")->setChecked(false);
    ASSERT_TRUE(clickRowWith(grid("ordersList"), 0, QString::number(order)));
    child<QCheckBox>("lockCheck")->setChecked(true);
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("货单%1已结讫，不能追加计件").arg(order)});
    EXPECT_FALSE(child<QPushButton>("registerButton")->isEnabled());
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission")), 4);
}
