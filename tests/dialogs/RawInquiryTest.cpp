// The raw-material inquiry on known purchases and issues: each condition in each mode, the
// four summaries (issues valued at the average purchase price), a query that finds nothing,
// paging and the five exports.
#include "db/Gbk.h"
#include "db/mySQLTool.h"
#include "dialogs/materials/Dlg_RawInquiry.h"
#include "grid/KvGrid.h"
#include "parts/TimeCondition.h"
#include "support/DbTest.h"
#include "support/ExportTarget.h"
#include "support/ScreenDriver.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <functional>
#include <memory>

using kvtest::column;

namespace {

QByteArray gbk(const QString& text)
{
    QByteArray out;
    EXPECT_TRUE(Gbk::encode(text, out));
    return out;
}

class RawInquiry : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    RawInquiry() { signInAs(QStringLiteral("调度")); }
    void SetUp() override
    {
        DemoDbTest::SetUp();
        db().exec(QStringLiteral(
            "insert into kvc_record_raw (名称, 单位, 数量, 累计数量, 累计金额) values "
            "('酵素', '公斤', 6.5, 10, 30), ('浮石', '公斤', 80, 100, 150), ('砂纸', '盒', 0, 0, 0);"
            "insert into kvc_record_supplier (名称) values ('广州恒信化工'), ('增城浮石批发部');"
            "insert into kvc_record_raw_in (名称, 供应商号, 数量, 单价, 金额, 时间, 工号, 经办人) values "
            "('酵素', 1, 10, 3, 30, '2026-11-01 08:00:00', 4, '调度'),"
            "('浮石', 2, 60, 1.5, 90, '2026-11-15 08:00:00', 5, 'admin'),"
            "('浮石', 2, 40, 1.5, 60, '2026-12-01 08:00:00', 4, '调度');"
            "insert into kvc_record_raw_out (名称, 客户号, 数量, 时间, 班组, 工号, 经办人) values "
            "('酵素', 1, 2, '2026-11-02 08:00:00', '洗水组', 9, '调度'),"
            "('酵素', 2, 1.5, '2026-11-20 08:00:00', '洗水组', 10, 'admin'),"
            "('浮石', 2, 20, '2026-11-21 08:00:00', '喷砂组', 13, '调度'),"
            "('砂纸', 3, 4, '2026-12-02 08:00:00', '手工组', 18, '调度')"));
    }
    Dlg_RawInquiry& open(bool issues)
    {
        openScreen(dlg_);
        if (issues)
            click("issueMode");
        return *dlg_;
    }
    KvGrid* results()
    {
        return grid(child<QRadioButton>("issueMode")->isChecked() ? "issueList" : "purchaseList");
    }
    void pick(const char* list, int column, const char* text)
    {
        ASSERT_TRUE(clickRowWith(grid(list), column, QString::fromUtf8(text))) << text;
    }
    void time(TimeCondition::Range range, const char* first, const char* second)
    {
        auto* t = child<TimeCondition>("time");
        t->switchBox()->click();
        t->radio(range)->click();
        t->setMoment(TimeCondition::First, QDateTime::fromString(QString::fromLatin1(first), Qt::ISODate));
        t->setMoment(TimeCondition::Second, QDateTime::fromString(QString::fromLatin1(second), Qt::ISODate));
    }

    std::unique_ptr<Dlg_RawInquiry> dlg_;
};

using R = TimeCondition::Range;

}  // namespace

