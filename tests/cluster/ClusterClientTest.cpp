#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "flow/Intake.h"
#include "flow/Shipping.h"
#include "flow/Station.h"
#include "support/TestCluster.h"
#include "support/TestDb.h"

#include <mysqld_error.h>
#include <QThread>
#include <functional>
#include <latch>
#include <memory>
#include <thread>

// The client on the suite's three-node Galera cluster: desks on different nodes racing on
// one thing, a node dying under a desk, and reads on one node of writes made on another.
namespace {

constexpr int kRounds = 25;

class ClusterClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        ports_ = kvtest::clusterPorts();
        ASSERT_EQ(ports_.size(), 3) << "no cluster: run the tests through ctest (./test)";
        kvtest::Server first;
        first.port = ports_.first();
        db_ = std::make_unique<kvtest::Database>(first);
        // What the test reads sees every write the cluster committed before.
        db_->exec(QStringLiteral("set session wsrep_sync_wait=1"));
        // The account and its role reach the other nodes a moment later.
        for (int i = 0; i < ports_.size(); ++i) {
            mySQLTool probe;
            for (int attempt = 0; attempt < 50 && !connect(probe, node(i)); ++attempt)
                QThread::msleep(100);
            ASSERT_TRUE(probe.IsConnected()) << probe.GetError().toStdString();
        }
    }

    kvtest::Database& db() { return *db_; }

    // Node `i` (0-based), or every node in turn starting with node `i`.
    QString node(int i) const { return QStringLiteral("127.0.0.1:%1").arg(ports_.at(i)); }
    QString allFrom(int i) const
    {
        QStringList list;
        for (int k = 0; k < ports_.size(); ++k)
            list.append(node((i + k) % ports_.size()));
        return list.join(QLatin1Char(','));
    }
    bool connect(mySQLTool& desk, const QString& servers)
    {
        return desk.Connect(servers, 0, db_->name(), db_->clientAccount(), QStringLiteral("kv"));
    }
    int serverPort(mySQLTool& desk) { return desk.Read(desk.Format("select @@port")).first().toInt(0); }

    quint64 last(const char* table, const char* key)
    {
        return db()
            .scalar(
                QStringLiteral("select max(%1) from %2").arg(QString::fromUtf8(key), QLatin1String(table)))
            .toULongLong();
    }
    // An activated order with one flow at `station`.
    quint64 orderWithFlow(int goods, const QString& station, const QString& previous)
    {
        db().exec(QStringLiteral("insert into kvc_record_product (客户号, 货物数量, 货物等级, 激活) values "
                                 "(1, %1, '一般', 1)")
                      .arg(goods));
        order_ = last("kvc_record_product", "货单号");
        db().exec(QStringLiteral(
                      "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一站, 工作站, 数量, "
                      "生成时间, 历史) values (%1, 1, '一般', '%2', '%3', %4, '2026-12-07 08:00:00', "
                      "'接收[接收]')")
                      .arg(order_)
                      .arg(previous, station)
                      .arg(goods));
        return last("kvc_record_procedure", "流水号");
    }
    flow::HandOver handOver(quint64 flowId, int done)
    {
        flow::HandOver h;
        h.station = QStringLiteral("洗水");
        h.flow = flowId;
        h.order = order_;
        h.mode = QStringLiteral("普洗工序");
        h.destination = QStringLiteral("喷砂");
        h.rate = 0.3;
        h.lossCharge = 5;
        flow::Worker w;
        w.id = 9;
        w.done = done;
        h.workers = {w};
        h.account = QStringLiteral("tester");
        h.now = QStringLiteral("2026-12-08 09:30:00");
        return h;
    }

    // Two desks, on nodes 2 and 3, run their action at the same moment, `kRounds` times on
    // new data each round; exactly one wins each round and the other is told another desk
    // was first. `check` sees the winner's result in the data, read on node 1.
    void race(const std::function<void()>& prepare, const std::function<Outcome(mySQLTool&)>& act,
              const std::function<void()>& check)
    {
        mySQLTool desk[2];
        ASSERT_TRUE(connect(desk[0], node(1))) << desk[0].GetError().toStdString();
        ASSERT_TRUE(connect(desk[1], node(2))) << desk[1].GetError().toStdString();
        for (int round = 0; round < kRounds; ++round) {
            SCOPED_TRACE(round);
            prepare();
            Outcome outcome[2] = {Outcome::done(), Outcome::done()};
            std::latch start(2);
            std::thread a([&] {
                start.arrive_and_wait();
                outcome[0] = act(desk[0]);
            });
            std::thread b([&] {
                start.arrive_and_wait();
                outcome[1] = act(desk[1]);
            });
            a.join();
            b.join();
            ASSERT_NE(outcome[0].ok(), outcome[1].ok())
                << outcome[0].text().toStdString() << " / " << outcome[1].text().toStdString();
            const Outcome& lost = outcome[0].ok() ? outcome[1] : outcome[0];
            EXPECT_EQ(lost.kind(), Outcome::Kind::Taken) << lost.text().toStdString();
            check();
        }
    }

    QList<int> ports_;
    std::unique_ptr<kvtest::Database> db_;
    quint64 order_ = 0;
};

}  // namespace

