#pragma once

#include "db/Outcome.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVector>
#include <array>

class mySQLTool;

// What the floor board shows, read in one go: the stations' waiting goods with their ages,
// the pieces each station and each team passed on, the rush orders and the goods waiting for
// confirmation at 发送. Plain values; the read writes nothing and locks nothing.
namespace board {

// Waiting times are banded: under 4 hours, 4 to 24 hours, over a day.
inline constexpr qint64 kRecentSeconds = 4 * 3600;
inline constexpr qint64 kDaySeconds = 24 * 3600;
enum Band { Recent, Today, Old };
Band bandOf(qint64 seconds);

// The rows read of the lists that grow: at most this many.
inline constexpr int kRushShown = 8;
inline constexpr int kShippingShown = 7;

struct Station {
    QString name;
    int flows = 0;
    qint64 pieces = 0;
    qint64 oldestSeconds = 0;       // the oldest waiting flow's age; 0 when none waits
    double pieceHours = 0;          // each waiting flow's pieces x hours waited, added up
    std::array<qint64, 3> bands{};  // pieces waiting per Band
    qint64 finishedToday = 0;
};

struct Team {
    QString name;
    double today = 0;
    double yesterday = 0;
};

// Where some of an order's goods are: a station, "待确认" or "待发货" at 发送, "接收", or
// "未激活" for an order not yet released.
struct Place {
    QString name;
    qint64 pieces = 0;
};

struct RushOrder {
    quint64 order = 0;
    QString customer;
    QString priority;
    int pieces = 0;
    QList<Place> places;
};

struct Waiting {
    quint64 flow = 0;
    quint64 order = 0;
    QString customer;
    QString from;
    int pieces = 0;
    qint64 seconds = 0;
};

struct Figures {
    QDateTime taken;  // the moment the figures are of
    QVector<Station> stations;
    int bottleneck = -1;  // the station with the most piece-hours waiting; -1 when none waits
    QVector<Team> teams;  // most pieces today first
    QVector<RushOrder> rush;
    int rushTotal = 0;
    QVector<Waiting> shipping;  // the oldest first
    // What the read cost: statements sent, round trips and the time spent waiting for the
    // server.
    quint64 statements = 0;
    quint64 roundTrips = 0;
    double serverMs = 0;
};

// Reads the figures as of `now` (this PC's clock).
Outcome read(mySQLTool& db, const QDateTime& now, Figures& out);

// A waiting time as hours and minutes, "h:mm" (hours beyond 24 go on counting).
QString hoursMinutes(qint64 seconds);

}  // namespace board

Q_DECLARE_METATYPE(board::Figures)
