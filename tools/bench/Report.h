#pragma once

#include "Bench.h"

#include <QStringList>

// One action's figures in one measurement.
struct Result {
    QString key, title;
    Kind kind = Kind::Interactive;
    Group group = Group::Other;
    double median = 0, max = 0, dbMs = 0;
    quint64 statements = 0;
    double literalMs = -1;  // -1: no literal statements
    quint64 literalStatements = 0;

    QString toLine() const;
    static bool fromLine(const QString& line, Result* r);
};

// kvbench --report OUT.md [--head FILE] [--notes FILE] --run YEARS POOL FILE ...
int writeReport(const QStringList& args);
