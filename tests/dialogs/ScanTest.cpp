// Each desk's scan box driven with key events as a scanner types them (no pause, then Enter)
// and as a person types: what a scan chooses, what it refuses, and that it writes nothing.
#include "dialogs/inquiry/Dlg_InquiryPro.h"
#include "dialogs/intake/Dlg_Consignee.h"
#include "dialogs/shipping/Dlg_Shipper.h"
#include "dialogs/stations/Dlg_Station.h"
#include "flow/TicketCode.h"
#include "grid/KvGrid.h"
#include "print/TicketLayout.h"
#include "support/DbTest.h"
#include "support/PdfPages.h"
#include "support/ScreenDriver.h"
#include "ui/AppState.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using kvtest::ScreenDriver;

namespace {

const QString kLeave = QStringLiteral("有正在进行中的任务，确认离开吗？");
const QString kAccept = QStringLiteral("确定接受这项工作吗？");

QString code(quint64 flow)
{
    return ticket::qrText(ticket::Kind::Flow, flow);
}

class Scan : public kvtest::DemoDbTest {
protected:
    void SetUp() override
    {
        DemoDbTest::SetUp();
        order = newOrder(1, 0);
    }
    void TearDown() override
    {
        tickets::setSettings(tickets::Settings());
        DemoDbTest::TearDown();
    }

    quint64 newOrder(int active, int closed)
    {
        db().exec(
            QStringLiteral("insert into kvc_record_product (客户号, 货物数量, 货物等级, 洗涤方法, 货物性质, "
                           "激活, 结讫) values (2, 100, '加急', '[普洗]', '新货', %1, %2)")
                .arg(active)
                .arg(closed));
        return db().scalar(QStringLiteral("select max(货单号) from kvc_record_product")).toULongLong();
    }
    quint64 flowAt(quint64 of, const QString& station, const QString& from = QStringLiteral("接收"),
                   int closed = 0, int quantity = 10, quint64 previous = 0,
                   const QString& process = QString())
    {
        db().exec(QStringLiteral(
                      "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, "
                      "数量, 历史, 结讫, 工序) values (%1, 2, '一般', %2, '%3', '%4', %5, '接收[接收]', "
                      "%6, '%7')")
                      .arg(of)
                      .arg(previous ? QString::number(previous) : QStringLiteral("null"), from, station)
                      .arg(quantity)
                      .arg(closed)
                      .arg(process));
        return db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
    }
    // Rows of the tables a desk writes: a scan alone changes none.
    QString written()
    {
        return db().scalar(QStringLiteral(
            "select concat((select count(*) from kvc_record_procedure), '/', (select sum(结讫) from "
            "kvc_record_procedure), '/', (select count(*) from kvc_record_mission), '/', (select count(*) "
            "from "
            "kvc_record_ship))"));
    }

    static void show(QWidget& w)
    {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // Types into whatever has the focus, key by key, then Enter: a scanner with no pause
    // between keys, a person with `pauseMs`.
    static void typeKeys(const QString& text, int pauseMs = 0, bool enter = true)
    {
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1(), Qt::NoModifier, pauseMs);
        if (enter)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::NoModifier, pauseMs);
    }
    std::unique_ptr<Dlg_Station> station(const QString& name)
    {
        g_station = name;
        auto dlg = std::make_unique<Dlg_Station>();
        show(*dlg);
        return dlg;
    }

    quint64 order = 0;
};

}  // namespace