TEST_F(RawInquiry, EachConditionInEachMode)
{
    struct Case {
        const char* what;
        bool issues;
        std::function<void(RawInquiry&)> set;
        QStringList serials;
    };
    const Case cases[] = {
        {"nothing ticked", false, [](RawInquiry&) {}, {"1", "2", "3"}},
        {"material",
         false,
         [](RawInquiry& t) { t.click("materialCheck"), t.pick("materialList", 0, "浮石"); },
         {"2", "3"}},
        {"supplier",
         false,
         [](RawInquiry& t) { t.click("supplierCheck"), t.pick("supplierList", 1, "广州恒信化工"); },
         {"1"}},
        {"buyer",
         false,
         [](RawInquiry& t) { t.click("memberCheck"), t.pick("memberList", 1, "张志明"); },
         {"1", "3"}},
        {"account",
         false,
         [](RawInquiry& t) { t.click("accountCheck"), t.choose("accountCombo", QStringLiteral("admin")); },
         {"2"}},
        {"before: the first pair",
         false,
         [](RawInquiry& t) { t.time(R::Before, "2026-11-10T00:00:00", "2026-11-01T00:00:00"); },
         {"1"}},
        {"after: the second pair",
         false,
         [](RawInquiry& t) { t.time(R::After, "2026-12-30T00:00:00", "2026-11-10T00:00:00"); },
         {"2", "3"}},
        {"between",
         false,
         [](RawInquiry& t) { t.time(R::Within, "2026-11-10T00:00:00", "2026-11-30T00:00:00"); },
         {"2"}},
        {"material and buyer",
         false,
         [](RawInquiry& t) {
             t.click("materialCheck"), t.pick("materialList", 0, "浮石");
             t.click("memberCheck"), t.pick("memberList", 1, "张志明");
         },
         {"3"}},
        {"a team ticked for issues adds nothing to purchases",
         false,
         [](RawInquiry& t) {
             t.click("issueMode"), t.click("teamCheck"), t.choose("teamCombo", QStringLiteral("喷砂组")),
                 t.click("purchaseMode");
         },
         {"1", "2", "3"}},
        {"issues, nothing ticked", true, [](RawInquiry&) {}, {"1", "2", "3", "4"}},
        {"issues, material",
         true,
         [](RawInquiry& t) { t.click("materialCheck"), t.pick("materialList", 0, "酵素"); },
         {"1", "2"}},
        {"issues, customer",
         true,
         [](RawInquiry& t) { t.click("clientCheck"), t.pick("clientList", 0, "2"); },
         {"2", "3"}},
        {"issues, receiver",
         true,
         [](RawInquiry& t) { t.click("memberCheck"), t.pick("memberList", 1, "郑小军"); },
         {"1"}},
        {"issues, team",
         true,
         [](RawInquiry& t) { t.click("teamCheck"), t.choose("teamCombo", QStringLiteral("喷砂组")); },
         {"3"}},
        {"issues, account",
         true,
         [](RawInquiry& t) { t.click("accountCheck"), t.choose("accountCombo", QStringLiteral("调度")); },
         {"1", "3", "4"}},
        {"issues, after",
         true,
         [](RawInquiry& t) { t.time(R::After, "2026-01-01T00:00:00", "2026-11-20T12:00:00"); },
         {"3", "4"}},
    };
    for (const Case& c : cases) {
        open(c.issues);
        c.set(*this);
        boxes().clear();
        click("queryButton");
        EXPECT_TRUE(boxes().boxes.isEmpty()) << c.what << ": " << boxes().last().text.toStdString();
        EXPECT_EQ(column(results(), 0), c.serials) << c.what;
        EXPECT_EQ(child<QLabel>(c.issues ? "issueLabel" : "purchaseLabel")->text(),
                  QStringLiteral("共查询到%1条，显示其中1-%1条").arg(c.serials.size()))
            << c.what;
    }

    // A ticked switch without its input: its message, and the last result stays.
    struct Missing {
        bool issues;
        const char* check;
        const char* message;
    };
    const Missing missing[] = {
        {false, "materialCheck", "您设置了勾选原料，请选择一种原料作为查询条件"},
        {false, "supplierCheck", "您设置了勾选供应商，请选择一个供应商作为查询条件"},
        {true, "clientCheck", "您设置了勾选客户，请选择一个客户作为查询条件"},
        {true, "memberCheck", "您设置了勾选采购人/领料人，请选择一项作为查询条件"},
        {true, "teamCheck", "您设置了勾选领料班组，请选择一项作为查询条件"},
        {false, "accountCheck", "您设置了勾选经办人，请选择一项作为查询条件"},
        {false, "timeSwitch", "您设置了勾选时间，请选择一项内容作为查询条件"},
    };
    for (const Missing& m : missing) {
        open(m.issues);
        click("queryButton");
        click(m.check);
        boxes().clear();
        click("queryButton");
        EXPECT_EQ(boxes().texts(), QStringList{QString::fromUtf8(m.message)});
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        EXPECT_EQ(results()->GetItemCount(), m.issues ? 4 : 3) << m.check;
    }
}

