// kvhistory [--now TIME] [--seed N] [--per-day N] [--demo] [--dir DIR] [--keep] [--keep-keys]
//           [--no-load] DBNAME YEARS
//
// Fills DBNAME with a synthetic history of a factory that ends at TIME (default: now): about
// 150 orders a day (--per-day) through intake, the stations and shipping, with splits,
// losses, piece-work and shipments, the back office's purchases, issues and loss registry,
// the monthly settlements, and the open tail of the last days. The rows are written to
// tab-separated files and loaded with LOAD DATA LOCAL INFILE. The server is the one the
// variables KV_DB_HOST, KV_DB_PORT, KV_DB_USER and KV_DB_PASSWORD name.
//
// --demo makes the demo of a first start: six weeks (unless YEARS is given) of the small
// factory of sql/demo.sql as it stands (no customers or employees added), with work waiting
// at every desk at the end.
#include "Clock.h"
#include "Connection.h"
#include "Loader.h"
#include "Master.h"
#include "Office.h"
#include "Simulator.h"
#include "Writer.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

using namespace hist;

namespace {

std::string env(const char* name, const char* fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

int usage()
{
    std::fprintf(
        stderr,
        "usage: kvhistory [--now 'YYYY-MM-DD hh:mm:ss'] [--seed N] [--per-day N] [--demo] [--dir DIR]"
        " [--keep] [--keep-keys] [--no-load] DBNAME YEARS\n");
    return 2;
}

int fail(const std::string& what)
{
    std::fprintf(stderr, "kvhistory: %s\n", what.c_str());
    return 1;
}

std::uint64_t nextKey(Connection& db, const char* column, const char* table)
{
    return db.count(std::string("select coalesce(max(") + column + "), 0) + 1 from " + table);
}

struct Table {
    const char* name;
    const char* columns;
};

const Table kTables[] = {
    {"kvc_record_product",
     "货单号, 款号, 客户号, 货物数量, 接货人, 接货时间, 货物性质, 货物分类, 货物款式, 货物性别, 洗涤方法, "
     "货物单价, "
     "损耗单价, 原版数量, 洗版数量, 损耗数量, 货物等级, 关联, 激活, 激活时间, 结讫, 结讫时间, 经办人"},
    {"kvc_record_procedure",
     "流水号, 货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, 生成时间, 历史, 工序, 派生, 结讫, "
     "结讫时间, 经办人"},
    {"kvc_record_mission",
     "任务号, 货单号, 流水号, 工号, 完成时间, 完成数量, 损耗数量, 工价, 损耗单价, 共计, 结讫, 经办人"},
    {"kvc_record_ship",
     "序列号, 货单号, 客户号, 开票人, 发货人, 发送时间, 款号, 品名, 洗涤方法, 货物数量, 损耗数量, 原版数量, "
     "洗版数量, "
     "货物单价, 经办人, 备注"},
    {"kvc_record_salary", "序列号, 工号, 金额, 起始日期, 截止日期"},
    {"kvc_record_raw_in", "序列号, 名称, 供应商号, 数量, 单价, 金额, 时间, 工号, 经办人"},
    {"kvc_record_raw_out", "序列号, 名称, 客户号, 数量, 时间, 班组, 工号, 经办人"},
    {"kvc_record_quality", "序列号, 客户号, 日期, 数量, 原因, 责任人, 记录人, 经办人, 备注, 处理"},
};

// One simulated history, written to the files of `dir`.
struct Generation {
    Generation(const Master& m, const std::string& dir, Writer::Bases bases, Secs now, std::uint64_t seed,
               Simulator::Profile profile)
        : writer(m, dir, bases), office(m, writer, now, seed + 2), sim(m, writer, office, now, seed, profile)
    {
    }
    Writer writer;
    Office office;
    Simulator sim;
    std::uint64_t orders = 0;
};

// About `perDay` orders a day, received between 8:00 and 20:00, from `firstDay` up to `now`.
void simulate(Generation& g, std::uint64_t firstOrder, Secs firstDay, Secs now, int perDay,
              std::uint64_t seed, bool verbose)
{
    std::mt19937_64 days(seed + 1);
    const int low = perDay - perDay * 2 / 15;
    std::uint64_t id = firstOrder, lastOrders = 0;
    int year = 0, y, m, d;
    toCivil(firstDay, year, m, d);
    std::vector<Secs> received;
    for (Secs day = firstDay; day <= now; day += kDay) {
        toCivil(day, y, m, d);
        if (y != year) {
            if (verbose)
                std::printf("  %d: %llu orders\n", year,
                            static_cast<unsigned long long>(id - firstOrder - lastOrders));
            std::fflush(stdout);
            lastOrders = id - firstOrder;
            year = y;
        }
        const int count = low + static_cast<int>(days() % static_cast<unsigned>(2 * (perDay - low) + 1));
        received.clear();
        for (int i = 0; i < count; ++i)
            received.push_back(day + 8 * kHour + static_cast<Secs>(days() % (12 * kHour)));
        std::sort(received.begin(), received.end());
        for (Secs t : received)
            if (t <= now)
                g.sim.order(id++, t);
        g.office.flush(day + kDay);
        g.writer.flush(day + kDay);
    }
    if (verbose)
        std::printf("  %d: %llu orders\n", year,
                    static_cast<unsigned long long>(id - firstOrder - lastOrders));
    g.orders = id - firstOrder;
}

// The demo shows waiting work at every desk: each workstation, intake, both lists of the
// shipping desk, the orders waiting for activation and the loss registry.
bool lively(const Generation& g, const Master& m)
{
    const Simulator::Tail& t = g.sim.tail();
    for (int s : m.workstations)
        if (t.openAt[static_cast<std::size_t>(s)] == 0)
            return false;
    return t.openAt[static_cast<std::size_t>(m.intake)] > 0 &&
           t.openAt[static_cast<std::size_t>(m.shipping)] > 0 && t.confirmed > 0 && t.waitingOrders > 0 &&
           g.office.lossesOpen() > 0 && g.office.lossesHandled() > 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string nowText, dirBase, database;
    std::uint64_t seed = 20061208;
    bool keep = false, keepKeys = false, load = true, demo = false;
    int perDay = 0;
    double years = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--now" && i + 1 < argc)
            nowText = argv[++i];
        else if (a == "--seed" && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--per-day" && i + 1 < argc)
            perDay = std::atoi(argv[++i]);
        else if (a == "--demo")
            demo = true;
        else if (a == "--dir" && i + 1 < argc)
            dirBase = argv[++i];
        else if (a == "--keep")
            keep = true;
        else if (a == "--keep-keys")
            keepKeys = true;
        else if (a == "--no-load")
            load = false;
        else if (!a.empty() && a[0] == '-')
            return usage();
        else if (database.empty())
            database = a;
        else if (years < 0)
            years = std::atof(a.c_str());
        else
            return usage();
    }
    if (demo && years < 0)
        years = 6 * 7 / 365.25;
    if (perDay == 0)
        perDay = demo ? 40 : 150;
    if (database.empty() || !(years > 0) || years > 50 || perDay < 1 || perDay > 5000)
        return usage();
    // Small tables load faster with their keys kept than rebuilt.
    keepKeys = keepKeys || demo;

    Secs now;
    if (nowText.empty()) {
        const QDateTime t = QDateTime::currentDateTime();
        now = fromCivil(t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(),
                        t.time().second());
    } else if (!parseTime(nowText, now)) {
        return fail("--now wants YYYY-MM-DD hh:mm:ss");
    }

    Connection db;
    const std::string host = env("KV_DB_HOST", "127.0.0.1");
    const unsigned port = static_cast<unsigned>(std::atoi(env("KV_DB_PORT", "3306").c_str()));
    if (!db.open(host, port, env("KV_DB_USER", "kv"), env("KV_DB_PASSWORD", "kv"), database))
        return fail("cannot connect to " + database + " on " + host + ":" + std::to_string(port) + ": " +
                    db.error());

    Master master;
    std::string error;
    if (!loadMaster(db, master, error, false, !demo))
        return fail(error);

    Writer::Bases bases;
    bases.order = nextKey(db, "货单号", "kvc_record_product");
    bases.flow = nextKey(db, "流水号", "kvc_record_procedure");
    bases.mission = nextKey(db, "任务号", "kvc_record_mission");
    bases.ship = nextKey(db, "序列号", "kvc_record_ship");
    bases.salary = nextKey(db, "序列号", "kvc_record_salary");
    bases.purchase = nextKey(db, "序列号", "kvc_record_raw_in");
    bases.issue = nextKey(db, "序列号", "kvc_record_raw_out");
    bases.quality = nextKey(db, "序列号", "kvc_record_quality");

    QTemporaryDir dir(QString::fromStdString(dirBase.empty() ? QDir::tempPath().toStdString() : dirBase) +
                      QStringLiteral("/kvhistory-XXXXXX"));
    if (!dir.isValid())
        return fail("cannot make a folder for the files");
    dir.setAutoRemove(!keep);

    QElapsedTimer total, phase;
    total.start();
    phase.start();
    const Secs firstDay = (now - static_cast<Secs>(years * 365.25 * kDay)) / kDay * kDay;
    std::printf("generating %.2f years of history, %s to %s\n", years,
                timeText(firstDay).substr(0, 10).c_str(), timeText(now).c_str());
    // The demo tries the next seeds until the end of its history has work at every desk.
    std::unique_ptr<Generation> g;
    for (int attempt = 0; attempt < (demo ? 50 : 1); ++attempt) {
        g = std::make_unique<Generation>(master, dir.path().toStdString(), bases, now, seed + 10 * attempt,
                                         demo ? Simulator::Profile{0.03} : Simulator::Profile{});
        if (!g->writer.open())
            return fail("cannot write into " + dir.path().toStdString());
        if (!g->office.prepare(db, error))
            return fail(error);
        simulate(*g, bases.order, firstDay, now, perDay, seed + 10 * attempt, !demo);
        g->sim.writeSalary(bases.salary);
        g->office.flush(now + 1);
        g->writer.flush(now + 1000 * kDay);
        g->writer.close();
        if (!demo || lively(*g, master)) {
            if (attempt > 0)
                std::printf("seed %llu has work waiting at every desk\n",
                            static_cast<unsigned long long>(seed + 10 * attempt));
            break;
        }
    }
    if (demo && !lively(*g, master))
        std::printf("note: some desk has no waiting work at the end of the demo\n");
    const Writer& writer = g->writer;
    std::printf(
        "wrote %llu orders, %llu flows, %llu piece-work rows, %llu shipments, %llu purchases, %llu issues,"
        " %llu losses in %.1f s\n",
        static_cast<unsigned long long>(g->orders), static_cast<unsigned long long>(writer.flowRows()),
        static_cast<unsigned long long>(writer.missionRows()),
        static_cast<unsigned long long>(writer.shipRows()),
        static_cast<unsigned long long>(writer.purchaseRows()),
        static_cast<unsigned long long>(writer.issueRows()),
        static_cast<unsigned long long>(writer.qualityRows()), static_cast<double>(phase.elapsed()) / 1000.0);
    if (keep)
        std::printf("files kept in %s\n", dir.path().toStdString().c_str());
    if (!load)
        return 0;

    phase.restart();
    std::printf("loading\n");
    std::fflush(stdout);
    if (!db.exec("set session unique_checks=0, foreign_key_checks=0"))
        return fail(db.error());
    for (const Table& t : kTables)
        if (!loadFile(db, t.name, t.columns, writer.path(t.name), !keepKeys, error))
            return fail(error);
    for (const auto& [member, amount] : g->sim.settledPay()) {
        char sql[160];
        std::snprintf(sql, sizeof sql, "update kvc_record_member set 累计=累计+%f where 工号=%llu", amount,
                      static_cast<unsigned long long>(member));
        if (!db.exec(sql))
            return fail(db.error());
    }
    if (!g->office.book(db, error))
        return fail(error);
    // Fresh statistics, so that the plans are those of the loaded data from the start.
    std::vector<Row> ignored;
    if (!db.rows(
            "analyze table kvc_record_product, kvc_record_procedure, kvc_record_mission, kvc_record_ship,"
            " kvc_record_salary, kvc_record_client, kvc_record_member, kvc_record_raw, kvc_record_raw_in,"
            " kvc_record_raw_out, kvc_record_quality, kvc_record_supplier",
            ignored))
        return fail(db.error());
    std::printf("loaded in %.1f s\n", static_cast<double>(phase.elapsed()) / 1000.0);

    std::printf("rows now in %s:\n", database.c_str());
    for (const Table& t : kTables)
        std::printf("  %-22s %10llu\n", t.name, db.count(std::string("select count(*) from ") + t.name));
    for (const char* t : {"kvc_record_client", "kvc_record_member", "kvc_record_supplier", "kvc_record_raw"})
        std::printf("  %-22s %10llu\n", t, db.count(std::string("select count(*) from ") + t));
    std::printf(
        "open: %llu orders waiting at intake, %llu released; %llu flows at the stations, %llu at intake,"
        " %llu arrived at shipping, %llu confirmed; %llu piece-work rows unsettled; %llu losses not "
        "handled\n",
        db.count("select count(*) from kvc_record_product where 激活=0 and 结讫=0"),
        db.count("select count(*) from kvc_record_product where 激活=1 and 结讫=0"),
        db.count("select count(*) from kvc_record_procedure where 结讫=0 and 工作站 not in ('接收','发送')"),
        db.count("select count(*) from kvc_record_procedure where 结讫=0 and 工作站='接收'"),
        db.count(
            "select count(*) from kvc_record_procedure where 结讫=0 and 工作站='发送' and 上一站<>'发送'"),
        db.count(
            "select count(*) from kvc_record_procedure where 结讫=0 and 工作站='发送' and 上一站='发送'"),
        db.count("select count(*) from kvc_record_mission where 结讫=0"),
        db.count("select count(*) from kvc_record_quality where 处理=0"));
    std::printf("done in %.1f s\n", static_cast<double>(total.elapsed()) / 1000.0);
    return 0;
}
