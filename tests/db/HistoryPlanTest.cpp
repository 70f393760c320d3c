// A few months of synthetic history (tools/history) in the test database: the rows have
// the shape the desks write, and the statements of the busy screens read through their
// keys only what they need.
#include "PlanCases.h"
#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/FinanceQueries.h"
#include "dialogs/shipping/ShipmentQueries.h"
#include "dialogs/shipping/ShipperQueries.h"

#include "support/DbTest.h"
#include "support/HistoryTool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <optional>

namespace {

const char* const kNowText = "2026-12-08 09:30:00";

// One table of an executed plan: the key it was read by and the rows it examined.
struct TableRead {
    QString key;
    QString access;
    double examined = 0;
};

void collect(const QJsonValue& v, QMap<QString, TableRead>& out)
{
    if (v.isArray()) {
        for (const QJsonValue& x : v.toArray())
            collect(x, out);
        return;
    }
    if (!v.isObject())
        return;
    const QJsonObject o = v.toObject();
    if (o.contains(QStringLiteral("table_name"))) {
        TableRead& t = out[o.value(QStringLiteral("table_name")).toString()];
        t.key = o.value(QStringLiteral("key")).toString();
        t.access = o.value(QStringLiteral("access_type")).toString();
        // r_rows is an average per loop; the product is a whole number of rows.
        t.examined += std::round(o.value(QStringLiteral("r_loops")).toDouble(1) *
                                 o.value(QStringLiteral("r_rows")).toDouble(0));
    }
    for (auto it = o.begin(); it != o.end(); ++it)
        collect(it.value(), out);
}

using kvtest::runHistoryTool;
using kvtest::ToolRun;

class HistoryTest : public kvtest::DemoDbTest {
protected:
    void SetUp() override
    {
        DemoDbTest::SetUp();
        generated_ = generate();
    }

    // Three months ending at the fixed clock, about 13,000 orders.
    bool generate()
    {
        const ToolRun r = runHistoryTool(
            {QStringLiteral("--now"), QString::fromLatin1(kNowText), db().name(), QStringLiteral("0.25")});
        output_ = r.output;
        if (r.exitCode != 0) {
            ADD_FAILURE() << "kvhistory failed:\n" << r.output.toStdString();
            return false;
        }
        return true;
    }

    QMap<QString, TableRead> analyze(const QString& sql)
    {
        QMap<QString, TableRead> out;
        const QString json = db().scalar(QStringLiteral("analyze format=json ") + sql);
        collect(QJsonDocument::fromJson(json.toUtf8()).object(), out);
        return out;
    }

    // The statement of a plan case exactly as the screen sends it.
    Statement statement(const char* name)
    {
        const plans::Case* c = plans::find(QString::fromLatin1(name));
        if (!c) {
            ADD_FAILURE() << "no plan case " << name;
            return Statement();
        }
        if (!values_)
            values_ = plans::draw(g_sqlTool);
        return c->make(g_sqlTool, *values_);
    }
    QMap<QString, TableRead> analyze(const Statement& s)
    {
        QMap<QString, TableRead> out;
        const Rows plan = g_sqlTool.Read(Statement::fromBytes("analyze format=json " + s.sql()));
        EXPECT_TRUE(plan.ok()) << plan.error().toStdString();
        collect(QJsonDocument::fromJson(plan.first().text(0).toUtf8()).object(), out);
        return out;
    }

    // Rows that break a rule; the rule holds when there are none.
    int zero(const char* fromWhere) { return db().count(QString::fromUtf8(fromWhere)); }

    bool generated_ = false;
    QString output_;
    std::optional<plans::Values> values_;
};

}  // namespace

