#pragma once

#include <QList>
#include <QString>

class mySQLTool;
class Outcome;

// The hand-over at a workstation: the open flow is closed with what was done to it, its
// successor waits at the destination with the done pieces, a derived flow keeps the
// pieces not yet done at the station, lost pieces go onto the order and every worker
// gets one piece-work row.
namespace flow {

// The mode that passes the goods on untouched: whole quantity, no loss, no piece-work.
inline const QString kForward = QStringLiteral("转发");
inline const QString kNoRate = QStringLiteral("没有读到该处理方式的工价，请重新选择处理方式");

struct Worker {
    quint64 id = 0;  // 工号
    int done = 0;    // single mode; negative = not a valid count
    int lost = 0;    // single mode
};

struct HandOver {
    QString station;
    quint64 flow = 0;   // the flow being closed
    quint64 order = 0;  // its order
    QString mode;       // a process step of the station or kForward
    QString destination;
    double rate = 0;        // 工价 of the mode
    double lossCharge = 0;  // 损耗赔偿 per lost piece
    bool cooperative = false;
    QList<Worker> workers;
    int totalDone = 0;  // cooperative mode, shared out equally; negative = not a valid count
    int totalLost = 0;
    QString account;
    QString now;
};

struct HandOverResult {
    quint64 successor = 0;
    quint64 derived = 0;  // 0 when nothing remained
    int done = 0;
    int lost = 0;
    int remainder = 0;
};

// One transaction. Refused (nothing written) when a check fails, or when pay would be
// written at no rate for a mode that has one (kNoRate); taken when the flow is no longer
// open (kFlowTaken). The quantity and route are those of the flow row itself; each
// cooperative worker gets the share cooperativeShare() shows.
Outcome handOver(mySQLTool& db, const HandOver& h, HandOverResult* result = nullptr);

// A single-mode worker's pay.
double pieceWorkAmount(int done, int lost, double rate, double lossCharge);

// Each cooperative worker's share as shown ("%.3f"); empty when the totals leave the
// split as it is (both below 1, or no workers).
QString cooperativeShare(double rate, double lossCharge, int totalDone, int totalLost, int workers);

}  // namespace flow
