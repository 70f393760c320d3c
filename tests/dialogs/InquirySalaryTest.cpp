// The piece-work inquiry: its condition forms, the totals of all matching rows and the export.
#include "db/Gbk.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/Dlg_InquirySalary.h"
#include "grid/KvGrid.h"
#include "parts/TimeCondition.h"
#include "support/DbTest.h"
#include "support/ExportTarget.h"
#include "support/ScreenDriver.h"
#include "support/Workbook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace {

class InquiryDesk : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    InquiryDesk() { signInAs(QStringLiteral("财务")); }
    void SetUp() override
    {
        DemoDbTest::SetUp();
        db().exec(QStringLiteral(
            "alter table kvc_record_mission modify 工价 double null;"
            "insert into kvc_record_product (货单号, 客户号, 货物数量) values (1, 1, 100), (2, 2, 100);"
            "insert into kvc_record_procedure (流水号, 货单号, 工序, 结讫) values (1, 1, '石磨工序', 1), "
            "(2, 2, '普洗工序', 1);"
            "insert into kvc_record_mission (任务号, 货单号, 流水号, 工号, 完成时间, 完成数量, 损耗数量, "
            "工价, "
            "损耗单价, 共计, 结讫, 经办人) values "
            "(1, 1, 1, 9, '2026-11-05 10:00:00', 10, 1, 0.5, 2, 3, 0, '洗水班长'),"
            "(2, 1, 1, 10, '2026-11-05 10:00:00', 20, 0, 0.5, 2, 10, 0, '洗水班长'),"
            "(3, 2, 2, 9, '2026-11-25 10:00:00', 30, 2, 0.3, 2, 5, 1, '喷砂班长'),"
            "(4, 2, 2, 11, '2026-12-02 10:00:00', 40, 0, NULL, 2, 0, 0, '喷砂班长'),"
            "(5, 1, 1, 26, '2026-12-03 10:00:00', 5, 0, 0.5, 2, 2.5, 0, '调度')"));
    }
    Dlg_InquirySalary& open() { return openScreen(dlg_); }
    // Ticks the precondition and its radio button and clicks the row of `key` (none: no row).
    void precondition(const char* radio, const char* list, const QString& key = QString())
    {
        child<QCheckBox>("preconditionSwitch")->setChecked(true);
        child<QRadioButton>(radio)->setChecked(true);
        EXPECT_TRUE(grid(list)->isEnabled()) << list;
        if (!key.isEmpty()) {
            ASSERT_TRUE(clickRowWith(grid(list), 0, key)) << list;
        }
    }
    TimeCondition* done() { return child<TimeCondition>("done"); }
    void time(TimeCondition::Range range, const QDateTime& first, const QDateTime& second)
    {
        done()->switchBox()->setChecked(true);
        done()->radio(range)->setChecked(true);
        done()->setMoment(TimeCondition::First, first);
        done()->setMoment(TimeCondition::Second, second);
    }
    void recorder(const QString& account)
    {
        child<QCheckBox>("recorderSwitch")->setChecked(true);
        choose("recorderCombo", account);
    }
    void withSettled() { child<QCheckBox>("settledCheck")->setChecked(true); }
    QStringList tasks()
    {
        QStringList out;
        KvGrid* g = grid("resultList");
        for (int r = 0; r < g->GetItemCount(); ++r)
            out << g->GetItemText(r, 0);
        return out;
    }
    QStringList totals() { return grid("totalsList")->rows().rowCells(0); }

    std::unique_ptr<Dlg_InquirySalary> dlg_;
};

QDateTime at(int month, int day, int hour = 0)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, 0));
}

}  // namespace