TEST_F(Scan, AtAStationAScanChoosesItsFlowWhereverTheQueueShowsItAndStartsWork)
{
    const quint64 listed = flowAt(order, QStringLiteral("洗水"));
    db().exec(
        QStringLiteral(
            "set max_recursive_iterations = 100000; insert into kvc_record_procedure (货单号, 客户号, "
            "货物等级, 上一站, 工作站, 数量) with recursive n(i) as (select 1 union all select i + 1 from n "
            "where i < 1100) select %1, 2, '一般', '接收', '洗水', 1 from n")
            .arg(order));
    const quint64 beyond = flowAt(order, QStringLiteral("洗水"));  // after the 1024 rows shown
    auto dlg = station(QStringLiteral("洗水"));
    KvGrid* queue = ScreenDriver(dlg.get()).grid("waitingList");
    ASSERT_EQ(queue->GetItemCount(), 1024);
    const QString before = written();

    // The queue scrolled to its last page and clicked: the scan still finds the flow.
    queue->scrollToBottom();
    ScreenDriver::clickRow(queue, 1000);
    typeKeys(code(listed));
    EXPECT_EQ(boxes().texts(), QStringList{kAccept});
    EXPECT_EQ(dlg->currentFlow(), listed);
    EXPECT_EQ(queue->GetItemText(queue->GetSelectedRow(), 0), QString::number(listed));
    EXPECT_TRUE(dlg->taskInProgress());

    // Another flow while a task is in progress asks first; staying keeps the task on its flow.
    boxes().clear();
    boxes().answer({false});
    typeKeys(code(beyond));
    EXPECT_EQ(boxes().texts(), QStringList{kLeave});
    EXPECT_EQ(dlg->currentFlow(), listed);
    EXPECT_TRUE(dlg->taskInProgress());

    // Leaving it: the flow beyond the shown rows is listed, chosen and accepted.
    boxes().clear();
    typeKeys(ticket::handText(ticket::Kind::Flow, beyond));
    EXPECT_EQ(boxes().texts(), (QStringList{kLeave, kAccept}));
    EXPECT_EQ(dlg->currentFlow(), beyond);
    EXPECT_EQ(queue->GetItemText(queue->GetSelectedRow(), 0), QString::number(beyond));
    EXPECT_TRUE(dlg->taskInProgress());
    EXPECT_EQ(written(), before);
}

TEST_F(Scan, AtAStationWhatCannotBeWorkedHereIsToldAndNothingChanges)
{
    const quint64 here = flowAt(order, QStringLiteral("洗水"));
    const quint64 sanding = flowAt(order, QStringLiteral("喷砂"));
    const quint64 finished =
        flowAt(order, QStringLiteral("洗水"), QStringLiteral("接收"), 1, 10, 0, QStringLiteral("普洗工序"));
    const quint64 on = flowAt(order, QStringLiteral("手工"), QStringLiteral("洗水"), 0, 8, finished);
    const quint64 left = flowAt(order, QStringLiteral("洗水"), QStringLiteral("洗水"), 0, 2, finished);
    const quint64 closedOrder = newOrder(1, 1);
    const quint64 ofClosed = flowAt(closedOrder, QStringLiteral("洗水"), QStringLiteral("接收"), 1);
    QString wrongDigit = code(here);
    wrongDigit.back() = wrongDigit.back() == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    const struct {
        QString scanned;
        QString told;
    } cases[] = {
        {code(sanding), QStringLiteral("流水%1在喷砂站").arg(sanding)},
        {code(finished),
         QStringLiteral("流水%1已处理（普洗工序），货物去向：流水%2在手工站（8件）；流水%3在洗水站（2件）")
             .arg(finished)
             .arg(on)
             .arg(left)},
        {code(987654), QStringLiteral("没有流水987654")},
        {wrongDigit, QStringLiteral("无法识别的条码：%1").arg(wrongDigit)},
        {code(ofClosed), QStringLiteral("流水%1所属的货单%2已结讫").arg(ofClosed).arg(closedOrder)},
        {ticket::qrText(ticket::Kind::Order, order),
         QStringLiteral("这是货单%1的货单卡，请扫描流水卡").arg(order)},
    };
    auto dlg = station(QStringLiteral("洗水"));
    const quint64 current = dlg->currentFlow();
    const QString before = written();
    for (const auto& c : cases) {
        boxes().clear();
        typeKeys(c.scanned);
        EXPECT_EQ(boxes().texts(), QStringList{c.told});
        EXPECT_EQ(boxes().last().caption, "错误");
        EXPECT_EQ(dlg->currentFlow(), current);
        EXPECT_FALSE(dlg->taskInProgress());
    }
    EXPECT_EQ(written(), before);

    // A leader of another station: the flow is chosen, but 处理工作 is not his to press here.
    g_identity = QStringLiteral("喷砂班长");
    auto other = station(QStringLiteral("洗水"));
    boxes().clear();
    typeKeys(code(here));
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_EQ(other->currentFlow(), here);
    EXPECT_FALSE(other->taskInProgress());
}

