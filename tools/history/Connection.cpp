#include "Connection.h"

#include "db/MysqlResult.h"

#include <cstdlib>

namespace hist {

Connection::~Connection()
{
    if (mysql_)
        mysql_close(mysql_);
}

bool Connection::open(const std::string& host, unsigned port, const std::string& user,
                      const std::string& password, const std::string& database)
{
    mysql_ = mysql_init(nullptr);
    unsigned local = 1;
    mysql_options(mysql_, MYSQL_OPT_LOCAL_INFILE, &local);
    mysql_options(mysql_, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(mysql_, host.c_str(), user.c_str(), password.c_str(), database.c_str(), port,
                            nullptr, 0)) {
        error_ = mysql_error(mysql_);
        return false;
    }
    return true;
}

bool Connection::exec(const std::string& sql)
{
    if (mysql_real_query(mysql_, sql.data(), static_cast<unsigned long>(sql.size())) != 0) {
        error_ = std::string(mysql_error(mysql_)) + "\n  in: " + sql.substr(0, 300);
        return false;
    }
    // A result nobody reads is freed at once.
    const MysqlResult unread(mysql_store_result(mysql_));
    return true;
}

bool Connection::rows(const std::string& sql, std::vector<Row>& out)
{
    out.clear();
    if (mysql_real_query(mysql_, sql.data(), static_cast<unsigned long>(sql.size())) != 0) {
        error_ = std::string(mysql_error(mysql_)) + "\n  in: " + sql.substr(0, 300);
        return false;
    }
    const MysqlResult r(mysql_store_result(mysql_));
    if (!r) {
        error_ = mysql_error(mysql_);
        return mysql_field_count(mysql_) == 0;
    }
    const unsigned n = mysql_num_fields(r.get());
    while (MYSQL_ROW row = mysql_fetch_row(r.get())) {
        unsigned long* lengths = mysql_fetch_lengths(r.get());
        Row cells(n);
        for (unsigned i = 0; i < n; ++i)
            if (row[i])
                cells[i].assign(row[i], lengths[i]);
        out.push_back(std::move(cells));
    }
    return true;
}

std::string Connection::scalar(const std::string& sql)
{
    std::vector<Row> r;
    if (!rows(sql, r) || r.empty() || r[0].empty())
        return std::string();
    return r[0][0];
}

unsigned long long Connection::count(const std::string& sql)
{
    return std::strtoull(scalar(sql).c_str(), nullptr, 10);
}

std::string Connection::quote(const std::string& text)
{
    std::string out(text.size() * 2 + 3, '\0');
    out[0] = '\'';
    const unsigned long n = mysql_real_escape_string(mysql_, out.data() + 1, text.data(),
                                                     static_cast<unsigned long>(text.size()));
    out.resize(n + 1);
    out.push_back('\'');
    return out;
}

unsigned Connection::warnings()
{
    return mysql_warning_count(mysql_);
}

}  // namespace hist