TEST_F(InquiryDesk, EachConditionFormListsItsRowsOnceAndTotalsThemWithoutNullRates)
{
    using Set = std::function<void(InquiryDesk&)>;
    struct Form {
        const char* name;
        Set set;
        QStringList tasks;
        QStringList totals;  // 完成数量, 损耗数量, 共计
    };
    // Row 4 has no 工价: listed, but in no total. Row 3 is settled.
    const Form forms[] = {
        {"nothing", [](InquiryDesk&) {}, {"1", "2", "4", "5"}, {"35", "1", "15.50"}},
        {"nothing, settled too",
         [](InquiryDesk& d) { d.withSettled(); },
         {"1", "2", "3", "4", "5"},
         {"65", "3", "20.50"}},
        {"employee",
         [](InquiryDesk& d) { d.precondition("memberRadio", "memberList", "9"); },
         {"1"},
         {"10", "1", "3.00"}},
        {"employee, settled too",
         [](InquiryDesk& d) {
             d.precondition("memberRadio", "memberList", "9");
             d.withSettled();
         },
         {"1", "3"},
         {"40", "3", "8.00"}},
        {"customer",
         [](InquiryDesk& d) { d.precondition("clientRadio", "clientList", "1"); },
         {"1", "2", "5"},
         {"35", "1", "15.50"}},
        {"customer, settled too",
         [](InquiryDesk& d) {
             d.precondition("clientRadio", "clientList", "2");
             d.withSettled();
         },
         {"3", "4"},
         {"30", "2", "5.00"}},
        {"process step",
         [](InquiryDesk& d) { d.precondition("processRadio", "processList", "普洗工序"); },
         {"4"},
         {"0", "0", "0.00"}},
        {"precondition ticked, none chosen",
         [](InquiryDesk& d) { d.child<QCheckBox>("preconditionSwitch")->setChecked(true); },
         {"1", "2", "4", "5"},
         {"35", "1", "15.50"}},
        {"after the second moment",
         [](InquiryDesk& d) { d.time(TimeCondition::Range::After, at(11, 6), at(12, 1)); },
         {"4", "5"},
         {"5", "0", "2.50"}},
        {"before the first moment",
         [](InquiryDesk& d) { d.time(TimeCondition::Range::Before, at(11, 6), at(12, 1)); },
         {"1", "2"},
         {"30", "1", "13.00"}},
        {"strictly within",
         [](InquiryDesk& d) {
             d.time(TimeCondition::Range::Within, at(11, 1), at(12, 2, 10));
             d.withSettled();
         },
         {"1", "2", "3"},
         {"60", "3", "18.00"}},
        {"recorder", [](InquiryDesk& d) { d.recorder(QStringLiteral("调度")); }, {"5"}, {"5", "0", "2.50"}},
        {"employee, recorder, settled too",
         [](InquiryDesk& d) {
             d.precondition("memberRadio", "memberList", "9");
             d.recorder(QStringLiteral("喷砂班长"));
             d.withSettled();
         },
         {"3"},
         {"30", "2", "5.00"}},
    };
    for (const Form& f : forms) {
        open();
        f.set(*this);
        click("queryButton");
        EXPECT_EQ(tasks(), f.tasks) << f.name;
        EXPECT_EQ(totals(), f.totals) << f.name;
        EXPECT_EQ(child<QLabel>("resultLabel")->text(),
                  QStringLiteral("共查询到%1条记录，显示其中1-%1条").arg(f.tasks.size()))
            << f.name;
    }
    EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();

    // Each row with its employee's name, whether or not he still works here.
    open();
    withSettled();
    click("queryButton");
    EXPECT_EQ(grid("resultList")->rows().rowCells(3),
              (QStringList{"4", "2", "2", "何美玲", "2026-12-02 10:00:00", "40", "0", "", "2", "0", "0",
                           "喷砂班长"}));
    EXPECT_EQ(grid("resultList")->GetItemText(4, 3), QStringLiteral("田七"));
    // Guests record nothing.
    EXPECT_EQ(child<QComboBox>("recorderCombo")->findText(QStringLiteral("游客")), -1);
}

TEST_F(InquiryDesk, ATickedConditionWithoutItsInputQueriesNothing)
{
    struct Missing {
        std::function<void(InquiryDesk&)> set;
        QString message;
    };
    const Missing cases[] = {
        {[](InquiryDesk& d) { d.precondition("memberRadio", "memberList"); },
         QStringLiteral("您设置了勾选员工，请选择一个员工作为查询条件")},
        {[](InquiryDesk& d) { d.precondition("clientRadio", "clientList"); },
         QStringLiteral("您设置了勾选客户，请选择一个客户作为查询条件")},
        {[](InquiryDesk& d) { d.precondition("processRadio", "processList"); },
         QStringLiteral("您设置了勾选工序，请选择一个工序作为查询条件")},
        {[](InquiryDesk& d) { d.done()->switchBox()->setChecked(true); },
         QStringLiteral("您设置了勾选完成时间，请选择一项内容作为查询条件")},
        {[](InquiryDesk& d) { d.child<QCheckBox>("recorderSwitch")->setChecked(true); },
         QStringLiteral("您设置了勾选经办人，请选择一格经办人作为查询条件")},
    };
    for (const Missing& m : cases) {
        open();
        m.set(*this);
        click("queryButton");
        EXPECT_EQ(boxes().last().text, m.message);
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        EXPECT_TRUE(tasks().isEmpty()) << m.message.toStdString();
        EXPECT_EQ(grid("totalsList")->GetItemCount(), 0);
    }

    // Unticked, the precondition forgets its choice.
    open();
    precondition("memberRadio", "memberList", "9");
    child<QCheckBox>("preconditionSwitch")->setChecked(false);
    EXPECT_FALSE(child<QRadioButton>("memberRadio")->isChecked());
    EXPECT_FALSE(grid("memberList")->isEnabled());
    click("queryButton");
    EXPECT_EQ(tasks(), (QStringList{"1", "2", "4", "5"}));
}