TEST_F(Scan, AScannersBurstNeverLandsInANumberFieldButAPersonsTypingDoes)
{
    flowAt(order, QStringLiteral("洗水"));
    const quint64 other = flowAt(order, QStringLiteral("洗水"));
    auto dlg = station(QStringLiteral("洗水"));
    ScreenDriver d(dlg.get());
    d.click("processButton");
    d.choose("modeCombo", QStringLiteral("普洗工序"));
    d.click("cooperativeRadio");
    auto* total = d.child<QLineEdit>("totalDoneEdit");
    total->setFocus();
    typeKeys(QStringLiteral("12"), 120, false);
    ASSERT_EQ(total->text(), "12");

    boxes().clear();
    boxes().answer({false});
    typeKeys(code(other));
    EXPECT_EQ(total->text(), "12");
    EXPECT_EQ(boxes().texts(), QStringList{kLeave});
    EXPECT_TRUE(dlg->taskInProgress());

    // Typed by hand, even a long number and Enter stays where it was typed.
    boxes().clear();
    typeKeys(QStringLiteral("345678"), 120);
    EXPECT_EQ(total->text(), "12345678");
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

TEST_F(Scan, AtShippingAFlowAtShippingChoosesItsOrderAndTheFlow)
{
    const quint64 arrived = flowAt(order, QStringLiteral("发送"), QStringLiteral("手工"));
    const quint64 confirmedFrom =
        flowAt(order, QStringLiteral("发送"), QStringLiteral("树脂"), 1, 5, 0, QStringLiteral("确认"));
    const quint64 confirmed =
        flowAt(order, QStringLiteral("发送"), QStringLiteral("发送"), 0, 5, confirmedFrom);
    const quint64 elsewhere = flowAt(order, QStringLiteral("树脂"));
    const quint64 otherOrder = newOrder(1, 0);
    flowAt(otherOrder, QStringLiteral("发送"), QStringLiteral("手工"));

    Dlg_Shipper dlg;
    show(dlg);
    ScreenDriver d(&dlg);
    d.child<QRadioButton>("radioShipped")->setChecked(true);  // the other list on display
    const QString before = written();
    typeKeys(code(arrived));
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_TRUE(d.child<QRadioButton>("radioUnshipped")->isChecked());
    EXPECT_EQ(dlg.currentOrder(), order);
    KvGrid* waiting = d.grid("waitingList");
    ASSERT_GE(waiting->GetSelectedRow(), 0);
    EXPECT_EQ(waiting->GetItemText(waiting->GetSelectedRow(), 0), QString::number(arrived));

    // The ticket of goods confirmed since still finds them, ready to ship.
    dlg.findChild<QWidget*>(QStringLiteral("unshippedList"))->setFocus();
    typeKeys(code(confirmedFrom));
    KvGrid* ready = d.grid("confirmedList");
    ASSERT_GE(ready->GetSelectedRow(), 0);
    EXPECT_EQ(ready->GetItemText(ready->GetSelectedRow(), 0), QString::number(confirmed));

    typeKeys(code(elsewhere));
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("流水%1在树脂站").arg(elsewhere)});
    EXPECT_EQ(dlg.currentOrder(), order);
    EXPECT_EQ(written(), before);
}

TEST_F(Scan, AtIntakeAWaitingOrdersTicketChoosesItAndAnEndedOneIsTold)
{
    const quint64 waiting = newOrder(0, 0);
    const quint64 cancelled = newOrder(0, 2);
    const quint64 back = flowAt(order, QStringLiteral("接收"), QStringLiteral("喷砂"));
    Dlg_Consignee dlg;
    show(dlg);
    ScreenDriver d(&dlg);
    const QString before = written();

    typeKeys(ticket::qrText(ticket::Kind::Order, waiting));
    KvGrid* orders = d.grid("waitingOrderList");
    EXPECT_TRUE(orders->isVisible());
    ASSERT_GE(orders->GetSelectedRow(), 0);
    EXPECT_EQ(orders->GetItemText(orders->GetSelectedRow(), 0), QString::number(waiting));

    typeKeys(code(back));
    KvGrid* flows = d.grid("waitingFlowList");
    EXPECT_TRUE(flows->isVisible());
    ASSERT_GE(flows->GetSelectedRow(), 0);
    EXPECT_EQ(flows->GetItemText(flows->GetSelectedRow(), 0), QString::number(back));
    EXPECT_TRUE(boxes().boxes.isEmpty());

    typeKeys(ticket::qrText(ticket::Kind::Order, cancelled));
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("货单%1已取消").arg(cancelled)});
    EXPECT_FALSE(dlg.isHidden());  // Enter in the scan box never closes the desk
    EXPECT_EQ(written(), before);
}

