#include "dialogs/materials/ops/RawSummaries.h"

#include "db/Gbk.h"
#include "db/Rows.h"
#include "dialogs/materials/MaterialQueries.h"

#include <algorithm>
#include <map>

namespace {

QString quantity(double v)
{
    return QString::asprintf("%f", v);
}

QString money(double v)
{
    return QString::asprintf("%.2f", v);
}

// Keys in the order they were first met, with a running sum each.
template <typename Key>
struct Totals {
    QVector<Key> order;
    std::map<Key, double> sums;
    std::map<Key, QString> names;
    double& at(const Key& k)
    {
        auto it = sums.find(k);
        if (it == sums.end()) {
            order.append(k);
            it = sums.emplace(k, 0.0).first;
        }
        return it->second;
    }
};

// The partners by key, with their names and money.
QVector<QStringList> partnerRows(Totals<quint64>& t)
{
    std::sort(t.order.begin(), t.order.end());
    QVector<QStringList> out;
    for (quint64 k : t.order)
        out.append({QString::number(k), t.names[k], money(t.sums[k])});
    return out;
}

// GBK byte order puts the common characters in the order of their reading, as the server
// sorts its gbk_chinese_ci texts.
QByteArray sortKey(const QString& text)
{
    QByteArray out;
    Gbk::encode(text, out);
    return out;
}

}  // namespace

RawSummaries RawSummaries::ofPurchases(const Rows& sums)
{
    using C = materialq::PurchaseSums;
    RawSummaries out;
    Totals<QString> quantities, amounts;
    Totals<quint64> suppliers;
    for (const Row& r : sums) {
        const QString material = r.text(C::Material);
        quantities.at(material) += r.toDouble(C::Quantity);
        amounts.at(material) += r.toDouble(C::Amount);
        suppliers.at(r.toId(C::Supplier)) += r.toDouble(C::Amount);
        suppliers.names[r.toId(C::Supplier)] = r.text(C::SupplierName);
        out.rows += r.toId(C::Rows);
    }
    for (const QString& m : quantities.order)
        out.materials.append({m, quantity(quantities.sums[m]), money(amounts.sums[m])});
    out.partners = partnerRows(suppliers);
    return out;
}

RawSummaries RawSummaries::ofIssues(const Rows& sums)
{
    using C = materialq::IssueSums;
    RawSummaries out;
    Totals<QString> quantities;
    std::map<QString, double> averages;  // only materials that have one
    Totals<quint64> clients;
    Totals<QString> teams;
    for (const Row& r : sums) {
        const QString material = r.text(C::Material);
        const double q = r.toDouble(C::Quantity);
        const double value = r.isNull(C::Average) ? 0.0 : q * r.toDouble(C::Average);
        quantities.at(material) += q;
        if (!r.isNull(C::Average))
            averages[material] = r.toDouble(C::Average);
        clients.at(r.toId(C::Client)) += value;
        clients.names[r.toId(C::Client)] = r.text(C::ClientName);
        teams.at(r.text(C::Team)) += value;
        out.rows += r.toId(C::Rows);
    }
    for (const QString& m : quantities.order) {
        const double q = quantities.sums[m];
        const auto avg = averages.find(m);
        const bool valued = avg != averages.end() && avg->second > 0 && q > 0;
        out.materials.append({m, quantity(q), valued ? money(q * avg->second) : QString()});
    }
    out.partners = partnerRows(clients);
    std::sort(teams.order.begin(), teams.order.end(),
              [](const QString& a, const QString& b) { return sortKey(a) < sortKey(b); });
    for (const QString& t : teams.order)
        out.teams.append({t, money(teams.sums[t])});
    return out;
}
