// The piece-work inquiry's totals over the settled years: read from day totals, they are
// the totals of the rows themselves, whoever changed what since.
#include "db/mySQLTool.h"
#include "dialogs/finance/FinanceQueries.h"
#include "dialogs/finance/ops/WorkDays.h"
#include "support/DbTest.h"

namespace {

using financeq::WorkFilter;
using By = WorkFilter::By;

class WorkDaysTest : public kvtest::DemoDbTest {
public:
    // The identity that uses this screen, with its database role.
    WorkDaysTest() { signInAs(QStringLiteral("财务")); }

protected:
    void SetUp() override
    {
        DemoDbTest::SetUp();
        // 300 rows, one every 7 hours back from now (about 87 days, today and yesterday among
        // them), of three orders and flows, five employees (99 is in no master data), two
        // recorders, settled and not; every 17th has no 工价. The rates are quarters, so
        // every sum is exact in any order.
        db().exec(QStringLiteral(
            "alter table kvc_record_mission modify 工价 double null;"
            "insert into kvc_record_product (货单号, 客户号) values (1, 1), (2, 2), (3, 1);"
            "insert into kvc_record_procedure (流水号, 货单号, 工序, 结讫) values (1, 1, '石磨工序', 1), "
            "(2, 2, '普洗工序', 1), (3, 3, '石磨工序', 1);"
            "insert into kvc_record_mission (货单号, 流水号, 工号, 完成时间, 完成数量, 损耗数量, 工价, "
            "损耗单价, "
            "经办人, 结讫) select 1 + seq % 3, 1 + seq % 3, if(seq % 11 = 0, 99, 9 + seq % 4), "
            "date_format(now() - interval seq * 7 hour, '%Y-%m-%d %H:%i:%s'), seq % 13, seq % 3, "
            "if(seq % 17 = 0, null, 0.25 * (seq % 5)), 0.5, if(seq % 2, '洗水班长', '喷砂班长'), seq % 5 = 0 "
            "from seq_1_to_300"));
    }

    // "YYYY-MM-DD hh:mm:ss" `days` back from now, at `time`.
    QString daysAgo(int days, const char* time)
    {
        return db().scalar(
            QStringLiteral("select concat(date_format(curdate() - interval %1 day, '%Y-%m-%d'), ' %2')")
                .arg(days)
                .arg(QString::fromLatin1(time)));
    }

    std::vector<WorkFilter> filters()
    {
        const auto make = [](By by, quint64 id, const char* process, const char* recorder) {
            WorkFilter f;
            f.by = by;
            f.id = id;
            f.process = QString::fromUtf8(process);
            if (*recorder)
                f.recorder = QString::fromUtf8(recorder);
            f.includeSettled = true;
            return f;
        };
        std::vector<WorkFilter> out = {
            make(By::None, 0, "", ""),
            make(By::Member, 9, "", ""),
            make(By::Member, 99, "", ""),
            make(By::Client, 1, "", ""),
            make(By::Process, 0, "石磨工序", ""),
            make(By::None, 0, "", "洗水班长"),
            make(By::Member, 10, "", "洗水班长"),
            make(By::Client, 2, "", "洗水班长"),
            make(By::Process, 0, "普洗工序", "喷砂班长"),
        };
        // A period's bounds are moments, their days partly summed.
        WorkFilter after = make(By::Client, 1, "", "");
        after.done.after = daysAgo(30, "10:00:00");
        WorkFilter before = make(By::None, 0, "", "");
        before.done.before = daysAgo(20, "00:00:00");
        WorkFilter within = make(By::Member, 11, "", "喷砂班长");
        within.done.after = daysAgo(60, "00:00:00");
        within.done.before = daysAgo(5, "13:30:00");
        out.insert(out.end(), {after, before, within});
        return out;
    }

    // The totals read through the day totals, and (second) the same read row by row.
    std::pair<Row, Row> totals(const WorkFilter& f)
    {
        finance::WorkDays days;
        EXPECT_TRUE(finance::prepareDays(g_sqlTool, f, &days).ok()) << g_sqlTool.GetError().toStdString();
        EXPECT_FALSE(days.summed.empty());
        return {g_sqlTool.Read(financeq::workSummary(g_sqlTool, f, days.summed)).first(),
                g_sqlTool.Read(financeq::workSummary(g_sqlTool, f)).first()};
    }
    void expectSameTotals(const std::string& after)
    {
        for (const WorkFilter& f : filters()) {
            const auto [summed, rows] = totals(f);
            const std::string name = after + ", filter " + std::to_string(int(f.by)) + " " +
                                     std::to_string(f.id) + " " + f.process.toStdString() + " " +
                                     f.recorder.value_or(QString()).toStdString();
            ASSERT_GT(rows.toInt64(0), 0) << name;
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(summed.toInt64(i), rows.toInt64(i)) << name << ", column " << i;
            EXPECT_EQ(summed.toDouble(3), rows.toDouble(3)) << name;
        }
    }
    int staleDays() { return db().count(QStringLiteral("from kvc_record_mission_stale")); }
};

}  // namespace

