#include "Writer.h"

#include <algorithm>
#include <charconv>

namespace hist {

bool TsvFile::open(const std::string& path)
{
    path_ = path;
    f_ = std::fopen(path.c_str(), "wb");
    if (f_)
        std::setvbuf(f_, nullptr, _IOFBF, 1 << 20);
    return f_ != nullptr;
}

void TsvFile::close()
{
    if (f_)
        std::fclose(f_);
    f_ = nullptr;
}

void TsvFile::sep()
{
    if (fields_++ > 0)
        line_.push_back('\t');
}

TsvFile& TsvFile::text(const std::string& s)
{
    sep();
    for (char c : s) {
        switch (c) {
            case '\\':
                line_.append("\\\\");
                break;
            case '\t':
                line_.append("\\t");
                break;
            case '\n':
                line_.append("\\n");
                break;
            case '\r':
                line_.append("\\r");
                break;
            default:
                line_.push_back(c);
        }
    }
    return *this;
}

TsvFile& TsvFile::id(std::uint64_t v)
{
    sep();
    char buf[24];
    line_.append(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf));
    return *this;
}

TsvFile& TsvFile::num(std::int64_t v)
{
    sep();
    char buf[24];
    line_.append(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf));
    return *this;
}

TsvFile& TsvFile::money(double v)
{
    sep();
    char buf[64];
    line_.append(buf, static_cast<std::size_t>(
                          std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6).ptr - buf));
    return *this;
}

TsvFile& TsvFile::time(Secs t)
{
    sep();
    if (t >= 0)
        appendTime(line_, t);
    return *this;
}

TsvFile& TsvFile::null()
{
    sep();
    line_.append("\\N");
    return *this;
}

void TsvFile::end()
{
    line_.push_back('\n');
    std::fwrite(line_.data(), 1, line_.size(), f_);
    line_.clear();
    fields_ = 0;
    ++rows_;
}

Writer::Writer(const Master& m, const std::string& dir, Bases bases) : m_(m), dir_(dir), next_(bases) {}

std::string Writer::path(const char* table) const
{
    return dir_ + "/" + table + ".tsv";
}

bool Writer::open()
{
    return orders_.open(path("kvc_record_product")) && flowFile_.open(path("kvc_record_procedure")) &&
           missionFile_.open(path("kvc_record_mission")) && shipFile_.open(path("kvc_record_ship")) &&
           salary_.open(path("kvc_record_salary")) && purchaseFile_.open(path("kvc_record_raw_in")) &&
           issueFile_.open(path("kvc_record_raw_out")) && qualityFile_.open(path("kvc_record_quality"));
}

std::uint64_t Writer::newFlowHandle()
{
    idOfHandle_.push_back(0);
    return idOfHandle_.size() - 1;
}

void Writer::writeFlow(const FlowRec& f)
{
    const std::uint64_t id = next_.flow++;
    idOfHandle_[f.handle] = id;
    TsvFile& o = flowFile_;
    o.id(id).id(f.order).id(f.client).text(m_.priorities[static_cast<std::size_t>(f.priority)]);
    if (f.previous < 0)
        o.null();
    else
        o.id(idOfHandle_[static_cast<std::size_t>(f.previous)]);
    o.text(m_.stations[static_cast<std::size_t>(f.from)])
        .text(m_.stations[static_cast<std::size_t>(f.station)])
        .num(f.quantity)
        .time(f.created)
        .text(f.route)
        .text(f.action < 0 ? std::string() : m_.actions[static_cast<std::size_t>(f.action)])
        .num(f.derived)
        .num(f.state)
        .time(f.closed)
        .text(f.handler < 0 ? std::string() : m_.accounts[static_cast<std::size_t>(f.handler)]);
    o.end();
}

template <typename Rec>
void Writer::flushDated(std::vector<Rec>& pending, Secs before)
{
    auto split =
        std::stable_partition(pending.begin(), pending.end(), [&](const Rec& r) { return r.at < before; });
    std::stable_sort(pending.begin(), split, [](const Rec& a, const Rec& b) { return a.at < b.at; });
    for (auto it = pending.begin(); it != split; ++it)
        write(*it);
    pending.erase(pending.begin(), split);
}

void Writer::flush(Secs before)
{
    // Flows first: a piece-work row names a flow created no later than itself.
    auto split =
        std::partition(flows_.begin(), flows_.end(), [&](const FlowRec& f) { return f.created < before; });
    std::sort(flows_.begin(), split, [](const FlowRec& a, const FlowRec& b) {
        return a.created != b.created ? a.created < b.created : a.handle < b.handle;
    });
    for (auto it = flows_.begin(); it != split; ++it)
        writeFlow(*it);
    flows_.erase(flows_.begin(), split);

    auto ms = std::stable_partition(missions_.begin(), missions_.end(),
                                    [&](const MissionRec& r) { return r.done < before; });
    std::stable_sort(missions_.begin(), ms,
                     [](const MissionRec& a, const MissionRec& b) { return a.done < b.done; });
    for (auto it = missions_.begin(); it != ms; ++it) {
        const MissionRec& r = *it;
        missionFile_.id(next_.mission++)
            .id(r.order)
            .id(idOfHandle_[r.flowHandle])
            .id(r.member)
            .time(r.done)
            .num(r.pieces)
            .num(r.lost)
            .money(r.rate)
            .money(r.lossPrice)
            .money(r.total)
            .num(r.settled)
            .text(m_.accounts[static_cast<std::size_t>(r.handler)]);
        missionFile_.end();
    }
    missions_.erase(missions_.begin(), ms);

    flushDated(ships_, before);
    flushDated(purchases_, before);
    flushDated(issues_, before);
    flushDated(losses_, before);
}

void Writer::write(const ShipRec& s)
{
    shipFile_.id(next_.ship++)
        .id(s.order)
        .id(s.client)
        .text(s.issuer)
        .text(s.shipper)
        .time(s.at)
        .id(s.style)
        .text(s.article)
        .text(s.method)
        .num(s.goods)
        .num(s.lost)
        .num(s.original)
        .num(s.washed);
    // The docket price is written with two decimals.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", s.price);
    shipFile_.text(buf).text(m_.accounts[static_cast<std::size_t>(s.handler)]).text(std::string());
    shipFile_.end();
}

void Writer::write(const PurchaseRec& p)
{
    purchaseFile_.id(next_.purchase++)
        .text(p.material)
        .id(p.supplier)
        .money(p.quantity)
        .money(p.price)
        .money(p.amount)
        .time(p.at)
        .id(p.buyer)
        .text(m_.accounts[static_cast<std::size_t>(p.handler)]);
    purchaseFile_.end();
}

void Writer::write(const IssueRec& i)
{
    issueFile_.id(next_.issue++)
        .text(i.material)
        .id(i.client)
        .money(i.quantity)
        .time(i.at)
        .text(i.team)
        .id(i.member)
        .text(m_.accounts[static_cast<std::size_t>(i.handler)]);
    issueFile_.end();
}

void Writer::write(const QualityRec& q)
{
    qualityFile_.id(next_.quality++)
        .id(q.client)
        .time(q.at)
        .num(q.pieces)
        .text(q.reason)
        .text(q.responsible)
        .text(q.recorder)
        .text(m_.accounts[static_cast<std::size_t>(q.handler)])
        .text(q.remark)
        .num(q.handled);
    qualityFile_.end();
}

void Writer::close()
{
    orders_.close();
    flowFile_.close();
    missionFile_.close();
    shipFile_.close();
    salary_.close();
    purchaseFile_.close();
    issueFile_.close();
    qualityFile_.close();
}

}  // namespace hist
