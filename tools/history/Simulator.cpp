#include "Simulator.h"

#include <algorithm>
#include <cmath>

namespace hist {

struct Simulator::Order {
    std::uint64_t id = 0;
    std::uint64_t style = 0, client = 0;
    int quantity = 0;
    std::string receiver;
    Secs received = 0;
    int nature = 0, type = 0, kind = 0, sex = 0, priority = 0;
    std::string method;
    double price = 0;
    int original = 0, washed = 0, lost = 0;
    std::uint64_t related = 0;
    int active = 0, closedState = 0;
    Secs activated = -1, closed = -1;
    std::vector<int> route;  // workstations, then shipping
    std::vector<FlowRec> flows;
    std::vector<Pending> pending;
    std::vector<std::size_t> confirmed;
};

namespace {

int pick(const std::vector<double>& weights, double u)
{
    double sum = 0;
    for (double w : weights)
        sum += w;
    double x = u * sum;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (x < weights[i])
            return static_cast<int>(i);
        x -= weights[i];
    }
    return static_cast<int>(weights.size()) - 1;
}

double weightOf(const std::string& name, std::initializer_list<std::pair<const char*, double>> known,
                double other)
{
    for (const auto& k : known)
        if (name == k.first)
            return k.second;
    return other;
}

}  // namespace

Simulator::Simulator(const Master& m, Writer& w, Office& office, Secs now, std::uint64_t seed,
                     Profile profile)
    : m_(m), w_(w), office_(office), now_(now), profile_(profile), rng_(seed)
{
    tail_.openAt.assign(m.stations.size(), 0);
    for (const std::string& p : m.priorities)
        priorityWeight_.push_back(weightOf(p, {{"一般", 0.75}, {"加急", 0.2}, {"紧急", 0.05}}, 0.0));
    if (*std::max_element(priorityWeight_.begin(), priorityWeight_.end()) == 0)
        priorityWeight_.assign(m.priorities.size(), 1.0);
    for (std::size_t i = 0; i < m.natures.size(); ++i) {
        natureWeight_.push_back(
            weightOf(m.natures[i], {{"新货", 0.85}, {"返工", 0.07}, {"打版", 0.06}, {"其它", 0.02}}, 0.02));
        if (m.natures[i] == "返工")
            rework_ = static_cast<int>(i);
        if (m.natures[i] == "其它")
            other_ = static_cast<int>(i);
    }
    for (const Technology& t : m.technologies)
        techWeight_.push_back(t.kind == "套餐" ? 0.3 : t.kind == "洗水" ? 2.0 : 1.0);
}

Secs Simulator::wait(Secs lo, Secs hi, int priority)
{
    const std::string& p = m_.priorities[static_cast<std::size_t>(priority)];
    const double factor = p == "紧急" ? 0.3 : p == "加急" ? 0.6 : 1.0;
    Secs t = static_cast<Secs>(between(static_cast<double>(lo), static_cast<double>(hi)) * factor);
    // Now and then a batch waits for days (a machine down, goods put aside).
    if (unit() < 0.003)
        t += static_cast<Secs>(between(2, 15) * kDay);
    return std::max<Secs>(t, 5 * kMinute);
}

bool Simulator::settled(Secs t) const
{
    // Each month is settled on the 3rd of the next month.
    return nextMonth(t) + 2 * kDay + 10 * kHour <= now_;
}

std::vector<int> Simulator::routeOf(const std::vector<int>& techs)
{
    std::vector<int> route{m_.washing};
    auto add = [&](const char* name) {
        const int s = m_.station(name);
        if (s >= 0 && std::find(route.begin(), route.end(), s) == route.end())
            route.push_back(s);
    };
    for (int t : techs) {
        const Technology& tech = m_.technologies[static_cast<std::size_t>(t)];
        if (tech.kind == "喷砂") {
            add(tech.name == "马骝" ? "马骝" : "喷砂");
        } else if (tech.kind == "树脂") {
            add("树脂");
        } else if (tech.kind == "手工") {
            add(tech.name == "手擦" ? "手擦" : "手工");
        } else if (tech.kind == "套餐") {
            add("喷砂");
            add("手工");
        }
    }
    if (unit() < 0.08)
        add("夹烫");
    if (route.size() > 1 && unit() < 0.15)
        route.push_back(m_.washing);  // washed again after the dry work
    route.push_back(m_.shipping);
    return route;
}

