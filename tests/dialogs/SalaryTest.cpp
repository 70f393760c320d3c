// The settlement: the period's unsettled work per employee, and paying it exactly once.
#include "db/Gbk.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/Dlg_Salary.h"
#include "dialogs/finance/ops/Settlement.h"
#include "grid/KvGrid.h"
#include "proxy/Proxy.h"
#include "support/DbTest.h"
#include "support/ExportTarget.h"
#include "support/ScreenDriver.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <optional>
#include <thread>

namespace {

// Demo employees: 9 郑小军, 10 孙文杰, 11 何美玲 and 12 林志勇 work; 26 田七 has left.
class SalaryDesk : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    SalaryDesk() { signInAs(QStringLiteral("财务")); }

protected:
    // A piece-work row finished at `done`; no amount leaves 共计 NULL.
    void addWork(int member, const char* done, std::optional<double> amount, int settled = 0)
    {
        db().exec(
            QStringLiteral("insert into kvc_record_mission (货单号, 流水号, 工号, 完成时间, 完成数量, 工价, "
                           "共计, 结讫) values (1, 1, %1, '%2', 10, 1, %3, %4)")
                .arg(member)
                .arg(QString::fromLatin1(done),
                     amount ? QString::number(*amount, 'f', 2) : QStringLiteral("NULL"))
                .arg(settled));
    }
    void allowNullAmounts()
    {
        db().exec(QStringLiteral("alter table kvc_record_mission modify 共计 double null"));
    }

    Dlg_Salary& open() { return openScreen(dlg_); }
    void choose(const QDate& start = QDate(2026, 11, 1), const QDate& end = QDate(2026, 12, 1))
    {
        child<QDateEdit>("startDate")->setDate(start);
        child<QDateEdit>("endDate")->setDate(end);
        click("chooseButton");
    }
    // "工号=本次累计" of every listed employee.
    QStringList listed()
    {
        QStringList out;
        KvGrid* g = grid("employeeList");
        for (int r = 0; r < g->GetItemCount(); ++r)
            out << g->GetItemText(r, 0) + QLatin1Char('=') + g->GetItemText(r, QStringLiteral("本次累计"));
        return out;
    }
    QString paid(int member)
    {
        return db().scalar(QStringLiteral("select 累计 from kvc_record_member where 工号=%1").arg(member));
    }
    int settledRows(int member)
    {
        return db().count(QStringLiteral("from kvc_record_mission where 工号=%1 and 结讫=1").arg(member));
    }
    QList<QStringList> salaries()
    {
        return db().rows(
            QStringLiteral("select 工号, 金额, 起始日期, 截止日期 from kvc_record_salary order by 序列号"));
    }

    std::unique_ptr<Dlg_Salary> dlg_;
};

const finance::Period kNovember{QStringLiteral("2026-11-01"), QStringLiteral("2026-12-01")};

}  // namespace

TEST_F(SalaryDesk, ChoosingListsThePeriodsUnsettledWorkWithBothBoundsStrict)
{
    allowNullAmounts();
    addWork(9, "2026-11-01 00:00:00", 10.5);  // the start day is in
    addWork(9, "2026-11-30 23:59:59", 123456.78);
    addWork(9, "2026-12-01 00:00:00", 7);  // the end day is not
    addWork(9, "2026-10-31 23:59:59", 3);
    addWork(9, "2026-11-15 10:00:00", 50, 1);  // settled before
    addWork(10, "2026-11-10 10:00:00", std::nullopt);
    addWork(12, "2026-12-01 08:00:00", 4);
    addWork(26, "2026-11-10 10:00:00", 8);
    open();
    for (const char* b : {"removeButton", "exportButton", "settleButton"})
        EXPECT_FALSE(child<QPushButton>(b)->isEnabled()) << b;

    choose();
    EXPECT_EQ(listed(), QStringList{"9=123467.28"});
    EXPECT_EQ(grid("employeeList")->GetItemText(0, QStringLiteral("姓名")), QStringLiteral("郑小军"));
    for (const char* b : {"removeButton", "exportButton", "settleButton"})
        EXPECT_TRUE(child<QPushButton>(b)->isEnabled()) << b;

    // Everyone: without work (a NULL amount is none) at "0"; those who left only when asked for.
    child<QCheckBox>("onlyPendingCheck")->setChecked(false);
    choose();
    QStringList all = listed();
    EXPECT_EQ(all.size(), 25);
    for (const char* row : {"9=123467.28", "10=0", "11=0", "12=0"})
        EXPECT_TRUE(all.contains(QString::fromLatin1(row))) << row;
    EXPECT_FALSE(all.contains(QStringLiteral("26=8.00")));
    child<QCheckBox>("inactiveCheck")->setChecked(true);
    choose();
    EXPECT_TRUE(listed().contains(QStringLiteral("26=8.00")));

    child<QCheckBox>("onlyPendingCheck")->setChecked(true);
    choose(QDate(2025, 1, 1), QDate(2025, 2, 1));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(boxes().last().text, QStringLiteral("没有符合条件的数据"));
}

