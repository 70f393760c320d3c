#include "Loader.h"

#include <QElapsedTimer>
#include <cstdio>
#include <vector>

namespace hist {

namespace {

// "drop key a, drop key b" and "add key a (x, y), add key b (z)" for the table's
// secondary keys, as they stand now.
bool keyClauses(Connection& db, const std::string& table, std::string& drop, std::string& add,
                std::string& error)
{
    std::vector<Row> rows;
    if (!db.rows("select index_name, non_unique, column_name, sub_part from information_schema.statistics"
                 " where table_schema=database() and table_name=" +
                     db.quote(table) + " and index_name<>'PRIMARY' order by index_name, seq_in_index",
                 rows)) {
        error = db.error();
        return false;
    }
    std::string current;
    for (const Row& r : rows) {
        if (r[0] != current) {
            if (!current.empty())
                add += ")";
            current = r[0];
            drop += std::string(drop.empty() ? "" : ", ") + "drop key `" + current + "`";
            add += std::string(add.empty() ? "" : ", ") + (r[1] == "0" ? "add unique key `" : "add key `") +
                   current + "` (";
        } else {
            add += ", ";
        }
        add += "`" + r[2] + "`" + (r[3].empty() ? "" : "(" + r[3] + ")");
    }
    if (!current.empty())
        add += ")";
    return true;
}

}  // namespace

bool loadFile(Connection& db, const std::string& table, const std::string& columns, const std::string& path,
              bool dropKeys, std::string& error)
{
    QElapsedTimer clock;
    clock.start();
    std::string drop, add;
    if (dropKeys) {
        if (!keyClauses(db, table, drop, add, error))
            return false;
        if (!drop.empty() && !db.exec("alter table " + table + " " + drop)) {
            error = db.error();
            return false;
        }
    }
    const bool loaded = db.exec("load data local infile " + db.quote(path) + " into table " + table +
                                " character set utf8mb4 fields terminated by '\\t' escaped by '\\\\'"
                                " lines terminated by '\\n' (" +
                                columns + ")");
    if (!loaded)
        error = db.error();
    const unsigned warnings = loaded ? db.warnings() : 0;
    std::vector<Row> shown;
    if (warnings > 0 && db.rows("show warnings limit 3", shown))
        for (const Row& w : shown)
            std::fprintf(stderr, "  warning: %s\n", w.size() > 2 ? w[2].c_str() : "");
    const double loadSeconds = static_cast<double>(clock.elapsed()) / 1000.0;
    // The keys come back even when the load failed, so the table keeps its shape.
    if (!add.empty()) {
        clock.restart();
        if (!db.exec("alter table " + table + " " + add)) {
            error += (error.empty() ? "" : "; ") + db.error();
            return false;
        }
        std::printf("  %-22s loaded in %6.1f s, keys built in %5.1f s\n", table.c_str(), loadSeconds,
                    static_cast<double>(clock.elapsed()) / 1000.0);
    } else {
        std::printf("  %-22s loaded in %6.1f s\n", table.c_str(), loadSeconds);
    }
    std::fflush(stdout);
    if (loaded && warnings > 0) {
        error = table + ": " + std::to_string(warnings) + " warnings while loading";
        return false;
    }
    return loaded;
}

}  // namespace hist
