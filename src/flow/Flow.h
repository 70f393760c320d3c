#pragma once

#include <QString>

#include "db/Batch.h"
#include "db/Statement.h"

#include <QList>

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

// After a conditional update: done when exactly one row changed, otherwise taken with
// `taken` (the row was no longer in the state the desk saw), or failed when the
// statement itself failed (`ran` false).
Outcome oneRowChanged(mySQLTool& db, bool ran, const QString& taken);

// A flow as a transaction read it, locked.
struct FlowRow {
    quint64 id = 0;
    quint64 order = 0;
    quint64 client = 0;
    QString priority;
    int count = 0;
    QString route;
    QString previous;  // 上一站
    QString station;   // 工作站
    int state = kOpen;
};

// Reads and locks a flow, after its order's row: every action that changes an order's
// flows (or closes the order) holds the order row first, so actions on one order take
// turns and see each other's work. `missing` when there is no such flow. The transaction
// has read unlocked once by then, so whatever else it relies on it reads locked.
Outcome lockFlow(mySQLTool& db, quint64 id, FlowRow& out, const Outcome& missing);
// The same in one exchange when the flow's order is known (`order`, as the desk lists it),
// with the reads `more` after the locks; their answers are `moreRows`, in their order.
Outcome lockFlow(mySQLTool& db, quint64 id, quint64 order, FlowRow& out, const Outcome& missing,
                 const QList<Statement>& more, QList<Rows>& moreRows);

// How a flow is closed and where its goods go next.
struct Step {
    QString action;          // 工序 of the closed flow, and the step in the route
    int closedAs = kClosed;  // 结讫 of the closed flow
    QString closedBy;        // 经办人 written on the closed flow; empty: left as it is
    QString to;              // where the successor waits
    int count = -1;          // the successor's pieces; -1: all of the flow's
    QString priority;        // the successor's 货物等级; empty: the flow's
    QString createdBy;       // 经办人 written on the successor; empty: none
    QString now;
};

// The one step every transition takes: closes the flow while it is still open (taken
// otherwise) and opens its successor, linked to it through 上一号, coming from the flow's
// station with the route extended by station[action]. The successor's key goes to `created`.
Outcome takeStep(mySQLTool& db, const FlowRow& flow, const Step& step, quint64* created);
// Its two statements (close, open the successor), for an action that sends them with its
// own writes; refused when a value does not fit. Inside a transaction only: the caller checks
// stepTaken() on the answers and rolls back when the flow was no longer open.
Outcome stepStatements(mySQLTool& db, const FlowRow& flow, const Step& step, QList<Statement>& out);
// Done when the step's statements, answers `first` and `first + 1` of `written`, closed the
// flow (taken otherwise); the successor's key goes to `created`.
Outcome stepTaken(const Batch& written, int first, quint64* created);

}  // namespace flow
