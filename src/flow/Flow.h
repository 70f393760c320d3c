#pragma once

#include <QString>

class mySQLTool;
class Outcome;

// Shared vocabulary of the flow life cycle. A flow (kvc_record_procedure row) is open
// while 结讫 is 0; every transition closes it only on that condition and checks that one
// row changed, so two desks can never both move the same goods.
namespace flow {

inline const QString kIntake = QStringLiteral("接收");
inline const QString kShipping = QStringLiteral("发送");
inline const QString kWashing = QStringLiteral("洗水");
inline const QString kFirstRoute = QStringLiteral("接收[接收]");

inline constexpr int kOpen = 0;
inline constexpr int kClosed = 1;
inline constexpr int kRefused = 2;

// Shown (caption "错误") when another desk changed the row first.
inline const QString kFlowTaken = QStringLiteral("该流水已被其他用户处理，请刷新后查看");
inline const QString kOrderTaken = QStringLiteral("该货单已被其他用户修改，请刷新后查看");

// The route after one more hand-over: route + "-" + station + "[" + action + "]".
inline QString extendRoute(const QString& route, const QString& station, const QString& action)
{
    return route + QLatin1Char('-') + station + QLatin1Char('[') + action + QLatin1Char(']');
}

// After a conditional update: done when exactly one row changed, otherwise refused with
// `taken` (the row was no longer in the state the desk saw), or failed when the
// statement itself failed (`ran` false).
Outcome oneRowChanged(mySQLTool& db, bool ran, const QString& taken);

}  // namespace flow
