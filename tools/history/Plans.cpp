// kvplans [--runs N] DBNAME [FILE]: for each statement of FILE (default plans.sql beside the
// sources), the key each table is read by, the rows the server examined, the rows returned
// and the median time of N runs fetched as the client fetches (whole result stored).
// Updates run once inside a transaction that is rolled back.
// The server is the one KV_DB_HOST, KV_DB_PORT, KV_DB_USER and KV_DB_PASSWORD name.
#include "Connection.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace hist;

namespace {

struct Entry {
    std::string name;
    std::string sql;
};

struct Access {
    std::string text;  // table:key or table:ALL
    double examined = 0;
};

std::string env(const char* name, const char* fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

std::vector<Entry> parse(const QByteArray& text)
{
    std::vector<Entry> out;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("-- @")) {
            out.push_back({line.mid(4).trimmed().toStdString(), std::string()});
        } else if (!out.empty() && !line.isEmpty() && !line.startsWith("--")) {
            out.back().sql += (out.back().sql.empty() ? "" : " ") + line.toStdString();
        }
    }
    for (Entry& e : out)
        while (!e.sql.empty() && (e.sql.back() == ';' || e.sql.back() == ' '))
            e.sql.pop_back();
    return out;
}

// Every table the plan reads, with its key and the rows it examined over all loops.
void walk(const QJsonValue& v, std::vector<Access>& out)
{
    if (v.isArray()) {
        for (const QJsonValue& x : v.toArray())
            walk(x, out);
        return;
    }
    if (!v.isObject())
        return;
    const QJsonObject o = v.toObject();
    if (o.contains("table_name")) {
        Access a;
        const std::string type = o.value("access_type").toString().toStdString();
        const std::string key = o.value("key").toString().toStdString();
        a.text = o.value("table_name").toString().toStdString() + ":" + (key.empty() ? type : key);
        if (type == "ALL" || type == "index")
            a.text += "(" + type + ")";
        a.examined = o.value("r_loops").toDouble(1) * o.value("r_rows").toDouble(0);
        out.push_back(a);
    }
    for (auto it = o.begin(); it != o.end(); ++it)
        walk(it.value(), out);
}

std::string substitute(std::string sql, const std::map<std::string, std::string>& values)
{
    for (const auto& [k, v] : values) {
        const std::string token = "{" + k + "}";
        for (std::size_t at; (at = sql.find(token)) != std::string::npos;)
            sql.replace(at, token.size(), v);
    }
    return sql;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    std::string database, file = KV_PLANS_FILE;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (positional == 0 && ++positional)
            database = a;
        else if (positional == 1 && ++positional)
            file = a;
    }
    if (database.empty()) {
        std::fprintf(stderr, "usage: kvplans [--runs N] DBNAME [FILE]\n");
        return 2;
    }
    QFile f(QString::fromStdString(file));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kvplans: cannot read %s\n", file.c_str());
        return 1;
    }
    const std::vector<Entry> entries = parse(f.readAll());

    Connection db;
    if (!db.open(env("KV_DB_HOST", "127.0.0.1"),
                 static_cast<unsigned>(std::atoi(env("KV_DB_PORT", "3306").c_str())), env("KV_DB_USER", "kv"),
                 env("KV_DB_PASSWORD", "kv"), database)) {
        std::fprintf(stderr, "kvplans: %s\n", db.error().c_str());
        return 1;
    }

    // Values from the data itself, so the statements ask what a desk would ask.
    std::map<std::string, std::string> v;
    v["today"] = db.scalar("select left(max(生成时间), 10) from kvc_record_procedure");
    v["month"] = v["today"].substr(0, 7) + "-01";
    v["lastmonth"] =
        db.scalar("select date_format(" + db.quote(v["month"]) + " - interval 1 month, '%Y-%m-01')");
    v["tomorrow"] =
        db.scalar("select date_format(" + db.quote(v["today"]) + " + interval 1 day, '%Y-%m-%d')");
    v["yearago"] =
        db.scalar("select date_format(" + db.quote(v["month"]) + " - interval 1 year, '%Y-%m-01')");
    v["station"] = "洗水";
    v["order_shipping"] = db.scalar(
        "select max(货单号) from kvc_record_procedure where 工作站='发送' and 上一站<>'发送' and 结讫=0");
    v["order_open"] =
        db.scalar("select max(货单号) from kvc_record_procedure where 工作站='洗水' and 结讫=0");
    v["order_old"] = db.scalar("select (min(货单号) + max(货单号)) div 2 from kvc_record_product");
    v["flow"] = db.scalar("select max(流水号) from kvc_record_procedure where 工作站='洗水' and 结讫=0");
    v["flow_old"] = db.scalar("select min(流水号) from kvc_record_procedure where 货单号=" + v["order_old"] +
                              " and 结讫=1 and 工作站='洗水'");
    v["member"] = db.scalar("select min(工号) from kvc_record_member where 班组='洗水组' and 激活=1");
    v["client"] =
        db.scalar("select 客户号 from kvc_record_product group by 客户号 order by count(*) desc limit 1");
    v["method"] = db.scalar("select 洗涤方法 from kvc_record_product where 激活=1 and 结讫=0 limit 1");
    v["tech"] = "石磨";
    v["process"] = "石磨工序";
    v["account"] = "洗水班长";

    std::printf("%-34s %-64s %12s %9s %9s\n", "statement", "read by", "examined", "returned", "ms");
    for (const Entry& e : entries) {
        const std::string sql = substitute(e.sql, v);
        const bool write = sql.compare(0, 6, "update") == 0;
        std::vector<Row> plan;
        if (write && !db.exec("begin")) {
            std::fprintf(stderr, "%s: %s\n", e.name.c_str(), db.error().c_str());
            continue;
        }
        const bool analysed = db.rows("analyze format=json " + sql, plan);
        if (write)
            db.exec("rollback");
        if (!analysed || plan.empty()) {
            std::printf("%-34s failed: %s\n", e.name.c_str(), db.error().c_str());
            continue;
        }
        const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(plan[0][0]));
        std::vector<Access> access;
        walk(json.object(), access);
        std::string readBy;
        double examined = 0;
        for (const Access& a : access) {
            readBy += (readBy.empty() ? "" : " ") + a.text;
            examined += a.examined;
        }
        double ms = json.object().value("query_block").toObject().value("r_total_time_ms").toDouble();
        std::size_t returned = 0;
        if (!write) {
            std::vector<double> times;
            std::vector<Row> rows;
            for (int i = 0; i < runs; ++i) {
                QElapsedTimer t;
                t.start();
                if (!db.rows(sql, rows)) {
                    std::fprintf(stderr, "%s: %s\n", e.name.c_str(), db.error().c_str());
                    break;
                }
                times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
            }
            returned = rows.size();
            if (!times.empty()) {
                std::sort(times.begin(), times.end());
                ms = times[times.size() / 2];
            }
        }
        std::printf("%-34s %-64s %12.0f %9zu %9.2f\n", e.name.c_str(), readBy.c_str(), examined, returned,
                    ms);
        std::fflush(stdout);
    }
    return 0;
}
