// The floor board: its figures against the rows of a made history, its session (reads only,
// waits for no lock), and its window when the server goes away and comes back.
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/board/BoardReader.h"
#include "dialogs/board/BoardTable.h"
#include "dialogs/board/Dlg_Board.h"
#include "dialogs/board/ops/BoardFigures.h"
#include "proxy/Proxy.h"
#include "support/DbTest.h"
#include "support/HistoryTool.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <map>

using kvtest::DemoDbTest;

namespace {

const QString kTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

qint64 age(const QString& made, const QDateTime& now)
{
    return std::max<qint64>(0, QDateTime::fromString(made, kTime).secsTo(now));
}

// What the board should show, worked out from plain rows in the test's own way.
struct Expected {
    QHash<QString, board::Station> stations;
    QHash<QString, std::pair<double, double>> teams;  // today, yesterday
};

// Read as a guest, the identity with the fewest rights that sees the board.
class BoardFigures : public DemoDbTest {
public:
    BoardFigures() { signInAs(QStringLiteral("游客")); }

protected:
    Expected expected()
    {
        Expected e;
        const QString today = kNow.toString(QStringLiteral("yyyy-MM-dd"));
        const QString yesterday = kNow.addDays(-1).toString(QStringLiteral("yyyy-MM-dd"));
        QStringList names;
        for (const QStringList& r : db().rows(QStringLiteral("select 名称 from kvc_attrib_station")))
            if (r[0] != QStringLiteral("接收"))
                names << r[0];
        for (const QStringList& r : db().rows(QStringLiteral(
                 "select 工作站, 上一站, 数量, 生成时间 from kvc_record_procedure where 结讫=0"))) {
            if (!names.contains(r[0]) || (r[0] == QStringLiteral("发送") && r[1] == QStringLiteral("发送")))
                continue;
            board::Station& s = e.stations[r[0]];
            const qint64 n = r[2].toLongLong(), a = age(r[3], kNow);
            s.flows += 1;
            s.pieces += n;
            s.oldestSeconds = std::max(s.oldestSeconds, a);
            s.pieceHours += double(n) * double(a) / 3600.0;
            s.bands[a < 4 * 3600 ? 0 : a < 24 * 3600 ? 1 : 2] += n;
        }
        // Each closed flow's successor (not its remainder) holds the pieces passed on.
        QHash<QString, qint64> passedOn;
        for (const QStringList& r : db().rows(QStringLiteral(
                 "select 上一号, 数量 from kvc_record_procedure where 派生=0 and 上一号 is not null")))
            passedOn[r[0]] = r[1].toLongLong();
        for (const QStringList& r :
             db().rows(QStringLiteral(
                           "select 流水号, 工作站, 工序 from kvc_record_procedure where 结讫时间 like '%1%'")
                           .arg(today)))
            if (names.contains(r[1]) && r[2] != QStringLiteral("转发"))
                e.stations[r[1]].finishedToday += passedOn.value(r[0]);

        QHash<QString, QString> teamOf;
        for (const QStringList& r : db().rows(QStringLiteral("select 工号, 班组 from kvc_record_member")))
            teamOf[r[0]] = r[1];
        const QList<QStringList> work = db().rows(
            QStringLiteral(
                "select 流水号, 工号, 完成数量, 损耗数量, left(完成时间, 10) from kvc_record_mission "
                "where 完成时间>='%1'")
                .arg(yesterday));
        QHash<QString, int> workers;
        QHash<QString, qint64> counted;
        for (const QStringList& r : work) {
            workers[r[0]] += 1;
            counted[r[0]] += r[2].toLongLong() + r[3].toLongLong();
        }
        for (const QStringList& r : work) {
            if (!passedOn.contains(r[0]))
                continue;
            // Cooperative rows carry no pieces: the workers share what was passed on.
            const double share = counted[r[0]] > 0 ? r[2].toDouble() : double(passedOn[r[0]]) / workers[r[0]];
            auto& t = e.teams[teamOf.value(r[1])];
            (r[4] == today ? t.first : t.second) += share;
        }
        return e;
    }
};

}  // namespace

