#pragma once

#include "Connection.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace hist {

struct Process {
    std::string name;
    double rate = 0;
};

struct Technology {
    std::string name;
    std::string kind;
    double price = 0;
};

// What the history is made of: the stations, steps, choice lists, customers, employees
// and accounts of the database. Stations and actions are referred to by index.
struct Master {
    std::vector<std::string> stations;
    int intake = -1, shipping = -1, washing = -1;
    std::vector<int> workstations;
    std::vector<std::vector<int>> processesOf;       // per station: indexes into processes
    std::vector<std::vector<std::uint64_t>> teamOf;  // per station: active members of its team
    std::vector<Process> processes;
    std::vector<std::string> actions;  // the process names, then 转发, 拒绝, 确认
    int forward = -1, refuse = -1, confirm = -1;
    std::vector<Technology> technologies;
    std::vector<std::string> natures, types, kinds, sexes, priorities;
    std::vector<std::uint64_t> clients;
    std::vector<std::string> transport, dispatch;  // names of members by role
    std::vector<std::uint64_t> dispatchIds;
    std::map<std::uint64_t, std::string> names;  // 姓名 by 工号
    std::vector<std::string> accounts;           // texts for 经办人
    std::vector<int> stationAccount;
    int intakeAccount = 0, shippingAccount = 0;
    double lossPrice = 5.0;

    int station(const std::string& name) const;
};

// Reads the master data; with topUp, tops customers, workshop teams, transport and dispatch
// up to the size of a large factory first. Fails when stations, steps or technologies are missing.
bool loadMaster(Connection& db, Master& m, std::string& error, bool quiet, bool topUp = true);

}  // namespace hist
