// kvbench: times whole user actions through the real screens, offscreen, and the literal
// statements of the same actions through a bare client, on the database of KV_DB_*.
//
//   kvbench [--runs N] [--out FILE] [KEY...]      measure; one line per action (tab-separated);
//                                                 the exports of the whole history only when named
//   kvbench --report OUT.md [--head FILE] [--notes FILE] --run YEARS POOL FILE...
//                                                 the Markdown tables of several measurements
#include "Bench.h"
#include "Literal.h"
#include "Report.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "ui/AppState.h"
#include "ui/Appearance.h"
#include "ui/Prompt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kSlowLiteralMs = 2000;

// Message boxes would block an offscreen run: answer OK, keep failures visible.
class QuietPrompt : public Prompt {
public:
    void message(const QString& text, const QString& caption) override
    {
        if (caption == QStringLiteral("Error") || caption == QStringLiteral("错误"))
            std::fprintf(stderr, "  [%s] %s\n", qPrintable(caption), qPrintable(text));
    }
    bool confirm(const QString&, const QString&) override { return true; }
};

// The offscreen platform tells of every window it cannot size from its hints.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (!text.contains(QLatin1String("propagateSizeHints")) &&
        !text.contains(QLatin1String("XDG_RUNTIME_DIR")))
        std::fprintf(stderr, "%s\n", qPrintable(text));
    if (type == QtFatalMsg)
        std::abort();
}

QString env(const char* name, const char* fallback)
{
    const QByteArray v = qgetenv(name);
    return v.isEmpty() ? QString::fromLatin1(fallback) : QString::fromUtf8(v);
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The moment the history ends: the newest flow.
QDateTime endOfData()
{
    const Rows r = g_sqlTool.Read(
        g_sqlTool.Format("select 生成时间 from kvc_record_procedure order by 流水号 desc limit 1"));
    const QDateTime t = QDateTime::fromString(r.first().text(0), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return t.isValid() ? t.addSecs(60) : QDateTime::currentDateTime();
}

int measure(int runs, const QString& out, const QStringList& only)
{
    if (!g_sqlTool.Connect(env("KV_DB_HOST", "127.0.0.1"), env("KV_DB_PORT", "3306").toInt(),
                           env("KV_DB_NAME", "kvbench10"), env("KV_DB_USER", "kv"),
                           env("KV_DB_PASSWORD", "kv"))) {
        std::fprintf(stderr, "cannot connect: %s\n", qPrintable(g_sqlTool.GetError()));
        return 1;
    }
    Literal literal;
    if (!literal.connect(env("KV_DB_HOST", "127.0.0.1"), env("KV_DB_PORT", "3306").toInt(),
                         env("KV_DB_NAME", "kvbench10"), env("KV_DB_USER", "kv"),
                         env("KV_DB_PASSWORD", "kv"))) {
        std::fprintf(stderr, "cannot connect the bare client: %s\n", qPrintable(literal.error()));
        return 1;
    }
    QuietPrompt quiet;
    setPrompt(&quiet);
    g_account = QStringLiteral("kvbench");
    g_password = QStringLiteral("kvbench");
    g_identity = QStringLiteral("管理员");
    kvclock::fix(endOfData());

    QFile file(out);
    if (!out.isEmpty() && !file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    QTextStream lines(&file);
    std::printf("%-44s %9s %9s %9s %6s %11s %6s\n", "action", "median", "max", "in db", "stmts", "literal",
                "stmts");
    for (const Action& a : allActions()) {
        if (!only.isEmpty() &&
            !std::any_of(only.begin(), only.end(), [&](const QString& k) { return a.key.startsWith(k); }))
            continue;
        if (a.named && !only.contains(a.key))
            continue;
        Values values;
        if (a.prepare && !a.prepare(values)) {
            std::fprintf(stderr, "%s: skipped (nothing to act on)\n", qPrintable(a.key));
            continue;
        }
        std::vector<double> ms, db;
        quint64 statements = 0;
        for (int i = 0; i <= runs; ++i) {  // the first run warms up
            Run run;
            a.run(run, values);
            if (!run.measured() || i == 0)
                continue;
            ms.push_back(run.sample().ms);
            db.push_back(run.sample().dbMs);
            statements = std::max(statements, run.sample().statements);
        }
        std::vector<double> lit;
        quint64 litStatements = 0;
        if (const auto it = allLiterals().constFind(a.key); it != allLiterals().constEnd()) {
            // Literal statements that take seconds are run three times, not N.
            for (int i = 0, n = runs; i <= n; ++i) {
                literal.startClock();
                (*it)(literal, values);
                literal.stopClock();
                if (i == 0 && literal.elapsedMs() > kSlowLiteralMs)
                    n = std::min(n, 3);
                if (i > 0)
                    lit.push_back(literal.elapsedMs());
                litStatements = std::max(litStatements, literal.statements());
            }
        }
        if (ms.empty()) {
            std::fprintf(stderr, "%s: not measured\n", qPrintable(a.key));
            continue;
        }
        const Result r{a.key,        a.title,    a.kind,
                       a.group,      median(ms), *std::max_element(ms.begin(), ms.end()),
                       median(db),   statements, lit.empty() ? -1 : median(lit),
                       litStatements};
        std::printf("%-44s %9.1f %9.1f %9.1f %6llu %11.1f %6llu\n", qPrintable(a.key), r.median, r.max,
                    r.dbMs, static_cast<unsigned long long>(r.statements), r.literalMs,
                    static_cast<unsigned long long>(r.literalStatements));
        std::fflush(stdout);
        if (file.isOpen())
            lines << r.toLine() << '\n';
    }
    setPrompt(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    applyAppearance(app);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == QStringLiteral("--report"))
        return writeReport(args.mid(1));
    int runs = 7;
    QString out;
    QStringList only;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs"))
            runs = std::max(1, args.value(++i).toInt());
        else if (args[i] == QStringLiteral("--out"))
            out = args.value(++i);
        else
            only.append(args[i]);
    }
    if (!out.isEmpty())
        out = QDir::current().absoluteFilePath(out);
    // The inquiries log their statements into the working folder: a scratch one, not the tree.
    QTemporaryDir scratch;
    if (scratch.isValid())
        QDir::setCurrent(scratch.path());
    return measure(runs, out, only);
}
