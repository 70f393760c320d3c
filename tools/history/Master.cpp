#include "Master.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace hist {

namespace {

const char* const kCities[] = {"广州", "佛山", "东莞", "中山", "深圳", "增城", "江门", "惠州",
                               "清远", "肇庆", "珠海", "汕头", "潮州", "揭阳", "韶关", "河源"};
const char* const kWords[] = {"天成", "华美", "永盛", "金牛", "宏达", "恒丰", "新潮",
                              "丽人", "雅致", "锦绣", "盛世", "蓝天", "骏马", "红棉"};
const char* const kSuffixes[] = {"制衣厂", "服饰有限公司", "牛仔服装厂", "时装公司", "服装厂"};
const char* const kSurnames[] = {"陈", "李", "王", "张", "刘", "黄", "周", "吴", "郑", "孙", "何", "林",
                                 "罗", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹", "彭", "曾",
                                 "萧", "田", "潘", "袁", "蔡", "蒋", "余", "杜", "叶", "程", "魏", "苏"};
const char* const kGiven[] = {"伟",   "芳",   "娜",   "敏",   "静",   "强",   "磊",   "军",
                              "洋",   "勇",   "艳",   "杰",   "娟",   "涛",   "明",   "超",
                              "秀英", "华",   "平",   "刚",   "桂英", "建国", "海燕", "志强",
                              "春梅", "小红", "国华", "文斌", "丽娟", "永强", "金凤", "德明"};

constexpr int kClients = 60;
constexpr int kTeamSize = 8;
constexpr int kWashingTeam = 20;  // every order passes the washing station
constexpr int kTransport = 4;
constexpr int kDispatch = 3;

template <typename T, std::size_t N>
constexpr std::size_t size(const T (&)[N])
{
    return N;
}

bool column(Connection& db, const std::string& sql, std::vector<std::string>& out, std::string& error)
{
    std::vector<Row> rows;
    if (!db.rows(sql, rows)) {
        error = db.error();
        return false;
    }
    out.clear();
    for (const Row& r : rows)
        out.push_back(r[0]);
    return true;
}

std::uint64_t toId(const std::string& s)
{
    return std::strtoull(s.c_str(), nullptr, 10);
}

bool topUpClients(Connection& db, std::string& error)
{
    std::vector<std::string> names;
    if (!column(db, "select 名称 from kvc_record_client", names, error))
        return false;
    std::set<std::string> taken(names.begin(), names.end());
    long active = static_cast<long>(db.count("select count(*) from kvc_record_client where 激活=1"));
    std::size_t i = 0;
    const std::size_t all = size(kCities) * size(kWords) * size(kSuffixes);
    for (; active < kClients && i < all; ++i) {
        const std::string name = std::string(kCities[i % size(kCities)]) +
                                 kWords[i / size(kCities) % size(kWords)] +
                                 kSuffixes[i / size(kCities) / size(kWords) % size(kSuffixes)];
        if (!taken.insert(name).second)
            continue;
        if (!db.exec("insert into kvc_record_client (名称, 说明, 激活) values (" + db.quote(name) + ", " +
                     db.quote("老客户") + ", 1)")) {
            error = db.error();
            return false;
        }
        ++active;
    }
    return true;
}

// Adds members with a role and team until `want` active ones exist.
bool topUpMembers(Connection& db, const std::string& role, const std::string& team, bool byTeam, int want,
                  std::set<std::string>& names, std::size_t& nameIndex, std::string& error)
{
    const std::string where = byTeam ? "班组=" + db.quote(team) : "身份=" + db.quote(role);
    long have =
        static_cast<long>(db.count("select count(*) from kvc_record_member where 激活=1 and " + where));
    const std::size_t all = size(kSurnames) * size(kGiven);
    while (have < want && nameIndex < all) {
        const std::size_t i = nameIndex++;
        const std::string name =
            std::string(kSurnames[(i * 7) % size(kSurnames)]) + kGiven[i / size(kSurnames)];
        if (!names.insert(name).second)
            continue;
        if (!db.exec("insert into kvc_record_member (姓名, 身份, 班组, 激活) values (" + db.quote(name) +
                     ", " + db.quote(role) + ", " + db.quote(team) + ", 1)")) {
            error = db.error();
            return false;
        }
        ++have;
    }
    return true;
}

bool topUpPeople(Connection& db, const std::vector<std::string>& workstations, std::string& error)
{
    if (!topUpClients(db, error))
        return false;
    std::vector<std::string> existing, groups;
    if (!column(db, "select 姓名 from kvc_record_member", existing, error) ||
        !column(db, "select 班组名称 from kvc_attrib_group", groups, error))
        return false;
    std::set<std::string> names(existing.begin(), existing.end());
    std::size_t nameIndex = 0;
    for (const std::string& s : workstations) {
        const std::string team = s + "组";
        if (std::find(groups.begin(), groups.end(), team) == groups.end())
            continue;
        const int want = s == "洗水" ? kWashingTeam : kTeamSize;
        if (!topUpMembers(db, "员工", team, true, want, names, nameIndex, error))
            return false;
    }
    const std::string transportTeam =
        std::find(groups.begin(), groups.end(), "运输组") != groups.end() ? "运输组" : "";
    const std::string office =
        std::find(groups.begin(), groups.end(), "办公室") != groups.end() ? "办公室" : "";
    return topUpMembers(db, "运输", transportTeam, false, kTransport, names, nameIndex, error) &&
           topUpMembers(db, "调度", office, false, kDispatch, names, nameIndex, error);
}

}  // namespace