TEST_F(HistoryTest, RowsHaveTheShapeTheDesksWrite)
{
    if (!generated_)
        return;
    const int orders = db().count(QStringLiteral("from kvc_record_product"));
    const int flows = db().count(QStringLiteral("from kvc_record_procedure"));
    const int work = db().count(QStringLiteral("from kvc_record_mission"));
    EXPECT_GT(orders, 91 * 130);
    EXPECT_LT(orders, 92 * 171);
    EXPECT_GT(flows, 3 * orders);
    EXPECT_GT(work, 5 * orders);
    EXPECT_GT(db().count(QStringLiteral("from kvc_record_ship")), orders);

    // Keys rise with the time a row was written, as the server would have numbered them.
    EXPECT_EQ(zero("from kvc_record_product a join kvc_record_product b on b.货单号=a.货单号+1 where "
                   "b.接货时间<a.接货时间"),
              0);
    EXPECT_EQ(zero("from kvc_record_procedure a join kvc_record_procedure b on b.流水号=a.流水号+1 where "
                   "b.生成时间<a.生成时间"),
              0);
    EXPECT_EQ(zero("from kvc_record_mission a join kvc_record_mission b on b.任务号=a.任务号+1 where "
                   "b.完成时间<a.完成时间"),
              0);
    EXPECT_EQ(zero("from kvc_record_ship a join kvc_record_ship b on b.序列号=a.序列号+1 where "
                   "b.发送时间<a.发送时间"),
              0);
    EXPECT_EQ(zero("from kvc_record_procedure where 生成时间>'2026-12-08 09:30:00' or 结讫时间>'2026-12-08 "
                   "09:30:00'"),
              0);

    // The chain: each flow names an earlier flow of its order; first flows start the route.
    EXPECT_EQ(
        zero("from kvc_record_procedure f left join kvc_record_procedure p on p.流水号=f.上一号 "
             "where f.上一号 is not null and (p.流水号 is null or p.货单号<>f.货单号 or p.流水号>=f.流水号 "
             "or p.结讫=0 or p.结讫时间<>f.生成时间)"),
        0);
    EXPECT_EQ(zero("from kvc_record_procedure where 派生=0 and (上一号 is null) <> (历史='接收[接收]')"), 0);
    EXPECT_EQ(
        zero("from kvc_record_procedure f join kvc_record_procedure p on p.流水号=f.上一号 where f.派生=0 "
             "and p.工作站 not in ('接收', '发送') "
             "and f.历史<>concat(p.历史, '-', p.工作站, '[', p.工序, ']')"),
        0);
    // A remainder stays at its station with the old route.
    EXPECT_GT(db().count(QStringLiteral("from kvc_record_procedure where 派生=1")), 0);
    EXPECT_EQ(
        zero("from kvc_record_procedure f join kvc_record_procedure p on p.流水号=f.上一号 where f.派生=1 "
             "and (f.上一站<>p.工作站 or f.工作站<>p.工作站 or f.历史<>p.历史)"),
        0);
    // Piece counts are kept: a closed station flow's pieces went on, stayed or were lost.
    EXPECT_EQ(zero("from kvc_record_procedure p join (select 上一号, sum(数量) n from kvc_record_procedure "
                   "where 上一号 is not null group by 上一号) s on s.上一号=p.流水号 where s.n>p.数量"),
              0);

    // Piece-work: rows of a closed station flow, its step a step of that station; the
    // single-mode amount is pieces at the rate less losses at the loss price.
    EXPECT_EQ(zero("from kvc_record_mission m join kvc_record_procedure f on f.流水号=m.流水号 "
                   "left join kvc_attrib_process s on s.名称=f.工序 "
                   "where f.结讫<>1 or f.结讫时间<>m.完成时间 or s.工作站 is null or s.工作站<>f.工作站 or "
                   "s.工价<>m.工价 "
                   "or m.货单号<>f.货单号"),
              0);
    EXPECT_EQ(zero("from kvc_record_mission where (完成数量>0 or 损耗数量>0) "
                   "and abs(共计-(完成数量*工价-损耗数量*损耗单价))>0.0001"),
              0);
    // Settled up to the last month's settlement, unsettled since; totals follow.
    EXPECT_EQ(zero("from kvc_record_mission where 结讫=1 and 完成时间>'2026-12-01'"), 0);
    EXPECT_EQ(zero("from kvc_record_mission where 结讫=0 and 完成时间<'2026-12-01'"), 0);
    EXPECT_EQ(zero("from kvc_record_member m left join (select 工号, sum(共计) s from kvc_record_mission "
                   "where 结讫=1 group by 工号) w on w.工号=m.工号 where abs(m.累计-coalesce(w.s, 0))>0.01"),
              0);

    // Closed orders are covered by their shipments and have no open flow left.
    EXPECT_EQ(
        zero("from kvc_record_product p left join (select 货单号, sum(货物数量) g, sum(损耗数量) l, "
             "sum(原版数量) o, sum(洗版数量) w from kvc_record_ship group by 货单号) s on s.货单号=p.货单号 "
             "where p.结讫=1 and (s.货单号 is null or s.g+s.l<>p.货物数量 or s.l<>p.损耗数量 "
             "or s.o<>p.原版数量 or s.w<>p.洗版数量)"),
        0);
    EXPECT_EQ(zero("from kvc_record_procedure f join kvc_record_product p on p.货单号=f.货单号 "
                   "where f.结讫=0 and p.结讫<>0"),
              0);
    EXPECT_EQ(zero("from kvc_record_product p join (select 货单号, sum(损耗数量) l from kvc_record_mission "
                   "group by 货单号) m on m.货单号=p.货单号 where m.l>p.损耗数量"),
              0);

    // The open tail the screens show.
    EXPECT_GT(db().count(QStringLiteral("from kvc_record_product where 激活=0 and 结讫=0")), 0);
    EXPECT_GT(db().count(QStringLiteral("from kvc_record_procedure where 结讫=0 and 工作站='洗水'")), 10);
    EXPECT_GT(db().count(QStringLiteral(
                  "from kvc_record_procedure where 结讫=0 and 工作站='发送' and 上一站<>'发送'")),
              0);
    EXPECT_GT(db().count(QStringLiteral(
                  "from kvc_record_procedure where 结讫=0 and 工作站='发送' and 上一站='发送'")),
              0);
    EXPECT_GT(
        db().count(QStringLiteral("from kvc_record_ship s join kvc_record_product p on p.货单号=s.货单号 "
                                  "where p.结讫=0")),
        0);
}