TEST_F(BoardFigures, EveryFigureAgreesWithTheRowsOfAMadeHistory)
{
    const kvtest::ToolRun made = kvtest::runHistoryTool(
        {QStringLiteral("--now"), kNow.toString(kTime), db().name(), QStringLiteral("0.04")});
    ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();
    board::Figures f;
    ASSERT_TRUE(board::read(g_sqlTool, kNow, f).ok()) << g_sqlTool.GetError().toStdString();
    const Expected e = expected();

    ASSERT_EQ(f.stations.size(), 8);
    double most = 0;
    QString neck;
    qint64 finishedAtStations = 0;
    for (const board::Station& s : f.stations) {
        SCOPED_TRACE(s.name.toStdString());
        const board::Station x = e.stations.value(s.name);
        EXPECT_EQ(s.flows, x.flows);
        EXPECT_EQ(s.pieces, x.pieces);
        EXPECT_EQ(s.oldestSeconds, x.oldestSeconds);
        EXPECT_NEAR(s.pieceHours, x.pieceHours, 1e-6);
        EXPECT_EQ(s.bands, x.bands);
        EXPECT_EQ(s.finishedToday, x.finishedToday);
        if (x.pieceHours > most) {
            most = x.pieceHours;
            neck = s.name;
        }
        if (s.name != QStringLiteral("发送"))
            finishedAtStations += s.finishedToday;
    }
    ASSERT_GE(f.bottleneck, 0);
    EXPECT_EQ(f.stations[f.bottleneck].name, neck);
    EXPECT_GT(finishedAtStations, 0) << "the history has today's work";

    // Every team with work on the two days, and what they handed over today adds up to what
    // the stations passed on.
    ASSERT_EQ(f.teams.size(), e.teams.size());
    double teamsToday = 0;
    for (const board::Team& t : f.teams) {
        SCOPED_TRACE(t.name.toStdString());
        EXPECT_NEAR(t.today, e.teams.value(t.name).first, 1e-6);
        EXPECT_NEAR(t.yesterday, e.teams.value(t.name).second, 1e-6);
        teamsToday += t.today;
    }
    EXPECT_NEAR(teamsToday, double(finishedAtStations), 1e-6);
    EXPECT_TRUE(std::is_sorted(f.teams.begin(), f.teams.end(),
                               [](const board::Team& a, const board::Team& b) { return a.today > b.today; }));

    // The rush orders: 紧急 before 加急, the oldest first, with where all their goods wait.
    const QList<QStringList> rush =
        db().rows(QStringLiteral("select 货单号, 货物等级, 货物数量, 激活 from kvc_record_product where "
                                 "结讫=0 and 货物等级 in ('紧急', '加急')"));
    ASSERT_GT(rush.size(), board::kRushShown);
    EXPECT_EQ(f.rushTotal, rush.size());
    ASSERT_EQ(f.rush.size(), board::kRushShown);
    QList<std::pair<int, quint64>> order;
    for (const QStringList& r : rush)
        order.append({r[1] == QStringLiteral("紧急") ? 0 : 1, r[0].toULongLong()});
    std::sort(order.begin(), order.end());
    for (int i = 0; i < f.rush.size(); ++i) {
        const board::RushOrder& o = f.rush[i];
        EXPECT_EQ(o.order, order[i].second);
        std::map<QString, qint64> places, shown;
        for (const QStringList& r :
             db().rows(QStringLiteral(
                           "select 工作站, 上一站, 数量 from kvc_record_procedure where 货单号=%1 and 结讫=0")
                           .arg(o.order)))
            places[r[0] != QStringLiteral("发送")   ? r[0]
                   : r[1] == QStringLiteral("发送") ? QStringLiteral("待发货")
                                                    : QStringLiteral("待确认")] += r[2].toLongLong();
        if (places.empty() && o.places.value(0).name == QStringLiteral("未激活"))
            places[QStringLiteral("未激活")] = o.pieces;
        for (const board::Place& p : o.places)
            shown[p.name] += p.pieces;
        EXPECT_EQ(shown, places) << o.order;
    }

    // The goods waiting for confirmation at 发送, the oldest first, with their ages.
    QList<std::pair<QString, QStringList>> waiting;
    for (const QStringList& r :
         db().rows(QStringLiteral("select 流水号, 货单号, 数量, 生成时间 from kvc_record_procedure where "
                                  "工作站='发送' and 上一站<>'发送' "
                                  "and 结讫=0")))
        waiting.append({r[3] + r[0].rightJustified(20, QLatin1Char('0')), r});
    std::sort(waiting.begin(), waiting.end());
    ASSERT_FALSE(waiting.isEmpty());
    ASSERT_EQ(f.shipping.size(), std::min<int>(board::kShippingShown, int(waiting.size())));
    for (int i = 0; i < f.shipping.size(); ++i) {
        const QStringList& r = waiting[i].second;
        EXPECT_EQ(f.shipping[i].flow, r[0].toULongLong());
        EXPECT_EQ(f.shipping[i].pieces, r[2].toInt());
        EXPECT_EQ(f.shipping[i].seconds, age(r[3], kNow));
    }
}

