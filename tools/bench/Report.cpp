#include "Report.h"

#include <QFile>
#include <QMap>
#include <QTextStream>
#include <cstdio>

namespace {

// Interactive actions that must beat the literal statements a hundredfold.
const QStringList kHundredfold = {QStringLiteral("station.open.washing"), QStringLiteral("station.handover"),
                                  QStringLiteral("salary.select")};
constexpr double kInteractiveMs = 100;
constexpr double kWholeHistoryMs = 300;
constexpr quint64 kMaxStatements = 20;
// Growth counts only beyond the noise of a shared machine.
constexpr double kGrowthFactor = 1.5;
constexpr double kGrowthMs = 5;

struct Measurement {
    int years = 0;
    QString pool;
    QList<Result> results;
    QString label() const
    {
        return QStringLiteral("%1, %2 buffer pool")
            .arg(years == 1 ? QStringLiteral("one year") : QStringLiteral("%1 years").arg(years), pool);
    }
    const Result* find(const QString& key) const
    {
        for (const Result& r : results)
            if (r.key == key)
                return &r;
        return nullptr;
    }
};

QString ms(double v)
{
    return v < 10 ? QString::number(v, 'f', 1) : QString::number(v, 'f', 0);
}

QString readAll(const QString& path)
{
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(f.readAll());
}

bool grows(double before, double after)
{
    return after > before * kGrowthFactor && after - before > kGrowthMs;
}

}  // namespace

QString Result::toLine() const
{
    return QStringList{key,
                       title,
                       kind == Kind::WholeHistory ? QStringLiteral("W") : QStringLiteral("I"),
                       QString::number(static_cast<int>(group)),
                       QString::number(median, 'f', 3),
                       QString::number(max, 'f', 3),
                       QString::number(dbMs, 'f', 3),
                       QString::number(statements),
                       QString::number(literalMs, 'f', 3),
                       QString::number(literalStatements)}
        .join(QLatin1Char('\t'));
}

bool Result::fromLine(const QString& line, Result* r)
{
    const QStringList f = line.split(QLatin1Char('\t'));
    if (f.size() != 10)
        return false;
    r->key = f[0];
    r->title = f[1];
    r->kind = f[2] == QStringLiteral("W") ? Kind::WholeHistory : Kind::Interactive;
    r->group = static_cast<Group>(f[3].toInt());
    r->median = f[4].toDouble();
    r->max = f[5].toDouble();
    r->dbMs = f[6].toDouble();
    r->statements = f[7].toULongLong();
    r->literalMs = f[8].toDouble();
    r->literalStatements = f[9].toULongLong();
    return true;
}

