#include "db/KvMessage.h"
#include "db/mySQLTool.h"
#include "dialogs/stations/Dlg_Station.h"
#include "flow/Flow.h"
#include "flow/Station.h"
#include "grid/KvGrid.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"
#include "ui/AppState.h"
#include "ui/Dlg_Limits.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using kvtest::DemoDbTest;

using kvtest::column;

namespace {

class Station : public DemoDbTest {
public:
    // The identity that uses this screen, with its database role.
    Station() { signInAs(QStringLiteral("调度")); }

protected:
    void SetUp() override
    {
        DemoDbTest::SetUp();
        db().exec(QStringLiteral(
            "insert into kvc_record_product (客户号, 货物数量, 货物等级, 洗涤方法, 货物性质, 激活) "
            "values (2, 100, '加急', '[普洗][猫须]', '新货', 1)"));
        order = db().scalar(QStringLiteral("select max(货单号) from kvc_record_product"));
    }

    // An open flow (unless `closed`) of the order.
    QString flowAt(const QString& station, const QString& priority,
                   const QString& from = QStringLiteral("接收"), int derived = 0, int closed = 0,
                   int quantity = 10)
    {
        db().exec(
            QStringLiteral(
                "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一站, 工作站, 数量, 生成时间, "
                "历史, 派生, 结讫) values (%1, 2, '%2', '%3', '%4', %5, '2026-12-07 10:00:00', "
                "'接收[接收]', %6, %7)")
                .arg(order, priority, from, station)
                .arg(quantity)
                .arg(derived)
                .arg(closed));
        return db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure"));
    }

    std::unique_ptr<Dlg_Station> open(const QString& station)
    {
        g_station = station;
        auto dlg = std::make_unique<Dlg_Station>();
        waiting = dlg->findChild<KvGrid*>(QStringLiteral("waitingList"));
        done = dlg->findChild<KvGrid*>(QStringLiteral("doneList"));
        return dlg;
    }

    template <typename T>
    static T* child(QWidget* w, const char* name)
    {
        T* c = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    static void choose(QComboBox* combo, const QString& text) { kvtest::ScreenDriver::choose(combo, text); }

    static void typeCell(KvGrid* grid, int row, int col, const QString& text)
    {
        kvtest::ScreenDriver::typeCell(grid, row, col, text);
    }

    // Accepts the current flow and fills the panel up to the workers.
    void startWork(Dlg_Station& dlg, const QString& mode, const QString& destination)
    {
        child<QPushButton>(&dlg, "processButton")->click();
        choose(child<QComboBox>(&dlg, "modeCombo"), mode);
        choose(child<QComboBox>(&dlg, "destinationCombo"), destination);
        if (mode != flow::kForward)
            choose(child<QComboBox>(&dlg, "teamCombo"), QStringLiteral("洗水组"));
    }

    void insertMember(Dlg_Station& dlg, int memberRow)
    {
        child<KvGrid>(&dlg, "memberList")->SelectRow(memberRow);
        child<QPushButton>(&dlg, "insertButton")->click();
    }

    void activate(QWidget& w)
    {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    QString order;
    KvGrid* waiting = nullptr;
    KvGrid* done = nullptr;
};

}  // namespace

TEST_F(Station, QueueListsTheClassesInOrderEachFlowOnce)
{
    const QString plain = flowAt("洗水", "一般");
    const QString urgent = flowAt("洗水", "紧急");
    const QString hurried = flowAt("洗水", "加急");
    const QString derivedUrgent = flowAt("洗水", "紧急", "接收", 1);
    const QString back1 = flowAt("洗水", "一般", "洗水");
    const QString back2 = flowAt("洗水", "加急", "洗水");
    flowAt("洗水", "特急");  // none of the three words: not listed
    const QString finished = flowAt("洗水", "一般", "接收", 0, 1);
    flowAt("喷砂", "紧急");  // another station
    const QString otherDone = flowAt("喷砂", "紧急", "接收", 0, 1);
    const QString newer = flowAt("洗水", "一般", "接收", 0, 1);

    auto dlg = open(QStringLiteral("洗水"));
    EXPECT_TRUE(g_station.isEmpty());
    EXPECT_EQ(child<QComboBox>(dlg.get(), "stationCombo")->currentText(), "洗水");
    EXPECT_EQ(column(waiting), (QStringList{back2, back1, derivedUrgent, urgent, hurried, plain}));
    EXPECT_EQ(column(done), (QStringList{newer, finished}));
    EXPECT_FALSE(column(done).contains(otherDone));
    EXPECT_EQ(column(waiting, 2).first(), "佛山南海牛仔服饰");

    // The first row is the current flow, its details shown.
    EXPECT_EQ(QString::number(dlg->currentFlow()), back2);
    EXPECT_EQ(QString::number(dlg->currentOrder()), order);
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "clientEdit")->text(), "佛山南海牛仔服饰");
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "methodEdit")->text(), "[普洗][猫须]");
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "priorityEdit")->text(), "加急");
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "fromEdit")->text(), "洗水");
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "quantityEdit")->text(), "10");
    EXPECT_EQ(child<QPlainTextEdit>(dlg.get(), "historyEdit")->toPlainText(), "接收[接收]");
    EXPECT_TRUE(boxes().boxes.isEmpty());

    // A click makes another row current.
    waiting->SelectRow(5);
    Q_EMIT waiting->rowClicked(5);
    EXPECT_EQ(QString::number(dlg->currentFlow()), plain);
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "fromEdit")->text(), "接收");
}