TEST_F(Scan, InTheOrderInquiryATicketShowsItsOrderAndTheFlowsChain)
{
    const quint64 first =
        flowAt(order, QStringLiteral("洗水"), QStringLiteral("接收"), 1, 10, 0, QStringLiteral("普洗工序"));
    const quint64 second = flowAt(order, QStringLiteral("手工"), QStringLiteral("洗水"), 0, 10, first);
    db().exec(QStringLiteral("insert into kvc_record_ship (货单号, 客户号, 货物数量) values (%1, 2, 3)")
                  .arg(order));
    Dlg_InquiryPro dlg;
    show(dlg);
    ScreenDriver d(&dlg);

    typeKeys(code(second));
    EXPECT_TRUE(boxes().boxes.isEmpty());
    KvGrid* orders = d.grid("ordersList");
    ASSERT_EQ(orders->GetItemCount(), 1);
    EXPECT_EQ(orders->GetItemText(0, 0), QString::number(order));
    EXPECT_EQ(d.grid("flowsList")->GetItemText(0, 0), QString::number(second));
    EXPECT_EQ(d.grid("shipmentsList")->GetItemCount(), 1);
    KvGrid* steps = d.grid("stepsList");
    ASSERT_EQ(steps->GetItemCount(), 2);
    EXPECT_EQ(steps->GetItemText(0, 1), "普洗工序");

    // An order's own ticket shows the order, a closed one too.
    const quint64 closed = newOrder(1, 1);
    typeKeys(ticket::qrText(ticket::Kind::Order, closed));
    ASSERT_EQ(orders->GetItemCount(), 1);
    EXPECT_EQ(orders->GetItemText(0, 0), QString::number(closed));
    EXPECT_EQ(d.grid("stepsList")->GetItemCount(), 0);
}

TEST_F(Scan, AHandOverPrintsOneTicketForEachFlowItMadeWhenThePcPrintsOnItsOwn)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tickets.pdf"));
    kvtest::PdfChooser pdf(file);
    const auto handOver = [this](quint64 flow) {
        auto dlg = station(QStringLiteral("洗水"));
        typeKeys(code(flow));
        ScreenDriver d(dlg.get());
        d.choose("modeCombo", QStringLiteral("普洗工序"));
        d.choose("destinationCombo", QStringLiteral("手工"));
        d.choose("teamCombo", QStringLiteral("洗水组"));
        d.grid("memberList")->SelectRow(0);
        d.click("insertButton");
        ScreenDriver::typeCell(d.grid("singleList"), 0, 2, QStringLiteral("8"));
        ScreenDriver::typeCell(d.grid("singleList"), 0, 3, QStringLiteral("1"));
        d.click("singleSubmitButton");
        EXPECT_EQ(boxes().last().text, "工作处理成功");
    };

    // Off, as a new PC has it: nothing is printed and no printer asked for.
    handOver(flowAt(order, QStringLiteral("洗水")));
    EXPECT_EQ(pdf.asked, 0);

    tickets::setSettings({tickets::Layout::Label, true});
    const quint64 flow = flowAt(order, QStringLiteral("洗水"));
    handOver(flow);
    EXPECT_EQ(pdf.asked, 1);
    const QList<QStringList> made =
        db().rows(QStringLiteral(
                      "select 流水号, 工作站, 数量 from kvc_record_procedure where 上一号=%1 order by 流水号")
                      .arg(flow));
    ASSERT_EQ(made.size(), 2);
    const QStringList pages = kvtest::pdfPages(file);
    ASSERT_EQ(pages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QString page = QString(pages.at(i)).remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
        EXPECT_TRUE(page.contains(QStringLiteral("流水") + made[i][0])) << page.toStdString();
        EXPECT_TRUE(page.contains(made[i][2] + QStringLiteral("件"))) << page.toStdString();
        EXPECT_TRUE(page.contains(made[i][1])) << page.toStdString();
        EXPECT_TRUE(page.contains(ticket::handText(ticket::Kind::Flow, made[i][0].toULongLong())));
    }
}
