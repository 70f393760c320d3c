#pragma once

#include "Bench.h"

#include <QList>
#include <QPair>
#include <QStringList>

// One action's figures in one measurement.
struct Result {
    QString key, title;
    Kind kind = Kind::Interactive;
    Target target = Target::Open;
    Group group = Group::Other;
    double median = 0, max = 0, dbMs = 0;
    double clientMs = 0;  // the median of each run's total less its waiting for the server
    quint64 statements = 0;
    quint64 roundTrips = 0;
    double literalMs = -1;  // -1: no literal statements
    quint64 literalStatements = 0;
    QList<QPair<int, double>> latency;  // the link's added milliseconds a round trip, the median

    QString toLine() const;
    static bool fromLine(const QString& line, Result* r);
};

// The median of `target` allowed on ten years, in milliseconds.
double targetMs(Target target);
// How much longer an action may take over a link that adds `delayMs` a round trip; negative
// when no target is set for that delay.
double latencyAllowanceMs(int delayMs);

// kvbench --report OUT.md [--head FILE] [--notes FILE] --run YEARS POOL FILE ...
int writeReport(const QStringList& args);
