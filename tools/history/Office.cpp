#include "Office.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace hist {

namespace {

enum Trade { kChemicals, kStones, kSand, kHardware };

// A raw material: the team that draws it, how much goes into 100 pieces of work and its
// price at the end of the history (about 3% less for each year before).
struct Item {
    const char* name;
    const char* unit;
    const char* station;
    double per100;
    double price;
    Trade trade;
};

const Item kItems[] = {
    {"酵素", "公斤", "洗水", 0.30, 26.0, kChemicals},  {"漂白水", "升", "洗水", 0.50, 3.2, kChemicals},
    {"浮石", "公斤", "洗水", 2.00, 1.6, kStones},      {"柔软剂", "公斤", "洗水", 0.25, 11.5, kChemicals},
    {"洗涤剂", "公斤", "洗水", 0.20, 8.8, kChemicals}, {"中和剂", "公斤", "洗水", 0.10, 14.0, kChemicals},
    {"金刚砂", "袋", "喷砂", 0.12, 85.0, kSand},       {"高锰酸钾", "公斤", "马骝", 0.40, 21.0, kChemicals},
    {"树脂", "桶", "树脂", 0.06, 360.0, kChemicals},   {"定型剂", "升", "夹烫", 0.30, 17.0, kChemicals},
    {"砂纸", "盒", "手工", 0.08, 42.0, kHardware},     {"刀片", "盒", "手工", 0.02, 28.0, kHardware},
    {"砂棒", "支", "手擦", 0.50, 3.5, kHardware},
};

struct Supplier {
    const char* name;
    const char* remark;
    Trade trade;
};

// The first supplier of a trade gets most of the orders; the second is a little cheaper.
const Supplier kSuppliers[] = {
    {"广州恒信化工有限公司", "酵素、漂白水、助剂", kChemicals},
    {"佛山科达化工", "助剂、树脂", kChemicals},
    {"增城浮石批发部", "浮石", kStones},
    {"深圳金刚砂材料厂", "金刚砂", kSand},
    {"中山五金劳保店", "砂纸、刀片、砂棒", kHardware},
};

const std::pair<const char*, const char*> kReasons[] = {
    {"洗水", "洗水破损"}, {"洗水", "色差"},     {"洗水", "缩水超标"}, {"喷砂", "喷砂过度"},
    {"喷砂", "砂洞"},     {"树脂", "树脂污渍"}, {"树脂", "压皱不均"}, {"手工", "猫须错位"},
    {"手工", "破洞过大"}, {"夹烫", "烫黄"},     {"手擦", "手擦过度"}, {"马骝", "马骝斑点"},
};

constexpr double kIssueShare = 0.12;   // of a team's work for which material is drawn
constexpr double kReportShare = 0.06;  // of the losses that are entered in the registry
constexpr Secs kFade = 7 * kDay;

double stepOf(const Item& item)
{
    const std::string unit = item.unit;
    return unit == "公斤" || unit == "升" ? 0.5 : 1.0;
}

}  // namespace

Office::Office(const Master& m, Writer& w, Secs now, std::uint64_t seed) : m_(m), w_(w), now_(now), rng_(seed)
{
}

bool Office::prepare(Connection& db, std::string& error)
{
    materials_.clear();
    materialsOf_.assign(m_.stations.size(), {});
    std::vector<std::uint64_t> supplierIds;
    for (const Supplier& s : kSuppliers) {
        const std::string find = "select 供应商号 from kvc_record_supplier where 名称=" + db.quote(s.name) +
                                 " order by 供应商号 limit 1";
        std::string id = db.scalar(find);
        if (id.empty()) {
            if (!db.exec("insert into kvc_record_supplier (名称, 备注) values (" + db.quote(s.name) + ", " +
                         db.quote(s.remark) + ")")) {
                error = db.error();
                return false;
            }
            id = db.scalar(find);
        }
        supplierIds.push_back(std::strtoull(id.c_str(), nullptr, 10));
    }
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
        const Item& item = kItems[i];
        const int s = m_.station(item.station);
        if (s < 0 || m_.teamOf[static_cast<std::size_t>(s)].empty())
            continue;  // no team to draw it
        std::vector<Row> rows;
        if (!db.rows("select 数量 from kvc_record_raw where 名称=" + db.quote(item.name), rows)) {
            error = db.error();
            return false;
        }
        if (rows.empty() && !db.exec("insert into kvc_record_raw (名称, 单位) values (" +
                                     db.quote(item.name) + ", " + db.quote(item.unit) + ")")) {
            error = db.error();
            return false;
        }
        Material mat;
        mat.item = i;
        mat.station = s;
        mat.stock = rows.empty() ? 0.0 : std::max(0.0, std::atof(rows[0][0].c_str()));
        for (std::size_t k = 0; k < std::size(kSuppliers); ++k)
            if (kSuppliers[k].trade == item.trade)
                mat.suppliers.push_back(supplierIds[k]);
        materialsOf_[static_cast<std::size_t>(s)].push_back(materials_.size());
        materials_.push_back(std::move(mat));
    }
    return true;
}

void Office::worked(int station, std::uint64_t client, int pieces, Secs at)
{
    if (pieces > 0 && !materialsOf_[static_cast<std::size_t>(station)].empty() && unit() < kIssueShare)
        uses_.push_back({at, station, client, pieces});
}