TEST_F(InquiryDesk, ExportWritesTheWholeResultOfTheQueryInTheResultLayout)
{
    db().exec(QStringLiteral(
        "insert into kvc_record_mission (货单号, 流水号, 工号, 完成时间, 完成数量, 工价, 共计, 经办人) "
        "select 1, 1, 10, '2026-11-06 10:00:00', 1, 0.5, 0.5, '洗水班长' from seq_1_to_1100"));
    QTemporaryDir dir;
    kvtest::ExportTarget target(dir.filePath(QStringLiteral("计件")));
    open();
    click("exportButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("没有内容可被导出"));
    EXPECT_EQ(target.asked, 0);

    withSettled();
    click("queryButton");
    EXPECT_EQ(grid("resultList")->GetItemCount(), 1024);
    EXPECT_EQ(totals(), (QStringList{"1165", "3", "570.50"}));
    click("exportButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("导出完毕"));
    QFile file(target.path + QStringLiteral(".txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 1 + 1105 + 1);  // the header, every row, nothing after the last CR LF
    const auto gbk = [](const char* utf8) {
        QByteArray out;
        EXPECT_TRUE(Gbk::encode(QString::fromUtf8(utf8), out));
        return out;
    };
    EXPECT_EQ(lines.at(0),
              gbk("序列号;货单号;流水号;姓名;完成时间;完成数量;损耗数量;工价;损耗单价;共计;结讫;经办人;\r"));
    // No 工价: one ";" fewer.
    EXPECT_EQ(lines.at(4), gbk("4;2;2;何美玲;2026-12-02 10:00:00;40;0;2;0;0;喷砂班长;\r"));
    EXPECT_EQ(lines.at(1105), gbk("1105;1;1;孙文杰;2026-11-06 10:00:00;1;0;0.5;0;0.5;0;洗水班长;\r"));
}

// A spreadsheet reads the workbook as SQL has the rows: numbers as numbers, moments as dates,
// names as text, under the list's captions.
TEST_F(InquiryDesk, ExportOffersAWorkbookFirstWithTheRowsAsSqlHasThem)
{
    QTemporaryDir dir;
    kvtest::ExportTarget target(dir.filePath(QStringLiteral("计件")), exporting::Format::Workbook);
    open();
    withSettled();
    click("queryButton");
    click("exportButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("导出完毕"));
    EXPECT_EQ(target.preferred, exporting::Format::Workbook);
    EXPECT_EQ(target.expected, 5u);
    const QVector<kvtest::WorkbookSheet> book = kvtest::readWorkbook(target.path + QStringLiteral(".xlsx"));
    ASSERT_EQ(book.size(), 1);
    const kvtest::WorkbookSheet& s = book.first();
    EXPECT_EQ(s.name, QStringLiteral("计件查询"));
    EXPECT_EQ(s.texts(0), (QStringList{"任务号", "货单号", "流水号", "姓名", "完成时间", "完成数量",
                                       "损耗数量", "工价", "损耗单价", "共计", "结乞", "经办人"}));
    const QList<QStringList> sql = db().rows(QStringLiteral(
        "select w.任务号, w.货单号, w.流水号, m.姓名, w.完成时间, w.完成数量, w.损耗数量, w.工价, "
        "w.损耗单价, "
        "w.共计, w.结讫, w.经办人, "
        "concat_ws(',', 'int', 'int', 'int', 'str', 'datetime', 'int', 'int', if(w.工价 is null, 'none', "
        "'number'), 'number', 'number', 'int', 'str') "
        "from kvc_record_mission w left join kvc_record_member m on m.工号=w.工号 order by w.任务号"));
    ASSERT_EQ(s.rows.size(), 1 + sql.size());
    for (int r = 0; r < sql.size(); ++r) {
        const QStringList types = sql[r].last().split(QLatin1Char(','));
        for (int c = 0; c < 12; ++c) {
            const kvtest::WorkbookCell& cell = s.rows[r + 1].value(c);
            const QString type = cell.type == QStringLiteral("float") ? QStringLiteral("number") : cell.type;
            // A whole amount reads back as a whole number.
            EXPECT_TRUE(type == types[c] ||
                        (types[c] == QStringLiteral("number") && type == QStringLiteral("int")))
                << r << "," << c << ": " << type.toStdString();
            if (types[c] == QStringLiteral("number"))
                EXPECT_DOUBLE_EQ(cell.value.toDouble(), sql[r][c].toDouble()) << r << "," << c;
            else
                EXPECT_EQ(cell.text(), sql[r][c].isNull() ? QString() : sql[r][c]) << r << "," << c;
        }
        EXPECT_EQ(s.rows[r + 1][9].format, QStringLiteral("#,##0.00"));
    }
}