TEST_F(Station, ListsHoldTheFirst1024RowsOfTheClassOrder)
{
    const QString first = flowAt("洗水", "紧急");
    // 1100 open and 1100 finished flows.
    db().exec(
        QStringLiteral(
            "set max_recursive_iterations = 100000; "
            "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一站, 工作站, 数量, 派生, 结讫) "
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 2200) "
            "select %1, 2, '一般', '接收', '洗水', 1, 0, i % 2 from n")
            .arg(order));
    const quint64 newest =
        db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure where 结讫=1"))
            .toULongLong();
    auto dlg = open(QStringLiteral("洗水"));
    ASSERT_EQ(waiting->GetItemCount(), 1024);
    EXPECT_EQ(waiting->GetItemText(0, 0), first);
    EXPECT_EQ(waiting->GetItemText(1, 0).toULongLong(), first.toULongLong() + 2);  // oldest first
    ASSERT_EQ(done->GetItemCount(), 1024);
    EXPECT_EQ(done->GetItemText(0, 0).toULongLong(), newest);
    EXPECT_EQ(done->GetItemText(1023, 0).toULongLong(), newest - 2 * 1023);
}

TEST_F(Station, OnlyChiefsAndTheStationsOwnLeaderMayProcess)
{
    flowAt("洗水", "一般");
    const struct {
        const char* identity;
        const char* station;
        bool may;
    } cases[] = {{"管理员", "洗水", true},   {"董事长", "马骝", true},   {"厂长", "手工", true},
                 {"调度", "树脂", true},     {"洗水班长", "洗水", true}, {"喷砂班长", "洗水", false},
                 {"喷砂班长", "喷砂", true}, {"员工", "洗水", false},    {"财务", "洗水", false}};
    for (const auto& c : cases) {
        g_identity = QString::fromUtf8(c.identity);
        auto dlg = open(QString::fromUtf8(c.station));
        EXPECT_EQ(child<QPushButton>(dlg.get(), "processButton")->isEnabled(), c.may)
            << c.identity << " " << c.station;
    }
    g_identity = QStringLiteral("调度");
    auto dlg = open(QString());
    EXPECT_FALSE(child<QPushButton>(dlg.get(), "processButton")->isEnabled());
    EXPECT_EQ(waiting->GetItemCount(), 0);
}