TEST_F(HistoryTest, StationQueueReadsOnlyTheStationsOpenFlows)
{
    if (!generated_)
        return;
    const int open = db().count(QStringLiteral("from kvc_record_procedure where 工作站='洗水' and 结讫=0"));
    const int closed = db().count(QStringLiteral("from kvc_record_procedure where 工作站='洗水' and 结讫=1"));
    ASSERT_GT(open, 0);
    ASSERT_GT(closed, 50 * open);
    for (const char* c :
         {"station.sent-back", "station.derived", "station.urgent", "station.hurried", "station.normal"}) {
        const TableRead flows = analyze(statement(c)).value(QStringLiteral("kvc_record_procedure"));
        EXPECT_EQ(flows.key, QStringLiteral("ix_flow_station")) << c;
        EXPECT_LE(flows.examined, open) << c;
    }

    // The newest 1024 done flows come off the key backwards, without a sort.
    const Statement done = statement("station.done");
    const TableRead flows = analyze(done).value(QStringLiteral("kvc_record_procedure"));
    EXPECT_EQ(flows.key, QStringLiteral("ix_flow_station"));
    EXPECT_LE(flows.examined, 1100);
    const Rows rows = g_sqlTool.Read(done);
    ASSERT_EQ(rows.size(), 1024);
    EXPECT_EQ(rows.first().text(0),
              db().scalar(QStringLiteral(
                  "select max(流水号) from kvc_record_procedure where 工作站='洗水' and 结讫=1")));
}

TEST_F(HistoryTest, NoStatementOfTheScreensScansABigTable)
{
    if (!generated_)
        return;
    const QStringList big = {QStringLiteral("kvc_record_product"), QStringLiteral("kvc_record_procedure"),
                             QStringLiteral("kvc_record_mission"), QStringLiteral("kvc_record_ship")};
    const plans::Values values = plans::draw(g_sqlTool);
    for (const plans::Case& c : plans::cases()) {
        if (c.write) {
            ASSERT_TRUE(g_sqlTool.Begin());
        }
        const QMap<QString, TableRead> plan = analyze(c.make(g_sqlTool, values));
        if (c.write)
            g_sqlTool.Rollback();
        EXPECT_FALSE(plan.isEmpty()) << c.name.toStdString();
        for (auto it = plan.begin(); it != plan.end(); ++it)
            EXPECT_FALSE(big.contains(it.key()) && it->access == QStringLiteral("ALL"))
                << c.name.toStdString() << " reads all of " << it.key().toStdString();
    }
}

