#include "db/MysqlResult.h"
#include "support/TestCluster.h"

#include <gtest/gtest.h>
#include <mysql.h>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

// The cluster fixture itself, through the plain C API: three synced nodes that each take writes
// which every other node reads at once under causal reads.
namespace {

struct CloseMysql {
    void operator()(MYSQL* m) const { mysql_close(m); }
};
using Connection = std::unique_ptr<MYSQL, CloseMysql>;

Connection connectTo(int port)
{
    MYSQL* m = mysql_init(nullptr);
    const unsigned timeout = 10;
    mysql_options(m, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    mysql_options(m, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(m, "127.0.0.1", "kv", "kv", nullptr, static_cast<unsigned>(port), nullptr, 0)) {
        ADD_FAILURE() << "node on port " << port << ": " << mysql_error(m);
        mysql_close(m);
        return nullptr;
    }
    return Connection(m);
}

bool exec(MYSQL* m, const std::string& sql)
{
    if (mysql_query(m, sql.c_str()) == 0)
        return true;
    ADD_FAILURE() << sql << ": " << mysql_error(m);
    return false;
}

// The first column of every row.
std::vector<std::string> column(MYSQL* m, const std::string& sql)
{
    std::vector<std::string> out;
    if (!exec(m, sql))
        return out;
    const MysqlResult r(mysql_store_result(m));
    if (!r)
        return out;
    while (MYSQL_ROW row = mysql_fetch_row(r.get()))
        out.emplace_back(row[0] ? row[0] : "NULL");
    return out;
}

std::string scalar(MYSQL* m, const std::string& sql)
{
    const std::vector<std::string> v = column(m, sql);
    return v.empty() ? std::string() : v.front();
}

std::string status(MYSQL* m, const std::string& name)
{
    return scalar(
        m, "select variable_value from information_schema.global_status where variable_name='" + name + "'");
}

}  // namespace

TEST(ClusterSmokeTest, EveryNodeTakesWritesThatTheOthersReadAtOnce)
{
    const QList<int> ports = kvtest::clusterPorts();
    ASSERT_EQ(ports.size(), 3) << "no cluster: run the tests through ctest (./test)";
    std::vector<Connection> nodes;
    std::vector<std::string> names;
    for (const int port : ports) {
        nodes.push_back(connectTo(port));
        ASSERT_TRUE(nodes.back());
        MYSQL* m = nodes.back().get();
        EXPECT_EQ(status(m, "WSREP_LOCAL_STATE_COMMENT"), "Synced") << "port " << port;
        EXPECT_EQ(status(m, "WSREP_CLUSTER_SIZE"), "3") << "port " << port;
        names.push_back(scalar(m, "select @@wsrep_node_name"));
        ASSERT_TRUE(exec(m, "set session wsrep_sync_wait=1"));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"node1", "node2", "node3"}));

    const std::string db = "kvc_" + std::to_string(getpid());
    MYSQL* first = nodes.front().get();
    ASSERT_TRUE(exec(first, "drop database if exists " + db));
    ASSERT_TRUE(exec(first, "create database " + db + " character set gbk collate gbk_chinese_ci"));
    ASSERT_TRUE(
        exec(first, "create table " + db +
                        ".t (id int auto_increment primary key, name varchar(20) not null) engine=InnoDB"));
    std::vector<std::string> written;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const std::string name = "洗水" + std::to_string(i + 1);
        ASSERT_TRUE(exec(nodes[i].get(), "insert into " + db + ".t (name) values ('" + name + "')"));
        written.push_back(name);
        for (size_t j = 0; j < nodes.size(); ++j)
            EXPECT_EQ(column(nodes[j].get(), "select name from " + db + ".t order by id"), written)
                << "written on node" << i + 1 << ", read on node" << j + 1;
    }
    exec(first, "drop database " + db);
}
