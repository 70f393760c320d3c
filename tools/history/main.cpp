// kvhistory [--now TIME] [--seed N] [--dir DIR] [--keep] [--keep-keys] [--no-load] DBNAME YEARS
//
// Fills DBNAME with a synthetic history of a large factory that ends at TIME (default: now):
// about 150 orders a day through intake, the stations and shipping, with splits, losses,
// piece-work and shipments, and the open tail of the last days. The rows are written to
// tab-separated files and loaded with LOAD DATA LOCAL INFILE. The server is the one the
// variables KV_DB_HOST, KV_DB_PORT, KV_DB_USER and KV_DB_PASSWORD name.
#include "Clock.h"
#include "Connection.h"
#include "Loader.h"
#include "Master.h"
#include "Simulator.h"
#include "Writer.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
        "usage: kvhistory [--now 'YYYY-MM-DD hh:mm:ss'] [--seed N] [--dir DIR] [--keep] [--keep-keys]"
        " [--no-load] DBNAME YEARS\n");
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
};

}  // namespace

int main(int argc, char** argv)
{
    std::string nowText, dirBase, database;
    std::uint64_t seed = 20061208;
    bool keep = false, keepKeys = false, load = true;
    double years = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--now" && i + 1 < argc)
            nowText = argv[++i];
        else if (a == "--seed" && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
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
    if (database.empty() || !(years > 0) || years > 50)
        return usage();

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
    if (!loadMaster(db, master, error, false))
        return fail(error);

    Writer::Bases bases;
    bases.order = nextKey(db, "货单号", "kvc_record_product");
    bases.flow = nextKey(db, "流水号", "kvc_record_procedure");
    bases.mission = nextKey(db, "任务号", "kvc_record_mission");
    bases.ship = nextKey(db, "序列号", "kvc_record_ship");
    bases.salary = nextKey(db, "序列号", "kvc_record_salary");

    QTemporaryDir dir(QString::fromStdString(dirBase.empty() ? QDir::tempPath().toStdString() : dirBase) +
                      QStringLiteral("/kvhistory-XXXXXX"));
    if (!dir.isValid())
        return fail("cannot make a folder for the files");
    dir.setAutoRemove(!keep);
    Writer writer(master, dir.path().toStdString(), bases);
    if (!writer.open())
        return fail("cannot write into " + dir.path().toStdString());

    QElapsedTimer total, phase;
    total.start();
    phase.start();
    Simulator sim(master, writer, now, seed);
    std::mt19937_64 days(seed + 1);
    const Secs firstDay = (now - static_cast<Secs>(years * 365.25 * kDay)) / kDay * kDay;
    std::uint64_t id = bases.order, lastOrders = 0;
    int year = 0, y, m, d;
    toCivil(firstDay, year, m, d);
    std::printf("generating %.2f years of history, %s to %s\n", years,
                timeText(firstDay).substr(0, 10).c_str(), timeText(now).c_str());
    std::vector<Secs> received;
    for (Secs day = firstDay; day <= now; day += kDay) {
        toCivil(day, y, m, d);
        if (y != year) {
            std::printf("  %d: %llu orders\n", year,
                        static_cast<unsigned long long>(id - bases.order - lastOrders));
            std::fflush(stdout);
            lastOrders = id - bases.order;
            year = y;
        }
        const int count = 130 + static_cast<int>(days() % 41);
        received.clear();
        for (int i = 0; i < count; ++i)
            received.push_back(day + 8 * kHour + static_cast<Secs>(days() % (12 * kHour)));
        std::sort(received.begin(), received.end());
        for (Secs t : received)
            if (t <= now)
                sim.order(id++, t);
        writer.flush(day + kDay);
    }
    std::printf("  %d: %llu orders\n", year, static_cast<unsigned long long>(id - bases.order - lastOrders));
    sim.writeSalary(bases.salary);
    writer.flush(now + 1000 * kDay);
    writer.close();
    std::printf(
        "wrote %llu orders, %llu flows, %llu piece-work rows, %llu shipments in %.1f s\n",
        static_cast<unsigned long long>(id - bases.order), static_cast<unsigned long long>(writer.flowRows()),
        static_cast<unsigned long long>(writer.missionRows()),
        static_cast<unsigned long long>(writer.shipRows()), static_cast<double>(phase.elapsed()) / 1000.0);
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
    for (const auto& [member, amount] : sim.settledPay()) {
        char sql[160];
        std::snprintf(sql, sizeof sql, "update kvc_record_member set 累计=累计+%f where 工号=%llu", amount,
                      static_cast<unsigned long long>(member));
        if (!db.exec(sql))
            return fail(db.error());
    }
    // Fresh statistics, so that the plans are those of the loaded data from the start.
    std::vector<Row> ignored;
    if (!db.rows(
            "analyze table kvc_record_product, kvc_record_procedure, kvc_record_mission, kvc_record_ship,"
            " kvc_record_salary, kvc_record_client, kvc_record_member",
            ignored))
        return fail(db.error());
    std::printf("loaded in %.1f s\n", static_cast<double>(phase.elapsed()) / 1000.0);

    std::printf("rows now in %s:\n", database.c_str());
    for (const Table& t : kTables)
        std::printf("  %-22s %10llu\n", t.name, db.count(std::string("select count(*) from ") + t.name));
    std::printf("  %-22s %10llu\n", "kvc_record_client", db.count("select count(*) from kvc_record_client"));
    std::printf("  %-22s %10llu\n", "kvc_record_member", db.count("select count(*) from kvc_record_member"));
    std::printf(
        "open: %llu orders waiting at intake, %llu released; %llu flows at the stations, %llu at intake,"
        " %llu arrived at shipping, %llu confirmed; %llu piece-work rows unsettled\n",
        db.count("select count(*) from kvc_record_product where 激活=0 and 结讫=0"),
        db.count("select count(*) from kvc_record_product where 激活=1 and 结讫=0"),
        db.count("select count(*) from kvc_record_procedure where 结讫=0 and 工作站 not in ('接收','发送')"),
        db.count("select count(*) from kvc_record_procedure where 结讫=0 and 工作站='接收'"),
        db.count(
            "select count(*) from kvc_record_procedure where 结讫=0 and 工作站='发送' and 上一站<>'发送'"),
        db.count(
            "select count(*) from kvc_record_procedure where 结讫=0 and 工作站='发送' and 上一站='发送'"),
        db.count("select count(*) from kvc_record_mission where 结讫=0"));
    std::printf("done in %.1f s\n", static_cast<double>(total.elapsed()) / 1000.0);
    return 0;
}
