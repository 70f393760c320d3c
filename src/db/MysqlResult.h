#pragma once

#include <mysql.h>
#include <memory>

// A result set that frees itself, whichever way its reader leaves.
struct MysqlResultFree {
    void operator()(MYSQL_RES* r) const { mysql_free_result(r); }
};
using MysqlResult = std::unique_ptr<MYSQL_RES, MysqlResultFree>;