// The floor board reads every 30 seconds: the open tail through the station key, the day's
// hand-overs through the closing time and the successors' key, two days' piece-work through
// its time; never more than those rows, however long the history.
TEST_F(HistoryTest, TheFloorBoardReadsOnlyTheOpenTailAndTheLastTwoDays)
{
    if (!generated_)
        return;
    values_ = plans::draw(g_sqlTool);
    const int open = db().count(QStringLiteral("from kvc_record_procedure where 结讫=0"));
    const int closedToday =
        db().count(QStringLiteral("from kvc_record_procedure where 结讫时间 like '%1%'").arg(values_->today));
    const int work =
        db().count(QStringLiteral("from kvc_record_mission where 完成时间>='%1'").arg(values_->yesterday));
    const int openOrders = db().count(QStringLiteral("from kvc_record_product where 结讫=0"));
    ASSERT_GT(closedToday, 0);
    ASSERT_GT(work, 0);
    struct Case {
        const char* name;
        QMap<QString, QString> keys;  // by the table's name in the statement
        int most;                     // rows examined at most, all tables
    };
    const auto keys = [](std::initializer_list<std::pair<const char*, const char*>> list) {
        QMap<QString, QString> m;
        for (const auto& [table, key] : list)
            m.insert(QString::fromUtf8(table), QString::fromLatin1(key));
        return m;
    };
    const Case cases[] = {
        {"board.waiting", keys({{"kvc_record_procedure", "ix_flow_station"}}), 2 * open},
        {"board.finished-today", keys({{"kvc_record_procedure", "ix_flow_closed"}, {"s", "ix_flow_order"}}),
         10 * closedToday + 10},
        {"board.teams", keys({{"kvc_record_mission", "ix_mission_done"}, {"s", "ix_flow_order"}}),
         10 * work + 10},
        {"board.rush-orders",
         keys({{"kvc_record_product", "ix_product_state"}, {"kvc_record_procedure", "ix_flow_order"}}),
         3 * openOrders + open},
        {"board.shipping-waiting", keys({{"kvc_record_procedure", "ix_flow_station"}}), 2 * open},
    };
    for (const Case& c : cases) {
        const QMap<QString, TableRead> plan = analyze(statement(c.name));
        double examined = 0;
        for (const TableRead& t : plan)
            examined += t.examined;
        EXPECT_LE(examined, c.most) << c.name;
        for (auto it = c.keys.begin(); it != c.keys.end(); ++it)
            EXPECT_EQ(plan.value(it.key()).key, it.value()) << c.name << " " << it.key().toStdString();
    }
}

TEST_F(HistoryTest, ShippedOrdersAreCountedFromTheKeptTotals)
{
    if (!generated_)
        return;
    const QMap<QString, TableRead> plan = analyze(statement("shipping.shipped-count"));
    EXPECT_EQ(plan.keys(), QStringList{QStringLiteral("kvc_record_product_total")});
    EXPECT_LE(plan.value(QStringLiteral("kvc_record_product_total")).examined, 16 * 100);
    // Exact: as many as the list pages through, orders of a removed customer among them.
    db().exec(
        QStringLiteral("delete from kvc_record_client where 客户号=(select 客户号 from kvc_record_product "
                       "where 激活=1 and 结讫=1 limit 1)"));
    EXPECT_EQ(g_sqlTool.Read(statement("shipping.shipped-count")).first().toInt(0),
              g_sqlTool.Read(shipperq::shippedOrders(g_sqlTool, 0, 1u << 30)).size());
}

