#include "db/FillList.h"
#include "db/ListModel.h"
#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/WriteLog.h"
#include "db/mySQLTool.h"
#include "support/DbTest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using kvtest::DbTest;

TEST(TimeText, ModesGiveTwoDigitPartsAndUnknownModesNothing)
{
    kvclock::fix(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)));
    EXPECT_EQ(GetTimeText(0), QStringLiteral("2024-03-05 07:08:09"));
    EXPECT_EQ(GetTimeText(1), QStringLiteral("2024-03-05"));
    EXPECT_EQ(GetTimeText(2), QStringLiteral("07:08:09"));
    EXPECT_EQ(GetTimeText(3), QString());
    kvclock::fix(QDateTime(QDate(2025, 12, 31), QTime(23, 59, 10)));
    EXPECT_EQ(GetTimeText(0), QStringLiteral("2025-12-31 23:59:10"));
    kvclock::release();
    EXPECT_EQ(GetTimeText(0).size(), 19);
}

TEST(WriteLogFile, LinesEndInCrLfAndAreAppended)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ASSERT_TRUE(WriteLog(QStringLiteral("第一行")));
    ASSERT_TRUE(WriteLog(QStringLiteral("select 1")));
    QFile f(QStringLiteral("测试日志.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QStringLiteral("第一行\r\nselect 1\r\n").toUtf8());
    QDir::setCurrent(old);

    const QString named = dir.filePath(QStringLiteral("导出.txt"));
    ASSERT_TRUE(WriteLog(QStringLiteral("a"), named));
    QFile g(named);
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    EXPECT_EQ(g.readAll(), QByteArray("a\r\n"));
}

namespace {

class Fill : public DbTest {
protected:
    void addFlows(int n)
    {
        db().exec(QStringLiteral("insert into kvc_record_procedure (货单号, 工作站, 数量) "
                                 "select seq, '洗水', seq from seq_1_to_%1")
                      .arg(n));
    }
    Statement flows()
    {
        return g_sqlTool.Format("select 流水号, 工作站, 数量 from %s order by 流水号", tables::procedure);
    }
};

}  // namespace

TEST_F(Fill, CapsAt1024RowsAndReportsTheTotal)
{
    addFlows(1500);
    ListModel list;
    list.addColumn(QStringLiteral("流水号"), 60);
    list.addColumn(QStringLiteral("工作站"), 70);
    list.addColumn(QStringLiteral("数量"), 55);
    const FillResult r = FillList(g_sqlTool, list, flows(), true);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.total, 1500u);
    EXPECT_EQ(r.shown, 1024);
    ASSERT_EQ(list.rows(), 1024);
    EXPECT_EQ(list.cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(list.cell(1023, 2), QStringLiteral("1024"));
    EXPECT_EQ(list.cell(5, 1), QStringLiteral("洗水"));

    // Without clearing, rows are appended.
    const FillResult again = FillList(
        g_sqlTool, list,
        g_sqlTool.Format("select 流水号, 工作站, 数量 from %s where 流水号=7", tables::procedure), false);
    EXPECT_EQ(again.shown, 1);
    EXPECT_EQ(list.rows(), 1025);
    EXPECT_EQ(list.cell(1024, 0), QStringLiteral("7"));
}

TEST_F(Fill, ColumnCountMismatchLeavesTheListEmptyAndFailuresCarryTheirCaption)
{
    addFlows(3);
    ListModel list;
    for (int i = 0; i < 5; ++i)
        list.addColumn(QStringLiteral("列%1").arg(i), 50);
    list.appendRow({QStringLiteral("old")});
    const FillResult r = FillList(
        g_sqlTool, list,
        g_sqlTool.Format("select 流水号, 货单号, 工作站, 数量, 历史, 工序 from %s", tables::procedure), true);
    EXPECT_EQ(r.code, -1);
    EXPECT_EQ(r.message, QStringLiteral("记录集与表格控件列数不符"));
    EXPECT_EQ(r.caption, QStringLiteral("错误"));
    EXPECT_EQ(list.rows(), 0);

    const FillResult bad =
        FillList(g_sqlTool, list, g_sqlTool.Format("select * from %s", "missing_table"), true);
    EXPECT_EQ(bad.code, -1);
    EXPECT_EQ(bad.caption, QStringLiteral("Error"));
    EXPECT_TRUE(bad.message.contains(QStringLiteral("missing_table")));

    EXPECT_EQ(FillList(g_sqlTool, list, Statement(), true).code, 0);
}

TEST_F(Fill, NullCellsStayEmptyAndHeaderMatchingUsesCaptions)
{
    db().exec(QStringLiteral(
        "insert into kvc_record_client (名称, 说明, 激活) values ('甲', '说明甲', 1);"
        "insert into kvc_record_procedure (货单号, 客户号, 工作站, 数量) values (1, 1, '接收', 4)"));
    ListModel list;
    list.addColumn(QStringLiteral("流水号"), 60);
    list.addColumn(QStringLiteral("上一号"), 60);
    list.addColumn(QStringLiteral("客户名称"), 80);
    FillMatch byHeader;
    byHeader.byHeader = true;
    byHeader.aliases.insert(QStringLiteral("客户名称"), QStringLiteral("名称"));
    const FillResult r = FillList(
        g_sqlTool, list,
        g_sqlTool.Format("select %s.流水号, %s.名称, %s.上一号 from %s, %s where %s.客户号=%s.客户号",
                         tables::procedure, tables::client, tables::procedure, tables::client,
                         tables::procedure, tables::client, tables::procedure),
        true, byHeader);
    ASSERT_EQ(r.code, 1);
    ASSERT_EQ(list.rows(), 1);
    EXPECT_EQ(list.cell(0, 0), QStringLiteral("1"));
    EXPECT_TRUE(list.cell(0, 1).isEmpty());
    EXPECT_EQ(list.cell(0, 2), QStringLiteral("甲"));
}