std::size_t Simulator::newFlow(Order& o, int from, int station, int quantity, Secs created, std::string route,
                               std::int64_t previous)
{
    FlowRec f;
    f.handle = w_.newFlowHandle();
    f.previous = previous;
    f.order = o.id;
    f.client = o.client;
    f.priority = o.priority;
    f.from = from;
    f.station = station;
    f.quantity = quantity;
    f.created = created;
    f.route = std::move(route);
    o.flows.push_back(std::move(f));
    return o.flows.size() - 1;
}

void Simulator::order(std::uint64_t id, Secs received)
{
    if (firstOrder_ == 0)
        firstOrder_ = id;
    Order o;
    o.id = id;
    o.received = received;
    o.style = 10000 + static_cast<std::uint64_t>(upTo(90000));
    const double c = unit();
    o.client = m_.clients[static_cast<std::size_t>(c * c * static_cast<double>(m_.clients.size()))];
    const double q = unit();
    o.quantity = q < 0.45   ? 30 + upTo(220)
                 : q < 0.8  ? 250 + upTo(350)
                 : q < 0.97 ? 600 + upTo(900)
                            : 1500 + upTo(2500);
    o.receiver = m_.transport[static_cast<std::size_t>(upTo(static_cast<int>(m_.transport.size())))];
    o.nature = pick(natureWeight_, unit());
    if (o.nature == rework_) {
        const std::uint64_t back = 1 + static_cast<std::uint64_t>(upTo(3000));
        if (id > firstOrder_ + back)
            o.related = id - back;
        else
            o.nature = 0;
    }
    o.type = upTo(static_cast<int>(m_.types.size()));
    o.kind = upTo(static_cast<int>(m_.kinds.size()));
    o.sex = upTo(static_cast<int>(m_.sexes.size()));
    o.priority = pick(priorityWeight_, unit());
    std::vector<int> techs;
    const double n = unit();
    const int count = std::min<int>(n < 0.55 ? 1 : n < 0.9 ? 2 : 3, static_cast<int>(m_.technologies.size()));
    while (static_cast<int>(techs.size()) < count) {
        const int t = pick(techWeight_, unit());
        if (std::find(techs.begin(), techs.end(), t) == techs.end())
            techs.push_back(t);
    }
    for (int t : techs) {
        o.method += "[" + m_.technologies[static_cast<std::size_t>(t)].name + "]";
        o.price += m_.technologies[static_cast<std::size_t>(t)].price;
    }
    o.original = unit() < 0.7 ? 0 : 1 + upTo(3);
    o.washed = unit() < 0.6 ? 0 : 1 + upTo(3);
    o.route = routeOf(techs);

    // Most orders are released at once; some wait at intake, a few of those are ended
    // there (sent back untouched) or cancelled.
    const bool waiting = unit() < 0.10;
    const double fate = unit();
    const Secs decided = waiting ? received + static_cast<Secs>(between(0.5, 30) * kHour) : received;
    if (decided <= now_) {
        if (!waiting || fate >= 0.06) {
            o.active = 1;
            o.activated = decided;
            o.pending.push_back(
                {newFlow(o, m_.intake, m_.washing, o.quantity, decided, "接收[接收]", -1), 0});
        } else if (fate < 0.03) {
            o.active = 2;
            const std::size_t f = newFlow(o, m_.intake, m_.shipping, o.quantity, decided, "接收[接收]", -1);
            o.flows[f].client = 0;  // the flow of an order ended at intake carries no customer
            o.pending.push_back({f, static_cast<int>(o.route.size()) - 1});
        } else {
            o.closedState = 2;
        }
    }

    while (!o.pending.empty()) {
        const Pending p = o.pending.back();
        o.pending.pop_back();
        const FlowRec& f = o.flows[p.flow];
        if (f.station == m_.intake)
            atIntake(o, p);
        else if (f.station == m_.shipping)
            atShipping(o, p);
        else
            atStation(o, p);
    }
    ship(o);
    writeOrder(o);
    tail_.waitingOrders += o.active == 0 && o.closedState == 0;
    for (FlowRec& f : o.flows) {
        if (f.state == 0 && f.station == m_.shipping && f.from == m_.shipping)
            ++tail_.confirmed;
        else if (f.state == 0)
            ++tail_.openAt[static_cast<std::size_t>(f.station)];
        w_.add(std::move(f));
    }
}