TEST_F(HistoryTest, UnsettledPieceWorkIsFoundWithoutReadingSettledRows)
{
    if (!generated_)
        return;
    const QString mission = QStringLiteral("kvc_record_mission");
    const int unsettled = db().count(QStringLiteral("from kvc_record_mission where 结讫=0"));
    ASSERT_GT(unsettled, 0);
    ASSERT_GT(db().count(QStringLiteral("from kvc_record_mission where 结讫=1")), 5 * unsettled);
    values_ = plans::draw(g_sqlTool);
    const int mine =
        db().count(QStringLiteral("from kvc_record_mission where 工号=%1 and 结讫=0").arg(values_->member));
    ASSERT_GT(mine, 0);

    // Settlement: one employee's unsettled work, in the period (locked, marked) or all of it.
    for (const char* c : {"salary.lock-pending", "salary.mark-settled", "salary.pending"}) {
        if (c == std::string("salary.mark-settled")) {
            ASSERT_TRUE(g_sqlTool.Begin());
        }
        const TableRead work = analyze(statement(c)).value(mission);
        if (g_sqlTool.InTransaction())
            g_sqlTool.Rollback();
        EXPECT_EQ(work.key, QStringLiteral("ix_mission_member")) << c;
        EXPECT_LE(work.examined, mine) << c;
    }
    // 选择: every employee with his sum in one statement, each reading his unsettled rows alone.
    TableRead work = analyze(statement("salary.choose-month")).value(mission);
    EXPECT_EQ(work.key, QStringLiteral("ix_mission_member"));
    EXPECT_LE(work.examined, unsettled);

    // The piece-work inquiry with nothing ticked: every unsettled row with its employee, found
    // through the keys of the employees that have piece-work, or in 任务号 order through
    // (结讫), where the first page reads its own rows only.
    const int members = db().count(QStringLiteral("from (select distinct 工号 from kvc_record_mission) m"));
    for (const char* c : {"salary-inquiry.none", "salary-inquiry.none-sums"}) {
        work = analyze(statement(c)).value(mission);
        EXPECT_NE(work.access, QStringLiteral("ALL")) << c;
        EXPECT_LE(work.examined, unsettled + 2 * members) << c;
    }
    EXPECT_LE(analyze(statement("salary-inquiry.none")).value(mission).examined,
              std::min(unsettled, kListCap));
    EXPECT_EQ(g_sqlTool.Read(statement("salary-inquiry.none-sums")).first().toInt(0), unsettled);
}

TEST_F(HistoryTest, ASecondRunContinuesTheKeysAndTheChains)
{
    if (!generated_)
        return;
    const int orders = db().count(QStringLiteral("from kvc_record_product"));
    const int flows = db().count(QStringLiteral("from kvc_record_procedure"));
    const QString lastFlow = db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure"));
    const ToolRun r = runHistoryTool({QStringLiteral("--now"), QStringLiteral("2027-01-10 12:00:00"),
                                      db().name(), QStringLiteral("0.05")});
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_GT(db().count(QStringLiteral("from kvc_record_product")), orders + 1000);
    EXPECT_GT(db().count(QStringLiteral("from kvc_record_procedure")), flows + 3000);
    // The new flows start after the old ones and link only among themselves.
    EXPECT_EQ(db().scalar(
                  QStringLiteral("select min(流水号) from kvc_record_procedure where 生成时间>'2026-12-20'")),
              QString::number(lastFlow.toULongLong() + 1));
    EXPECT_EQ(
        zero("from kvc_record_procedure f left join kvc_record_procedure p on p.流水号=f.上一号 "
             "where f.上一号 is not null and (p.流水号 is null or p.货单号<>f.货单号 or p.流水号>=f.流水号)"),
        0);
    EXPECT_EQ(zero("from kvc_record_mission m left join kvc_record_procedure f on f.流水号=m.流水号 "
                   "where f.流水号 is null or f.货单号<>m.货单号"),
              0);
    // December is settled on the 3rd of January; the employees' totals follow.
    EXPECT_EQ(
        zero("from kvc_record_mission where 结讫=0 and 完成时间>'2026-12-20' and 完成时间<'2027-01-01'"), 0);
    EXPECT_EQ(zero("from kvc_record_member m left join (select 工号, sum(共计) s from kvc_record_mission "
                   "where 结讫=1 group by 工号) w on w.工号=m.工号 where abs(m.累计-coalesce(w.s, 0))>0.01"),
              0);
}

// Without process steps and technologies there is nothing to simulate: refused, with
// nothing written, and so are senseless arguments.
class HistoryRefusalTest : public kvtest::DbTest {};

TEST_F(HistoryRefusalTest, MissingMasterDataOrBadArgumentsWriteNothing)
{
    const int clients = db().count(QStringLiteral("from kvc_record_client"));
    const int members = db().count(QStringLiteral("from kvc_record_member"));
    ToolRun r = runHistoryTool({db().name(), QStringLiteral("1")});
    EXPECT_EQ(r.exitCode, 1) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains(QStringLiteral("sql/demo.sql"))) << r.output.toStdString();
    for (const QString& years : {QStringLiteral("0"), QStringLiteral("-2"), QStringLiteral("many")}) {
        r = runHistoryTool({db().name(), years});
        EXPECT_EQ(r.exitCode, 2) << years.toStdString();
    }
    r = runHistoryTool(
        {QStringLiteral("--now"), QStringLiteral("2026-13-01"), db().name(), QStringLiteral("1")});
    EXPECT_EQ(r.exitCode, 1) << r.output.toStdString();
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client")), clients);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_member")), members);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_product")), 0);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure")), 0);
}

