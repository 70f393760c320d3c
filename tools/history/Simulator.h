#pragma once

#include "Master.h"
#include "Office.h"
#include "Records.h"
#include "Writer.h"

#include <map>
#include <random>
#include <utility>
#include <vector>

namespace hist {

// Takes one order after the other from intake through the stations to shipping, the way
// the desks of the client would have written it, and stops every branch at `now`: what
// would happen later stays open (the tail the screens' queues show).
class Simulator {
public:
    // How often the rare turns happen.
    struct Profile {
        double toIntake = 0.003;  // of the hand-overs at a station, sent back to intake
    };
    // What waits at `now`: open flows per station (at shipping those not yet confirmed),
    // confirmed flows, orders waiting for activation.
    struct Tail {
        std::vector<int> openAt;
        int confirmed = 0, waitingOrders = 0;
    };

    Simulator(const Master& m, Writer& w, Office& office, Secs now, std::uint64_t seed, Profile profile);
    void order(std::uint64_t id, Secs received);
    const Tail& tail() const { return tail_; }
    // Monthly settlement: one salary row per employee and settled month.
    void writeSalary(std::uint64_t firstSerial);
    const std::map<std::uint64_t, double>& settledPay() const { return payOf_; }

private:
    struct Pending {
        std::size_t flow;
        int pos;  // position in the route; -1 at intake
    };
    struct Order;

    double unit() { return real_(rng_); }
    double between(double a, double b) { return a + (b - a) * unit(); }
    int upTo(int n) { return static_cast<int>(unit() * n); }  // 0..n-1
    Secs wait(Secs lo, Secs hi, int priority);
    bool settled(Secs t) const;

    std::vector<int> routeOf(const std::vector<int>& techs);
    std::size_t newFlow(Order& o, int from, int station, int quantity, Secs created, std::string route,
                        std::int64_t previous);
    void atStation(Order& o, Pending p);
    void atIntake(Order& o, Pending p);
    void atShipping(Order& o, Pending p);
    std::vector<std::uint64_t> pay(Order& o, const FlowRec& f, int action, int done, int lost, Secs at);
    void ship(Order& o);
    void ship(Order& o, Secs at, int goods, int lost, int original, int washed);
    void writeOrder(const Order& o);

    const Master& m_;
    Writer& w_;
    Office& office_;
    Secs now_;
    Profile profile_;
    Tail tail_;
    std::mt19937_64 rng_;
    std::uniform_real_distribution<double> real_{0.0, 1.0};
    std::uint64_t firstOrder_ = 0;
    std::map<std::pair<Secs, std::uint64_t>, double> payOfMonth_;
    std::map<std::uint64_t, double> payOf_;
    std::vector<double> priorityWeight_, natureWeight_, techWeight_;
    int rework_ = -1, other_ = -1;
};

}  // namespace hist