void Office::lost(int station, std::uint64_t client, std::uint64_t order, int pieces, Secs at,
                  const std::vector<std::uint64_t>& workers)
{
    if (unit() >= kReportShare || workers.empty())
        return;
    const Secs entered = at + static_cast<Secs>(between(0.2, 20) * kHour);
    if (entered > now_)
        return;
    QualityRec q;
    q.client = client;
    q.at = entered;
    q.pieces = pieces;
    const std::string& where = m_.stations[static_cast<std::size_t>(station)];
    std::vector<const char*> reasons;
    for (const auto& [s, reason] : kReasons)
        if (where == s)
            reasons.push_back(reason);
    q.reason = reasons.empty() ? "损坏" : reasons[upTo(reasons.size())];
    const auto name = m_.names.find(workers[upTo(workers.size())]);
    q.responsible = name == m_.names.end() ? std::string() : name->second;
    q.recorder = m_.dispatch[upTo(m_.dispatch.size())];
    q.remark = "货单" + std::to_string(order);
    q.handler = m_.intakeAccount;
    // Old losses have mostly been dealt with, recent ones mostly not.
    q.handled = unit() < (entered < now_ - 10 * kDay ? 0.9 : 0.2) ? 1 : 0;
    ++(q.handled ? lossesHandled_ : lossesOpen_);
    w_.add(std::move(q));
}

double Office::perDay(Material& mat, Secs at)
{
    mat.load *= std::exp(-static_cast<double>(at - mat.loadAt) / static_cast<double>(kFade));
    mat.loadAt = at;
    return mat.load / 7.0;
}

// About two weeks of what the teams have been drawing lately.
double Office::lot(Material& mat, Secs at)
{
    const double step = stepOf(kItems[mat.item]);
    return std::max(20 * step, std::ceil(14 * perDay(mat, at) / step) * step);
}

void Office::buy(Material& mat, Secs at, double quantity)
{
    const Item& item = kItems[mat.item];
    const std::size_t k = mat.suppliers.size() > 1 && unit() < 0.4 ? 1 : 0;
    const double years = static_cast<double>(at - now_) / (365.25 * kDay);
    const double price =
        std::round(item.price * std::pow(1.03, years) * (k ? 0.96 : 1.0) * between(0.98, 1.02) * 100) / 100;
    PurchaseRec p;
    p.material = item.name;
    p.supplier = mat.suppliers[k];
    p.quantity = static_cast<float>(quantity);
    p.price = static_cast<float>(price);
    // As the desk computes it: the single-precision product, shown with two decimals.
    const float product = static_cast<float>(quantity) * static_cast<float>(price);
    p.amount = static_cast<float>(std::round(static_cast<double>(product) * 100) / 100);
    p.at = at;
    p.buyer = m_.dispatchIds[upTo(m_.dispatchIds.size())];
    p.handler = m_.intakeAccount;
    mat.stock += quantity;
    mat.bought += p.quantity;
    mat.money += p.amount;
    w_.add(std::move(p));
}

void Office::deliver(Secs until)
{
    for (Material& mat : materials_)
        if (mat.due >= 0 && mat.due <= until && mat.due <= now_) {
            buy(mat, mat.due, lot(mat, mat.due));
            mat.due = -1;
        }
}

void Office::issue(const Use& u)
{
    const std::vector<std::size_t>& choice = materialsOf_[static_cast<std::size_t>(u.station)];
    Material& mat = materials_[choice[upTo(choice.size())]];
    const Item& item = kItems[mat.item];
    const double step = stepOf(item);
    double want = std::max(
        step, std::round(u.pieces * item.per100 / 100 / kIssueShare * between(0.6, 1.4) / step) * step);
    if (mat.stock < want) {
        if (mat.due < 0) {
            // Nothing under way: bought in a hurry, shortly before.
            Secs at = u.at - static_cast<Secs>(between(0.5, 3) * kHour);
            if (at < from_)
                at = from_ + static_cast<Secs>(unit() * static_cast<double>(u.at - from_));
            buy(mat, at, std::max(lot(mat, at), want));
        } else {
            want = std::floor(mat.stock / step) * step;  // what is left, until the purchase arrives
            if (want < step)
                return;
        }
    }
    const std::vector<std::uint64_t>& team = m_.teamOf[static_cast<std::size_t>(u.station)];
    IssueRec r;
    r.material = item.name;
    r.client = u.client;
    r.quantity = want;
    r.at = u.at;
    r.team = m_.stations[static_cast<std::size_t>(u.station)] + "组";
    r.member = team[upTo(team.size())];
    r.handler = m_.intakeAccount;
    w_.add(std::move(r));
    mat.stock -= want;
    mat.issued += want;
    perDay(mat, u.at);  // faded to now
    mat.load += want;
    if (mat.due < 0 && mat.stock < 4 * perDay(mat, u.at))
        mat.due = u.at + static_cast<Secs>(between(3, 30) * kHour);
}

void Office::flush(Secs before)
{
    auto split = std::partition(uses_.begin(), uses_.end(), [&](const Use& u) { return u.at < before; });
    std::sort(uses_.begin(), split, [](const Use& a, const Use& b) { return a.at < b.at; });
    for (auto it = uses_.begin(); it != split; ++it) {
        deliver(it->at);
        issue(*it);
    }
    uses_.erase(uses_.begin(), split);
    deliver(before - 1);
    from_ = before;
}

bool Office::book(Connection& db, std::string& error) const
{
    for (const Material& mat : materials_) {
        if (mat.bought == 0 && mat.issued == 0)
            continue;
        if (!db.exec("update kvc_record_raw set 数量=数量+" + std::to_string(mat.bought - mat.issued) +
                     ", 累计数量=累计数量+" + std::to_string(mat.bought) + ", 累计金额=累计金额+" +
                     std::to_string(mat.money) + " where 名称=" + db.quote(kItems[mat.item].name))) {
            error = db.error();
            return false;
        }
    }
    return true;
}

}  // namespace hist