TEST_F(RawInquiry, SummariesAddUpTheMatchingRowsAndIssuesAreValuedAtTheAveragePrice)
{
    open(false);
    click("queryButton");
    EXPECT_EQ(grid("materialSumList")->CopyRows(),
              (QList<QStringList>{{"浮石", "100.000000", "150.00"}, {"酵素", "10.000000", "30.00"}}));
    EXPECT_EQ(grid("supplierSumList")->CopyRows(),
              (QList<QStringList>{{"1", "广州恒信化工", "30.00"}, {"2", "增城浮石批发部", "150.00"}}));
    EXPECT_EQ(grid("teamSumList")->GetItemCount(), 0);

    // 酵素 at 30/10, 浮石 at 150/100; 砂纸 was never bought and adds nothing. A customer
    // removed since keeps its rows.
    db().exec(QStringLiteral("delete from kvc_record_client where 客户号=3"));
    click("issueMode");
    EXPECT_EQ(grid("materialSumList")->GetItemCount(), 0);  // the other mode's figures go
    click("queryButton");
    EXPECT_EQ(grid("materialSumList")->CopyRows(),
              (QList<QStringList>{
                  {"浮石", "20.000000", "30.00"}, {"酵素", "3.500000", "10.50"}, {"砂纸", "4.000000", ""}}));
    EXPECT_EQ(grid("clientSumList")->CopyRows(),
              (QList<QStringList>{
                  {"1", "广州天河制衣厂", "6.00"}, {"2", "佛山南海牛仔服饰", "34.50"}, {"3", "", "0.00"}}));
    EXPECT_EQ(grid("teamSumList")->CopyRows(),
              (QList<QStringList>{{"喷砂组", "30.00"}, {"手工组", "0.00"}, {"洗水组", "10.50"}}));
    EXPECT_EQ(column(results(), 2),
              (QStringList{"广州天河制衣厂", "佛山南海牛仔服饰", "佛山南海牛仔服饰", ""}));
    for (const char* b : {"resultExportButton", "materialSumExport", "clientSumExport", "teamSumExport"})
        EXPECT_TRUE(child<QPushButton>(b)->isEnabled()) << b;

    // A query that finds nothing leaves no figures of the last one.
    click("memberCheck");
    pick("memberList", 1, "陈国强");
    click("queryButton");
    EXPECT_EQ(results()->GetItemCount(), 0);
    for (const char* l : {"materialSumList", "clientSumList", "teamSumList"})
        EXPECT_EQ(grid(l)->GetItemCount(), 0) << l;
    for (const char* b : {"resultExportButton", "materialSumExport", "clientSumExport", "teamSumExport"})
        EXPECT_FALSE(child<QPushButton>(b)->isEnabled()) << b;
}