// The shipment inquiry and statistics read a customer's month through (客户号, 发送时间); the
// inquiry counts and sums in one pass over the shipment table alone, and its first page of
// everything comes off the primary key without a sort.
TEST_F(HistoryTest, ShipmentInquiryAndStatisticsReadOnlyWhatTheyShow)
{
    if (!generated_)
        return;
    const QString ship = QStringLiteral("kvc_record_ship");
    const plans::Values v = plans::draw(g_sqlTool);
    const QString month = QStringLiteral(
                              "from kvc_record_ship where 客户号=%1 and 发送时间>'%2 00:00:00' and "
                              "发送时间<'%3 00:00:00'")
                              .arg(v.client)
                              .arg(v.lastmonth, v.month);
    const int mine = db().count(month);
    ASSERT_GT(mine, 100);
    const int all = db().count(QStringLiteral("from kvc_record_ship"));
    ASSERT_GT(all, 20 * mine);

    struct Case {
        const char* name;
        const char* key;
        int most;  // rows of the shipment table examined at most
    };
    const Case cases[] = {
        {"shipment.client-month", "ix_ship_client", mine},
        {"shipment.client-month-totals", "ix_ship_client", mine},
        {"statistics.pairs", "ix_ship_client", mine},
        {"statistics.shipments", "ix_ship_client", mine},
        {"shipment.all", "PRIMARY", kListCap},
    };
    for (const Case& c : cases) {
        const TableRead read = analyze(statement(c.name)).value(ship);
        EXPECT_EQ(read.key, QString::fromLatin1(c.key)) << c.name;
        EXPECT_LE(read.examined, c.most) << c.name;
    }
    // The totals of everything count what the list shows from the totals the writes keep,
    // without reading a shipment.
    const QMap<QString, TableRead> everything = analyze(statement("shipment.all-totals"));
    EXPECT_FALSE(everything.contains(ship));
    EXPECT_LE(everything.value(QStringLiteral("kvc_record_ship_total")).examined, 16 * 100);
    const Rows sums = g_sqlTool.Read(statement("shipment.all-totals"));
    EXPECT_EQ(sums.first().toInt64(0), all);

    // The customers of a month: that month's shipments, each customer once.
    const int monthAll = db().count(QStringLiteral("from kvc_record_ship where 发送时间>'%1 00:00:00' and "
                                                   "发送时间<'%2 00:00:00'")
                                        .arg(v.lastmonth, v.month));
    const TableRead customers = analyze(statement("statistics.customers")).value(ship);
    EXPECT_NE(customers.access, QStringLiteral("ALL"));
    EXPECT_LE(customers.examined, monthAll);
}

// The raw-material inquiry adds up the issues from one key that holds every column it groups by
// and filters on: read in group order and never a row looked up, whatever is ticked.
TEST_F(HistoryTest, RawInquirySumsTheIssuesFromTheirCoveringKey)
{
    if (!generated_)
        return;
    const int issues = db().count(QStringLiteral("from kvc_record_raw_out"));
    ASSERT_GT(issues, 1024);
    const auto coveredBy = [&](const char* name) {
        const Rows plan =
            g_sqlTool.Read(Statement::fromBytes("analyze format=json " + statement(name).sql()));
        QString key;
        bool covering = false;
        const auto find = [&](const auto& self, const QJsonValue& v) -> void {
            if (v.isArray()) {
                for (const QJsonValue& x : v.toArray())
                    self(self, x);
                return;
            }
            const QJsonObject o = v.toObject();
            if (o.value(QStringLiteral("table_name")).toString() == QStringLiteral("kvc_record_raw_out")) {
                key = o.value(QStringLiteral("key")).toString();
                covering = o.value(QStringLiteral("using_index")).toBool();
            }
            for (auto it = o.begin(); it != o.end(); ++it)
                self(self, it.value());
        };
        find(find, QJsonDocument::fromJson(plan.first().text(0).toUtf8()).object());
        return covering ? key : QStringLiteral("lookups by ") + key;
    };
    for (const char* c :
         {"raw.issues-sums", "raw.issues-material-sums", "raw.issues-client-sums", "raw.issues-member-sums"})
        EXPECT_EQ(coveredBy(c), QStringLiteral("ix_raw_out_sums")) << c;

    // The first page of everything comes off the primary key, one page of rows.
    const TableRead page = analyze(statement("raw.issues-page")).value(QStringLiteral("kvc_record_raw_out"));
    EXPECT_EQ(page.key, QStringLiteral("PRIMARY"));
    EXPECT_LE(page.examined, 1024);
    // The sums count exactly the rows the pages go through.
    qint64 counted = 0;
    for (const Row& r : g_sqlTool.Read(statement("raw.issues-sums")))
        counted += r.toInt64(6);
    EXPECT_EQ(counted, issues);
}

