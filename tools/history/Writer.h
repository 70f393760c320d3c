#pragma once

#include "Master.h"
#include "Records.h"

#include <cstdio>
#include <string>
#include <vector>

namespace hist {

// One tab-separated file in the form LOAD DATA reads by default (\N for NULL).
class TsvFile {
public:
    bool open(const std::string& path);
    void close();
    ~TsvFile() { close(); }
    const std::string& path() const { return path_; }
    std::uint64_t rows() const { return rows_; }

    TsvFile& text(const std::string& s);
    TsvFile& id(std::uint64_t v);
    TsvFile& num(std::int64_t v);
    TsvFile& money(double v);  // six decimals, as the client writes %f
    TsvFile& time(Secs t);     // -1 writes an empty text
    TsvFile& null();
    void end();

private:
    void sep();
    std::FILE* f_ = nullptr;
    std::string path_;
    std::string line_;
    std::uint64_t rows_ = 0;
    int fields_ = 0;
};

// Collects the rows of the simulation and writes them in the order the server would
// have numbered them: keys rise with the time a row was created.
class Writer {
public:
    struct Bases {
        std::uint64_t order = 1, flow = 1, mission = 1, ship = 1, salary = 1;
        std::uint64_t purchase = 1, issue = 1, quality = 1;
    };
    Writer(const Master& m, const std::string& dir, Bases bases);
    bool open();
    std::uint64_t newFlowHandle();
    TsvFile& orders() { return orders_; }
    void add(FlowRec&& f) { flows_.push_back(std::move(f)); }
    void add(MissionRec&& r) { missions_.push_back(r); }
    void add(ShipRec&& s) { ships_.push_back(std::move(s)); }
    void add(PurchaseRec&& p) { purchases_.push_back(std::move(p)); }
    void add(IssueRec&& i) { issues_.push_back(std::move(i)); }
    void add(QualityRec&& q) { losses_.push_back(std::move(q)); }
    // Writes every pending row created before `before`; later rows wait.
    void flush(Secs before);
    TsvFile& salary() { return salary_; }
    void close();

    std::string path(const char* table) const;
    std::uint64_t flowRows() const { return flowFile_.rows(); }
    std::uint64_t missionRows() const { return missionFile_.rows(); }
    std::uint64_t shipRows() const { return shipFile_.rows(); }
    std::uint64_t purchaseRows() const { return purchaseFile_.rows(); }
    std::uint64_t issueRows() const { return issueFile_.rows(); }
    std::uint64_t qualityRows() const { return qualityFile_.rows(); }

private:
    void writeFlow(const FlowRec& f);
    void write(const ShipRec& s);
    void write(const PurchaseRec& p);
    void write(const IssueRec& i);
    void write(const QualityRec& q);
    // Writes the rows of `pending` dated before `before` in the order of their time.
    template <typename Rec>
    void flushDated(std::vector<Rec>& pending, Secs before);
    const Master& m_;
    std::string dir_;
    Bases next_;
    std::vector<std::uint64_t> idOfHandle_;
    std::vector<FlowRec> flows_;
    std::vector<MissionRec> missions_;
    std::vector<ShipRec> ships_;
    std::vector<PurchaseRec> purchases_;
    std::vector<IssueRec> issues_;
    std::vector<QualityRec> losses_;
    TsvFile orders_, flowFile_, missionFile_, shipFile_, salary_, purchaseFile_, issueFile_, qualityFile_;
};

}  // namespace hist