TEST_F(Station, PrivilegedOrderingKeepsThreePlacesUntilTheirFlowsAreDone)
{
    QStringList flows;
    for (int i = 0; i < 5; ++i)
        flows.append(flowAt("洗水", "一般"));
    auto dlg = open(QStringLiteral("洗水"));
    activate(*dlg);
    auto* move = child<QPushButton>(dlg.get(), "moveButton");
    auto* up = child<QPushButton>(dlg.get(), "upButton");
    auto* down = child<QPushButton>(dlg.get(), "downButton");
    auto* top = child<QPushButton>(dlg.get(), "topButton");
    auto* save = child<QPushButton>(dlg.get(), "saveButton");
    auto* limits = child<Dlg_Limits>(dlg.get(), "limitsDialog");
    EXPECT_FALSE(up->isEnabled() || down->isEnabled() || top->isEnabled() || save->isEnabled());
    EXPECT_FALSE(limits->isVisible());

    // A message of another code does nothing.
    g_limitPassword = QStringLiteral("8888");
    KvMessage::post(dlg.get(), 9557, 1);
    QApplication::processEvents();
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_FALSE(up->isEnabled());

    // A wrong password: the prompt comes back.
    move->click();
    EXPECT_TRUE(limits->isVisible());
    auto* password = child<QLineEdit>(limits, "passwordEdit");
    password->setText(QStringLiteral("1234"));
    child<QPushButton>(limits, "okButton")->click();
    QApplication::processEvents();
    EXPECT_EQ(boxes().texts(), QStringList{"错误的密码"});
    EXPECT_EQ(boxes().last().caption, "错误");
    EXPECT_TRUE(limits->isVisible());
    EXPECT_FALSE(up->isEnabled());

    password->setText(QStringLiteral("8888"));
    child<QPushButton>(limits, "okButton")->click();
    QApplication::processEvents();
    EXPECT_FALSE(limits->isVisible());
    EXPECT_EQ(boxes().last().text, "请选择需要变更顺序的工作队列，最多前3条工作的顺序将被保存");
    EXPECT_TRUE(up->isEnabled() && down->isEnabled() && top->isEnabled() && save->isEnabled());
    EXPECT_FALSE(move->isEnabled());
    activate(*dlg);

    boxes().clear();
    up->click();
    EXPECT_EQ(boxes().texts(), QStringList{"请选择要移动顺序的记录行"});
    waiting->SelectRow(4);
    top->click();  // 4 0 1 2 3
    waiting->SelectRow(2);
    up->click();  // 4 1 0 2 3
    waiting->SelectRow(0);
    up->click();    // first stays
    down->click();  // 1 4 0 2 3
    waiting->SelectRow(4);
    down->click();  // last stays
    const QStringList arranged{flows[1], flows[4], flows[0], flows[2], flows[3]};
    EXPECT_EQ(column(waiting), arranged);
    // No refresh undoes the arrangement while it is being made.
    dlg->refreshTick();
    EXPECT_EQ(column(waiting), arranged);

    save->click();
    EXPECT_TRUE(dlg->sequenceSet());
    EXPECT_EQ(column(waiting), (arranged.mid(0, 3) + QStringList{flows[2], flows[3]}));
    EXPECT_EQ(QString::number(dlg->currentFlow()), flows[1]);
    EXPECT_TRUE(move->isEnabled());
    EXPECT_FALSE(save->isEnabled());

    // A newer urgent flow comes after the fixed places; a processed one drops out.
    const QString urgent = flowAt("洗水", "紧急");
    db().exec(QStringLiteral("update kvc_record_procedure set 结讫=1 where 流水号=") + flows[1]);
    dlg->refreshTick();
    EXPECT_EQ(column(waiting), (QStringList{flows[4], flows[0], urgent, flows[2], flows[3]}));

    // Leaving asks, and staying keeps the screen.
    boxes().clear();
    boxes().answer({false});
    dlg->reject();
    EXPECT_EQ(boxes().texts(),
              QStringList{"洗水工作站设定了工作序列，如果离开，顺序将会恢复原状，确认离开吗？"});
    EXPECT_TRUE(dlg->isVisible());
    boxes().answer({true});
    dlg->reject();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(Station, TheTimerRefreshesOnlyTheActiveWindow)
{
    const QString first = flowAt("洗水", "一般");
    auto dlg = open(QStringLiteral("洗水"));
    auto* timer = child<QTimer>(dlg.get(), "refreshTimer");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 60000);

    // Another window in front: nothing happens.
    QWidget front;
    activate(front);
    db().exec(QStringLiteral("update kvc_record_procedure set 结讫=1 where 流水号=") + first);
    const QString second = flowAt("洗水", "一般");
    dlg->refreshTick();
    EXPECT_EQ(column(waiting), QStringList{first});

    // In front: the queue is rebuilt and the gone flow is no longer the current one.
    activate(*dlg);
    dlg->refreshTick();
    EXPECT_EQ(column(waiting), QStringList{second});
    EXPECT_EQ(QString::number(dlg->currentFlow()), second);
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

TEST_F(Station, ProcessingInSingleModeThroughThePanel)
{
    const QString f = flowAt("洗水", "一般");
    const mySQLTool::Traffic opening = g_sqlTool.traffic();
    auto dlg = open(QStringLiteral("洗水"));
    EXPECT_LE(g_sqlTool.traffic().roundTrips - opening.roundTrips, 8u);
    auto* process = child<QPushButton>(dlg.get(), "processButton");
    auto* mode = child<QComboBox>(dlg.get(), "modeCombo");
    EXPECT_FALSE(mode->isVisible() && mode->isEnabled());

    // Declining the question changes nothing.
    boxes().answer({false});
    process->click();
    EXPECT_FALSE(dlg->taskInProgress());

    process->click();
    EXPECT_EQ(boxes().last().text, "确定接受这项工作吗？");
    ASSERT_TRUE(dlg->taskInProgress());
    EXPECT_EQ(mode->itemText(0), "转发");
    EXPECT_EQ(mode->count(), 5);  // 转发 and the four steps of 洗水
    EXPECT_EQ(mode->currentIndex(), -1);

    // Submitting too early says what is missing.
    auto* submit = child<QPushButton>(dlg.get(), "singleSubmitButton");
    submit->click();
    EXPECT_EQ(boxes().last().text, "请选择处理方式");

    choose(mode, QStringLiteral("普洗工序"));
    auto* destination = child<QComboBox>(dlg.get(), "destinationCombo");
    EXPECT_EQ(destination->currentText(), "洗水");
    EXPECT_EQ(destination->count(), 9);
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "rateEdit")->text(), "0.3");
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "lossChargeEdit")->text(), "5.00");
    submit->click();
    EXPECT_EQ(boxes().last().text, "您选择了接受任务 请填写任务完成情况");

    choose(destination, QStringLiteral("喷砂"));
    choose(child<QComboBox>(dlg.get(), "teamCombo"), QStringLiteral("洗水组"));
    auto* members = child<KvGrid>(dlg.get(), "memberList");
    EXPECT_EQ(column(members, 1), (QStringList{"吴德胜", "郑小军", "孙文杰", "何美玲"}));  // 田七 is inactive
    boxes().clear();
    child<QPushButton>(dlg.get(), "insertButton")->click();
    EXPECT_EQ(boxes().texts(), QStringList{"请选择一个员工"});
    insertMember(*dlg, 1);
    insertMember(*dlg, 1);  // already there
    insertMember(*dlg, 2);
    auto* workers = child<KvGrid>(dlg.get(), "singleList");
    EXPECT_EQ(column(workers, 1), (QStringList{"郑小军", "孙文杰"}));

    // A count that is not a whole number is refused rather than taken as 0.
    typeCell(workers, 0, 2, QStringLiteral("4"));
    typeCell(workers, 0, 3, QStringLiteral("1"));
    typeCell(workers, 1, 2, QStringLiteral("3个"));
    submit->click();
    EXPECT_EQ(boxes().last().text, "错误的数量");
    typeCell(workers, 1, 2, QStringLiteral("-3"));
    submit->click();
    EXPECT_EQ(boxes().last().text, "错误的数量");
    typeCell(workers, 1, 2, QStringLiteral("3"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=") + f), 0);
    EXPECT_TRUE(dlg->taskInProgress());

    // The hand-over with the lists refreshed after it: a few round trips, whatever the latency.
    const mySQLTool::Traffic before = g_sqlTool.traffic();
    submit->click();
    EXPECT_LE(g_sqlTool.traffic().roundTrips - before.roundTrips, 8u);
    EXPECT_EQ(boxes().last().text, "工作处理成功");
    EXPECT_EQ(boxes().last().caption, "提示");
    EXPECT_FALSE(dlg->taskInProgress());
    EXPECT_EQ(
        db().rows(QStringLiteral(
                      "select 工作站, 数量, 派生 from kvc_record_procedure where 上一号=%1 order by 流水号")
                      .arg(f)),
        (QList<QStringList>{{"喷砂", "7", "0"}, {"洗水", "2", "1"}}));
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 工号, 完成数量, 损耗数量, 共计 from kvc_record_mission order by 任务号")),
              (QList<QStringList>{{"9", "4", "1", "-3.8"}, {"10", "3", "0", "0.9"}}));
    EXPECT_EQ(db().scalar(QStringLiteral("select 损耗数量 from kvc_record_product")), "1");

    // The screen moved on: the remainder heads the queue, the flow is in the done list,
    // the panel is closed and empty.
    const QString derived =
        db().scalar(QStringLiteral("select 流水号 from kvc_record_procedure where 派生=1"));
    EXPECT_EQ(column(waiting), QStringList{derived});
    EXPECT_EQ(QString::number(dlg->currentFlow()), derived);
    EXPECT_EQ(column(done), QStringList{f});
    EXPECT_TRUE(process->isVisibleTo(dlg.get()));
    EXPECT_FALSE(mode->isVisibleTo(dlg.get()));
    EXPECT_EQ(workers->GetItemCount(), 0);
    EXPECT_FALSE(workers->isEnabled());
}