TEST_F(WorkDaysTest, TotalsFromTheDaysAreThoseOfTheRowsAfterEveryKindOfChange)
{
    expectSameTotals("made");
    struct Change {
        const char* name;
        const char* sql;
        bool marksDays;
    };
    const Change changes[] = {
        {"settling", "update kvc_record_mission set 结讫=1 where 工号=9", false},
        {"today's work",
         "insert into kvc_record_mission (货单号, 流水号, 工号, 完成时间, 完成数量, 工价, 经办人) "
         "values (1, 1, 9, date_format(now(), '%Y-%m-%d %H:%i:%s'), 5, 1, '洗水班长')",
         false},
        {"work of a past day",
         "insert into kvc_record_mission (货单号, 流水号, 工号, 完成时间, 完成数量, 工价, 经办人) "
         "values (2, 2, 10, date_format(now() - interval 9 day, '%Y-%m-%d %H:%i:%s'), 7, "
         "1.5, '喷砂班长')",
         true},
        {"a past row changed",
         "update kvc_record_mission set 完成数量=完成数量+100, 工号=12 where 任务号=150", true},
        {"a past row deleted", "delete from kvc_record_mission where 任务号=40", true},
        {"an order's customer", "update kvc_record_product set 客户号=2 where 货单号=3", true},
        {"a flow's step", "update kvc_record_procedure set 工序='普洗工序' where 流水号=1", true},
        {"an order deleted", "delete from kvc_record_product where 货单号=2", true},
    };
    for (const Change& c : changes) {
        db().exec(QString::fromUtf8(c.sql));
        EXPECT_EQ(staleDays() > 0, c.marksDays) << c.name;
        expectSameTotals(c.name);
        EXPECT_EQ(staleDays(), 0) << c.name;
    }
}

// A day is made once, empty days too, and again only when it changed; making days leaves
// the piece-work unlocked, so a desk holding a row never waits for an inquiry, nor it for him.
TEST_F(WorkDaysTest, DaysAreMadeOnceWithoutLockingThePieceWork)
{
    db().exec(
        QStringLiteral("delete from kvc_record_mission where 完成时间 like concat(date_format(curdate() - "
                       "interval 30 day, '%Y-%m-%d'), '%')"));
    mySQLTool other;
    ASSERT_TRUE(db().connect(other));
    ASSERT_TRUE(other.Begin());
    ASSERT_TRUE(other.Exec("update kvc_record_mission set 结讫=1-结讫 where 任务号 in (100, 200)"));

    WorkFilter all;
    all.includeSettled = true;
    finance::WorkDays days;
    ASSERT_TRUE(finance::prepareDays(g_sqlTool, all, &days).ok()) << g_sqlTool.GetError().toStdString();
    other.Rollback();
    const int calendarDays = QDate::fromString(days.summed.from, Qt::ISODate)
                                 .daysTo(QDate::fromString(days.summed.to, Qt::ISODate));
    EXPECT_GT(calendarDays, 80);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission_day where 维度=0")), calendarDays);

    const QString day = daysAgo(12, "").trimmed();
    const auto shown = [&]() {
        return g_sqlTool.Read(financeq::workSummary(g_sqlTool, all, days.summed)).first();
    };
    const qint64 rows = shown().toInt64(0);
    db().exec(QStringLiteral("update kvc_record_mission_day set 行数=行数+1000 where 维度=0 and 日期='%1'")
                  .arg(day));
    ASSERT_TRUE(finance::prepareDays(g_sqlTool, all, &days).ok());
    EXPECT_EQ(shown().toInt64(0), rows + 1000);

    db().exec(
        QStringLiteral("insert into kvc_record_mission (工号, 完成时间) values (9, '%1 08:00:00')").arg(day));
    ASSERT_TRUE(finance::prepareDays(g_sqlTool, all, &days).ok());
    EXPECT_EQ(shown().toInt64(0), rows + 1);
}