void Simulator::atStation(Order& o, Pending p)
{
    const int s = o.flows[p.flow].station;
    const Secs closed = o.flows[p.flow].created + wait(30 * kMinute, 24 * kHour, o.priority);
    if (closed > now_)
        return;
    const int quantity = o.flows[p.flow].quantity;
    const std::vector<int>& steps = m_.processesOf[static_cast<std::size_t>(s)];
    const std::vector<std::uint64_t>& team = m_.teamOf[static_cast<std::size_t>(s)];
    int action = m_.forward, done = quantity, lost = 0, remainder = 0;
    if (quantity > 0 && !steps.empty() && !team.empty() && unit() >= 0.07) {
        action = steps[static_cast<std::size_t>(upTo(static_cast<int>(steps.size())))];
        if (unit() < 0.15)
            lost = std::min(quantity, 1 + upTo(std::max(1, quantity / 50)));
        done = quantity - lost;
        if (quantity >= 10 && unit() < 0.08) {
            done = static_cast<int>(done * between(0.3, 0.9));
            remainder = quantity - done - lost;
        }
    }
    int destination, next;
    const double d = unit();
    if (d < 0.01) {
        destination = s;  // sent back to itself for another pass
        next = p.pos;
    } else if (d < 0.01 + profile_.toIntake) {
        destination = m_.intake;
        next = -1;
    } else {
        destination = o.route[static_cast<std::size_t>(p.pos) + 1];
        next = p.pos + 1;
    }
    FlowRec& f = o.flows[p.flow];
    f.action = action;
    f.state = 1;
    f.closed = closed;
    f.handler = m_.stationAccount[static_cast<std::size_t>(s)];
    if (action != m_.forward) {
        const std::vector<std::uint64_t> workers = pay(o, f, action, done, lost, closed);
        office_.worked(s, o.client, quantity, closed);
        if (lost > 0)
            office_.lost(s, o.client, o.id, lost, closed, workers);
    }
    const std::string oldRoute = f.route;
    const std::string newRoute = oldRoute + "-" + m_.stations[static_cast<std::size_t>(s)] + "[" +
                                 m_.actions[static_cast<std::size_t>(action)] + "]";
    const auto handle = static_cast<std::int64_t>(f.handle);
    o.pending.push_back({newFlow(o, s, destination, done, closed, newRoute, handle), next});
    if (remainder > 0) {
        const std::size_t r = newFlow(o, s, s, remainder, closed, oldRoute, handle);
        o.flows[r].derived = 1;
        o.pending.push_back({r, p.pos});
    }
    o.lost += lost;
}