int Master::station(const std::string& name) const
{
    for (std::size_t i = 0; i < stations.size(); ++i)
        if (stations[i] == name)
            return static_cast<int>(i);
    return -1;
}

bool loadMaster(Connection& db, Master& m, std::string& error, bool quiet, bool topUp)
{
    if (!column(db, "select 名称 from kvc_attrib_station", m.stations, error))
        return false;
    m.intake = m.station("接收");
    m.shipping = m.station("发送");
    m.washing = m.station("洗水");
    if (m.intake < 0 || m.shipping < 0 || m.washing < 0) {
        error = "kvc_attrib_station must hold 接收, 发送 and 洗水 (load sql/seed.sql)";
        return false;
    }
    std::vector<std::string> workNames;
    for (std::size_t i = 0; i < m.stations.size(); ++i)
        if (static_cast<int>(i) != m.intake && static_cast<int>(i) != m.shipping) {
            m.workstations.push_back(static_cast<int>(i));
            workNames.push_back(m.stations[i]);
        }

    std::vector<Row> rows;
    if (!db.rows("select 名称, 工作站, 工价 from kvc_attrib_process", rows)) {
        error = db.error();
        return false;
    }
    m.processesOf.assign(m.stations.size(), {});
    for (const Row& r : rows) {
        const int s = m.station(r[1]);
        if (s < 0 || s == m.intake || s == m.shipping)
            continue;
        m.processesOf[static_cast<std::size_t>(s)].push_back(static_cast<int>(m.processes.size()));
        m.processes.push_back({r[0], std::atof(r[2].c_str())});
    }
    if (m.processes.empty()) {
        error = "kvc_attrib_process holds no process steps of a station (load sql/demo.sql)";
        return false;
    }
    for (const Process& p : m.processes)
        m.actions.push_back(p.name);
    m.forward = static_cast<int>(m.actions.size());
    m.actions.push_back("转发");
    m.refuse = static_cast<int>(m.actions.size());
    m.actions.push_back("拒绝");
    m.confirm = static_cast<int>(m.actions.size());
    m.actions.push_back("确认");

    if (!db.rows("select 名称, 类型, 价格 from kvc_attrib_technology", rows)) {
        error = db.error();
        return false;
    }
    for (const Row& r : rows)
        m.technologies.push_back({r[0], r[1], std::atof(r[2].c_str())});
    if (m.technologies.empty()) {
        error = "kvc_attrib_technology is empty (load sql/demo.sql)";
        return false;
    }

    if (!column(db, "select 货物属性 from kvc_attrib_nature", m.natures, error) ||
        !column(db, "select 货物类型 from kvc_attrib_type", m.types, error) ||
        !column(db, "select 货物款式 from kvc_attrib_kind", m.kinds, error) ||
        !column(db, "select 货物性别 from kvc_attrib_sex", m.sexes, error) ||
        !column(db, "select 货物等级 from kvc_attrib_priority", m.priorities, error))
        return false;
    if (m.natures.empty() || m.types.empty() || m.kinds.empty() || m.sexes.empty() || m.priorities.empty()) {
        error = "the choice lists are empty (load sql/seed.sql)";
        return false;
    }

    // Only now, with everything else in place, so that a refused run writes nothing.
    const long before = static_cast<long>(db.count("select count(*) from kvc_record_member") +
                                          db.count("select count(*) from kvc_record_client"));
    if (topUp && !topUpPeople(db, workNames, error))
        return false;
    const long after = static_cast<long>(db.count("select count(*) from kvc_record_member") +
                                         db.count("select count(*) from kvc_record_client"));
    if (!quiet && after > before)
        std::printf("added %ld customers and employees to make a large factory\n", after - before);

    std::vector<std::string> ids;
    if (!column(db, "select 客户号 from kvc_record_client where 激活=1 order by 客户号", ids, error))
        return false;
    for (const std::string& id : ids)
        m.clients.push_back(toId(id));
    if (!column(db, "select 姓名 from kvc_record_member where 身份='运输' and 激活=1", m.transport, error) ||
        !column(db, "select 姓名 from kvc_record_member where 身份='调度' and 激活=1", m.dispatch, error) ||
        !column(db, "select 工号 from kvc_record_member where 身份='调度' and 激活=1", ids, error))
        return false;
    for (const std::string& id : ids)
        m.dispatchIds.push_back(toId(id));
    std::vector<Row> members;
    if (!db.rows("select 工号, 姓名 from kvc_record_member", members)) {
        error = db.error();
        return false;
    }
    for (const Row& r : members)
        m.names[toId(r[0])] = r[1];
    m.teamOf.assign(m.stations.size(), {});
    for (int s : m.workstations) {
        if (!column(db,
                    "select 工号 from kvc_record_member where 激活=1 and 班组=" +
                        db.quote(m.stations[static_cast<std::size_t>(s)] + "组") + " order by 工号",
                    ids, error))
            return false;
        for (const std::string& id : ids)
            m.teamOf[static_cast<std::size_t>(s)].push_back(toId(id));
    }

    // 经办人: the account of the desk that acts.
    auto account = [&](const std::string& role, const std::string& fallback) {
        const std::string a = db.scalar("select 账号 from kvc_record_user where 权限=" + db.quote(role) +
                                        " order by 序列号 limit 1");
        m.accounts.push_back(a.empty() ? fallback : a);
        return static_cast<int>(m.accounts.size()) - 1;
    };
    m.intakeAccount = account("调度", "admin");
    m.shippingAccount = m.intakeAccount;
    m.stationAccount.assign(m.stations.size(), m.intakeAccount);
    for (int s : m.workstations)
        m.stationAccount[static_cast<std::size_t>(s)] =
            account(m.stations[static_cast<std::size_t>(s)] + "班长",
                    m.accounts[static_cast<std::size_t>(m.intakeAccount)]);

    const std::string price = db.scalar("select 内容 from kvc_attrib_mod where 名称='损耗单价'");
    if (!price.empty())
        m.lossPrice = std::atof(price.c_str());
    if (m.clients.empty() || m.transport.empty() || m.dispatch.empty()) {
        error = "no active customers, transport or dispatch members";
        return false;
    }
    return true;
}

}  // namespace hist
