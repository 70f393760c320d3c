#include "app/Dashboard.h"
#include "db/mySQLTool.h"
#include "grid/KvGrid.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"

#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using kvtest::column;

namespace {

// A session on the test database that counts its statements; those containing `failOn`
// are replaced by one the server refuses.
class FailingSession : public mySQLTool {
public:
    QString failOn;
    int sent = 0;
    Statement failing(const Statement& statement) const
    {
        if (!failOn.isEmpty() && statement.text().contains(failOn))
            return Statement::fromBytes("select * from kv_no_such_table");
        return statement;
    }
    bool Query(const Statement& statement, bool keep) override
    {
        ++sent;
        return mySQLTool::Query(failing(statement), keep);
    }
    Batch ReadAll(const QList<Statement>& reads) override
    {
        QList<Statement> made;
        for (const Statement& s : reads)
            made.append(failing(s));
        sent += static_cast<int>(reads.size());
        return mySQLTool::ReadAll(made);
    }
};

class DashboardTest : public kvtest::DbTest {
public:
    // The identity that uses this screen, with its database role.
    DashboardTest() { signInAs(QStringLiteral("游客")); }

protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db().exec(
            QStringLiteral("insert into kvc_record_client (名称) values ('客户甲'), ('客户乙');"
                           "insert into kvc_attrib_technology (名称, 类型) values ('A', '洗水'), ('B', "
                           "'手工'), ('C', '喷砂'), "
                           "('P', '套餐');"
                           // open and released (1-3, 6), waiting (4), closed (5)
                           "insert into kvc_record_product (客户号, 货物数量, 洗涤方法, 激活, 结讫) values "
                           "(1, 100, '[A][B]', 1, 0), (2, 50, '[B][A]', 1, 0), (1, 30, '[A][B]', 1, 0), (1, "
                           "20, '[A]', 0, 0), "
                           "(2, 5, '[C]', 1, 1), (2, 7, '[A]', 1, 0)"));
    }
    void addFlow(const QString& station, int amount, int closed = 0,
                 const QString& previous = QStringLiteral("洗水"), const QString& closedAt = QString(),
                 const QString& action = QString(), int order = 1)
    {
        db().exec(
            QStringLiteral(
                "insert into kvc_record_procedure (货单号, 上一站, 工作站, 数量, 结讫, 结讫时间, 工序, 历史) "
                "values (%1, '%2', '%3', %4, %5, '%6', '%7', '接收[接收]-%2[x]')")
                .arg(order)
                .arg(previous, station)
                .arg(amount)
                .arg(closed)
                .arg(closedAt, action));
    }
};