TEST_F(Station, CooperativeSharesFollowTheTotalsAndTheWorkers)
{
    db().exec(QStringLiteral(
        "insert into kvc_attrib_process (名称, 工作站, 工价) values ('测试工序', '洗水', 1.5); "
        "update kvc_attrib_mod set 内容='2' where 名称='损耗单价'"));
    const QString f = flowAt("洗水", "一般", "接收", 0, 0, 12);
    auto dlg = open(QStringLiteral("洗水"));
    startWork(*dlg, QStringLiteral("测试工序"), QStringLiteral("手工"));
    child<QRadioButton>(dlg.get(), "cooperativeRadio")->click();
    auto* coop = child<KvGrid>(dlg.get(), "cooperativeList");
    auto* submit = child<QPushButton>(dlg.get(), "cooperativeSubmitButton");
    EXPECT_TRUE(coop->isVisibleTo(dlg.get()) && submit->isVisibleTo(dlg.get()));
    EXPECT_FALSE(child<KvGrid>(dlg.get(), "singleList")->isVisibleTo(dlg.get()));

    for (int m : {1, 2, 3})
        insertMember(*dlg, m);
    auto* totalDone = child<QLineEdit>(dlg.get(), "totalDoneEdit");
    auto* totalLost = child<QLineEdit>(dlg.get(), "totalLostEdit");
    submit->click();
    EXPECT_EQ(boxes().last().text, "完成数和损耗数不能都为零");
    totalDone->setText(QStringLiteral("10"));
    totalLost->setText(QStringLiteral("1"));
    EXPECT_EQ(column(coop, 2), (QStringList{"4.333", "4.333", "4.333"}));
    // A share is computed, never typed.
    EXPECT_FALSE(coop->model()->flags(coop->model()->index(0, 2)) & Qt::ItemIsEditable);

    // The whole amount is always shared among those listed.
    insertMember(*dlg, 0);
    EXPECT_EQ(column(coop, 2), (QStringList{"3.250", "3.250", "3.250", "3.250"}));
    coop->SelectRow(3);
    child<QPushButton>(dlg.get(), "deleteButton")->click();
    EXPECT_EQ(column(coop, 2), (QStringList{"4.333", "4.333", "4.333"}));

    totalDone->setText(QStringLiteral("12"));
    submit->click();
    EXPECT_EQ(boxes().last().text, "不能超过当前货物数量");
    totalDone->setText(QStringLiteral("10"));
    submit->click();
    EXPECT_EQ(boxes().last().text, "工作处理成功");
    EXPECT_EQ(
        db().rows(QStringLiteral(
                      "select 工号, 完成数量, 共计 from kvc_record_mission where 流水号=%1 order by 任务号")
                      .arg(f)),
        (QList<QStringList>{{"9", "0", "4.333"}, {"10", "0", "4.333"}, {"11", "0", "4.333"}}));
}