TEST_F(ClusterClient, DesksOnTwoNodesRacingOnOneThingHaveOneWinner)
{
    quint64 flowId = 0;
    // One flow handed over at 洗水.
    race([&] { flowId = orderWithFlow(10, QStringLiteral("洗水"), QStringLiteral("接收")); },
         [&](mySQLTool& desk) { return flow::handOver(desk, handOver(flowId, 10)); },
         [&] {
             EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=%1").arg(flowId)),
                       1);
             EXPECT_EQ(db().count(QStringLiteral("from kvc_record_mission where 流水号=%1").arg(flowId)), 1);
         });
    // The last pieces of an order shipped.
    race([&] { orderWithFlow(20, flow::kShipping, flow::kShipping); },
         [&](mySQLTool& desk) {
             shipping::Shipment s;
             s.order = order_;
             s.goods = 20;
             s.shipper = QStringLiteral("黄永发");
             s.issuer = QStringLiteral("张志明");
             s.account = QStringLiteral("tester");
             return shipping::ship(desk, s);
         },
         [&] {
             EXPECT_EQ(db().count(QStringLiteral("from kvc_record_ship where 货单号=%1").arg(order_)), 1);
             EXPECT_EQ(db().scalar(
                           QStringLiteral("select 结讫 from kvc_record_product where 货单号=%1").arg(order_)),
                       QStringLiteral("1"));
         });
    // A waiting order activated.
    race(
        [&] {
            db().exec(
                QStringLiteral("insert into kvc_record_product (客户号, 货物数量, 货物等级, 激活) values "
                               "(1, 30, '一般', 0)"));
            order_ = last("kvc_record_product", "货单号");
        },
        [&](mySQLTool& desk) {
            intake::Order o;
            o.client = 1;
            o.goods = 30;
            o.priority = QStringLiteral("一般");
            o.method = QStringLiteral("[普洗]");
            o.account = QStringLiteral("tester");
            return intake::submitOrder(desk, o, true, order_, QString());
        },
        [&] {
            EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 货单号=%1").arg(order_)), 1);
        });
}

// A Galera node that aborts a desk's statement for another node's write while the statement
// loads a table's triggers fails it as a syntax error, and keeps failing writes through that
// copy of the table. On such a node a syntax error reloads the tables with triggers, whether
// or not the action runs again, and a failed action runs again like after a deadlock (on a
// single server it is the action's own failure: SessionTest).
TEST_F(ClusterClient, ASyntaxErrorOnANodeReloadsTheTriggersAndRerunsTheAction)
{
    db().exec(
        QStringLiteral("insert into kvc_record_product (客户号, 货物数量, 货物等级, 激活) values "
                       "(1, 0, '一般', 1)"));
    const quint64 order = last("kvc_record_product", "货单号");
    mySQLTool desk, reader;
    ASSERT_TRUE(connect(desk, node(1)));
    ASSERT_TRUE(connect(reader, node(1)));
    // A write whose first run meets a syntax error, as a write through unparsed triggers
    // does, when `failFirst`; `refuse`: the action then refuses instead of failing.
    int runs = 0;
    const auto write = [&](bool failFirst, bool refuse) {
        runs = 0;
        return desk.Transact([&] {
            const bool ran =
                ++runs == 1 && failFirst
                    ? desk.Exec("update kvc_record_product set 货物数量=0 whre 货单号=%I64u", order)
                    : desk.Exec("update kvc_record_product set 货物数量=货物数量+1 where 货单号=%I64u",
                                order);
            if (ran)
                return Outcome::done();
            return refuse ? Outcome::refused(QStringLiteral("另一个工作台已经处理")) : desk.Failure();
        });
    };
    // The node's copies of the tables, open once a write and a read are done, and closed by
    // a reload.
    const auto openedAfterReading = [&] {
        EXPECT_TRUE(reader.Read(reader.Format("select count(*) from kvc_record_ship")));
        return reader.Read(reader.Format("show global status like 'Opened_tables'")).first().toInt(1);
    };
    ASSERT_TRUE(write(false, false).ok());
    int opened = openedAfterReading();
    EXPECT_EQ(openedAfterReading(), opened);

    const Outcome rerun = write(true, false);
    EXPECT_TRUE(rerun.ok()) << rerun.text().toStdString();
    EXPECT_EQ(runs, 2);
    EXPECT_GT(openedAfterReading(), opened);

    opened = openedAfterReading();
    EXPECT_EQ(write(true, true).kind(), Outcome::Kind::Refused);
    EXPECT_EQ(runs, 1);
    EXPECT_GT(openedAfterReading(), opened);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 货物数量 from kvc_record_product where 货单号=%1").arg(order)),
        QStringLiteral("2"));
}