TEST_F(DashboardTest, OrderListNamesEveryOpenOrderAndShowsTheOldest)
{
    db().exec(
        QStringLiteral("insert into kvc_record_product (客户号, 货物数量, 结讫) "
                       "select 1 + seq % 2, seq, if(seq % 100 = 0, 1, 0) from seq_1_to_1510"));
    const int open = db().count(QStringLiteral("from kvc_record_product where 结讫=0"));
    ASSERT_EQ(open, 1500);
    Dashboard d(g_sqlTool);
    ASSERT_EQ(d.FillOrderList(), 1);
    EXPECT_EQ(d.orderCaption()->text(), QStringLiteral("共有1500单正在运行的货单，显示其中1024单"));
    ASSERT_EQ(d.orders()->GetItemCount(), 1024);
    EXPECT_EQ(d.orders()->GetItemText(0, 0),
              db().scalar(QStringLiteral("select min(货单号) from kvc_record_product where 结讫=0")));
    EXPECT_EQ(d.orders()->GetItemText(1023, 0),
              db().scalar(QStringLiteral(
                  "select 货单号 from kvc_record_product where 结讫=0 order by 货单号 limit 1023, 1")));
    EXPECT_EQ(d.orders()->GetItemText(0, 1), QStringLiteral("客户甲"));
    EXPECT_EQ(d.orders()->GetItemText(0, 4), QStringLiteral("[A][B]"));
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

TEST_F(DashboardTest, ClickingAnOrderListsItsOpenFlowsAndAFlowShowsItsRoute)
{
    addFlow(QStringLiteral("手工"), 80, 0, QStringLiteral("洗水"), QString(), QString(), 1);
    addFlow(QStringLiteral("洗水"), 20, 1, QStringLiteral("接收"), QString(), QString(), 1);
    addFlow(QStringLiteral("喷砂"), 50, 0, QStringLiteral("洗水"), QString(), QString(), 2);
    Dashboard d(g_sqlTool);
    d.resize(1000, 700);
    d.show();
    d.Refresh();
    const QRect first = d.orders()->visualRect(d.orders()->model()->index(0, 0));
    QTest::mouseClick(d.orders()->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(d.SelectedOrder(), 1u);
    ASSERT_EQ(d.flows()->CopyRows(),
              (QList<QStringList>{{QStringLiteral("1"), QStringLiteral("手工"), QStringLiteral("80")}}));

    const QRect flow = d.flows()->visualRect(d.flows()->model()->index(0, 0));
    QTest::mouseClick(d.flows()->viewport(), Qt::LeftButton, {}, flow.center());
    EXPECT_EQ(d.history()->toPlainText(), QStringLiteral("接收[接收]-洗水[x]"));

    // A click beside the orders drops the selection but keeps the flows shown.
    QTest::mouseClick(d.orders()->viewport(), Qt::LeftButton, {},
                      QPoint(first.center().x(), d.orders()->viewport()->height() - 5));
    EXPECT_EQ(d.SelectedOrder(), 0u);
    EXPECT_EQ(d.flows()->GetItemCount(), 1);

    // "刷新" leaves the flow list and the route as they are.
    QTest::mouseClick(d.refreshButton(), Qt::LeftButton);
    EXPECT_EQ(d.flows()->GetItemCount(), 1);
    EXPECT_EQ(d.history()->toPlainText(), QStringLiteral("接收[接收]-洗水[x]"));

    // Another order: its flows, and no route of the other order's flow.
    const QRect second = d.orders()->visualRect(d.orders()->model()->index(1, 0));
    QTest::mouseClick(d.orders()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(d.SelectedOrder(), 2u);
    EXPECT_EQ(column(d.flows(), 1), QStringList{QStringLiteral("喷砂")});
    EXPECT_EQ(d.history()->toPlainText(), QString());

    d.orders()->SetItemText(1, 0, QStringLiteral("编号"));
    QTest::mouseClick(d.orders()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(boxes().last().text, QStringLiteral("内部数据错误"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
}

TEST_F(DashboardTest, MethodsAreCountedByExactTextAndTechnologiesInEachOfTheirOrders)
{
    Dashboard d(g_sqlTool);
    ASSERT_EQ(d.FillMethodTable(), 1);
    EXPECT_EQ(d.methods()->CopyRows(), (QList<QStringList>{{QStringLiteral("[A][B]"), QStringLiteral("130")},
                                                           {QStringLiteral("[B][A]"), QStringLiteral("50")},
                                                           {QStringLiteral("[A]"), QStringLiteral("7")}}));
    EXPECT_EQ(d.methodCaption()->text(), QStringLiteral("共有3种洗涤方法包括187件货物正在车间运行"));

    ASSERT_EQ(d.FillTechnologyTable(), 1);
    // In the server's order, which the statement leaves open.
    QList<QStringList> technologies = d.technologies()->CopyRows();
    std::sort(technologies.begin(), technologies.end());
    EXPECT_EQ(technologies, (QList<QStringList>{{QStringLiteral("A"), QStringLiteral("187")},
                                                {QStringLiteral("B"), QStringLiteral("180")},
                                                {QStringLiteral("C"), QStringLiteral("0")}}));
}

TEST_F(DashboardTest, MethodsDifferingInCaseAndTechnologiesNamedWithWildcardsCountOnlyTheirOwn)
{
    db().exec(
        QStringLiteral("insert into kvc_attrib_technology (名称, 类型) values ('A_', '洗水'), "
                       "('AB', '洗水'), ('%', '手工'), ('C\\\\D', '喷砂');"
                       "insert into kvc_record_product (客户号, 货物数量, 洗涤方法, 激活, 结讫) values "
                       "(1, 10, '[a]', 1, 0), (1, 20, '[AB]', 1, 0), (1, 40, '[A_]', 1, 0), "
                       "(1, 80, '[%]', 1, 0), (1, 5, '[C\\\\D]', 1, 0)"));
    Dashboard d(g_sqlTool);
    ASSERT_EQ(d.FillMethodTable(), 1);
    QHash<QString, QString> methods;
    for (const QStringList& r : d.methods()->CopyRows())
        methods.insert(r[0], r[1]);
    ASSERT_EQ(d.FillTechnologyTable(), 1);
    QHash<QString, QString> technologies;
    for (const QStringList& r : d.technologies()->CopyRows())
        technologies.insert(r[0], r[1]);

    const struct {
        const QHash<QString, QString>& table;
        const char* name;
        const char* pieces;
    } cases[] = {{methods, "[A]", "7"},      {methods, "[a]", "10"},    {technologies, "A_", "40"},
                 {technologies, "AB", "20"}, {technologies, "%", "80"}, {technologies, "C\\D", "5"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.table.value(QString::fromUtf8(c.name)), QString::fromLatin1(c.pieces)) << c.name;
    // Every running piece counted once.
    EXPECT_EQ(d.methodCaption()->text(), QStringLiteral("共有8种洗涤方法包括342件货物正在车间运行"));
}

TEST_F(DashboardTest, ARefreshSendsAHandfulOfStatementsHoweverManyMethodsAndTechnologies)
{
    FailingSession session;
    ASSERT_TRUE(db().connect(session));
    Dashboard d(session);
    d.Refresh();
    const int sent = session.sent;
    EXPECT_LE(sent, 8);
    db().exec(QStringLiteral(
        "insert into kvc_attrib_technology (名称, 类型) select concat('T', seq), '洗水' from seq_1_to_20;"
        "insert into kvc_record_product (客户号, 货物数量, 洗涤方法, 激活) "
        "select 1, seq, concat('[T', seq, ']'), 1 from seq_1_to_20"));
    session.sent = 0;
    d.Refresh();
    EXPECT_EQ(session.sent, sent);
    EXPECT_EQ(d.methods()->GetItemCount(), 23);
    EXPECT_EQ(d.technologies()->GetItemCount(), 23);
}

TEST_F(DashboardTest, StationTablesLeaveIntakeOutAndCountOnlyWaitingAndFinishedToday)
{
    const QString today = QStringLiteral("2026-12-08 08:00:00");
    addFlow(QStringLiteral("洗水"), 10);
    addFlow(QStringLiteral("洗水"), 20);
    addFlow(QStringLiteral("接收"), 7);
    addFlow(QStringLiteral("发送"), 30, 0, QStringLiteral("喷砂"));
    addFlow(QStringLiteral("发送"), 40, 0, QStringLiteral("发送"));  // sent back to itself: not waiting
    addFlow(QStringLiteral("洗水"), 5, 1, QStringLiteral("接收"), today, QStringLiteral("普洗工序"));
    addFlow(QStringLiteral("洗水"), 6, 1, QStringLiteral("接收"), QStringLiteral("2026-12-07 17:00:00"),
            QStringLiteral("普洗工序"));
    addFlow(QStringLiteral("洗水"), 9, 1, QStringLiteral("接收"), today, QStringLiteral("转发"));
    addFlow(QStringLiteral("发送"), 8, 1, QStringLiteral("发送"), today, QStringLiteral("确认"));
    addFlow(QStringLiteral("接收"), 3, 1, QStringLiteral("洗水"), today, QStringLiteral("返回"));

    Dashboard d(g_sqlTool);
    ASSERT_EQ(d.FillWaitingTable(), 1);
    ASSERT_EQ(d.FillFinishedTable(), 1);
    const QStringList stations = {QStringLiteral("洗水"), QStringLiteral("喷砂"), QStringLiteral("树脂"),
                                  QStringLiteral("手工"), QStringLiteral("夹烫"), QStringLiteral("手擦"),
                                  QStringLiteral("马骝"), QStringLiteral("发送")};
    EXPECT_EQ(column(d.waiting(), 0), stations);
    EXPECT_EQ(column(d.finished(), 0), stations);
    EXPECT_EQ(d.waiting()->rows().rowCells(0),
              (QStringList{QStringLiteral("洗水"), QStringLiteral("2"), QStringLiteral("30")}));
    EXPECT_EQ(d.waiting()->rows().rowCells(7),
              (QStringList{QStringLiteral("发送"), QStringLiteral("1"), QStringLiteral("30")}));
    EXPECT_EQ(d.waiting()->rows().rowCells(1),
              (QStringList{QStringLiteral("喷砂"), QStringLiteral("0"), QStringLiteral("0")}));
    EXPECT_EQ(d.finished()->rows().rowCells(0),
              (QStringList{QStringLiteral("洗水"), QStringLiteral("1"), QStringLiteral("5")}));
    EXPECT_EQ(d.finished()->rows().rowCells(7),
              (QStringList{QStringLiteral("发送"), QStringLiteral("1"), QStringLiteral("8")}));
}

TEST_F(DashboardTest, AFailingSummaryQueryLeavesItsTableEmptyWithoutAMessage)
{
    addFlow(QStringLiteral("洗水"), 10);
    FailingSession session;
    ASSERT_TRUE(db().connect(session));
    Dashboard d(session);
    d.Refresh();
    ASSERT_EQ(d.waiting()->GetItemCount(), 8);

    session.failOn = QStringLiteral("kvc_record_procedure.结讫=0");
    d.Refresh();
    EXPECT_EQ(d.waiting()->GetItemCount(), 0);
    // The builders after it still ran.
    EXPECT_EQ(d.finished()->GetItemCount(), 8);
    EXPECT_EQ(d.technologies()->GetItemCount(), 3);
    EXPECT_EQ(d.methods()->GetItemCount(), 3);
    EXPECT_TRUE(boxes().boxes.isEmpty());

    session.failOn = QStringLiteral("group by cast(");
    EXPECT_EQ(d.FillMethodTable(), -1);
    EXPECT_EQ(d.methods()->GetItemCount(), 0);
    EXPECT_TRUE(d.methodCaption()->text().isEmpty());
    EXPECT_TRUE(boxes().boxes.isEmpty());

    // The order list does report its failure.
    session.failOn = QStringLiteral("kvc_record_client.名称");
    EXPECT_EQ(d.FillOrderList(), -1);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("Error"));
    EXPECT_TRUE(d.orderCaption()->text().isEmpty());
}

}  // namespace