TEST(BoardBands, AgesAreBandedAndWrittenAsHoursAndMinutes)
{
    const struct {
        qint64 seconds;
        board::Band band;
        const char* text;
    } cases[] = {
        {0, board::Recent, "0:00"},       {4 * 3600 - 1, board::Recent, "3:59"},
        {4 * 3600, board::Today, "4:00"}, {24 * 3600 - 60, board::Today, "23:59"},
        {24 * 3600, board::Old, "24:00"}, {50 * 3600 + 5 * 60, board::Old, "50:05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(board::bandOf(c.seconds), c.band) << c.seconds;
        EXPECT_EQ(board::hoursMinutes(c.seconds), QString::fromLatin1(c.text));
    }
}

namespace {

// A board over a small workshop: flows waiting at 洗水 and at 发送, beside the desk of 调度.
class BoardWindow : public DemoDbTest {
public:
    BoardWindow() { signInAs(kDesk); }

protected:
    const QString kDesk = QStringLiteral("调度");

    void SetUp() override
    {
        DemoDbTest::SetUp();
        db().exec(QStringLiteral(
            "insert into kvc_record_product (客户号, 货物数量, 货物等级, 激活) values (1, 90, '紧急', 1);"
            "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一站, 工作站, 数量, 生成时间) "
            "values "
            "(1, 1, '紧急', '接收', '洗水', 60, '2026-12-08 07:30:00'), "
            "(1, 1, '紧急', '喷砂', '发送', 30, '2026-12-06 09:00:00')"));
    }

    // Shows what the next read brings, within a few seconds.
    static bool nextRead(Dlg_Board& b, bool ask = true)
    {
        QSignalSpy read(&b, &Dlg_Board::refreshed);
        if (ask)
            b.refreshNow();
        return read.wait(8000);
    }
    static qint64 waitingAt(const Dlg_Board& b, const QString& station)
    {
        for (const board::Station& s : b.figures().stations)
            if (s.name == station)
                return s.pieces;
        return -1;
    }
};

}  // namespace

TEST_F(BoardWindow, ItsSessionSignsInAsTheDeskOverTlsReadsOnlyAndWaitsForNoLock)
{
    mySQLTool desk;
    desk.SetTls(true, kvtest::Database::tlsCa());
    ASSERT_TRUE(db().connectAs(desk, kDesk)) << desk.GetError().toStdString();
    mySQLTool session;
    BoardReader::prepare(session);
    ASSERT_TRUE(session.ConnectWith(desk.login())) << session.GetError().toStdString();
    EXPECT_EQ(session.Account(), desk.Account());
    EXPECT_FALSE(
        session.Read(session.Format("show session status like 'Ssl_cipher'")).first().text(1).isEmpty());
    // A write its identity may do is refused on the board's session.
    EXPECT_FALSE(session.Exec("update kvc_record_procedure set 数量=0"));
    EXPECT_EQ(session.LastErrno(), 1792u) << session.GetError().toStdString();

    // Another desk's uncommitted hand-over holds the flows: the board reads what is committed.
    ASSERT_TRUE(g_sqlTool.Begin());
    ASSERT_TRUE(g_sqlTool.Exec("update kvc_record_procedure set 数量=数量+1 where 结讫=0"));
    board::Figures f;
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(board::read(session, kNow, f).ok()) << session.GetError().toStdString();
    EXPECT_LT(took.elapsed(), 2000);
    g_sqlTool.Rollback();
    EXPECT_EQ(f.stations.value(0).pieces, 60);
    EXPECT_LE(f.statements, 10u);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 数量=0")), 0);
}

TEST_F(BoardWindow, TheLastFiguresStayGreyedWhileTheServerIsAwayAndComeBackWithIt)
{
    kvnet::Proxy proxy(kvtest::server().port);
    const kvtest::Server s = kvtest::server();
    ASSERT_TRUE(g_sqlTool.Connect(s.host, proxy.port(), db().name(), db().personAccount(kDesk), s.password));
    Dlg_Board b;
    b.show();
    ASSERT_TRUE(nextRead(b, false));
    ASSERT_FALSE(b.stale());
    EXPECT_EQ(waitingAt(b, QStringLiteral("洗水")), 60);
    auto* stations = b.findChild<BoardTable*>(QStringLiteral("stationTable"));
    const QColor fresh = stations->item(0, 2)->foreground().color();
    EXPECT_EQ(b.statusText(), QStringLiteral("刷新于 09:30:00"));

    proxy.refuse(true);
    proxy.cut();
    db().exec(QStringLiteral("update kvc_record_procedure set 数量=70 where 工作站='洗水'"));
    kvclock::fix(kNow.addSecs(180));
    ASSERT_TRUE(nextRead(b));
    EXPECT_TRUE(b.stale());
    EXPECT_EQ(waitingAt(b, QStringLiteral("洗水")), 60) << "the last figures stay";
    EXPECT_EQ(stations->cellText(0, 2), QStringLiteral("60"));
    EXPECT_NE(stations->item(0, 2)->foreground().color(), fresh) << "greyed";
    EXPECT_EQ(b.statusText(), QStringLiteral("无法连接数据库服务器 · 显示 09:30:00 的数据（3分钟前）"));

    proxy.refuse(false);
    ASSERT_TRUE(nextRead(b));
    EXPECT_FALSE(b.stale());
    EXPECT_EQ(waitingAt(b, QStringLiteral("洗水")), 70);
    EXPECT_EQ(stations->item(0, 2)->foreground().color(), fresh);
    EXPECT_EQ(b.statusText(), QStringLiteral("刷新于 09:33:00"));
}

TEST_F(BoardWindow, AChangeSavedAtThisPcShowsAtOnce)
{
    Dlg_Board b;
    b.show();
    ASSERT_TRUE(nextRead(b, false));
    EXPECT_EQ(waitingAt(b, QStringLiteral("发送")), 30);
    EXPECT_TRUE(g_sqlTool.Transact([] {
        return g_sqlTool.Exec("update kvc_record_procedure set 上一站='发送' where 工作站='发送'")
                   ? Outcome::done()
                   : g_sqlTool.Failure();
    }));
    // No refresh asked for: the saved change brings the next read.
    ASSERT_TRUE(nextRead(b, false));
    EXPECT_EQ(waitingAt(b, QStringLiteral("发送")), 0);
    EXPECT_TRUE(b.findChild<BoardTable*>(QStringLiteral("shippingTable"))->cellText(0, 0).isEmpty());
}
