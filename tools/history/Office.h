#pragma once

#include "Connection.h"
#include "Master.h"
#include "Writer.h"

#include <random>
#include <string>
#include <vector>

namespace hist {

// The back office beside the workshop: the teams draw raw material for the work they do,
// purchases keep the stock up, and some losses are entered in the loss registry. The rows
// are those the purchase, issue and loss desks write; an issue never takes more than the
// stock of its moment.
class Office {
public:
    Office(const Master& m, Writer& w, Secs now, std::uint64_t seed);
    // Adds the suppliers and materials of the catalogue that are missing (as the purchase
    // desk does) and reads their keys and the stock in hand.
    bool prepare(Connection& db, std::string& error);

    // A team processed `pieces` of a customer's goods at `at`.
    void worked(int station, std::uint64_t client, int pieces, Secs at);
    // Pieces lost at a station; now and then the loss is entered in the registry.
    void lost(int station, std::uint64_t client, std::uint64_t order, int pieces, Secs at,
              const std::vector<std::uint64_t>& workers);
    // Issues and purchases dated before `before`, in the order of their time. Everything
    // the simulation will report from now on is dated at or after `before`.
    void flush(Secs before);
    // Adds this run's purchases and issues to the stock rows (after the rows are loaded).
    bool book(Connection& db, std::string& error) const;

    int lossesOpen() const { return lossesOpen_; }
    int lossesHandled() const { return lossesHandled_; }

private:
    struct Material {
        std::size_t item = 0;  // in the catalogue
        int station = -1;
        std::vector<std::uint64_t> suppliers;
        double stock = 0, bought = 0, money = 0, issued = 0;
        double load = 0;  // issues, each fading with a time constant of a week
        Secs loadAt = 0;
        Secs due = -1;  // a purchase under way arrives then
    };
    struct Use {
        Secs at;
        int station;
        std::uint64_t client;
        int pieces;
    };

    double unit() { return real_(rng_); }
    double between(double a, double b) { return a + (b - a) * unit(); }
    std::size_t upTo(std::size_t n) { return std::min(n - 1, static_cast<std::size_t>(unit() * n)); }
    double perDay(Material& mat, Secs at);
    double lot(Material& mat, Secs at);
    void buy(Material& mat, Secs at, double quantity);
    void deliver(Secs until);
    void issue(const Use& u);

    const Master& m_;
    Writer& w_;
    Secs now_;
    Secs from_ = 0;  // the simulation has reported everything before this
    std::mt19937_64 rng_;
    std::uniform_real_distribution<double> real_{0.0, 1.0};
    std::vector<Material> materials_;
    std::vector<std::vector<std::size_t>> materialsOf_;  // per station
    std::vector<Use> uses_;
    int lossesOpen_ = 0, lossesHandled_ = 0;
};

}  // namespace hist