TEST_F(Station, ForwardNeedsNoWorkers)
{
    const QString f = flowAt("洗水", "一般");
    auto dlg = open(QStringLiteral("洗水"));
    startWork(*dlg, flow::kForward, QStringLiteral("发送"));
    EXPECT_EQ(child<QComboBox>(dlg.get(), "teamCombo")->count(), 0);
    child<QPushButton>(dlg.get(), "singleSubmitButton")->click();
    EXPECT_EQ(boxes().last().text, "工作处理成功");
    EXPECT_EQ(
        db().rows(QStringLiteral("select 工作站, 数量, 历史 from kvc_record_procedure where 上一号=") + f),
        (QList<QStringList>{{"发送", "10", "接收[接收]-洗水[转发]"}}));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission")), 0);
    EXPECT_EQ(waiting->GetItemCount(), 0);
    EXPECT_EQ(dlg->currentFlow(), 0u);
}

TEST_F(Station, AFlowProcessedAtAnotherDeskEndsTheTaskAndNothingTypedIsPaidElsewhere)
{
    const QString f = flowAt("洗水", "一般");
    const QString next = flowAt("洗水", "一般");
    auto dlg = open(QStringLiteral("洗水"));
    startWork(*dlg, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    insertMember(*dlg, 1);
    auto* workers = child<KvGrid>(dlg.get(), "singleList");
    typeCell(workers, 0, 2, QStringLiteral("10"));

    // Meanwhile another desk hands the same flow over.
    mySQLTool other;
    ASSERT_TRUE(db().connect(other));
    flow::HandOver h;
    h.station = QStringLiteral("洗水");
    h.flow = f.toULongLong();
    h.order = order.toULongLong();
    h.mode = flow::kForward;
    h.destination = QStringLiteral("树脂");
    h.account = QStringLiteral("other");
    h.now = QStringLiteral("2026-12-08 09:29:00");
    ASSERT_TRUE(flow::handOver(other, h).ok());

    auto* submit = child<QPushButton>(dlg.get(), "singleSubmitButton");
    submit->click();
    EXPECT_EQ(boxes().last().text, flow::kFlowTaken);
    EXPECT_EQ(boxes().last().caption, "错误");
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=") + f), 1);
    // The task is over, as after a hand-over: the queue moved on, the panel is closed.
    EXPECT_FALSE(dlg->taskInProgress());
    EXPECT_EQ(column(waiting), QStringList{next});
    EXPECT_EQ(QString::number(dlg->currentFlow()), next);
    EXPECT_EQ(column(done), QStringList{f});
    EXPECT_TRUE(child<QPushButton>(dlg.get(), "processButton")->isVisibleTo(dlg.get()));
    EXPECT_EQ(workers->GetItemCount(), 0);

    // Nothing typed for the gone flow is paid on the next one.
    waiting->SelectRow(0);
    Q_EMIT waiting->rowClicked(0);
    submit->click();
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission")), 0);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=") + next), 0);
}