// Returns the workers credited.
std::vector<std::uint64_t> Simulator::pay(Order& o, const FlowRec& f, int action, int done, int lost, Secs at)
{
    const std::vector<std::uint64_t>& team = m_.teamOf[static_cast<std::size_t>(f.station)];
    const double rate = m_.processes[static_cast<std::size_t>(action)].rate;
    const double lossPrice = m_.lossPrice;
    std::vector<std::uint64_t> pool = team;
    const int size = static_cast<int>(pool.size());
    const bool cooperative = size >= 3 && unit() < 0.2;
    const double n = unit();
    int workers = cooperative ? 3 + upTo(std::min(4, size - 2))
                  : n < 0.2   ? 2
                  : n < 0.55  ? 3
                  : n < 0.85  ? 4
                              : 5;
    workers = std::min(workers, size);
    for (int i = 0; i < workers; ++i)
        std::swap(pool[static_cast<std::size_t>(i)], pool[static_cast<std::size_t>(i + upTo(size - i))]);

    // Single mode: each worker's own pieces and losses; cooperative: the amount split
    // evenly, as the "%.3f" text the panel shows.
    int doneLeft = done, lostLeft = lost;
    const double share = std::round((rate * done - lossPrice * lost) / workers * 1000.0) / 1000.0;
    for (int i = 0; i < workers; ++i) {
        MissionRec r;
        r.order = o.id;
        r.flowHandle = f.handle;
        r.member = pool[static_cast<std::size_t>(i)];
        r.done = at;
        r.rate = rate;
        r.lossPrice = lossPrice;
        r.handler = m_.stationAccount[static_cast<std::size_t>(f.station)];
        if (cooperative) {
            r.total = share;
        } else {
            const bool last = i == workers - 1;
            r.pieces = last ? doneLeft : static_cast<int>(doneLeft * between(0.2, 0.8));
            r.lost = last ? lostLeft : static_cast<int>(lostLeft * unit());
            doneLeft -= r.pieces;
            lostLeft -= r.lost;
            r.total = r.pieces * rate - r.lost * lossPrice;
        }
        r.settled = settled(at) ? 1 : 0;
        if (r.settled) {
            payOfMonth_[{monthStart(at), r.member}] += r.total;
            payOf_[r.member] += r.total;
        }
        w_.add(std::move(r));
    }
    pool.resize(static_cast<std::size_t>(workers));
    return pool;
}

void Simulator::atIntake(Order& o, Pending p)
{
    const Secs closed = o.flows[p.flow].created + wait(2 * kHour, 48 * kHour, o.priority);
    if (closed > now_)
        return;
    FlowRec& f = o.flows[p.flow];
    const bool back = unit() < 0.6;
    f.action = back ? m_.refuse : m_.forward;
    f.state = back ? 2 : 1;
    f.closed = closed;
    f.handler = m_.intakeAccount;
    const std::string route = f.route + (back ? "-接收[拒绝]" : "-接收[转发]");
    // The successor names the intake flow it replaces, so the chain of flows stays whole.
    const std::size_t n = newFlow(o, m_.intake, back ? m_.washing : m_.shipping, f.quantity, closed, route,
                                  static_cast<std::int64_t>(f.handle));
    o.flows[n].handler = m_.intakeAccount;
    o.pending.push_back({n, back ? 0 : static_cast<int>(o.route.size()) - 1});
}

void Simulator::atShipping(Order& o, Pending p)
{
    const Secs closed = o.flows[p.flow].created + wait(15 * kMinute, 8 * kHour, o.priority);
    if (closed > now_)
        return;
    FlowRec& f = o.flows[p.flow];
    const int last = static_cast<int>(o.route.size()) - 1;
    const bool back = last > 0 && f.from == o.route[static_cast<std::size_t>(last) - 1] && unit() < 0.01;
    f.action = back ? m_.forward : m_.confirm;
    f.state = 1;
    f.closed = closed;
    f.handler = m_.shippingAccount;
    const std::string route = f.route + (back ? "-发送[转发]" : "-发送[确认]");
    const int from = f.from;
    const std::size_t n = newFlow(o, m_.shipping, back ? from : m_.shipping, f.quantity, closed, route,
                                  static_cast<std::int64_t>(f.handle));
    if (back)
        o.pending.push_back({n, last - 1});
    else
        o.confirmed.push_back(n);
}

