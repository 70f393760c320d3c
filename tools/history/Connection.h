#pragma once

#include <mysql.h>
#include <string>
#include <vector>

namespace hist {

using Row = std::vector<std::string>;  // a NULL cell reads as empty

// A plain UTF-8 connection for the loader; it may send local files (LOAD DATA LOCAL).
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool open(const std::string& host, unsigned port, const std::string& user, const std::string& password,
              const std::string& database);
    bool exec(const std::string& sql);
    bool rows(const std::string& sql, std::vector<Row>& out);
    std::string scalar(const std::string& sql);  // first cell, empty when none
    unsigned long long count(const std::string& sql);
    std::string quote(const std::string& text);  // escaped, inside single quotes
    unsigned warnings();
    std::string error() const { return error_; }

private:
    MYSQL* mysql_ = nullptr;
    std::string error_;
};

}  // namespace hist