TEST_F(Station, ChoosingAnotherFlowDuringATaskAsksAndTheTaskStaysOnItsFlow)
{
    const QString f = flowAt("洗水", "一般");
    const QString other = flowAt("洗水", "一般");
    auto dlg = open(QStringLiteral("洗水"));
    startWork(*dlg, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    insertMember(*dlg, 1);
    auto* workers = child<KvGrid>(dlg.get(), "singleList");
    typeCell(workers, 0, 2, QStringLiteral("4"));

    // A click on another row, declined.
    boxes().clear();
    boxes().answer({false});
    kvtest::ScreenDriver::clickRowWith(waiting, 0, other);
    EXPECT_EQ(boxes().texts(), QStringList{"有正在进行中的任务，确认离开吗？"});
    EXPECT_EQ(QString::number(dlg->currentFlow()), f);
    EXPECT_EQ(waiting->GetItemText(waiting->GetSelectedRow(), 0), f);
    EXPECT_TRUE(dlg->taskInProgress());

    // A fixed order that puts the other flow first leaves the task where it is.
    g_limitPassword = QStringLiteral("8888");
    KvMessage::post(dlg.get(), Dlg_Limits::kPasswordTyped, 1);
    QApplication::processEvents();
    waiting->SelectRow(kvtest::ScreenDriver::rowOf(waiting, 0, other));
    child<QPushButton>(dlg.get(), "topButton")->click();
    child<QPushButton>(dlg.get(), "saveButton")->click();
    EXPECT_EQ(column(waiting), (QStringList{other, f}));
    EXPECT_EQ(QString::number(dlg->currentFlow()), f);

    child<QPushButton>(dlg.get(), "singleSubmitButton")->click();
    EXPECT_EQ(boxes().last().text, "工作处理成功");
    EXPECT_EQ(db().rows(QStringLiteral("select 流水号, 完成数量 from kvc_record_mission")),
              (QList<QStringList>{{f, "4"}}));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=") + other), 0);

    // Accepted again and then left for another flow: the task ends.
    startWork(*dlg, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    ASSERT_EQ(waiting->GetItemCount(), 2);  // the other flow and the remainder
    const int row = waiting->GetItemText(0, 0) == QString::number(dlg->currentFlow()) ? 1 : 0;
    const QString elsewhere = waiting->GetItemText(row, 0);
    boxes().clear();
    kvtest::ScreenDriver::clickRow(waiting, row);
    EXPECT_EQ(boxes().texts(), QStringList{"有正在进行中的任务，确认离开吗？"});
    EXPECT_EQ(QString::number(dlg->currentFlow()), elsewhere);
    EXPECT_FALSE(dlg->taskInProgress());
    EXPECT_TRUE(child<QPushButton>(dlg.get(), "processButton")->isVisibleTo(dlg.get()));
}

TEST_F(Station, FillingTheDropDownsRunsNothingMeantForTheUsersChoice)
{
    flowAt("喷砂", "一般");
    auto dlg = open(QStringLiteral("喷砂"));
    auto* mode = child<QComboBox>(dlg.get(), "modeCombo");
    auto* team = child<QComboBox>(dlg.get(), "teamCombo");
    auto* members = child<KvGrid>(dlg.get(), "memberList");
    auto* rate = child<QLineEdit>(dlg.get(), "rateEdit");
    child<QPushButton>(dlg.get(), "processButton")->click();
    ASSERT_EQ(mode->count(), 2);  // 转发 and 喷砂工序
    EXPECT_EQ(mode->currentIndex(), -1);
    EXPECT_EQ(rate->text(), QString());
    EXPECT_EQ(child<QComboBox>(dlg.get(), "destinationCombo")->count(), 0);

    choose(mode, QStringLiteral("喷砂工序"));
    EXPECT_EQ(rate->text(), "0.4");
    ASSERT_GT(team->count(), 1);
    EXPECT_EQ(team->currentIndex(), -1);
    EXPECT_EQ(members->GetItemCount(), 0);  // no team's members before a team is chosen
    choose(team, QStringLiteral("喷砂组"));
    EXPECT_EQ(column(members, 1), (QStringList{"林志勇", "罗俊", "梁家辉"}));

    // The same mode chosen again keeps the workers.
    insertMember(*dlg, 0);
    choose(mode, QStringLiteral("喷砂工序"));
    EXPECT_EQ(column(child<KvGrid>(dlg.get(), "singleList"), 1), QStringList{"林志勇"});
    EXPECT_EQ(boxes().texts(), QStringList{"确定接受这项工作吗？"});
}

TEST_F(Station, AModeWhoseRateCannotBeReadIsNotTaken)
{
    flowAt("洗水", "一般");
    auto dlg = open(QStringLiteral("洗水"));
    auto* mode = child<QComboBox>(dlg.get(), "modeCombo");
    startWork(*dlg, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    db().exec(QStringLiteral("delete from kvc_attrib_process where 名称='石磨工序'"));
    choose(mode, QStringLiteral("石磨工序"));
    EXPECT_EQ(boxes().last().caption, "Error");
    // The panel still shows the mode its rate belongs to.
    EXPECT_EQ(mode->currentText(), "普洗工序");
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "rateEdit")->text(), "0.3");
}

TEST_F(Station, LeavingOrChangingStationWithATaskAsksFirst)
{
    flowAt("洗水", "一般");
    flowAt("喷砂", "一般");
    auto dlg = open(QStringLiteral("洗水"));
    startWork(*dlg, QStringLiteral("普洗工序"), QStringLiteral("喷砂"));
    auto* station = child<QComboBox>(dlg.get(), "stationCombo");
    boxes().clear();
    boxes().answer({false});
    choose(station, QStringLiteral("喷砂"));
    EXPECT_EQ(boxes().texts(), QStringList{"有正在进行中的任务，确认离开吗？"});
    EXPECT_EQ(station->currentText(), "洗水");
    EXPECT_EQ(dlg->station(), "洗水");
    EXPECT_TRUE(dlg->taskInProgress());

    boxes().answer({true});
    choose(station, QStringLiteral("喷砂"));
    EXPECT_EQ(dlg->station(), "喷砂");
    EXPECT_FALSE(dlg->taskInProgress());
    EXPECT_EQ(column(waiting, 4), QStringList{"接收"});

    // Enter does not close the screen; Escape asks when there is a task.
    startWork(*dlg, QStringLiteral("喷砂工序"), QStringLiteral("发送"));
    activate(*dlg);
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    boxes().clear();
    boxes().answer({false});
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_EQ(boxes().texts(), QStringList{"有正在进行中的任务，确认离开吗？"});
    EXPECT_TRUE(dlg->isVisible());
    boxes().answer({true});
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
}
