#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "flow/Intake.h"
#include "flow/Shipping.h"
#include "proxy/Proxy.h"
#include "support/DbTest.h"

#include <thread>

using kvnet::Proxy;

namespace {

// A desk whose network breaks: its session reaches the server through a proxy.
class ConnectionLoss : public kvtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db().exec(QStringLiteral("insert into kvc_record_client (名称, 激活) values ('客户甲', 1)"));
        proxy = std::make_unique<Proxy>(kvtest::server().port);
        ASSERT_NE(proxy->port(), 0);
        desk.SetTimeouts(2, 2, 2);
        const kvtest::Server s = kvtest::server();
        ASSERT_TRUE(desk.Connect(s.host, proxy->port(), db().name(), db().clientAccount(), s.password))
            << desk.GetError().toStdString();
    }
    void TearDown() override
    {
        desk.Close();
        proxy.reset();
        DbTest::TearDown();
    }
    static intake::Order order()
    {
        intake::Order o;
        o.client = 1;
        o.receiver = QStringLiteral("黄永发");
        o.method = QStringLiteral("[普洗]");
        o.goods = 50;
        o.priority = QStringLiteral("一般");
        o.account = QStringLiteral("tester");
        return o;
    }
    quint64 waitingAtShipping()
    {
        db().exec(QStringLiteral(
            "insert into kvc_record_product (客户号, 货物数量, 激活) values (1, 40, 1);"
            "insert into kvc_record_procedure (货单号, 客户号, 上一站, 工作站, 数量, 历史) values "
            "(last_insert_id(), 1, '洗水', '发送', 40, '接收[接收]-洗水[普洗]')"));
        return db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
    }
    bool sessionExists(quint64 id)
    {
        return db().count(QStringLiteral("from information_schema.processlist where id=%1").arg(id)) > 0;
    }

    std::unique_ptr<Proxy> proxy;
    mySQLTool desk;
};

}  // namespace

// The reply to COMMIT is lost: the desk reconnects and finds out whether the action was
// saved before it says anything. What it says is true, so the clerk's retry after a
// failure (and only then) leaves the action done once.
TEST_F(ConnectionLoss, ALostCommitIsReportedAsWhatTheServerDid)
{
    struct Case {
        const char* action;
        Proxy::CommitFault fault;
        Outcome::Kind told;
    };
    const QList<Case> cases = {
        {"order", Proxy::CommitFault::LoseCommit, Outcome::Kind::Failed},
        {"order", Proxy::CommitFault::LoseReply, Outcome::Kind::Done},
        {"confirm", Proxy::CommitFault::LoseCommit, Outcome::Kind::Failed},
        {"confirm", Proxy::CommitFault::LoseReply, Outcome::Kind::Done},
    };
    for (const Case& c : cases) {
        const bool isOrder = QByteArray(c.action) == "order";
        const quint64 flow = isOrder ? 0 : waitingAtShipping();
        const int ordersBefore = db().count(QStringLiteral("from kvc_record_product"));
        auto act = [&] {
            return isOrder ? intake::submitOrder(desk, order(), true, 0, QString())
                           : shipping::confirmFlow(desk, flow, QStringLiteral("tester"));
        };
        const quint64 oldSession = desk.ThreadId();
        proxy->failNextCommit(c.fault);
        const Outcome told = act();
        EXPECT_EQ(told.kind(), c.told) << c.action << " " << int(c.fault) << " " << told.text().toStdString();
        EXPECT_NE(desk.ThreadId(), oldSession);
        EXPECT_FALSE(sessionExists(oldSession));
        if (!told.ok()) {
            EXPECT_EQ(told.text(), kNotSaved);
            // The clerk does it again.
            ASSERT_TRUE(act().ok()) << "the retry: " << desk.GetError().toStdString();
        }
        if (isOrder) {
            EXPECT_EQ(db().count(QStringLiteral("from kvc_record_product")), ordersBefore + 1);
            EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 工作站='洗水'")),
                      db().count(QStringLiteral("from kvc_record_product where 激活=1 and 货物数量=50")));
        } else {
            EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 上一号=%1").arg(flow)), 1);
        }
    }
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_product where 货物数量=50")), 2);
}

// The desk's network drops every packet in the middle of a transaction. Its read times
// out, its new connection ends the old server session, and another desk waiting for the
// same flow goes on within seconds instead of waiting for the server's wait_timeout.
TEST_F(ConnectionLoss, AFrozenDeskReleasesItsLocksWithinSeconds)
{
    const quint64 flow = waitingAtShipping();
    const quint64 frozenSession = desk.ThreadId();
    Outcome other = Outcome::cancelled();
    std::thread otherDesk;
    const Outcome told = desk.Transact([&] {
        flow::FlowRow f;
        if (const Outcome locked = flow::lockFlow(desk, flow, f, Outcome::refused(QStringLiteral("?")));
            !locked)
            return locked;
        proxy->freeze();
        otherDesk = std::thread([&] {
            mySQLTool peer;
            if (!db().connect(peer))
                return;
            other = shipping::confirmFlow(peer, flow, QStringLiteral("desk2"));
        });
        if (!desk.Exec("update %s set 经办人='%s' where 流水号=%I64u", tables::procedure,
                       QStringLiteral("desk1"), flow))
            return desk.Failure();
        return Outcome::done();
    });
    otherDesk.join();
    EXPECT_EQ(told.kind(), Outcome::Kind::Failed);
    // Without the old session ended, the other desk's every rerun would wait in vain.
    EXPECT_TRUE(other.ok()) << other.text().toStdString();
    EXPECT_FALSE(sessionExists(frozenSession));
    EXPECT_EQ(
        db().scalar(QStringLiteral("select 经办人 from kvc_record_procedure where 流水号=%1").arg(flow)),
        QStringLiteral("desk2"));
    // The new session has the short lock wait, too.
    EXPECT_EQ(desk.Read(desk.Format("select @@innodb_lock_wait_timeout")).first().toInt(0), 5);
}
