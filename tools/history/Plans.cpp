// kvplans [--runs N] DBNAME [NAME...]: for each statement the screens send (PlanCases), the key
// each table is read by, the rows the server examined, the rows returned and the median time of
// N runs fetched as the client fetches (whole result stored). Writes run once inside a
// transaction that is rolled back. NAME picks cases by the start of their names.
// The server is the one KV_DB_HOST, KV_DB_PORT, KV_DB_USER and KV_DB_PASSWORD name.
#include "PlanCases.h"
#include "db/mySQLTool.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Access {
    std::string text;  // table:key or table:ALL
    double examined = 0;
};

QString env(const char* name, const char* fallback)
{
    const char* v = std::getenv(name);
    return QString::fromLocal8Bit(v && *v ? v : fallback);
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

}  // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    QString database;
    QStringList names;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (database.isEmpty())
            database = a;
        else
            names.append(a);
    }
    if (database.isEmpty()) {
        std::fprintf(stderr, "usage: kvplans [--runs N] DBNAME [NAME...]\n");
        return 2;
    }
    mySQLTool db;
    if (!db.Connect(env("KV_DB_HOST", "127.0.0.1"), env("KV_DB_PORT", "3306").toInt(), database,
                    env("KV_DB_USER", "kv"), env("KV_DB_PASSWORD", "kv"))) {
        std::fprintf(stderr, "kvplans: %s\n", qPrintable(db.GetError()));
        return 1;
    }
    const plans::Values values = plans::draw(db);

    std::printf("%-34s %-64s %12s %9s %9s\n", "statement", "read by", "examined", "returned", "ms");
    for (const plans::Case& c : plans::cases()) {
        if (!names.isEmpty() &&
            std::none_of(names.begin(), names.end(), [&](const QString& n) { return c.name.startsWith(n); }))
            continue;
        const Statement statement = c.make(db, values);
        const std::string name = c.name.toStdString();
        if (c.write && !db.Begin()) {
            std::printf("%-34s failed: %s\n", name.c_str(), qPrintable(db.GetError()));
            continue;
        }
        const Rows plan = db.Read(Statement::fromBytes("analyze format=json " + statement.sql()));
        if (c.write)
            db.Rollback();
        if (!plan || plan.empty()) {
            std::printf("%-34s failed: %s\n", name.c_str(), qPrintable(plan.error()));
            continue;
        }
        const QJsonDocument json = QJsonDocument::fromJson(plan.first().text(0).toUtf8());
        std::vector<Access> access;
        walk(json.object(), access);
        std::string readBy;
        double examined = 0;
        for (const Access& a : access) {
            readBy += (readBy.empty() ? "" : " ") + a.text;
            examined += a.examined;
        }
        double ms = json.object().value("query_block").toObject().value("r_total_time_ms").toDouble();
        quint64 returned = 0;
        if (!c.write) {
            std::vector<double> times;
            for (int i = 0; i < runs; ++i) {
                QElapsedTimer t;
                t.start();
                const Rows rows = db.Read(statement);
                if (!rows) {
                    std::fprintf(stderr, "%s: %s\n", name.c_str(), qPrintable(rows.error()));
                    break;
                }
                times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
                returned = rows.total();
            }
            if (!times.empty()) {
                std::sort(times.begin(), times.end());
                ms = times[times.size() / 2];
            }
        }
        std::printf("%-34s %-64s %12.0f %9llu %9.2f\n", name.c_str(), readBy.c_str(), examined,
                    static_cast<unsigned long long>(returned), ms);
        std::fflush(stdout);
    }
    return 0;
}