// Production management: the order grid reads one list of the newest orders through the key, and a
// renamed technology is looked for in the open orders only.
TEST_F(HistoryTest, ManageReadsTheNewestOrdersAndRenamesInOpenOrdersOnly)
{
    if (!generated_)
        return;
    const QString product = QStringLiteral("kvc_record_product");
    for (const char* name : {"manage.orders", "manage.orders-all"}) {
        const TableRead list = analyze(statement(name)).value(product);
        EXPECT_EQ(list.key, QStringLiteral("PRIMARY")) << name;
        EXPECT_LE(list.examined, 1100) << name;
    }
    const Statement rename = statement("manage.rename-technology");
    ASSERT_TRUE(g_sqlTool.Begin());
    const TableRead open = analyze(rename).value(product);
    g_sqlTool.Rollback();
    EXPECT_EQ(open.key, QStringLiteral("ix_product_state"));
    EXPECT_LE(open.examined, zero("from kvc_record_product where 结讫=0"));
}

// The order inquiry: its count and totals of everything or of a customer come from the totals
// the writes keep, its first pages come off a key, without sorting the history.
TEST_F(HistoryTest, OrderInquiryCountsAndSumsFromKeptTotalsAndPagesWithoutSorting)
{
    if (!generated_)
        return;
    for (const char* c : {"inquiry.history-totals", "inquiry.customer-totals"}) {
        const QMap<QString, TableRead> plan = analyze(statement(c));
        EXPECT_LE(plan.value(QStringLiteral("kvc_record_product")).examined, 1) << c;
        EXPECT_LE(plan.value(QStringLiteral("kvc_record_product_total")).examined, 16 * 100) << c;
    }
    const Row whole = g_sqlTool.Read(statement("inquiry.history-totals")).first();
    EXPECT_EQ(whole.toInt64(0), db().count(QStringLiteral("from kvc_record_product")));
    EXPECT_EQ(whole.text(2), db().scalar(QStringLiteral("select sum(原版数量) from kvc_record_product")));

    EXPECT_LE(analyze(statement("inquiry.history-page")).value(QStringLiteral("kvc_record_product")).examined,
              1100);
    // A customer's orders come off his key, walked or sorted.
    const TableRead customers =
        analyze(statement("inquiry.customer-page")).value(QStringLiteral("kvc_record_product"));
    EXPECT_EQ(customers.key, QStringLiteral("ix_product_client"));
    EXPECT_LE(customers.examined,
              db().count(QStringLiteral("from kvc_record_product where 客户号=%1").arg(values_->client)));
    // A time condition reads only the orders of its range, also for the busiest customer, whose
    // month is sorted rather than looked for in all his orders.
    for (const char* c : {"inquiry.month-totals", "inquiry.month-page", "inquiry.customer-month-totals",
                          "inquiry.customer-month-page"}) {
        const TableRead orders = analyze(statement(c)).value(QStringLiteral("kvc_record_product"));
        EXPECT_EQ(orders.key, QStringLiteral("ix_product_received")) << c;
        EXPECT_LE(
            orders.examined,
            db().count(QStringLiteral("from kvc_record_product where 接货时间>'%1'").arg(values_->month)))
            << c;
    }
    // The chain of a flow: one step after another through the primary key.
    const TableRead chain = analyze(statement("inquiry.chain")).value(QStringLiteral("kvc_record_procedure"));
    EXPECT_EQ(chain.key, QStringLiteral("PRIMARY"));
}