TEST_F(SalaryDesk, SettlingPaysTheListedWorkInDoublePrecisionAndRecordsTheSettlement)
{
    allowNullAmounts();
    addWork(9, "2026-11-01 08:00:00", 10.5);
    addWork(9, "2026-11-30 23:59:59", 123456.78);
    addWork(9, "2026-12-01 00:00:00", 7);
    addWork(9, "2026-11-15 10:00:00", 50, 1);
    addWork(10, "2026-11-10 10:00:00", std::nullopt);
    open();
    child<QCheckBox>("onlyPendingCheck")->setChecked(false);
    choose();
    ScreenDriver::clickRowWith(grid("employeeList"), 0, QStringLiteral("9"));
    EXPECT_EQ(grid("pendingList")->GetItemCount(), 3);

    boxes().answer({false});
    click("settleButton");
    EXPECT_EQ(boxes().last().text,
              QStringLiteral("结算从2026-11-01到2026-12-01期间内列表中所有员工的任务，确定吗？"));
    EXPECT_EQ(settledRows(9), 1);
    EXPECT_EQ(grid("employeeList")->GetItemCount(), 25);

    click("settleButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("结算完毕"));
    EXPECT_EQ(grid("employeeList")->GetItemCount(), 0);
    // Six digits before the point keep their cents.
    EXPECT_EQ(paid(9), QStringLiteral("123467.28"));
    EXPECT_EQ(settledRows(9), 3);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission where 工号=9 and 结讫=0")), 1);
    // A row without an amount is settled at nothing; those without work get no row.
    EXPECT_EQ(paid(10), QStringLiteral("0"));
    EXPECT_EQ(settledRows(10), 1);
    EXPECT_EQ(salaries(), (QList<QStringList>{{"9", "123467.28", "2026-11-01", "2026-12-01"},
                                              {"10", "0", "2026-11-01", "2026-12-01"}}));

    // The employee's lists show what happened.
    EXPECT_EQ(grid("pendingList")->GetItemCount(), 1);
    EXPECT_EQ(grid("settledList")->GetItemCount(), 3);
    EXPECT_EQ(grid("historyList")->rows().rowCells(0).mid(1, 2), (QStringList{"郑小军", "123467.28"}));
}

TEST_F(SalaryDesk, WorkAddedAfterChoosingIsReportedAndPaidOnlyWhenAccepted)
{
    addWork(9, "2026-11-03 08:00:00", 10);
    addWork(11, "2026-11-03 08:00:00", 5);
    open();
    choose();
    addWork(9, "2026-11-20 08:00:00", 2.5);  // a station books more meanwhile

    boxes().answer({true, false});
    click("settleButton");
    EXPECT_TRUE(boxes().saw(QStringLiteral(
        "员工9（郑小军）的待结任务在选择之后有了变化，本次累计由10.00变为12.50，按新的金额结算吗？")));
    // Declined: the end says who was paid and who was not.
    EXPECT_EQ(boxes().last().text, QStringLiteral("已结算1名员工，另有1名员工没有结算，仍留在列表中"));
    EXPECT_EQ(settledRows(9), 0);
    EXPECT_EQ(paid(9), QStringLiteral("0"));
    EXPECT_EQ(paid(11), QStringLiteral("5"));
    EXPECT_EQ(listed(), QStringList{"9=12.50"});

    // Accepted: the new amount with all its rows.
    click("settleButton");
    EXPECT_EQ(settledRows(9), 2);
    EXPECT_EQ(paid(9), QStringLiteral("12.5"));
    EXPECT_EQ(salaries().size(), 2);
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(SalaryDesk, AFailureInOneEmployeesSettlementLeavesHimWhollyUnsettled)
{
    for (int member : {9, 10, 11})
        addWork(member, "2026-11-03 08:00:00", member);
    db().exec(QStringLiteral(
        "create trigger no_pay before insert on kvc_record_salary for each row begin "
        "if new.工号=10 then signal sqlstate '45000' set message_text='payroll closed'; end if; end"));
    open();
    choose();
    click("settleButton");

    EXPECT_EQ(boxes().last().caption, QStringLiteral("Error"));
    EXPECT_TRUE(boxes().last().text.contains(QStringLiteral("payroll closed")));
    EXPECT_FALSE(boxes().saw(QStringLiteral("结算完毕")));
    EXPECT_EQ(paid(9), QStringLiteral("9"));
    EXPECT_EQ(settledRows(9), 1);
    for (int member : {10, 11}) {
        EXPECT_EQ(paid(member), QStringLiteral("0")) << member;
        EXPECT_EQ(settledRows(member), 0) << member;
    }
    EXPECT_EQ(salaries().size(), 1);
    // Those not paid stay listed for another try.
    EXPECT_EQ(listed(), (QStringList{"10=10.00", "11=11.00"}));
}

TEST_F(SalaryDesk, TwoDesksSettlingTheSameEmployeePayHimOnce)
{
    addWork(9, "2026-11-03 08:00:00", 10);
    addWork(9, "2026-11-04 08:00:00", 20);
    const finance::PendingWork listedWork{2, 2, 30};
    mySQLTool deskA, deskB;
    ASSERT_TRUE(db().connect(deskA));
    ASSERT_TRUE(db().connect(deskB));

    // Desk A is in the middle of its settlement when desk B settles him too.
    ASSERT_TRUE(deskA.Begin());
    ASSERT_TRUE(finance::settle(deskA, 9, kNovember, listedWork).ok());
    Outcome second = Outcome::done();
    finance::PendingWork found;
    std::thread b([&] { second = finance::settle(deskB, 9, kNovember, listedWork, &found); });
    QThread::msleep(300);
    ASSERT_TRUE(deskA.Commit());
    b.join();
    EXPECT_TRUE(second.isTaken());
    EXPECT_EQ(found.rows, 0);
    EXPECT_EQ(paid(9), QStringLiteral("30"));
    EXPECT_EQ(salaries().size(), 1);

    // A screen that still lists an employee another desk paid says there is nothing left.
    addWork(10, "2026-11-03 08:00:00", 5);
    addWork(11, "2026-11-03 08:00:00", 7);
    open();
    choose();
    ASSERT_EQ(listed(), (QStringList{"10=5.00", "11=7.00"}));
    ASSERT_TRUE(finance::settle(deskB, 10, kNovember, {1, 1, 5}).ok());
    click("settleButton");
    EXPECT_TRUE(boxes().saw(QStringLiteral("员工10（孙文杰）在这一期间已没有待结任务，可能已由他人结算")));
    EXPECT_EQ(boxes().last().text, QStringLiteral("结算完毕"));
    EXPECT_EQ(paid(10), QStringLiteral("5"));
    EXPECT_EQ(paid(11), QStringLiteral("7"));
    EXPECT_EQ(salaries().size(), 3);
}

TEST_F(SalaryDesk, RemovedRowsAreNeitherExportedNorSettled)
{
    addWork(9, "2026-11-03 08:00:00", 10);
    addWork(11, "2026-11-03 08:00:00", 5);
    open();
    choose();
    ScreenDriver::clickRowWith(grid("employeeList"), 0, QStringLiteral("9"));
    boxes().answer({false, true});
    click("removeButton");
    EXPECT_EQ(listed().size(), 2);
    click("removeButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("将这一行记录从表格中移除吗？"));
    EXPECT_EQ(listed(), QStringList{"11=5.00"});

    QTemporaryDir dir;
    kvtest::ExportTarget target(dir.filePath(QStringLiteral("结算")));
    click("exportButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("导出完毕"));
    QFile file(target.path + QStringLiteral(".txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray expected;
    ASSERT_TRUE(Gbk::encode(QStringLiteral("11,何美玲,员工,洗水组,0.00,5.00,\r\n\r\n"), expected));
    EXPECT_EQ(file.readAll(), expected);
    click("settleButton");
    EXPECT_EQ(settledRows(9), 0);
    EXPECT_EQ(settledRows(11), 1);
}

// However many employees there are, exactly those with pending work are listed.
TEST_F(SalaryDesk, EveryEmployeeWithPendingWorkIsListedHoweverManyThereAre)
{
    db().exec(
        QStringLiteral("insert into kvc_record_member (姓名, 身份, 激活) select concat('员工', seq), "
                       "'员工', 1 from seq_1_to_1030"));
    const QString newest = db().scalar(QStringLiteral("select max(工号) from kvc_record_member"));
    addWork(newest.toInt(), "2026-11-03 08:00:00", 6);
    addWork(9, "2026-11-03 08:00:00", 10);
    open();
    choose();
    EXPECT_EQ(listed(), (QStringList{"9=10.00", newest + QStringLiteral("=6.00")}));
}

// When the reply to COMMIT is lost and it cannot be told whether an employee was paid, the screen
// says so, keeps him listed and goes no further; it never says it is done.
TEST_F(SalaryDesk, ASettlementWhoseCommitIsUnknownIsToldAsSuch)
{
    addWork(9, "2026-11-03 08:00:00", 10);
    addWork(11, "2026-11-03 08:00:00", 5);
    kvnet::Proxy proxy(kvtest::server().port);
    const kvtest::Server s = kvtest::server();
    struct Timeouts {
        ~Timeouts() { g_sqlTool.SetTimeouts(10, 120, 60); }
    } restored;
    g_sqlTool.Close();
    g_sqlTool.SetTimeouts(2, 2, 2);
    ASSERT_TRUE(g_sqlTool.Connect(s.host, proxy.port(), db().name(), db().clientAccount(), s.password));
    open();
    choose();
    proxy.failNextCommit(kvnet::Proxy::CommitFault::LoseReply);
    proxy.refuse(true);
    boxes().clear();
    click("settleButton");
    proxy.refuse(false);
    ASSERT_EQ(boxes().boxes.size(), 2);
    EXPECT_EQ(boxes().last().text, QStringLiteral("员工9（郑小军）：") + kCommitUnknown);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_EQ(listed(), (QStringList{"9=10.00", "11=5.00"}));
    EXPECT_EQ(paid(11), QStringLiteral("0"));
}
