#pragma once

#include <QStringList>
#include <QVector>

class Rows;

// The inquiry's four summaries, added up from the grouped sums of the matching rows
// (materialq::purchaseSums, materialq::issueSums): at most a few hundred groups, whatever the
// number of rows they stand for.
struct RawSummaries {
    quint64 rows = 0;                // the matching rows
    QVector<QStringList> materials;  // 名称, 数量 (%f), 金额 (%.2f)
    QVector<QStringList> partners;   // 供应商号 or 客户号, its name, 金额 (%.2f)
    QVector<QStringList> teams;      // 班组名称, 金额 (%.2f); issues only

    // Purchases: the money paid, per material and per supplier.
    static RawSummaries ofPurchases(const Rows& sums);
    // Issues: valued at the material's average purchase price. A material without one adds
    // nothing to the customers' and teams' money, and shows no money of its own (nor does one
    // whose average or issued quantity is not above 0).
    static RawSummaries ofIssues(const Rows& sums);
};
