#include "dialogs/materials/RawSummaries.h"

#include "db/Gbk.h"
#include "db/Rows.h"

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
    // 名称, 供应商号, supplier's 名称, sum(数量), sum(金额), count(*), by material.
    RawSummaries out;
    Totals<QString> quantities, amounts;
    Totals<quint64> suppliers;
    for (const Row& r : sums) {
        const QString material = r.text(0);
        quantities.at(material) += r.toDouble(3);
        amounts.at(material) += r.toDouble(4);
        suppliers.at(r.toId(1)) += r.toDouble(4);
        suppliers.names[r.toId(1)] = r.text(2);
        out.rows += r.toId(5);
    }
    for (const QString& m : quantities.order)
        out.materials.append({m, quantity(quantities.sums[m]), money(amounts.sums[m])});
    out.partners = partnerRows(suppliers);
    return out;
}

RawSummaries RawSummaries::ofIssues(const Rows& sums)
{
    // 名称, 客户号, customer's 名称, 班组, sum(数量), 均价 (NULL for none), count(*), by material.
    RawSummaries out;
    Totals<QString> quantities;
    std::map<QString, double> averages;  // only materials that have one
    Totals<quint64> clients;
    Totals<QString> teams;
    for (const Row& r : sums) {
        const QString material = r.text(0);
        const double q = r.toDouble(4);
        const double value = r.isNull(5) ? 0.0 : q * r.toDouble(5);
        quantities.at(material) += q;
        if (!r.isNull(5))
            averages[material] = r.toDouble(5);
        clients.at(r.toId(1)) += value;
        clients.names[r.toId(1)] = r.text(2);
        teams.at(r.text(3)) += value;
        out.rows += r.toId(6);
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