// A scan reads the flow by its key and the flows made from it through its order's flows, so
// it is answered at once whatever the years hold.
TEST_F(HistoryTest, AScanReadsTheFlowAndItsSuccessorsThroughKeys)
{
    if (!generated_)
        return;
    const QString flows = QStringLiteral("kvc_record_procedure");
    EXPECT_EQ(analyze(statement("ticket.place")).value(flows).key, QStringLiteral("PRIMARY"));
    const TableRead next = analyze(statement("ticket.successors")).value(flows);
    EXPECT_EQ(next.key, QStringLiteral("ix_flow_order"));
    EXPECT_LE(next.examined,
              db().count(QStringLiteral("from kvc_record_procedure where 货单号=%1").arg(values_->orderOld)));
}

// The server's own statistics count the employees of the piece-work as they are, so that a
// quiet customer's piece-work with the settled years is read through the customer's orders,
// not through every employee's rows; the busiest customer's first page walks the piece-work
// in 任务号 order and stops when it is full.
TEST_F(HistoryTest, PieceWorkStatisticsCountTheEmployeesAsTheyAre)
{
    if (!generated_)
        return;
    const QString members =
        db().scalar(QStringLiteral("select count(distinct 工号) from kvc_record_mission"));
    EXPECT_EQ(db().scalar(QStringLiteral("select stat_value from mysql.innodb_index_stats where "
                                         "database_name=database() and table_name='kvc_record_mission' and "
                                         "index_name='ix_mission_member' and stat_name='n_diff_pfx01'")),
              members);

    const QString mission = QStringLiteral("kvc_record_mission");
    values_ = plans::draw(g_sqlTool);
    const auto rowsOf = [&](quint64 client) {
        return db().count(QStringLiteral("from kvc_record_mission m join kvc_record_product p on "
                                         "p.货单号=m.货单号 where p.客户号=%1")
                              .arg(client));
    };
    const TableRead quiet = analyze(statement("salary-inquiry.quiet-client-all")).value(mission);
    EXPECT_EQ(quiet.key, QStringLiteral("ix_mission_order"));
    EXPECT_LE(quiet.examined, rowsOf(values_->quietClient));
    const TableRead busiest = analyze(statement("salary-inquiry.client-all")).value(mission);
    EXPECT_EQ(busiest.key, QStringLiteral("PRIMARY"));
    EXPECT_LT(busiest.examined, db().count(QStringLiteral("from kvc_record_mission")) / 4);
}

// The piece-work inquiry with the settled years: a period is read through its time, not
// through the whole history in 任务号 order.
TEST_F(HistoryTest, SettledPieceWorkOfAPeriodIsReadThroughItsTime)
{
    if (!generated_)
        return;
    const QString mission = QStringLiteral("kvc_record_mission");
    values_ = plans::draw(g_sqlTool);
    const int inMonth =
        db().count(QStringLiteral("from kvc_record_mission where 完成时间>'%1' and 完成时间<'%2'")
                       .arg(values_->lastmonth, values_->month));
    ASSERT_GT(inMonth, 0);
    const TableRead page = analyze(statement("salary-inquiry.month-all")).value(mission);
    EXPECT_EQ(page.key, QStringLiteral("ix_mission_done"));
    EXPECT_LE(page.examined, inMonth);
    EXPECT_LE(analyze(statement("salary-inquiry.month-all-sums")).value(mission).examined, inMonth);

    // Without a period, the totals read the day totals and the rows of yesterday and today;
    // the bounds of the days come from the ends of their keys.
    EXPECT_LE(analyze(financeq::workBounds(g_sqlTool)).value(mission).examined, 2);
    const int recent = db().count(QStringLiteral(
        "from kvc_record_mission where 完成时间>=date_format(curdate() - interval 1 day, '%Y-%m-%d')"));
    for (const char* c : {"salary-inquiry.none-all-sums", "salary-inquiry.client-all-sums",
                          "salary-inquiry.process-all-sums", "salary-inquiry.recorder-all-sums"})
        EXPECT_LE(analyze(statement(c)).value(mission).examined, recent) << c;
}
