#pragma once

#include "Clock.h"

#include <cstdint>
#include <string>

namespace hist {

// A flow as it stands at the end of the history. Flows refer to each other by handle (the
// order of their creation in the simulation); the writer turns handles into 流水号.
struct FlowRec {
    std::uint64_t handle = 0;
    std::int64_t previous = -1;  // handle of the flow it came from; -1 writes NULL
    std::uint64_t order = 0;
    std::uint64_t client = 0;
    int priority = 0;
    int from = 0, station = 0;  // station indexes
    int quantity = 0;
    Secs created = 0;
    std::string route;
    int action = -1;  // index into Master::actions; -1 leaves 工序 empty
    int derived = 0;
    int state = 0;     // 结讫
    Secs closed = -1;  // -1 leaves 结讫时间 empty
    int handler = -1;  // index into Master::accounts; -1 leaves 经办人 empty
};

struct MissionRec {
    std::uint64_t order = 0;
    std::uint64_t flowHandle = 0;
    std::uint64_t member = 0;
    Secs done = 0;
    int pieces = 0, lost = 0;
    double rate = 0, lossPrice = 0, total = 0;
    int settled = 0;
    int handler = 0;
};

struct ShipRec {
    std::uint64_t order = 0;
    std::uint64_t client = 0;
    std::string issuer, shipper;
    Secs at = 0;
    std::uint64_t style = 0;
    std::string article, method;
    int goods = 0, lost = 0, original = 0, washed = 0;
    double price = 0;
    int handler = 0;
};

// The back office's rows: purchases and issues of raw material, losses registered.
struct PurchaseRec {
    std::string material;
    std::uint64_t supplier = 0;
    double quantity = 0, price = 0, amount = 0;
    Secs at = 0;
    std::uint64_t buyer = 0;
    int handler = 0;
};

struct IssueRec {
    std::string material;
    std::uint64_t client = 0;
    double quantity = 0;
    Secs at = 0;
    std::string team;
    std::uint64_t member = 0;
    int handler = 0;
};

struct QualityRec {
    std::uint64_t client = 0;
    Secs at = 0;
    int pieces = 0;
    std::string reason, responsible, recorder, remark;
    int handler = 0;
    int handled = 0;
};

}  // namespace hist