TEST_F(RawInquiry, PagesAreCountedWithTheSums)
{
    db().exec(QStringLiteral(
        "insert into kvc_record_raw_out (名称, 客户号, 数量, 时间, 班组, 工号, 经办人) "
        "select '酵素', 1, 0.5, '2026-10-01 00:00:00', '洗水组', 9, '调度' from seq_1_to_1030"));
    open(true);
    click("queryButton");
    EXPECT_EQ(child<QLabel>("issueLabel")->text(), QStringLiteral("共查询到1034条，显示其中1-1024条"));
    click("issueNext");
    EXPECT_EQ(child<QLabel>("issueLabel")->text(), QStringLiteral("共查询到1034条，显示其中1025-1034条"));
    EXPECT_EQ(grid("materialSumList")->GetItemText(1, 1), QStringLiteral("518.500000"));
    // Another mode forgets the query: nothing to page or export until the next one.
    click("purchaseMode");
    click("issueMode");
    EXPECT_EQ(results()->GetItemCount(), 0);
    EXPECT_TRUE(child<QPushButton>("issueNext")->isHidden());
    EXPECT_FALSE(child<QPushButton>("resultExportButton")->isEnabled());
}

TEST_F(RawInquiry, TheFiveExportsWriteTheirLayouts)
{
    QTemporaryDir dir;
    const auto exported = [&](const char* button, const char* file) {
        kvtest::ExportTarget target(dir.filePath(QString::fromLatin1(file)));
        boxes().clear();
        click(button);
        EXPECT_TRUE(boxes().boxes.isEmpty()) << button;  // written without a word
        QFile f(target.path + QStringLiteral(".txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    open(false);
    click("materialCheck");
    pick("materialList", 0, "浮石");
    click("queryButton");
    EXPECT_EQ(exported("resultExportButton", "result"),
              gbk(QStringLiteral("序列号;名称;名称;数量;单价;金额;时间;姓名;经办人;\r\n"
                                 "2;浮石;增城浮石批发部;60;1.5;90.00;2026-11-15 08:00:00;刘晓燕;admin;\r\n"
                                 "3;浮石;增城浮石批发部;40;1.5;60.00;2026-12-01 08:00:00;张志明;调度;\r\n")));
    EXPECT_EQ(exported("materialSumExport", "materials"),
              gbk(QStringLiteral("名称;数量;金额;\r\n浮石;100.000000;150.00;\r\n\r\n")));
    EXPECT_EQ(exported("supplierSumExport", "suppliers"),
              gbk(QStringLiteral("供应商号;供应商;金额;\r\n2;增城浮石批发部;150.00;\r\n\r\n")));

    click("issueMode");
    click("queryButton");
    EXPECT_EQ(exported("clientSumExport", "clients"),
              gbk(QStringLiteral("客户号;客户;金额;\r\n2;佛山南海牛仔服饰;30.00;\r\n\r\n")));
    EXPECT_EQ(exported("teamSumExport", "teams"),
              gbk(QStringLiteral("班组名称;金额;\r\n喷砂组;30.00;\r\n\r\n")));
}

// The saved query keeps the kind of connection its texts were escaped for: after the session took
// to reading backslashes literally, the export still writes its rows, read on a connection of its
// own of the statement's kind (one of another kind refuses it). Failures of the inquiry say "错误".
TEST_F(RawInquiry, ASavedQueryKeepsItsEscapingAndFailuresSayError)
{
    QTemporaryDir dir;
    kvtest::ExportTarget target(dir.filePath(QStringLiteral("result")));
    open(false);
    click("materialCheck");
    pick("materialList", 0, "浮石");
    click("queryButton");
    ASSERT_EQ(results()->GetItemCount(), 2);
    ASSERT_TRUE(g_sqlTool.Exec("set session sql_mode='NO_BACKSLASH_ESCAPES'"));
    boxes().clear();
    click("resultExportButton");
    EXPECT_TRUE(boxes().boxes.isEmpty());
    QFile written(target.path + QStringLiteral(".txt"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().count("\r\n"), 3);  // the captions and both rows

    db().exec(QStringLiteral("rename table kvc_record_supplier to kvc_gone"));
    boxes().clear();
    click("queryButton");
    ASSERT_EQ(boxes().boxes.size(), 1);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    db().exec(QStringLiteral("rename table kvc_gone to kvc_record_supplier"));
}