int writeReport(const QStringList& args)
{
    QString out = args.value(0), head, notes;
    QList<Measurement> runs;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--head")) {
            head = readAll(args.value(++i));
        } else if (args[i] == QStringLiteral("--notes")) {
            notes = readAll(args.value(++i));
        } else if (args[i] == QStringLiteral("--run") && i + 3 < args.size()) {
            Measurement m;
            m.years = args[i + 1].toInt();
            m.pool = args[i + 2];
            const QString text = readAll(args[i + 3]);
            for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                Result r;
                if (Result::fromLine(line, &r))
                    m.results.append(r);
            }
            runs.append(m);
            i += 3;
        }
    }
    // Ten years first: that is where the targets hold.
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Measurement& a, const Measurement& b) { return a.years > b.years; });

    QString md;
    QTextStream s(&md);
    s << "# Benchmark: user actions on one and ten years of history\n\n";
    if (!head.isEmpty())
        s << head << "\n";
    QStringList missed;
    for (const Measurement& m : runs) {
        s << "\n## " << m.label().left(1).toUpper() << m.label().mid(1) << "\n\n";
        s << "| Action | Median (max) ms | In the database ms | Statements | Literal ms | Literal statements "
             "| "
             "Literal/ours |\n|---|---|---|---|---|---|---|\n";
        for (const Result& r : m.results) {
            const bool whole = r.kind == Kind::WholeHistory;
            s << "| " << r.title << (whole ? " (whole history)" : "") << " | " << ms(r.median) << " ("
              << ms(r.max) << ") | " << ms(r.dbMs) << " | " << r.statements << " | "
              << (r.literalMs < 0 ? QStringLiteral("-") : ms(r.literalMs)) << " | "
              << (r.literalMs < 0 ? QStringLiteral("-") : QString::number(r.literalStatements)) << " | "
              << (r.literalMs < 0 || r.median <= 0 ? QStringLiteral("-")
                                                   : QString::number(r.literalMs / r.median, 'f', 1) + "×")
              << " |\n";
            if (m.years < 10)
                continue;
            const double limit = whole ? kWholeHistoryMs : kInteractiveMs;
            if (r.median > limit)
                missed << QStringLiteral("%1 (%2): median %3 ms, above %4 ms")
                              .arg(r.title, m.label(), ms(r.median), ms(limit));
            if (!whole && r.statements > kMaxStatements)
                missed << QStringLiteral("%1 (%2): %3 statements, above %4")
                              .arg(r.title, m.label())
                              .arg(r.statements)
                              .arg(kMaxStatements);
            if (kHundredfold.contains(r.key) && r.literalMs >= 0 && r.literalMs < 100 * r.median)
                missed << QStringLiteral("%1 (%2): %3× faster than the literal statements, not 100×")
                              .arg(r.title, m.label(), QString::number(r.literalMs / r.median, 'f', 1));
        }
    }

    // Growth: the same pool, one year against ten.
    s << "\n## Growth from one to ten years (median ms)\n\n";
    QStringList pools;
    for (const Measurement& m : runs)
        if (!pools.contains(m.pool))
            pools << m.pool;
    s << "| Action |";
    for (const QString& p : pools)
        s << " 1 year, " << p << " | 10 years, " << p << " | growth |";
    s << "\n|---|";
    for (int i = 0; i < pools.size(); ++i)
        s << "---|---|---|";
    s << "\n";
    auto run = [&](int years, const QString& pool) -> const Measurement* {
        for (const Measurement& m : runs)
            if (m.years == years && m.pool == pool)
                return &m;
        return nullptr;
    };
    const Measurement* any = runs.isEmpty() ? nullptr : &runs.first();
    for (int i = 0; any && i < any->results.size(); ++i) {
        const Result& r0 = any->results[i];
        s << "| " << r0.title << (r0.group != Group::Other ? " *" : "") << " |";
        for (const QString& p : pools) {
            const Measurement* one = run(1, p);
            const Measurement* ten = run(10, p);
            const Result* a = one ? one->find(r0.key) : nullptr;
            const Result* b = ten ? ten->find(r0.key) : nullptr;
            s << " " << (a ? ms(a->median) : QStringLiteral("-")) << " | "
              << (b ? ms(b->median) : QStringLiteral("-")) << " | "
              << (a && b && a->median > 0 ? QString::number(b->median / a->median, 'f', 2) + "×" : "-")
              << " |";
            if (a && b && r0.group != Group::Other && grows(a->median, b->median))
                missed << QStringLiteral("%1 (%2): grows from %3 ms on one year to %4 ms on ten")
                              .arg(r0.title, p, ms(a->median), ms(b->median));
        }
        s << "\n";
    }
    s << "\n\\* station, shipping and intake actions and the floor board, whose time must not grow with the "
         "years (growth counts "
         "when ten years take more than "
      << kGrowthFactor << " times and " << kGrowthMs << " ms more than one).\n";

    s << "\n## Targets\n\nOn ten years, with both buffer pools: every interactive action at most "
      << kInteractiveMs << " ms median, the whole-history inquiries at most " << kWholeHistoryMs
      << " ms; no interactive action sends more than " << kMaxStatements
      << " statements; the station open, the hand-over and the settlement's 选择 at least 100 times faster "
         "than "
         "the literal statements; station, shipping and intake actions and the floor board do not grow "
         "from one to ten years.\n\n";
    if (missed.isEmpty())
        s << "Every target is met in this run.\n";
    else {
        s << "Missed in this run:\n\n";
        for (const QString& m : missed)
            s << "- " << m << "\n";
    }
    if (!notes.isEmpty())
        s << "\n" << notes;
    s.flush();

    QFile f(out);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    f.write(md.toUtf8());
    std::fputs(md.toUtf8().constData(), stdout);
    return 0;
}