TEST_F(ClusterClient, AWriteOnOneNodeIsReadOnAnotherAtOnce)
{
    mySQLTool writer, reader;
    ASSERT_TRUE(connect(writer, node(1)));
    ASSERT_TRUE(connect(reader, node(2)));
    for (int round = 0; round < 20; ++round) {
        const QString name = QStringLiteral("客户%1").arg(round);
        ASSERT_TRUE(writer.Exec("insert into kvc_record_client (名称, 激活) value ('%s', 1)", name));
        const Rows seen =
            reader.Read(reader.Format("select count(*) from kvc_record_client where 名称='%s'", name));
        ASSERT_TRUE(seen);
        EXPECT_EQ(seen.first().toInt(0), 1) << round;
    }
}

// Kills the third node under two desks, one idle between two actions, one in the middle of a
// hand-over, and starts it again: both go on on the next node.
TEST_F(ClusterClient, ADeskWhoseNodeDiesGoesOnOnTheNextNode)
{
    mySQLTool idle, busy;
    for (mySQLTool* desk : {&idle, &busy}) {
        ASSERT_TRUE(connect(*desk, allFrom(2)));
        ASSERT_EQ(serverPort(*desk), ports_.at(2));
        const quint64 f = orderWithFlow(10, QStringLiteral("洗水"), QStringLiteral("接收"));
        ASSERT_TRUE(flow::handOver(*desk, handOver(f, 10)).ok());
    }

    // The busy desk waits for a flow another session on its node holds when the node dies.
    const quint64 during = orderWithFlow(10, QStringLiteral("洗水"), QStringLiteral("接收"));
    mySQLTool holder;
    ASSERT_TRUE(connect(holder, node(2)));
    ASSERT_TRUE(holder.Begin());
    ASSERT_TRUE(holder.Read(
        holder.Format("select 结讫 from kvc_record_procedure where 流水号=%I64u for update", during)));
    Outcome inFlight = Outcome::done();
    std::thread waiting([&] { inFlight = flow::handOver(busy, handOver(during, 10)); });
    QThread::msleep(500);
    ASSERT_TRUE(kvtest::killClusterNode(3));
    waiting.join();
    const auto successors = [&](quint64 f) {
        return db().count(QStringLiteral("from kvc_record_procedure where 上一号=%1").arg(f)) * 10 +
               db().count(QStringLiteral("from kvc_record_mission where 流水号=%1").arg(f));
    };
    // Nothing of it is written; the retry goes through once, on the next node.
    EXPECT_EQ(inFlight.kind(), Outcome::Kind::Failed) << inFlight.text().toStdString();
    EXPECT_EQ(successors(during), 0);
    const Outcome retry = flow::handOver(busy, handOver(during, 10));
    EXPECT_TRUE(retry.ok()) << retry.text().toStdString();
    EXPECT_EQ(successors(during), 11);
    EXPECT_EQ(serverPort(busy), ports_.at(0));

    // The idle desk's next action runs on the next node too.
    const quint64 after = orderWithFlow(10, QStringLiteral("洗水"), QStringLiteral("接收"));
    const Outcome next = flow::handOver(idle, handOver(after, 10));
    EXPECT_TRUE(next.ok()) << next.text().toStdString();
    EXPECT_EQ(successors(after), 11);
    EXPECT_EQ(serverPort(idle), ports_.at(0));
    EXPECT_TRUE(kvtest::startCluster());
}