void Simulator::ship(Order& o)
{
    if (o.confirmed.empty())
        return;
    bool elsewhere = false;
    for (std::size_t i = 0; i < o.flows.size(); ++i)
        if (o.flows[i].state == 0 &&
            std::find(o.confirmed.begin(), o.confirmed.end(), i) == o.confirmed.end())
            elsewhere = true;
    int goods = 0;
    Secs first = o.flows[o.confirmed.front()].created, last = first;
    for (std::size_t i : o.confirmed) {
        goods += o.flows[i].quantity;
        first = std::min(first, o.flows[i].created);
        last = std::max(last, o.flows[i].created);
    }
    // One shipment, or a first part as soon as goods are confirmed and the rest later.
    bool two = goods >= 2 && unit() < 0.25;
    const Secs t1 = first + static_cast<Secs>(between(1, 10) * kHour);
    int part = 0;
    if (two) {
        int ready = 0;
        for (std::size_t i : o.confirmed)
            if (o.flows[i].created <= t1)
                ready += o.flows[i].quantity;
        part = std::min(goods - 1, static_cast<int>(ready * between(0.4, 0.9)));
        two = part >= 1;
    }
    if (two && t1 <= now_)
        ship(o, t1, part, 0, 0, 0);
    if (elsewhere || (two && t1 > now_))
        return;
    const Secs t2 = std::max(last, two ? t1 : last) + static_cast<Secs>(between(1, 30) * kHour);
    if (t2 > now_)
        return;
    ship(o, t2, goods - part, o.lost, o.original, o.washed);
    // Covered: the order is closed and so are its confirmed flows (no step, no time).
    o.closedState = 1;
    o.closed = t2;
    for (std::size_t i : o.confirmed)
        o.flows[i].state = 1;
}

void Simulator::ship(Order& o, Secs at, int goods, int lost, int original, int washed)
{
    ShipRec s;
    s.order = o.id;
    s.client = o.client;
    s.issuer = m_.dispatch[static_cast<std::size_t>(upTo(static_cast<int>(m_.dispatch.size())))];
    s.shipper = m_.transport[static_cast<std::size_t>(upTo(static_cast<int>(m_.transport.size())))];
    s.at = at;
    s.style = o.style;
    s.article = m_.sexes[static_cast<std::size_t>(o.sex)] + m_.types[static_cast<std::size_t>(o.type)] +
                m_.kinds[static_cast<std::size_t>(o.kind)];
    s.method =
        o.nature == rework_ || o.nature == other_ ? m_.natures[static_cast<std::size_t>(o.nature)] : o.method;
    s.goods = goods;
    s.lost = lost;
    s.original = original;
    s.washed = washed;
    s.price = o.nature == rework_ ? 0.0 : static_cast<float>(o.price);
    s.handler = m_.shippingAccount;
    w_.add(std::move(s));
}

void Simulator::writeOrder(const Order& o)
{
    TsvFile& t = w_.orders();
    t.id(o.id)
        .id(o.style)
        .id(o.client)
        .num(o.quantity)
        .text(o.receiver)
        .time(o.received)
        .text(m_.natures[static_cast<std::size_t>(o.nature)])
        .text(m_.types[static_cast<std::size_t>(o.type)])
        .text(m_.kinds[static_cast<std::size_t>(o.kind)])
        .text(m_.sexes[static_cast<std::size_t>(o.sex)])
        .text(o.method)
        .money(static_cast<float>(o.price))
        .money(m_.lossPrice)
        .num(o.original)
        .num(o.washed)
        .num(o.lost)
        .text(m_.priorities[static_cast<std::size_t>(o.priority)])
        .id(o.related)
        .num(o.active)
        .time(o.activated)
        .num(o.closedState)
        .time(o.closed)
        .text(m_.accounts[static_cast<std::size_t>(m_.intakeAccount)]);
    t.end();
}

void Simulator::writeSalary(std::uint64_t firstSerial)
{
    TsvFile& t = w_.salary();
    for (const auto& [key, amount] : payOfMonth_) {
        std::string from, to;
        appendDate(from, key.first);
        appendDate(to, nextMonth(key.first));
        t.id(firstSerial++).id(key.second).money(amount).text(from).text(to);
        t.end();
    }
}

}  // namespace hist
